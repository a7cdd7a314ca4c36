// Speed of the document window on a generated market, each operation beside
// a floor measured in the same run. Run by ./bench.sh.
//
//   valmeq_bench [--lines N] [--runs R] [--check] [--only TEXT]...
//
// The store: 500 securities with six-digit codes and French names, quoted
// on every weekday for as many days as N lines need (2.5 million lines:
// twenty years), in date order, generated from a fixed seed. With --check
// the program fails when a target is missed. Whatever the size, it also
// checks that the fast paths give the lines a plain reading of the store
// gives (month and security views), and fails otherwise; on a store of at
// most 50,000 lines it also checks the loading, both sorts, the conversion
// and the saving against a plain reading of the texts. With --only (given
// once or more) only the groups of operations whose names hold one of the
// texts run, the loading always.
#include "base/formats.h"
#include "base/largepages.h"
#include "base/textfile.h"
#include "charts/PaintArea.h"
#include "charts/chartdraw.h"
#include "charts/series.h"
#include "document/ChartPage.h"
#include "document/ExchangeCommands.h"
#include "document/PortfolioCommands.h"
#include "portfolio/valuation.h"
#include "quotes/maintenance.h"
#include "testkit.h"

#include <QApplication>
#include <QCollator>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QRadioButton>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{

constexpr int kSecurities = 500;

// The texts of --only; empty: every operation.
QStringList g_only;
// Ten million lines or more: the targets of a whole market (2,000 securities
// over twenty years) where they differ from those of 2.5 million lines.
bool g_large = false;
double target(double usual, double large)
{
    return g_large ? large : usual;
}

// Whether a group of operations runs: one of its names holds a text of --only.
bool wanted(std::initializer_list<const char16_t *> names)
{
    if (g_only.isEmpty()) return true;
    for (const char16_t *name : names)
        for (const QString &text : std::as_const(g_only))
            if (QStringView(name).contains(text, Qt::CaseInsensitive)) return true;
    return false;
}

// The names: a French word or two with accents and a number, so that both
// sorts and the byte order of the index meet accented letters.
QByteArray nameOf(int s, std::mt19937 &rng)
{
    static const char *const words[] = {"ACI\xc9RIES",
                                        "SOCI\xc9T\xc9 G\xc9N\xc9RALE",
                                        "\xc9LECTRICIT\xc9",
                                        "CR\xc9"
                                        "DIT",
                                        "BANQUE",
                                        "M\xc9TAUX",
                                        "T\xc9L\xc9"
                                        "COM",
                                        "IMMOBILI\xc8RE",
                                        "PR\xc9VOYANCE",
                                        "A\xc9RO",
                                        "CHIMIE",
                                        "H\xd4TELS",
                                        "FRAN\xc7"
                                        "AISE",
                                        "ALIMENTATION",
                                        "\xc9NERGIE",
                                        "SANT\xc9"};
    std::uniform_int_distribution<int> pick(0, int(std::size(words)) - 1);
    return QByteArray(words[pick(rng)]) + ' ' + words[pick(rng)] + ' ' + QByteArray::number(s);
}

