// Speed of the document window on a generated store, beside the floor: the
// time to read the same file plainly. Run by ./bench.sh.
//
//   valmeq_bench [--lines N] [--runs R] [--check]
//
// With --check it also says whether the targets hold, and fails when one
// does not: twenty years of a whole market (2.5 million lines) open in under
// a second (the time allowed scales with the lines asked), and a view
// answers within half a frame.
#include "base/textfile.h"
#include "quotes/TBourse.h"
#include "quotes/quotelistmodel.h"
#include "testkit.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <random>

using namespace Qt::StringLiterals;

namespace
{

constexpr int kSecurities = 1000;

// kSecurities securities quoted every day from 1 January 1990, `count` lines
// in all: "yyyymmdd\tcode\tname\tprice\tvolume", CR LF, Windows-1252. The
// names are not in the order of the codes, so that both sorts work.
QByteArray generate(qsizetype count)
{
    QByteArray out;
    out.reserve(count * 48);
    QDate day(1990, 1, 1);
    for (qsizetype n = 0; n < count; day = day.addDays(1)) {
        const QByteArray date = day.toString(u"yyyyMMdd"_s).toLatin1();
        for (int s = 0; s < kSecurities && n < count; ++s, ++n) {
            const int d = int(n / kSecurities);
            out += date;
            out += '\t';
            out += QByteArray::number(100000 + s * 7);
            out += "\tSOCI\xc9T\xc9 ";
            out += QByteArray::number((s * 7919) % kSecurities);
            out += '\t';
            out += QByteArray::number(10 + (d + s) % 90);
            out += ",25\t";
            out += QByteArray::number(1000 + d);
            out += "\r\n";
        }
    }
    return out;
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

int selectedCount(QTableView *list)
{
    return int(list->selectionModel()->selectedRows().size());
}

struct Row {
    QString operation;
    QList<double> times;
    QString result;
    double target = 0; // ms; 0 when the operation has none
};

class Table
{
public:
    void add(const QString &operation, double ms, const QString &result, double target = 0)
    {
        auto it = std::find_if(m_rows.begin(), m_rows.end(),
                               [&](const Row &r) { return r.operation == operation; });
        if (it == m_rows.end()) it = m_rows.insert(m_rows.end(), Row{operation, {}, {}});
        it->times.append(ms);
        it->result = result;
        it->target = target;
    }
    static double median(QList<double> times)
    {
        std::sort(times.begin(), times.end());
        const qsizetype n = times.size();
        return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    }
    const QList<Row> &rows() const { return m_rows; }

private:
    QList<Row> m_rows;
};

// The floor: the file's bytes read and cut into lines, nothing decoded.
qsizetype readPlainly(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(path));
    const QByteArray bytes = file.readAll();
    QList<QByteArrayView> lines;
    lines.reserve(bytes.count('\n') + 1);
    const char *p = bytes.constData();
    const char *end = p + bytes.size();
    while (p < end) {
        const char *eol = static_cast<const char *>(memchr(p, '\n', size_t(end - p)));
        if (!eol) eol = end;
        lines.append(QByteArrayView(p, eol > p && eol[-1] == '\r' ? eol - 1 - p : eol - p));
        p = eol + 1;
    }
    return lines.size();
}

constexpr double kHalfFrame = 1000.0 / 60 / 2;

void runOnce(Table &table, const QString &path, std::mt19937 &rng)
{
    BenchPrompts prompts;
    std::unique_ptr<TBourse> b;

    table.add(u"floor: read the file and cut it into lines"_s, timed([&] { readPlainly(path); }),
              QString());
    qsizetype decoded = 0;
    double ms = timed([&] { decoded = readLines(path).size(); });
    table.add(u"readLines (the same, decoded)"_s, ms, number(decoded) + u" lines"_s);

    ms = timed([&] {
        b = std::make_unique<TBourse>();
        b->resize(1000, 700);
        b->show();
        b->Init();
    });
    table.add(u"start: TBourse, Init, month shown"_s, ms,
              number(b->data().store().size()) + u" lines, "_s + number(b->journal().model()->rowCount()) +
                  u" rows"_s,
              1000.0 * double(b->data().store().size()) / 2500000);

    ms = timed([&] { b->Precedent(); });
    table.add(u"month change: Precedent"_s, ms, number(b->journal().model()->rowCount()) + u" rows"_s,
              kHalfFrame);

    ms = timed([&] { b->Titres(); });
    table.add(u"security view: Titres"_s, ms, number(b->titres().model()->rowCount()) + u" rows"_s,
              kHalfFrame);
    ms = timed([&] { b->Suivant(); });
    table.add(u"security change: Suivant"_s, ms,
              number(b->titres().model()->rowCount()) + u" rows"_s, kHalfFrame);

    b->Journal();
    QCoreApplication::processEvents();
    QTableView *list = b->journal().list();
    QList<int> apart; // rows with a gap between each
    for (int r = 0; r < list->model()->rowCount() && apart.size() < 10000; r += 3)
        apart.append(r);
    selectRows(list, apart);
    ms = timed([&] { b->maintenance().Inverser(); });
    table.add(u"invert selection: Inverser"_s, ms, number(selectedCount(list)) + u" selected"_s);
    ms = timed([&] { b->maintenance().SelectAll(); });
    table.add(u"select all: SelectAll"_s, ms, number(selectedCount(list)) + u" selected"_s);

    selectRows(list, apart);
    const qsizetype before = b->data().store().size();
    ms = timed([&] { b->maintenance().Supprimer(); });
    table.add(u"deletion of %1 rows apart: Supprimer"_s.arg(number(apart.size())), ms,
              number(before - b->data().store().size()) + u" lines deleted"_s);

    const qsizetype keep = b->data().store().size() * 9 / 10;
    const QDate last = b->data().lastDate(); // the oldest lines go, down to `keep`
    prompts.dialogs.append([keep, last](QDialog *d) {
        child<QDateEdit>(d, "DateTimePicker1")->setDate(last);
        child<QLineEdit>(d, "Edit1")->setText(QString::number(keep));
        return int(QDialog::Accepted);
    });
    ms = timed([&] { b->maintenance().Reorganiser(); });
    table.add(u"reorganisation: Reorganiser"_s, ms, number(b->data().store().size()) + u" lines kept"_s);

    QStringList shuffled = b->data().store();
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    b->data().replaceStore(shuffled);
    ms = timed([&] { b->maintenance().TrierNom(); });
    table.add(u"sort by name (shuffled): TrierNom"_s, ms, QString());
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    b->data().replaceStore(shuffled);
    ms = timed([&] { b->maintenance().TrierCode(); });
    table.add(u"sort by code (shuffled): TrierCode"_s, ms, QString());

    b->maintenance().Selectionner(0); // the whole sorted store, from its first date to its last
    prompts.dialogs.append([](QDialog *) { return int(QDialog::Accepted); });
    const QString first = b->data().store().value(0);
    ms = timed([&] { b->maintenance().Convertir(); });
    table.add(u"franc to euro, every line: Convertir"_s, ms,
              b->data().store().value(0) == first ? u"nothing converted!"_s : QString());

    prompts.answers = {Prompts::Yes};
    b->data().setModified(true);
    bool saved = false;
    ms = timed([&] { saved = b->data().Sauve(); });
    table.add(u"save: Sauve"_s, ms,
              saved ? number(QFileInfo(path).size()) + u" bytes"_s : u"not saved!"_s);
    b.reset();

    if (!prompts.unexpected.isEmpty() || !prompts.said(u"error"_s).isEmpty())
        qWarning("unexpected: %s", qPrintable((prompts.unexpected + prompts.log).join(u"; ")));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    qsizetype lines = 1000000;
    int runs = 3;
    bool check = false;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        bool ok = i + 1 < args.size();
        if (args[i] == u"--lines" && ok)
            lines = args[++i].toLongLong(&ok);
        else if (args[i] == u"--runs" && ok)
            runs = args[++i].toInt(&ok);
        else if (args[i] == u"--check")
            check = ok = true;
        else
            ok = false;
        if (!ok || lines < kSecurities * 62 || runs < 1) {
            std::fprintf(stderr,
                         "usage: valmeq_bench [--lines N (at least %d)] [--runs R] [--check]\n",
                         kSecurities * 62);
            return 2;
        }
    }

