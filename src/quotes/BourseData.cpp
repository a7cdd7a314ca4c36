#include "quotes/BourseData.h"

#include "base/Prompts.h"
#include "base/errors.h"
#include "base/formats.h"
#include "base/textfile.h"

#include <QDir>
#include <QFile>

#include <algorithm>

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

QString BourseData::filePath(const QString &name) const
{
    return QDir(m_dir).filePath(name);
}

Period BourseData::period() const
{
    return Period{m_periodMode, toStored(m_first), toStored(m_last)};
}

// --- Files ---------------------------------------------------------------------

QString BourseData::Init()
{
    QuoteLines lines;
    try {
        lines = QuoteLines::read(filePath(kQuotations)); // without the empty lines
    } catch (const VError &) {
        // What is typed from now on is never written over the quotations
        // that could not be read.
        m_unreadable.insert(kQuotations);
        throw;
    }
    m_unreadable.remove(kQuotations);
    m_store = std::move(lines);
    storeChanged();
    m_undo = m_store; // an undo never brings back the empty lines
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
        try {
            m_store.write(filePath(kQuotations));
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
            use(readLines(path));
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
    for (const auto &[name, lines] : settingsFiles())
        m_settingsOnDisk.insert(name, lines);
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
    // Each file is written on its own: one that fails does not keep the
    // others from being written.
    QStringList failures;
    for (const auto &[name, lines] : settingsFiles()) {
        if (m_unreadable.contains(name)) continue;
        try {
            writeLines(filePath(name), lines);
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
    flagsMayHaveChanged();
}

void BourseData::loadPortfolio(const QString &path)
{
    m_settings.portfolioPath = path;
    // Until the file is read it must not be written over.
    m_portfolioUnreadable = true;
    m_portfolio = readLines(QDir(m_dir).filePath(path));
    m_portfolioUnreadable = false;
    m_portfolioModified = false;
    flagsMayHaveChanged();
}

void BourseData::savePortfolio(const QString &path)
{
    writeLines(QDir(m_dir).filePath(path), m_portfolio);
    m_settings.portfolioPath = path;
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
    m_undo = m_store;
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
    QuoteLines before = m_store; // shares the bytes: only the references are copied
    storeChanged();
    try {
        edit(m_store);
    } catch (...) {
        m_store = std::move(before);
        throw;
    }
    m_store.tidy();
    const bool codesChanged = mayChangeCodes(kind) && !sameCodes(before, m_store);
    const ChangeRule r = rule(kind);
    if (r.undoCopy) m_undo = std::move(before);
    if (r.modified) m_modified = true;
    flagsMayHaveChanged();
    return codesChanged;
}

bool BourseData::change(Change kind, const std::function<void(QStringList &)> &edit)
{
    return change(kind, [&edit](QuoteLines &store) {
        QStringList lines = store.toStringList();
        edit(lines);
        store = QuoteLines(lines);
    });
}

bool BourseData::restoreUndo()
{
    const QuoteLines before = m_store;
    m_store = m_undo;
    storeChanged();
    if (!m_store.isEmpty()) {
        qsizetype bad = -1;
        m_last = storeDate(m_store, true, &bad);
        if (m_last.isValid()) m_month = m_last;
    }
    return !sameCodes(before, m_store);
}

bool BourseData::sameCodes(const QuoteLines &a, const QuoteLines &b)
{
    return codesOf(a) == codesOf(b);
}

// --- Keys of the lines ------------------------------------------------------------

namespace
{
// Six bytes of digits as a number; -1 otherwise.
qint32 sixDigits(const char *s)
{
    qint32 n = 0;
    for (int i = 0; i < 6; ++i) {
        if (s[i] < '0' || s[i] > '9') return -1;
        n = n * 10 + (s[i] - '0');
    }
    return n;
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

const BourseData::LineKeys &BourseData::keys() const
{
    if (m_keysValid) return m_keys;
    m_keys.months.resize(size_t(m_store.size()));
    std::vector<qint32> codes(size_t(m_store.size()));
    m_otherCodes.clear();
    QuoteLines::Buffer month, code;
    const qsizetype n = m_store.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i + QuoteLines::kAhead < n) m_store.prefetch(i + QuoteLines::kAhead);
        // Digits are the same bytes as characters: most lines are read as bytes.
        const QByteArrayView line = m_store.bytes(i);
        const bool bytes = !m_store.isAside(i);
        const qint32 m = bytes && line.size() >= 6 ? sixDigits(line.data())
                                                   : sixDigits(m_store.mid(i, 0, 6, month));
        qint32 c = bytes && line.size() >= 15 ? sixDigits(line.data() + 9) : -1;
        if (c < 0) c = codeKey(m_store.mid(i, 9, 6, code), true);
        m_keys.months[size_t(i)] = m;
        codes[size_t(i)] = c;
    }
    // The lines grouped by code (a counting sort), so that the lines of a
    // code are found without reading every line's code.
    qint32 top = -1;
    for (const qint32 c : codes)
        top = std::max(top, c);
    std::vector<qint32> &start = m_keys.codeStart;
    start.assign(size_t(top) + 2, 0);
    for (const qint32 c : codes)
        if (c >= 0) ++start[size_t(c) + 1];
    for (size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    m_keys.byCode.resize(size_t(start.back()));
    std::vector<qint32> next(start.begin(), start.end() - 1);
    for (size_t i = 0; i < codes.size(); ++i)
        if (codes[i] >= 0) m_keys.byCode[size_t(next[size_t(codes[i])]++)] = qint32(i);
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
    const std::vector<qint32> &months = keys().months;
    for (size_t i = 0; i < months.size(); ++i)
        if (months[i] == wanted && inside(qsizetype(i))) out.append(qsizetype(i));
    return out;
}

QList<qsizetype> BourseData::codeLines(const QString &code) const
{
    QList<qsizetype> out;
    const LineKeys &k = keys();
    const qint32 wanted = codeKey(code, false);
    if (wanted < 0 || size_t(wanted) + 1 >= k.codeStart.size()) return out;
    const Period p = period();
    for (qint32 at = k.codeStart[size_t(wanted)]; at < k.codeStart[size_t(wanted) + 1]; ++at) {
        const qsizetype i = k.byCode[size_t(at)];
        if (p.mode != 1 || p.contains(m_store.at(i))) out.append(i);
    }
    return out;
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
