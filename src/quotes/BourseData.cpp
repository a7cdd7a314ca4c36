#include "quotes/BourseData.h"

#include "base/DirLock.h"
#include "base/Prompts.h"
#include "base/errors.h"
#include "base/formats.h"
#include "base/parallel.h"
#include "base/questions.h"
#include "base/records.h"
#include "base/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <new>
#include <thread>

namespace
{

const QString kQuotations = QStringLiteral("Cours.vmq");

// The codes of a store (characters 10 to 15 of its lines, blank ones left
// out): six-digit codes as marks in a table, the others in a set.
struct CodeSet {
    std::vector<bool> digits = std::vector<bool>(1000000, false);
    QSet<QString> others;
    bool operator==(const CodeSet &o) const { return digits == o.digits && others == o.others; }
};

CodeSet codesOf(const QuoteLines &store)
{
    CodeSet codes;
    QuoteLines::Buffer buffer;
    for (qsizetype i = 0; i < store.size(); ++i) {
        if (i + QuoteLines::kAhead < store.size()) store.prefetch(i + QuoteLines::kAhead);
        // Most codes are six digits, the same in bytes as in characters.
        if (!store.isAside(i)) {
            const QByteArrayView line = store.bytes(i);
            if (line.size() >= 15) {
                int n = 0;
                for (qsizetype k = 9; n >= 0 && k < 15; ++k)
                    n = line[k] >= '0' && line[k] <= '9' ? n * 10 + (line[k] - '0') : -1;
                if (n >= 0) {
                    codes.digits[size_t(n)] = true;
                    continue;
                }
            }
        }
        const QStringView code = store.mid(i, 9, 6, buffer);
        int n = code.size() == 6 ? 0 : -1;
        for (qsizetype k = 0; n >= 0 && k < 6; ++k) {
            const char16_t c = code[k].unicode();
            n = c >= u'0' && c <= u'9' ? n * 10 + (c - u'0') : -1;
        }
        if (n >= 0)
            codes.digits[size_t(n)] = true;
        else if (!code.trimmed().isEmpty())
            codes.others.insert(code.toString());
    }
    return codes;
}

// Changes that may bring a code in or take the last line of one away.
bool mayChangeCodes(BourseData::Change change)
{
    using C = BourseData::Change;
    switch (change) {
    case C::Entry:
    case C::Correction:
    case C::SecurityDeletion:
    case C::LineDeletion:
    case C::Reorganisation:
    case C::Import:
        return true;
    default:
        return false;
    }
}

} // namespace

BourseData::BourseData(const QString &dir, QObject *parent) : QObject(parent), m_dir(dir) {}

BourseData::~BourseData() = default;

QString BourseData::filePath(const QString &name) const
{
    return QDir(m_dir).filePath(name);
}

Period BourseData::period() const
{
    return Period{m_periodMode, toStored(m_first), toStored(m_last)};
}

// --- Files ---------------------------------------------------------------------

bool BourseData::lockDir(qint64 *holder)
{
    if (m_lock) return true;
    auto lock = std::make_unique<DirLock>(m_dir);
    if (!lock->held()) {
        if (holder) *holder = lock->holder();
        return false;
    }
    m_lock = std::move(lock);
    // No other copy is writing there: a temporary file is a leftover.
    removeLeftoverTemporaries(m_dir);
    return true;
}

QString BourseData::readOnlyRefusal(const QString &path)
{
    return QStringLiteral("Valmeq est ouvert en lecture seule : le fichier %1 n'est pas "
                          "enregistré.")
        .arg(QDir::toNativeSeparators(path));
}

bool BourseData::mayOverwrite(const QString &path, const FileStamp &stamp, qint64 limit) const
{
    return !changedSince(path, stamp, limit) ||
           questions::askNoFirst(m_promptParent, changedQuestion(path)) == Prompts::Yes;
}

QString BourseData::Init()
{
    QuoteLines lines;
    // The keys of the lines are built while the file is read, each block's
    // lines as they are split.
    storeChanged();
    try {
        FileStamp stamp;
        lines = QuoteLines::read(
            filePath(kQuotations), &stamp, // without the empty lines
            [this](const QuoteLines &read, qsizetype from) { keyLines(read, from); });
        m_stamps.insert(kQuotations, stamp);
    } catch (const VError &) {
        storeChanged();
        // What is typed from now on is never written over the quotations
        // that could not be read.
        m_unreadable.insert(kQuotations);
        throw;
    }
    m_unreadable.remove(kQuotations);
    m_store = std::move(lines);
    m_keysValid = true;
    setUndo(m_store); // an undo never brings back the empty lines
    m_month = QDate(1998, 1, 1);
    m_first = m_last = QDate();
    QString report;
    if (!m_store.isEmpty()) {
        const auto reportOf = [this](qsizetype line) {
            return VError::badDate(quote::dateOf(m_store.at(line))).message() +
                   QStringLiteral(" (ligne %1 du fichier %2)").arg(line + 1).arg(kQuotations);
        };
        qsizetype bad = -1;
        m_first = storeDate(m_store, false, &bad);
        if (bad >= 0) report = reportOf(bad);
        m_last = storeDate(m_store, true, &bad);
        if (bad >= 0 && report.isEmpty()) report = reportOf(bad);
        if (m_last.isValid()) m_month = m_last;
    }
    m_modified = false;
    flagsMayHaveChanged();
    return report;
}