// Writes the store to `path` day after day, without holding it in memory.
// Returns its size in bytes.
qint64 generate(const QString &path, qsizetype count)
{
    std::mt19937 rng(20261208);
    QList<QByteArray> codes, names;
    std::vector<double> prices;
    std::uniform_int_distribution<int> code(100000, 999999);
    for (int s = 0; s < kSecurities; ++s) {
        QByteArray c;
        do
            c = QByteArray::number(code(rng));
        while (codes.contains(c));
        codes.append(c);
        names.append(nameOf(s, rng));
        prices.push_back(5 + rng() % 500);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    std::normal_distribution<double> move(0, 0.015);
    QByteArray day;
    QDate date(2005, 1, 3);
    qsizetype n = 0;
    while (n < count) {
        day.clear();
        const QByteArray stamp = date.toString(u"yyyyMMdd"_s).toLatin1();
        for (int s = 0; s < kSecurities && n < count; ++s, ++n) {
            prices[size_t(s)] = std::max(0.5, prices[size_t(s)] * (1 + move(rng)));
            day += stamp + '\t' + codes[s] + '\t' + names[s] + '\t' +
                   QByteArray::number(prices[size_t(s)], 'f', 2).replace('.', ',') + '\t' +
                   QByteArray::number(int(rng() % 100000)) + "\r\n";
        }
        file.write(day);
        do
            date = date.addDays(1);
        while (date.dayOfWeek() > 5);
    }
    return file.size();
}

// Scripted answers whose dialogs are handled at once, without showing them,
// so that no wait for a window counts in the times.
class BenchPrompts : public ScriptedPrompts
{
public:
    int exec(QDialog *dialog) override
    {
        const int r = dialogs.isEmpty() ? QDialog::Rejected : dialogs.takeFirst()(dialog);
        dialog->done(r);
        return r;
    }
};

template <typename F> double timed(F &&f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    QCoreApplication::processEvents(); // the view is drawn
    return double(timer.nsecsElapsed()) / 1e6;
}

QString number(qint64 n)
{
    QString s = QString::number(n);
    for (qsizetype i = s.size() - 3; i > 0; i -= 3)
        s.insert(i, QLatin1Char(','));
    return s;
}

// The largest resident size of this program so far, in bytes: VmHWM, which
// (unlike getrusage's maximum) does not carry the peak of the process that
// started this one.
qint64 peakMemory()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

// An operation, its times, its floor's times and its target (a bound in ms,
// or a factor of the floor).
struct Row {
    QString operation;
    QList<double> times;
    QList<double> floors;
    double bound = 0;  // ms; 0: none
    double factor = 0; // x floor; 0: none
    QString unit = u"ms"_s;
};

double median(QList<double> values)
{
    if (values.isEmpty()) return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

class Table
{
public:
    Row &row(const QString &operation)
    {
        auto it = std::find_if(m_rows.begin(), m_rows.end(),
                               [&](const Row &r) { return r.operation == operation; });
        if (it == m_rows.end()) it = m_rows.insert(m_rows.end(), Row{operation, {}, {}});
        return *it;
    }
    void add(const QString &operation, double ms, double floor, double bound, double factor = 0)
    {
        Row &r = row(operation);
        r.times.append(ms);
        if (floor > 0) r.floors.append(floor);
        r.bound = bound;
        r.factor = factor;
    }
    // Prints the table; false when a target is missed.
    bool print() const
    {
        std::printf("%-44s %9s %9s %7s  %-22s %s\n", "operation", "value", "floor", "ratio",
                    "target", "met?");
        bool all = true;
        for (const Row &r : m_rows) {
            const double v = median(r.times);
            const double f = median(r.floors);
            QString target;
            bool met = true;
            if (r.bound > 0) {
                target = u"<= %1 %2"_s.arg(r.bound, 0, 'f', r.unit == u"ms" ? 0 : 1).arg(r.unit);
                met = v <= r.bound;
            }
            if (r.factor > 0 && f > 0) {
                target += (target.isEmpty() ? QString() : u", "_s) +
                          u"<= %1 x floor"_s.arg(r.factor, 0, 'f', 1);
                met = met && v <= r.factor * f;
            }
            const bool hasTarget = !target.isEmpty();
            all = all && met;
            // Times to a tenth of a millisecond, ratios of memory to a hundredth.
            std::printf(r.unit == u"ms" ? "%-44s %9.1f %9s %7s  %-22s %s\n"
                                        : "%-44s %9.2f %9s %7s  %-22s %s\n",
                        qPrintable(r.operation), v,
                        f > 0 ? qPrintable(QString::number(f, 'f', 1)) : "",
                        f > 0 ? qPrintable(QString::number(v / f, 'f', 2)) : "", qPrintable(target),
                        hasTarget ? (met ? "yes" : "NO") : "");
        }
        return all;
    }

private:
    QList<Row> m_rows;
};

// The floor of loading: the file's bytes read, cut into lines and decoded
// to text, nothing else.
double readFloor(const QString &path)
{
    return timed([&] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(path));
        const QByteArray bytes = file.readAll();
        QList<QString> lines;
        lines.reserve(bytes.count('\n') + 1);
        qsizetype start = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != '\n') continue;
            lines.append(QString::fromLatin1(bytes.constData() + start, i - start - 1));
            start = i + 1;
        }
    });
}