    TempStartDir dir;
    const QString path = dir.file(u"Cours.vmq"_s);
    const QByteArray bytes = generate(lines);

    Table table;
    std::mt19937 rng(3);
    for (int run = 0; run < runs; ++run) {
        dir.writeBytes(u"Cours.vmq"_s, bytes); // as generated: the last run saved over it
        runOnce(table, path, rng);
    }

    std::printf("%s lines (%d securities, %s days), %.1f MB, median of %d run%s\n\n",
                qPrintable(number(lines)), kSecurities,
                qPrintable(number((lines + kSecurities - 1) / kSecurities)),
                double(bytes.size()) / 1e6, runs, runs > 1 ? "s" : "");
    const double floor = Table::median(table.rows().first().times);
    std::printf("%-46s %10s %9s  %s\n", "operation", "ms", "x floor", "result");
    bool held = true;
    for (const Row &row : table.rows()) {
        const double ms = Table::median(row.times);
        QString result = row.result;
        if (check && row.target > 0) {
            const bool ok = ms <= row.target;
            held = held && ok;
            result = (ok ? u"target %1 ms held"_s : u"TARGET %1 ms MISSED"_s)
                         .arg(row.target, 0, 'f', 1) +
                     (result.isEmpty() ? QString() : u"; "_s + result);
        }
        const QString line = u"%1 %2 %3  %4"_s.arg(row.operation, -46)
                                 .arg(ms, 10, 'f', 1)
                                 .arg(ms / floor, 9, 'f', 1)
                                 .arg(result);
        std::printf("%s\n", qPrintable(line.trimmed()));
    }
    if (check) std::printf("\n%s\n", held ? "every target holds" : "a target is missed");
    return held ? 0 : 1;
}