bool BourseData::Sauve()
{
    if (!m_modified) return true;
    if (m_readOnly) {
        Prompts::get().information(m_promptParent, readOnlyRefusal(filePath(kQuotations)));
        return true;
    }
    if (m_unreadable.contains(kQuotations)) {
        Prompts::get().error(
            m_promptParent,
            QStringLiteral("Le fichier %1 n'a pas pu être lu au démarrage : il est conservé "
                           "tel quel et les changements faits depuis ne sont pas enregistrés.")
                .arg(QDir::toNativeSeparators(filePath(kQuotations))));
        return true;
    }
    const auto answer = Prompts::get().question(
        m_promptParent, QStringLiteral("Enregistrer le fichier des cotations ?"), true);
    if (answer == Prompts::Cancel) return false;
    if (answer == Prompts::Yes) {
        QString path = filePath(kQuotations);
        const bool over = mayOverwrite(path, m_stamps.value(kQuotations), largeFileLimit());
        if (!over) {
            // The other program's quotations stay; ours may go elsewhere,
            // or the program stays open with them.
            path = Prompts::get().saveFileName(
                m_promptParent, QStringLiteral("Enregistrer les cotations sous"), path,
                QStringLiteral("Fichiers de cotations (*.vmq)"), QStringLiteral("vmq"));
            if (path.isEmpty()) return false;
            path = QDir(m_dir).filePath(path);
        }
        try {
            const FileStamp written = m_store.write(path);
            if (over) m_stamps.insert(kQuotations, written);
        } catch (const VError &e) {
            Prompts::get().error(m_promptParent, e.message());
            return false;
        }
        m_modified = false;
        flagsMayHaveChanged();
    }
    return true;
}

void BourseData::ChargeIni()
{
    // The list files are read even without a settings file, so that their
    // content survives the writing at closing.
    const auto read = [this](const QString &name, auto &&use) {
        const QString path = filePath(name);
        if (!QFile::exists(path)) return;
        try {
            FileStamp stamp;
            QStringList lines = readLines(path, kSmallFileLimit, &stamp);
            m_stamps.insert(name, stamp);
            m_settingsOnDisk.insert(name, lines);
            use(std::move(lines));
        } catch (const VError &e) {
            m_unreadable.insert(name);
            Prompts::get().error(m_promptParent, e.message());
        }
    };
    read(QStringLiteral("Valmeq.ini"),
         [this](const QStringList &lines) { m_settings.read(lines); });
    read(QStringLiteral("Valmeq.trt"), [this](QStringList lines) { m_cards = std::move(lines); });
    read(QStringLiteral("Valmeq.prc"), [this](QStringList lines) { m_press = std::move(lines); });
    read(QStringLiteral("Valmeq.sit"), [this](QStringList lines) { m_sites = std::move(lines); });
}

std::vector<std::pair<QString, QStringList>> BourseData::settingsFiles() const
{
    return {{QStringLiteral("Valmeq.ini"), m_settings.lines()},
            {QStringLiteral("Valmeq.trt"), m_cards},
            {QStringLiteral("Valmeq.prc"), m_press},
            {QStringLiteral("Valmeq.sit"), m_sites}};
}

bool BourseData::listsUnsaved() const
{
    for (const auto &[name, lines] : settingsFiles())
        if (name != QLatin1String("Valmeq.ini") && !m_unreadable.contains(name) &&
            m_settingsOnDisk.value(name) != lines)
            return true;
    return false;
}

void BourseData::SauveIni()
{
    if (m_readOnly) return;
    // Each file is written on its own: one that fails does not keep the
    // others from being written. A file that would get the lines it holds
    // is not written: what another program changed there since stays.
    QStringList failures;
    for (const auto &[name, lines] : settingsFiles()) {
        if (m_unreadable.contains(name)) continue;
        const auto held = m_settingsOnDisk.constFind(name);
        if (held != m_settingsOnDisk.cend() && *held == lines) continue;
        const QString path = filePath(name);
        if (!mayOverwrite(path, m_stamps.value(name), kSmallFileLimit)) continue;
        try {
            m_stamps.insert(name, writeLines(path, lines));
            m_settingsOnDisk.insert(name, lines);
        } catch (const VError &e) {
            failures.append(e.message());
        }
    }
    if (!failures.isEmpty()) throw VError(failures.join(QLatin1Char('\n')));
}