// The floor of saving: the bytes the save writes made durable the way any
// careful writer does it, as the save does: written in chunks of a megabyte
// into a new file beside the target, each 8 MB sent to the disk once
// written, synced, renamed over a former file of the same size, the
// directory synced. (One write of the whole file at once cost several times
// more on this machine: every page of the cache taken before the first
// reached the disk; and a rename onto no file skipped freeing the former
// one, which the save pays.) The former file is written as the run starts,
// as long before as the store's file, and the disk is idle before the floor
// and before the save alike.
QString floorTarget(const QString &path)
{
    return path + u".floor-target"_s;
}

double writeFloor(const QString &path, const QuoteLines &store)
{
    qsizetype size = 0;
    for (qsizetype i = 0; i < store.size(); ++i)
        size += store.bytes(i).size() + 2;
    QByteArray bytes;
    bytes.reserve(size);
    for (qsizetype i = 0; i < store.size(); ++i)
        bytes.append(store.bytes(i)).append("\r\n");
    const QByteArray temp = QFile::encodeName(path + u".floor"_s);
    const QByteArray target = QFile::encodeName(floorTarget(path));
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    // The bytes written into a new file in chunks of a megabyte, each 8 MB
    // sent to the disk once written when `toDisk`; the file open, or -1.
    const auto written = [&bytes](const QByteArray &name, bool toDisk) {
        int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        constexpr qsizetype kChunk = 1 << 20, kWriteAhead = 8 << 20;
        for (qsizetype at = 0; fd >= 0 && at < bytes.size(); at += kChunk) {
            const qsizetype n = std::min(kChunk, bytes.size() - at);
            if (::write(fd, bytes.constData() + at, size_t(n)) != n) {
                ::close(fd);
                fd = -1;
            } else if (toDisk && (at + n) % kWriteAhead == 0) {
                ::sync_file_range(fd, at + n - kWriteAhead, kWriteAhead, SYNC_FILE_RANGE_WRITE);
            }
        }
        return fd;
    };
    // The same bytes written first to a file removed at once: the pages of
    // the cache the floor then writes into were used a moment before, as the
    // save's are (the floor's former file freed them). On this machine, memory
    // left unused for a while costs up to 10 ms a megabyte at its first write;
    // in a whole run, the floor alone paid it (5 s at 10 M lines).
    const QByteArray scratch = temp + "-scratch";
    const int fd = written(scratch, false);
    if (fd < 0 || ::close(fd) != 0 || ::unlink(scratch.constData()) != 0)
        qFatal("cannot write the floor's file");
    ::sync();
    return timed([&] {
        const int fd = written(temp, true);
        const bool ok = fd >= 0 && ::fsync(fd) == 0 && ::close(fd) == 0 &&
                        ::rename(temp.constData(), target.constData()) == 0;
        const int d = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
        if (!ok || d < 0 || ::fsync(d) != 0 || ::close(d) != 0)
            qFatal("cannot write the floor's file");
    });
}

// The lines of a month or a code, as a plain reading of the store gives them.
// Line by line: ten million texts at once would leave the next timings paying
// for a gigabyte given back.
QStringList plainly(const QuoteLines &store, const QString &monthKey, const QString &code)
{
    QStringList out;
    for (const QString &line : store)
        if (monthKey.isEmpty() ? QStringView(line).mid(9, 6) == code : line.startsWith(monthKey))
            out.append(line);
    return out;
}