void BourseData::GetIni(bool &autoOpen, QString &portfolioPath) const
{
    autoOpen = m_settings.autoOpen == 1;
    portfolioPath = m_settings.portfolioPath;
}

void BourseData::SetIni(bool autoOpen)
{
    m_settings.autoOpen = autoOpen ? 1 : 0;
}

// --- The quotation store ---------------------------------------------------------

QString BourseData::resolvedPortfolioPath() const
{
    const QString path = m_settings.portfolioPath;
    if (path.isEmpty()) return path;
    return QDir(m_dir).filePath(path);
}

void BourseData::newPortfolio()
{
    m_portfolio.clear();
    m_portfolioModified = false;
    m_settings.portfolioPath.clear();
    m_portfolioUnreadable = false;
    m_portfolioStamp = {};
    m_portfolioFile.clear();
    flagsMayHaveChanged();
}

void BourseData::loadPortfolio(const QString &path)
{
    m_settings.portfolioPath = path;
    // Until the file is read it must not be written over.
    m_portfolioUnreadable = true;
    const QString file = QDir(m_dir).filePath(path);
    FileStamp stamp;
    m_portfolio = readLines(file, kSmallFileLimit, &stamp);
    m_portfolioStamp = stamp;
    m_portfolioFile = file;
    m_portfolioUnreadable = false;
    m_portfolioModified = false;
    flagsMayHaveChanged();
}

void BourseData::savePortfolio(const QString &path)
{
    QString target = path;
    QString file = QDir(m_dir).filePath(path);
    if (m_readOnly) throw VError(readOnlyRefusal(file));
    if (file == m_portfolioFile && !mayOverwrite(file, m_portfolioStamp, kSmallFileLimit)) {
        // The other program's file stays; the portfolio may go elsewhere.
        target = Prompts::get().saveFileName(m_promptParent, QStringLiteral("Enregistrer sous"),
                                             file, QStringLiteral("Fichiers portefeuille (*.ptf)"),
                                             QStringLiteral("ptf"));
        if (target.isEmpty())
            throw VError(QStringLiteral("Le portefeuille n'est pas enregistré : le fichier %1 "
                                        "garde les modifications de l'autre programme.")
                             .arg(QDir::toNativeSeparators(file)));
        if (const QStringList named = records::unstorable(target); !named.isEmpty())
            throw VError(QStringLiteral("Le nom de fichier \u00ab %1 \u00bb contient ce que le "
                                        "fichier Valmeq.ini ne peut pas enregistrer : %2")
                             .arg(target, named.join(QStringLiteral(", "))));
        file = QDir(m_dir).filePath(target);
    }
    m_portfolioStamp = writeLines(file, m_portfolio);
    m_portfolioFile = file;
    m_settings.portfolioPath = target;
    m_portfolioUnreadable = false;
    m_portfolioModified = false;
    flagsMayHaveChanged();
}

void BourseData::addOperations(const QStringList &lines)
{
    m_portfolio.append(lines);
    m_portfolioModified = true;
    flagsMayHaveChanged();
}

void BourseData::replacePortfolio(QStringList lines)
{
    m_portfolio = std::move(lines);
    m_portfolioModified = false;
    flagsMayHaveChanged();
}

void BourseData::changePortfolio(QStringList lines)
{
    m_portfolio = std::move(lines);
    m_portfolioModified = true;
    flagsMayHaveChanged();
}

void BourseData::flagsMayHaveChanged()
{
    const std::pair<bool, bool> flags{m_modified, m_portfolioModified};
    if (flags == m_saidFlags) return;
    m_saidFlags = flags;
    emit modifiedChanged();
}

void BourseData::replaceStore(QuoteLines lines)
{
    m_store = std::move(lines);
    storeChanged();
    setUndo(m_store);
    resetPeriodDates();
    if (m_last.isValid()) m_month = m_last;
    m_modified = false;
    flagsMayHaveChanged();
}

BourseData::ChangeRule BourseData::rule(Change change)
{
    switch (change) {
    case Change::Entry:      // the copy was taken on entering the page
    case Change::Correction: // one line: no copy
        return {false, true};
    case Change::PortfolioSort:
        return {false, false};
    default:
        return {true, true};
    }
}

bool BourseData::change(Change kind, const std::function<void(QuoteLines &)> &edit)
{
    return change(kind, edit, {});
}

bool BourseData::removeLines(
    Change kind, const std::function<void(QuoteLines &, std::vector<qint32> &removed)> &edit)
{
    std::vector<qint32> removed;
    qsizetype before = 0;
    return change(
        kind,
        [&](QuoteLines &store) {
            before = store.size();
            edit(store, removed);
        },
        [&](const LineKeys &keys) -> std::optional<LineKeys> {
            if (qsizetype(removed.size()) != before - m_store.size() ||
                !std::is_sorted(removed.begin(), removed.end()) ||
                std::adjacent_find(removed.begin(), removed.end()) != removed.end())
                return std::nullopt;
            if (removed.empty()) return keys;
            LineKeys after;
            after.firstMonth = keys.firstMonth;
            after.byMonth = keys.byMonth.without(removed);
            after.byCode = keys.byCode.without(removed);
            return after;
        });
}

bool BourseData::change(Change kind, const std::function<void(QuoteLines &)> &edit,
                        const std::function<std::optional<LineKeys>(const LineKeys &)> &keysAfter)
{
    if (!rule(kind).undoCopy) undoAsCopy();
    QuoteLines before = m_store; // shares the bytes: only the references are copied
    // A change of prices leaves every line's date and code where they were:
    // the keys hold. Otherwise the keys of the lines before, when every code
    // was six digits, tell their codes and go with the undo copy.
    const bool pricesOnly = kind == Change::Conversion || kind == Change::Split;
    std::optional<LineKeys> keysBefore;
    if (!pricesOnly && m_keysValid && m_keys.codesByText == 0) keysBefore = std::move(m_keys);
    storeChanged(pricesOnly);
    try {
        edit(m_store);
    } catch (...) {
        m_store = std::move(before);
        if (!pricesOnly) storeChanged(); // keys told by a sort that failed midway
        if (keysBefore) {
            m_keys = std::move(*keysBefore);
            m_keysValid = true;
        }
        throw;
    }
    if (pricesOnly && m_store.size() != before.size()) storeChanged();
    m_store.tidy();
    if (keysAfter && keysBefore) {
        try {
            if (std::optional<LineKeys> keys = keysAfter(*keysBefore)) {
                m_keys = std::move(*keys);
                m_keysValid = true;
            }
        } catch (const std::bad_alloc &) {
            // The keys are read from the lines when next needed.
        }
    }
    bool codesChanged = false;
    if (mayChangeCodes(kind)) {
        // The keys of the lines after are built now (the page shown reads
        // them next) and tell their codes without reading the lines before.
        codesChanged = keysBefore && keys().codesByText == 0
                           ? sixDigitCodes(*keysBefore) != sixDigitCodes(keys())
                           : !sameCodes(before, m_store);
    }
    const ChangeRule r = rule(kind);
    if (r.undoCopy) setUndo(std::move(before), std::move(keysBefore));
    if (r.modified) m_modified = true;
    flagsMayHaveChanged();
    return codesChanged;
}

bool BourseData::changeWithKeys(
    Change kind, const std::function<void(QuoteLines &, const maintenance::KeysOfSorted &,
                                          maintenance::Reordered *)> &edit)
{
    qsizetype keyed = 0; // lines keyed in order from the first; -1: told out of order
    const maintenance::KeysOfSorted told = [&](qsizetype from, std::vector<qint32> &months,
                                               std::vector<qint32> &codes) {
        if (from != keyed || months.size() != codes.size()) {
            keyed = -1;
            return;
        }
        keysByText(m_store, from, months, codes);
        groupLines(from, months, codes);
        keyed += qsizetype(months.size());
    };
    const bool codesChanged =
        rule(kind).undoCopy || kind == Change::PortfolioSort
            ? changeOrder(kind,
                          [&](QuoteLines &store, maintenance::Reordered &reordered) {
                              edit(store, told, &reordered);
                          })
            : change(kind, [&](QuoteLines &store) { edit(store, told, nullptr); });
    // Keys told for every line of the store as it is now are the keys.
    if (keyed == m_store.size() && keyed > 0)
        m_keysValid = true;
    else
        storeChanged();
    return codesChanged;
}