bool sameAsPlainly(TBourse &b, bool securityShown)
{
    const QuoteLines &store = b.data().store();
    const bool month = b.journal().model()->lines() ==
                       plainly(store, toStored(b.data().currentMonth()).left(6), QString());
    const bool security = !securityShown || b.titres().model()->lines() ==
                                                plainly(store, QString(), b.data().currentCode());
    if (!month || !security)
        std::fprintf(stderr, "differs: %s view\n", month ? "security" : "month");
    return month && security;
}

// The store's lines as a plain sort gives them: the French collation of the
// whole line ("Date + code"), or of date, name, a tab and the line ("Date +
// nom"), ignoring case; equal keys by the whole line.
QStringList plainSort(QStringList lines, bool byName)
{
    QCollator collator{QLocale(QLocale::French)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const auto key = [byName](const QString &line) {
        return byName ? line.left(8) + quote::nameOf(line) + u'\t' + line : line;
    };
    std::stable_sort(lines.begin(), lines.end(), [&](const QString &a, const QString &b) {
        const int c = collator.compare(key(a), key(b));
        return c != 0 ? c < 0 : a < b;
    });
    return lines;
}

// Says which operation gave other lines than a plain reading.
bool sameLines(const char *operation, const QStringList &got, const QStringList &plain)
{
    if (got == plain) return true;
    std::fprintf(stderr, "differs: %s\n", operation);
    return false;
}

// Every price of `before` divided by `rate` (every line converted), as the
// texts give it.
QStringList plainConversion(QStringList lines, double rate)
{
    for (QString &line : lines)
        quote::setPrice(line, quote::priceOf(line) / rate);
    return lines;
}

// One run of every operation; false when a fast path gave other lines.
bool runOnce(Table &table, const QString &path, const QByteArray &original, std::mt19937 &rng)
{
    BenchPrompts prompts;
    std::unique_ptr<TBourse> b;
    if (wanted({u"franc to euro", u"save"})) {
        QFile former(floorTarget(path));
        if (!former.open(QIODevice::WriteOnly) || former.write(original) != original.size())
            qFatal("cannot write the floor's file");
    }
    const double loadFloor = readFloor(path);
    table.add(u"start: window shown on the last month"_s, timed([&] {
                  b = std::make_unique<TBourse>();
                  b->resize(1000, 700);
                  b->show();
                  b->Init();
              }),
              loadFloor, 1000, 2);
    bool same = sameAsPlainly(*b, false);
    // The plain readings take seconds on a large store: on a small one only.
    const bool plain = b->data().store().size() <= 50000;
    if (plain) {
        QStringList lines = readLines(path);
        lines.removeAll(QString());
        same = sameLines("loading", b->data().store(), lines) && same;
    }

    if (wanted({u"Indexe", u"month change", u"security view", u"security change"})) {
        table.add(u"Indexe"_s, timed([&] { b->Indexe(); }), 0, target(100, 50));
        table.add(u"month change: Precedent"_s, timed([&] { b->Precedent(); }), 0, 8);
        table.add(u"month change: Suivant"_s, timed([&] { b->Suivant(); }), 0, 8);
        table.add(u"month change: Premier"_s, timed([&] { b->Premier(); }), 0, 8);
        table.add(u"month change: Dernier"_s, timed([&] { b->Dernier(); }), 0, 8);
        table.add(u"security view: Titres"_s, timed([&] { b->Titres(); }), 0, 8);
        table.add(u"security change: Suivant"_s, timed([&] { b->Suivant(); }), 0, 8);
        table.add(u"security change: Precedent"_s, timed([&] { b->Precedent(); }), 0, 8);
        table.add(u"security change: Dernier"_s, timed([&] { b->Dernier(); }), 0, 8);
        same = same && sameAsPlainly(*b, true);
    }

    if (wanted({u"chart redrawn"})) {
        b->charts().Graphique();
        QCoreApplication::processEvents();
        table.add(u"chart redrawn on resize"_s, timed([&] {
                      b->resize(1010, 700);
                      b->repaint();
                  }),
                  0, 16);
        b->resize(1000, 700);
    }
    if (wanted({u"chart of a security", u"crosshair"})) {
        b->charts().Graphique();
        QCoreApplication::processEvents();
        const TextMeasure measure{[](const QString &t) { return int(7 * t.size()); },
                                  [](const QString &) { return 13; }};
        const History history = b->chart().history(); // about 5,000 quotations
        table.add(u"chart of a security: priceChart"_s, timed([&] {
                      int length = 8;
                      (void)priceChart(QSize(1000, 600), history, 1, length, measure);
                  }),
                  0, 8);
        // Drawn: the steps computed and played on an image of the paint
        // area's size.
        QImage canvas(1000, 600, QImage::Format_RGB32);
        table.add(u"chart of a security drawn: priceChart, play"_s, timed([&] {
                      int length = 8;
                      const ChartDrawing d =
                          priceChart(QSize(1000, 600), history, 1, length, measure);
                      QPainter painter(&canvas);
                      play(painter, d.steps.steps());
                  }),
                  0, 8);
        // The crosshair follows the mouse over the chart page: the chart
        // drawn is kept, the point under the mouse found and the crosshair
        // drawn.
        PaintArea *area = b->chart().paintBox();
        (void)area->grab();
        const auto moveTo = [area](int x) {
            const QPointF at(x, 100);
            QMouseEvent move(QEvent::MouseMove, at, area->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(area, &move);
            area->repaint();
        };
        moveTo(200);
        table.add(u"crosshair move: PaintArea"_s, timed([&] { moveTo(area->width() / 2); }), 0, 2);
    }
    if (wanted({u"hit-parade"})) {
        const QString from = toStored(b->data().firstDate());
        const QString to = toStored(b->data().lastDate());
        qsizetype ranked = 0;
        table.add(u"hit-parade, one pass: hitParade"_s, timed([&] {
                      ranked = hitParade(b->data().index(), b->data().store(), from, to).size();
                  }),
                  0, target(1000, 200));
        same = same && ranked == b->data().index().size();
    }

    if (wanted({u"deleting", u"undo"})) {
        b->Journal();
        QCoreApplication::processEvents();
        b->maintenance().SelectAll();
        table.add(u"deleting a month's rows: Supprimer"_s,
                  timed([&] { b->maintenance().Supprimer(); }), 0, target(500, 250));
        table.add(u"undo: Annuler"_s, timed([&] { b->maintenance().Annuler(); }), 0,
                  target(500, 250));
    }

    if (wanted({u"sort by"})) {
        QStringList shuffled = b->data().store();
        table.add(u"sort by name, file order: TrierNom"_s,
                  timed([&] { b->maintenance().TrierNom(); }), 0, target(500, 1000));
        if (plain)
            same = sameLines("sort by name", b->data().store(), plainSort(shuffled, true)) && same;
        table.add(u"sort by code, file order: TrierCode"_s,
                  timed([&] { b->maintenance().TrierCode(); }), 0, target(500, 1000));
        if (plain)
            same = sameLines("sort by code", b->data().store(), plainSort(shuffled, false)) && same;
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
        b->data().replaceStore(shuffled);
        table.add(u"sort by name, shuffled: TrierNom"_s,
                  timed([&] { b->maintenance().TrierNom(); }), 0, target(500, 1000));
        if (plain)
            same =
                sameLines("sort by name, shuffled", b->data().store(), plainSort(shuffled, true)) &&
                same;
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
        b->data().replaceStore(shuffled);
        table.add(u"sort by code, shuffled: TrierCode"_s,
                  timed([&] { b->maintenance().TrierCode(); }), 0, target(500, 1000));
        if (plain)
            same = sameLines("sort by code, shuffled", b->data().store(),
                             plainSort(shuffled, false)) &&
                   same;
    }

    if (wanted({u"reorganisation"})) {
        b->Journal();
        QCoreApplication::processEvents();
        b->maintenance().Selectionner(0); // the whole store
        const qsizetype keep = b->data().store().size() * 9 / 10;
        const QDate last = b->data().lastDate(); // the oldest lines go, down to `keep`
        prompts.dialogs.append([keep, last](QDialog *d) {
            child<QDateEdit>(d, "DateTimePicker1")->setDate(last);
            child<QLineEdit>(d, "Edit1")->setText(QString::number(keep));
            return int(QDialog::Accepted);
        });
        table.add(u"reorganisation: Reorganiser"_s, timed([&] { b->maintenance().Reorganiser(); }),
                  0, target(500, 1000));
        b->maintenance().Annuler();
    }

    if (wanted({u"franc to euro", u"save"})) {
        b->Journal(); // when the groups before did not run
        QCoreApplication::processEvents();
        b->maintenance().Selectionner(0);
        prompts.dialogs.append([](QDialog *) { return int(QDialog::Accepted); });
        const QString first = b->data().store().constFirst();
        table.add(u"franc to euro, every line: Convertir"_s,
                  timed([&] { b->maintenance().Convertir(); }), 0, target(500, 1000));
        if (b->data().store().constFirst() == first) {
            std::fprintf(stderr, "differs: nothing converted\n");
            same = false;
        }
        if (plain)
            same = sameLines("conversion", b->data().store(),
                             plainConversion(b->data().undo(), b->data().settings().euroRate)) &&
                   same;

        prompts.answers = {Prompts::Yes};
        const double saveFloor = writeFloor(path, b->data().store());
        ::sync();
        table.add(u"save: Sauve"_s, timed([&] { b->data().Sauve(); }), saveFloor, 0,
                  target(1.5, 1.2));
        if (plain) same = sameLines("saving", readLines(path), b->data().store()) && same;
    }
    b.reset();
    QFile::remove(path);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(original); // the next run starts from the same store

    if (!prompts.unexpected.isEmpty() || !prompts.said(u"error"_s).isEmpty())
        qWarning("unexpected: %s", qPrintable((prompts.unexpected + prompts.log).join(u"; ")));
    return same;
}

// The import of the next `count` days' lines of the same market, written
// "dd/mm/yyyy", or `headed` as a spreadsheet writes them (a heading line,
// "yyyy-mm-dd", decimal points, commas), into the store: one run. False when
// not every line came in.
bool runImport(Table &table, const QString &dir, qsizetype lines, qsizetype count,
               bool headed = false)
{
    const QString all = dir + u"/all.txt"_s;
    generate(all, lines + count);
    QFile in(all);
    if (!in.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(all));
    const QByteArray bytes = in.readAll();
    in.close();
    QFile::remove(all);
    qsizetype at = 0;
    for (qsizetype n = 0; n < lines; ++n)
        at = bytes.indexOf('\n', at) + 1;
    QByteArray file = headed ? QByteArray("Date,Code,Nom,Close,Volume\r\n") : QByteArray();
    for (const QByteArray &line : bytes.mid(at).split('\n')) {
        if (line.size() < 8) continue;
        if (headed)
            file += line.left(4) + '-' + line.mid(4, 2) + '-' + line.mid(6, 2) +
                    line.mid(8).replace(',', '.').replace('\t', ',') + '\n';
        else
            file += line.mid(6, 2) + '/' + line.mid(4, 2) + '/' + line.left(4) + line.mid(8) + '\n';
    }
    const QString importPath = dir + u"/Import.txt"_s;
    QFile out(importPath);
    if (!out.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(importPath));
    out.write(file);
    out.close();

    BenchPrompts prompts;
    TBourse b;
    b.resize(1000, 700);
    b.show();
    b.Init();
    const qsizetype before = b.data().store().size();
    prompts.fileNames << importPath;
    prompts.dialogs.append([](QDialog *d) {
        child<QRadioButton>(d, "RadioButton1")->setChecked(true); // "Tous les cours"
        return int(QDialog::Accepted);
    });
    table.add((headed ? u"import of %1 headed CSV lines: Importer"_s
                      : u"import of %1 new lines: Importer"_s)
                  .arg(number(count)),
              timed([&] { b.exchange().Importer(); }), 0, headed ? 1500 : target(1000, 500));
    QFile::remove(importPath);
    if (b.data().store().size() == before + count) return true;
    std::fprintf(stderr, "differs: %lld lines imported of %lld (%s)\n",
                 qint64(b.data().store().size() - before), qint64(count),
                 qPrintable(prompts.log.join(u"; ")));
    return false;
}

// Run in a process of its own: the peak memory that loading adds to the
// program without quotations, then after a conversion and an undo, printed
// as two numbers of bytes.
int memoryChild(const QString &path)
{
    QDir::setCurrent(QFileInfo(path).absolutePath());
    BenchPrompts prompts;
    TBourse b;
    b.resize(1000, 700);
    b.show();
    QCoreApplication::processEvents();
    const qint64 before = peakMemory(); // the program without quotations
    b.Init();
    QCoreApplication::processEvents();
    const qint64 loaded = peakMemory() - before;
    prompts.dialogs.append([](QDialog *) { return int(QDialog::Accepted); });
    b.maintenance().Convertir();
    b.maintenance().Annuler();
    QCoreApplication::processEvents();
    std::printf("%lld %lld\n", loaded, peakMemory() - before);
    return 0;
}

// --- Portfolio ---------------------------------------------------------------
// Valuation, journal, fees and distribution of a 2,000-line portfolio, each
// opened through its command: the first valuation, which sorts the store,
// against up to 2.5 million lines, the others against a million. False when
// a target is missed.
bool benchPortfolio(const QString &dir, int runs, qsizetype lines)
{
    constexpr qsizetype kPortfolioLines = 1000000;
    const QString path = dir + u"/Portefeuille/Cours.vmq"_s;
    QDir().mkpath(dir + u"/Portefeuille"_s);
    const qsizetype storeLines = std::min<qsizetype>(lines, 2500000);
    generate(path, storeLines);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir + u"/Portefeuille"_s);
    Table table;
    {
        BenchPrompts prompts;
        TBourse b;
        b.resize(1000, 700);
        b.show();
        b.Init();
        const QStringList &index = b.data().index();
        const QString first = b.data().store().first().left(8);
        QStringList portfolio;
        for (int i = 0; i < 2000; ++i) {
            const QString code = index[(i * 7) % std::min<qsizetype>(200, index.size())].left(6);
            const QString date = QString::number(first.toInt() + i % 28);
            const QChar kind = i % 10 == 9 ? u'D' : i % 5 == 4 ? u'V' : u'A';
            portfolio.append(QString(kind) + date + u'\t' + code + u"\t1234,50\t"_s +
                             QString::number(kind == u'V' ? 10 : 40) + u"\t12,00"_s);
        }
        // Each run on the store read again from its file, in file order.
        for (int run = 0; run < runs; ++run) {
            if (run > 0) b.Init();
            b.data().replacePortfolio(portfolio);
            table.add(u"valuation, store sorted first: Portefeuille"_s,
                      timed([&] { b.portfolio().Portefeuille(); }), 0, 300);
        }
        // The other rows on the first million lines of the sorted store.
        QuoteLines million = b.data().store();
        if (million.size() > kPortfolioLines)
            million.remove(kPortfolioLines, million.size() - kPortfolioLines);
        b.data().replaceStore(million);
        for (int run = 0; run < runs; ++run) {
            table.add(u"valuation: Portefeuille"_s, timed([&] { b.portfolio().Portefeuille(); }), 0,
                      100);
            table.add(u"valuation with the return, logic alone"_s, timed([&] {
                          ptf::Valuation::build(ptf::readOperations(b.data().portfolio()),
                                                b.data().store(), b.data().index(), false);
                      }),
                      0, 100);
            table.add(u"journal of the year: Operations"_s,
                      timed([&] { b.portfolio().Operations(); }), 0, 100);
            table.add(u"fees list: FraisBourse"_s, timed([&] { b.portfolio().FraisBourse(); }), 0,
                      100);
            table.add(u"distribution: Repartition"_s, timed([&] { b.portfolio().Repartition(); }),
                      0, 100);
        }
        if (!prompts.said(u"error"_s).isEmpty())
            qWarning("portfolio: %s", qPrintable(prompts.log.join(u"; ")));
    }
    QDir::setCurrent(previous);
    std::printf("\nPortfolio: 2,000 lines against %s quotation lines (at most 2,500,000) sorted "
                "at first opening, then against their first %s; median of %d run%s\n\n",
                qPrintable(number(storeLines)),
                qPrintable(number(std::min(storeLines, kPortfolioLines))), runs,
                runs > 1 ? "s" : "");
    return table.print();
}

} // namespace