bool BourseData::changeOrder(
    Change kind, const std::function<void(QuoteLines &, maintenance::Reordered &)> &edit)
{
    // The undo copy is let go of: with no other copy of the lines, the edit
    // may reorder them where they stand. Should it fail, the undo copy comes
    // back, the store itself when it was (an undo copy kept as what a change
    // wrote over or reordered stays as it is: the store did not change).
    // A change that leaves the undo copy as it was gets it back after, or,
    // when it was the store, keeps the store before the change as its copy.
    const bool keepsUndo = !rule(kind).undoCopy;
    if (keepsUndo) undoAsCopy(); // what it keeps is told against the store before
    const bool undoWasStore = m_undo.sameLines(m_store);
    QuoteLines undoBefore = std::exchange(m_undo, QuoteLines());
    if (undoWasStore) undoBefore = QuoteLines();
    std::optional<LineKeys> keysBefore;
    if (m_keysValid && m_keys.codesByText == 0) keysBefore = std::move(m_keys);
    storeChanged();
    maintenance::Reordered reordered;
    try {
        edit(m_store, reordered);
    } catch (...) {
        if (!reordered.from.isEmpty())
            m_store.putBack(reinterpret_cast<const quint32 *>(reordered.from.constData()));
        else if (!reordered.before.isEmpty())
            m_store = std::move(reordered.before);
        m_undo = undoWasStore ? m_store : std::move(undoBefore);
        storeChanged();
        if (keysBefore) {
            m_keys = std::move(*keysBefore);
            m_keysValid = true;
        }
        throw;
    }
    m_store.tidy();
    const QByteArray from = reordered.from;
    if (keepsUndo && !undoWasStore) {
        m_undo = std::move(undoBefore);
    } else {
        setUndo(std::move(reordered.before), std::move(keysBefore));
        m_undoOrder = std::move(reordered.from);
    }
    // Lines reordered where they stand are read out of the order of their
    // bytes: these are laid out again in the new order, unless a copy
    // shares them or an undo writes back where lines stood. Only for speed:
    // without the memory for it, the lines stay where they are.
    if (!from.isEmpty() && !m_undoFormer && m_store.ownsBytes()) {
        try {
            m_store.layOutInOrder(reinterpret_cast<const quint32 *>(from.constData()));
        } catch (const std::bad_alloc &) {
        }
    }
    if (rule(kind).modified) m_modified = true;
    flagsMayHaveChanged();
    return false; // a new order: the same codes
}

bool BourseData::change(Change kind, const std::function<void(QStringList &)> &edit)
{
    return change(kind, [&edit](QuoteLines &store) {
        QStringList lines = store.toStringList();
        edit(lines);
        store = QuoteLines(lines);
    });
}

bool BourseData::appendLines(Change kind, const QuoteLines &lines)
{
    // Without the keys of the lines stored, the plain way reads them all.
    if (!m_keysValid) return change(kind, [&lines](QuoteLines &store) { store.append(lines); });
    if (!rule(kind).undoCopy) undoAsCopy();
    QuoteLines before = m_store; // shares the bytes: only the references are copied
    const qsizetype from = m_store.size();
    m_store.append(lines);
    m_store.tidy(); // may move the bytes, not the lines: the keys hold
    m_valuationOrder = false;
    // A code came in when a new line has one (not blank) that no line had.
    bool codesChanged = false;
    if (mayChangeCodes(kind)) {
        QuoteLines::Buffer code;
        for (qsizetype i = from; i < m_store.size() && !codesChanged; ++i) {
            const QStringView c = m_store.mid(i, 9, 6, code);
            if (c.trimmed().isEmpty()) continue;
            const qint32 key = codeKey(c, false);
            codesChanged = m_keys.byCode.count(key) == 0;
        }
    }
    keyLines(m_store, from);
    const ChangeRule r = rule(kind);
    if (r.undoCopy) setUndo(std::move(before));
    if (r.modified) m_modified = true;
    flagsMayHaveChanged();
    return codesChanged;
}

bool BourseData::changePrices(Change kind, const std::function<void(const QuoteLines &)> &check,
                              const std::function<void(QuoteLines &, QuoteLines::Former &)> &edit)
{
    Q_ASSERT(rule(kind).undoCopy);
    // An undo copy that is the store itself is the store again should the
    // change fail: the change need not be checked first.
    const bool undoIsStore = !m_undoFormer && m_undo.sameLines(m_store);
    if (!undoIsStore) check(m_store);
    // The undo copy shares the store's bytes: let go of, so that the new
    // prices may be written over them.
    setUndo(QuoteLines());
    QuoteLines::Former former;
    try {
        // When another copy holds the bytes, new lines are written as by
        // any change, and `former` stays empty.
        if (!m_store.ownsBytes())
            return change(kind, [&](QuoteLines &store) { edit(store, former); });
        edit(m_store, former);
    } catch (...) {
        setUndo(m_store);
        throw;
    }
    storeChanged(true); // dates and codes stay where they were
    m_undoFormer = std::move(former);
    m_modified = true;
    flagsMayHaveChanged();
    return false;
}

const QuoteLines &BourseData::undo() const
{
    undoAsCopy();
    return m_undo;
}

void BourseData::undoAsCopy() const
{
    if (!m_undoOrder.isEmpty()) {
        QuoteLines undo = m_store; // shares the bytes: only the references are put back
        undo.putBack(reinterpret_cast<const quint32 *>(m_undoOrder.constData()));
        m_undo = std::move(undo);
        m_undoOrder = QByteArray();
    }
    if (!m_undoFormer) return;
    m_undo = m_store; // shares the bytes: what was written over goes into blocks of its own
    m_undo.restore(*m_undoFormer);
    m_undoFormer.reset();
}

void BourseData::setUndo(QuoteLines undo, std::optional<LineKeys> keys)
{
    m_undoFormer.reset();
    m_undoOrder = QByteArray();
    m_undo = std::move(undo);
    m_undoKeys = keys ? std::move(*keys) : LineKeys();
    m_undoKeysValid = keys.has_value();
}

std::vector<qint32> BourseData::sixDigitCodes(const LineKeys &keys)
{
    std::vector<qint32> codes;
    for (size_t key = 0; key < keys.byCode.groupOf.size(); ++key)
        if (keys.byCode.groupOf[key] >= 0) codes.push_back(qint32(key));
    return codes;
}

bool BourseData::restoreUndo()
{
    if (!m_undoOrder.isEmpty()) undoAsCopy(); // the lines put back in their order
    QuoteLines before;
    std::optional<bool> codesChanged;
    if (m_undoFormer) {
        // What a change of prices wrote over is put back: dates and codes
        // stayed where they were.
        m_store.restore(*m_undoFormer);
        m_undoFormer.reset();
        storeChanged(true);
        m_undo = m_store;
        codesChanged = false;
    } else {
        before = m_store;
        std::optional<LineKeys> keysBefore;
        if (m_undoKeysValid && m_keysValid && m_keys.codesByText == 0)
            keysBefore = std::move(m_keys);
        m_store = m_undo;
        storeChanged();
        // The keys taken with the undo copy: no line is read again. A second
        // undo (the same lines again) builds them anew.
        if (m_undoKeysValid) {
            m_keys = std::move(m_undoKeys);
            m_keysValid = true;
            if (keysBefore) codesChanged = sixDigitCodes(*keysBefore) != sixDigitCodes(m_keys);
            m_undoKeys = LineKeys();
            m_undoKeysValid = false;
        }
    }
    if (!m_store.isEmpty()) {
        qsizetype bad = -1;
        m_last = storeDate(m_store, true, &bad);
        if (m_last.isValid()) m_month = m_last;
    }
    return codesChanged ? *codesChanged : !sameCodes(before, m_store);
}

bool BourseData::sameCodes(const QuoteLines &a, const QuoteLines &b)
{
    // Two large stores are read at once, each on a core.
    if (a.size() + b.size() < 400000) return codesOf(a) == codesOf(b);
    CodeSet ofA;
    std::thread reading([&] { ofA = codesOf(a); });
    const CodeSet ofB = codesOf(b);
    reading.join();
    return ofA == ofB;
}

// --- Keys of the lines ------------------------------------------------------------

namespace
{
// Six bytes of digits as a number; -1 otherwise.
qint32 sixDigits(const char *s)
{
    return quote::sixDigits(QByteArrayView(s, 6));
}

// Six digits as a number; -1 otherwise.
qint32 sixDigits(QStringView text)
{
    if (text.size() != 6) return -1;
    qint32 n = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}
} // namespace

qint32 BourseData::codeKey(QStringView code, bool add) const
{
    if (const qint32 n = sixDigits(code); n >= 0) return n;
    const auto it = m_otherCodes.constFind(code.toString());
    if (it != m_otherCodes.cend()) return it.value();
    if (!add) return -1;
    const qint32 key = 1000000 + qint32(m_otherCodes.size());
    m_otherCodes.insert(code.toString(), key);
    return key;
}

BourseData::Groups::Group
BourseData::Groups::Group::without(const std::vector<qint32> &removed) const
{
    if (count == 0 || removed.empty() || last < removed.front()) return *this;
    const qint32 low = removed.front(), high = removed.back();
    Group out;
    out.gaps.reserve(gaps.size());
    const quint8 *p = gaps.data(), *const end = p + gaps.size();
    qint32 at = -1, placed = -1; // the line read; where the last line kept now stands
    size_t passed = 0;           // the removed lines before `at`
    qint32 dropped = 0;
    while (p < end) {
        const quint8 *const gap = p;
        at += qint32(varint::read(p));
        qint32 now = at;
        if (at < low) { // nothing removed before it: the same gap
            out.gaps.insert(out.gaps.end(), gap, p);
        } else {
            while (passed < removed.size() && removed[passed] < at)
                ++passed;
            if (passed < removed.size() && removed[passed] == at) {
                ++dropped;
                continue;
            }
            now = at - qint32(passed);
            varint::append(out.gaps, quint32(now - placed));
        }
        if (out.first < 0) out.first = now;
        placed = now;
        if (at > high) { // every removed line is behind: the gaps after stay
            out.gaps.insert(out.gaps.end(), p, end);
            out.count = count - dropped;
            out.last = last - qint32(removed.size());
            return out;
        }
    }
    out.count = count - dropped;
    out.last = placed;
    return out;
}