int main(int argc, char **argv)
{
    keepFreedMemory(); // as the program does
    QApplication app(argc, argv);
    qsizetype lines = 2500000;
    int runs = 3;
    bool check = false;
    QString memoryOf;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        bool ok = i + 1 < args.size();
        if (args[i] == u"--lines" && ok)
            lines = args[++i].toLongLong(&ok);
        else if (args[i] == u"--runs" && ok)
            runs = args[++i].toInt(&ok);
        else if (args[i] == u"--memory" && ok)
            memoryOf = args[++i];
        else if (args[i] == u"--only" && ok)
            g_only.append(args[++i]);
        else if (args[i] == u"--check")
            check = ok = true;
        else
            ok = false;
        if (!ok || lines < kSecurities * 25 || runs < 1) {
            std::fprintf(stderr,
                         "usage: valmeq_bench [--lines N (at least %d)] [--runs R] [--check] "
                         "[--only TEXT]...\n",
                         kSecurities * 25);
            return 2;
        }
    }
    g_large = lines >= 10000000;
    if (!memoryOf.isEmpty()) return memoryChild(memoryOf);

    TempStartDir dir;
    const QString path = dir.file(u"Cours.vmq"_s);
    const qint64 size = generate(path, lines);
    const QByteArray original = dir.bytes(u"Cours.vmq"_s);

    Table table;
    std::mt19937 rng(3);
    bool same = true;
    for (int run = 0; run < runs; ++run)
        same = runOnce(table, path, original, rng) && same;
    for (int run = 0; run < runs && wanted({u"import of 100,000 new lines"}); ++run)
        same = runImport(table, dir.path(), lines, std::min<qsizetype>(100000, lines / 10)) && same;
    for (int run = 0; run < runs && wanted({u"import of 1,000,000 headed CSV lines"}); ++run)
        same = runImport(table, dir.path(), lines, std::min<qsizetype>(1000000, lines * 2 / 5),
                         true) &&
               same;

    if (wanted({u"peak memory"})) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {u"--memory"_s, path});
        child.waitForFinished(-1);
        const QByteArray said = child.readAllStandardOutput().trimmed();
        const QList<QByteArray> peaks = said.split(' ');
        if (peaks.size() != 2) std::fprintf(stderr, "memory: %s\n", said.constData());
        for (int i = 0; i < 2 && i < peaks.size(); ++i) {
            Row &r = table.row(i == 0 ? u"peak memory after loading (x file)"_s
                                      : u"peak memory after a conversion and an undo (x file)"_s);
            r.times = {double(peaks[i].toLongLong()) / double(size)};
            r.bound = i == 0 ? target(3, 1.3) : target(4, 2);
            r.unit = u"x"_s;
        }
    }

    std::printf("%s lines (%d securities, %s days), %.1f MB, median of %d run%s\n\n",
                qPrintable(number(lines)), kSecurities,
                qPrintable(number((lines + kSecurities - 1) / kSecurities)), double(size) / 1e6,
                runs, runs > 1 ? "s" : "");
    bool met = table.print();
    // The portfolio's targets count as much as the store's.
    if (wanted({u"valuation", u"journal of the year", u"fees list", u"distribution"}))
        met = benchPortfolio(dir.path(), runs, lines) && met;
    if (!same) std::printf("\nA FAST PATH GAVE OTHER LINES THAN A PLAIN READING\n");
    if (check) std::printf("\n%s\n", met ? "every target is met" : "a target is missed");
    return !same || (check && !met) ? 1 : 0;
}