BourseData::Groups BourseData::Groups::without(const std::vector<qint32> &removed) const
{
    std::vector<Group> kept(groups.size());
    const int parts = parallel::parts(qsizetype(groups.size()), 8);
    parallel::onThreads(parts, [&](int part) {
        for (size_t g = groups.size() * size_t(part) / size_t(parts),
                    end = groups.size() * size_t(part + 1) / size_t(parts);
             g < end; ++g)
            kept[g] = groups[g].without(removed);
    });
    // The groups stay in the order of their first lines, which a group
    // whose first line went may change.
    std::vector<qint32> keyOf(groups.size(), -1);
    for (size_t key = 0; key < groupOf.size(); ++key)
        if (groupOf[key] >= 0) keyOf[size_t(groupOf[key])] = qint32(key);
    std::vector<size_t> order;
    for (size_t g = 0; g < kept.size(); ++g)
        if (kept[g].count > 0) order.push_back(g);
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return kept[a].first < kept[b].first; });
    Groups out;
    out.groupOf.assign(groupOf.size(), -1);
    out.groups.reserve(order.size());
    for (const size_t g : order) {
        out.groupOf[size_t(keyOf[g])] = qint32(out.groups.size());
        out.groups.push_back(std::move(kept[g]));
    }
    return out;
}

void BourseData::Groups::add(const qint32 *keys, qsizetype n, qint32 from)
{
    // The bytes each group takes for the new lines, then each group grows
    // once and its gaps are written in place.
    const auto bytesOf = [](quint32 gap) {
        return gap < (1u << 7)    ? 1
               : gap < (1u << 14) ? 2
               : gap < (1u << 21) ? 3
               : gap < (1u << 28) ? 4
                                  : 5;
    };
    std::vector<qint32> last(groups.size());
    std::vector<size_t> bytes(groups.size(), 0);
    for (size_t g = 0; g < groups.size(); ++g)
        last[g] = groups[g].last;
    for (qsizetype i = 0; i < n; ++i) {
        const qint32 k = keys[i];
        if (k < 0) continue;
        if (size_t(k) >= groupOf.size()) groupOf.resize(size_t(k) + 1, -1);
        qint32 &slot = groupOf[size_t(k)];
        if (slot < 0) {
            slot = qint32(groups.size());
            groups.emplace_back().first = from + qint32(i);
            last.push_back(-1);
            bytes.push_back(0);
        }
        const qint32 line = from + qint32(i);
        bytes[size_t(slot)] += size_t(bytesOf(quint32(line - last[size_t(slot)])));
        last[size_t(slot)] = line;
    }
    std::vector<quint8 *> end(groups.size(), nullptr);
    for (size_t g = 0; g < groups.size(); ++g) {
        std::vector<quint8> &gaps = groups[g].gaps;
        const size_t before = gaps.size();
        gaps.resize(before + bytes[g]);
        end[g] = gaps.data() + before;
    }
    for (qsizetype i = 0; i < n; ++i) {
        if (keys[i] < 0) continue;
        Group &group = groups[size_t(groupOf[size_t(keys[i])])];
        const qint32 line = from + qint32(i);
        varint::write(end[size_t(groupOf[size_t(keys[i])])], quint32(line - group.last));
        group.last = line;
        ++group.count;
    }
}

void BourseData::lineKeys(const QuoteLines &store, qsizetype from, qsizetype to,
                          std::vector<qint32> &months, std::vector<qint32> &codes) const
{
    const qsizetype n = to - from;
    months.assign(size_t(std::max<qsizetype>(n, 0)), -1);
    codes.assign(months.size(), -1);
    // Digits are the same bytes as characters: most lines are read as bytes,
    // in two halves at once; the others after, one by one.
    const auto read = [&](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i) {
            if (i + QuoteLines::kAhead < end) store.prefetch(from + i + QuoteLines::kAhead);
            const QByteArrayView line = store.bytes(from + i);
            const bool bytes = !store.isAside(from + i);
            months[size_t(i)] = bytes && line.size() >= 6 ? sixDigits(line.data()) : kByText;
            const qint32 c = bytes && line.size() >= 15 ? sixDigits(line.data() + 9) : -1;
            codes[size_t(i)] = c >= 0 ? c : kByText;
        }
    };
    if (n > 200000) {
        std::thread half(read, n / 2, n);
        read(0, n / 2);
        half.join();
    } else {
        read(0, n);
    }
    keysByText(store, from, months, codes);
}

void BourseData::keysByText(const QuoteLines &store, qsizetype from, std::vector<qint32> &months,
                            std::vector<qint32> &codes) const
{
    QuoteLines::Buffer month, code;
    for (size_t i = 0; i < months.size(); ++i) {
        if (months[i] == kByText)
            months[i] = sixDigits(store.mid(from + qsizetype(i), 0, 6, month));
        if (codes[i] == kByText) {
            codes[i] = codeKey(store.mid(from + qsizetype(i), 9, 6, code), true);
            ++m_keys.codesByText;
        }
    }
}

void BourseData::keyLines(const QuoteLines &store, qsizetype from) const
{
    // A quarter of a million lines at a time: the keys of every line are
    // never held at once.
    std::vector<qint32> months, codes;
    for (qsizetype begin = from; begin < store.size(); begin += kKeysAtOnce) {
        const qsizetype end = std::min(store.size(), begin + kKeysAtOnce);
        lineKeys(store, begin, end, months, codes);
        groupLines(begin, months, codes);
    }
}

void BourseData::groupLines(qsizetype from, std::vector<qint32> &months,
                            const std::vector<qint32> &codes) const
{
    // Months as numbers from the store's first month; a month before it
    // shifts the groups.
    qint32 low = std::numeric_limits<qint32>::max();
    for (const qint32 m : months)
        if (m >= 0) low = std::min(low, m);
    LineKeys &k = m_keys;
    if (k.byMonth.groups.empty()) {
        k.firstMonth = low == std::numeric_limits<qint32>::max() ? 0 : low;
    } else if (low < k.firstMonth) {
        const size_t shift = size_t(k.firstMonth - low);
        std::vector<qint32> &groupOf = k.byMonth.groupOf;
        groupOf.insert(groupOf.begin(), shift, -1);
        k.firstMonth = low;
    }
    for (qint32 &m : months)
        if (m >= 0) m -= k.firstMonth;
    k.byMonth.add(months.data(), qsizetype(months.size()), qint32(from));
    k.byCode.add(codes.data(), qsizetype(codes.size()), qint32(from));
}

const BourseData::LineKeys &BourseData::keys() const
{
    if (m_keysValid) return m_keys;
    m_keys = LineKeys();
    m_otherCodes.clear();
    keyLines(m_store, 0);
    m_keysValid = true;
    return m_keys;
}

QList<qsizetype> BourseData::monthLines(const QDate &month) const
{
    QList<qsizetype> out;
    const QString prefix = toStored(month).left(6);
    const Period p = period();
    const auto inside = [&](qsizetype i) { return p.mode != 1 || p.contains(m_store.at(i)); };
    const qint32 wanted = sixDigits(prefix);
    if (wanted < 0) { // not a month of four-digit years: read the texts
        QuoteLines::Buffer start;
        for (qsizetype i = 0; i < m_store.size(); ++i)
            if (m_store.mid(i, 0, prefix.size(), start) == prefix && inside(i)) out.append(i);
        return out;
    }
    const LineKeys &k = keys();
    const Groups::Group *lines = k.byMonth.of(wanted - k.firstMonth);
    if (!lines) return out;
    out.reserve(lines->count);
    lines->forEach([&](qint32 i) {
        if (inside(i)) out.append(i);
    });
    return out;
}

QList<qsizetype> BourseData::codeLines(const QString &code) const
{
    QList<qsizetype> out;
    const LineKeys &k = keys();
    const qint32 wanted = codeKey(code, false);
    const Groups::Group *lines = k.byCode.of(wanted);
    if (!lines) return out;
    const Period p = period();
    out.reserve(lines->count);
    lines->forEach([&](qint32 i) {
        if (p.mode != 1 || p.contains(m_store.at(i))) out.append(i);
    });
    return out;
}

bool BourseData::firstLineOfEachCode(std::vector<qsizetype> *lines) const
{
    const LineKeys &k = keys();
    if (k.codesByText > 0) return false;
    lines->clear();
    lines->reserve(k.byCode.groups.size());
    // The groups were made in the order their codes were first met.
    for (const Groups::Group &g : k.byCode.groups)
        lines->push_back(g.first);
    return true;
}

// --- Values ------------------------------------------------------------------------

void BourseData::setPeriod(int mode, const QDate &first, const QDate &last)
{
    m_periodMode = mode;
    m_first = first;
    m_last = last;
}

void BourseData::resetPeriodDates()
{
    if (m_store.isEmpty()) return;
    qsizetype bad = -1;
    m_first = storeDate(m_store, false, &bad);
    m_last = storeDate(m_store, true, &bad);
}

QString BourseData::currentCode() const
{
    if (m_security < 0 || m_security >= m_index.size()) return {};
    return m_index.at(m_security).left(6);
}

QDate BourseData::storeDate(const QuoteLines &store, bool last, qsizetype *bad)
{
    // The first (or last) line gives the date; when it holds none, the
    // nearest line that does, so that the months stay browsable.
    *bad = -1;
    const qsizetype n = store.size();
    for (qsizetype k = 0; k < n; ++k) {
        const qsizetype i = last ? n - 1 - k : k;
        const QDate d = storedToDate(quote::dateOf(store.at(i)));
        if (d.isValid()) return d;
        if (*bad < 0) *bad = i;
    }
    return {};
}
