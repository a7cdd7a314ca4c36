// The document's files at start and at closing when they cannot be read, the
// dates of the store, the undo copy of a load, the period's views, and the
// lines a list shows mapped back to the store.
#include "base/textfile.h"
#include "document/TBourse.h"
#include "quotes/QuoteListModel.h"
#include "quotes/TSeldate.h"
#include "quotes/shownlines.h"
#include "testkit.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <unistd.h>

Q_DECLARE_METATYPE(ShownLine)

namespace
{

const QStringList kStore = {ql("19990301", "000001", "ALPHA", "10,00", "100"),
                            ql("19990305", "000001", "ALPHA", "11,00", "100"),
                            ql("19990310", "000002", "BETA", "20,00", "100")};

// A file that exists but cannot be read: a directory of that name, or a file
// without read permission (which root reads anyway).
bool makeUnreadable(const TempStartDir &dir, const QString &name, bool asDirectory)
{
    if (asDirectory) return QDir(dir.path()).mkdir(name);
    dir.write(name, {u("contenu")});
    QFile::setPermissions(dir.file(name), QFile::WriteOwner);
    return ::access(dir.file(name).toLocal8Bit().constData(), R_OK) != 0;
}

QString monthText(const TBourse &b)
{
    return b.findChild<QComboBox *>(u("ComboBox1"))->currentText();
}

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT
private slots:
    void unreadableQuotations_areNeverWrittenOver_data();
    void unreadableQuotations_areNeverWrittenOver();
    void unreadableSettingsOrList_startWithDefaults_data();
    void unreadableSettingsOrList_startWithDefaults();
    void undoAfterLoad_neverBringsBackEmptyLines();
    void badFirstOrLastDate_isReportedOnce_data();
    void badFirstOrLastDate_isReportedOnce();
    void emptyStore_monthStaysEmpty();
    void wholePeriod_refillsThePageShown();
    void shownLines_removeExactlyThoseShown_data();
    void shownLines_removeExactlyThoseShown();
};

void TestDocument::unreadableQuotations_areNeverWrittenOver_data()
{
    QTest::addColumn<bool>("asDirectory");
    QTest::newRow("a directory") << true;
    QTest::newRow("no read permission") << false;
}

void TestDocument::unreadableQuotations_areNeverWrittenOver()
{
    QFETCH(bool, asDirectory);
    StartFixture env;
    if (!makeUnreadable(env.dir, u("Cours.vmq"), asDirectory))
        QSKIP("root reads a file without read permission");
    const QByteArray before = asDirectory ? QByteArray() : env.dir.bytes(u("Cours.vmq"));
    TBourse b;
    runCommand(&b, [&] { b.Init(); });
    QCOMPARE(env.prompts.said(u("error")).size(), 1);
    // A quotation typed after all, then the closing.
    b.data().change(BourseData::Change::Entry,
                    [](QStringList &store) { store.append(kStore.first()); });
    QVERIFY(b.data().Sauve()); // the program closes...
    const QStringList errors = env.prompts.said(u("error"));
    QCOMPARE(errors.size(), 2); // ...saying why the file is kept
    QVERIFY2(errors.last().contains(QDir::toNativeSeparators(env.dir.file(u("Cours.vmq")))),
             qPrintable(errors.last()));
    QVERIFY(env.prompts.said(u("question")).isEmpty());
    QCOMPARE(QFileInfo(env.dir.file(u("Cours.vmq"))).isDir(), asDirectory);
    if (!asDirectory) {
        QFile::setPermissions(env.dir.file(u("Cours.vmq")), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(env.dir.bytes(u("Cours.vmq")), before);
    }
}

void TestDocument::unreadableSettingsOrList_startWithDefaults_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("asDirectory");
    for (const char *name : {"Valmeq.ini", "Valmeq.trt", "Valmeq.prc", "Valmeq.sit"}) {
        QTest::addRow("%s, a directory", name) << u(name) << true;
        QTest::addRow("%s, no read permission", name) << u(name) << false;
    }
}

void TestDocument::unreadableSettingsOrList_startWithDefaults()
{
    QFETCH(QString, file);
    QFETCH(bool, asDirectory);
    StartFixture env;
    const QStringList settings = {u(" 7.00000000000000E+0000"),
                                  u("/tmp/p.ptf"),
                                  u("0"),
                                  u("12"),
                                  u("7"),
                                  u("8"),
                                  u("9"),
                                  u("1")};
    const QStringList files = {u("Valmeq.ini"), u("Valmeq.trt"), u("Valmeq.prc"), u("Valmeq.sit")};
    for (const QString &name : files)
        if (name != file) env.dir.write(name, name == files[0] ? settings : QStringList{name});
    if (!makeUnreadable(env.dir, file, asDirectory))
        QSKIP("root reads a file without read permission");
    const QByteArray before = asDirectory ? QByteArray() : QByteArray("contenu\r\n");

    TBourse b; // reads the settings and the lists
    const QStringList errors = env.prompts.said(u("error"));
    // A directory is refused before it is opened, as no regular file.
    QCOMPARE(
        errors,
        QStringList{asDirectory
                        ? u("Le fichier %1 n'est pas un fichier ordinaire").arg(env.dir.file(file))
                        : u("Ne peut ouvrir le fichier ") + env.dir.file(file)});
    if (file == files[0]) {
        QCOMPARE(b.data().settings().euroRate, 6.55957);
        QCOMPARE(b.data().settings().maLength, 8);
    } else {
        QCOMPARE(b.data().settings().maLength, 12);
    }
    const QStringList *lists[] = {nullptr, &b.data().cards(), &b.data().pressNotes(),
                                  &b.data().sites()};
    for (int i = 1; i < 4; ++i)
        QCOMPARE(*lists[i], files[i] == file ? QStringList() : QStringList{files[i]});

    // At closing the others are written and that file is kept as it was.
    b.data().setCards(b.data().cards() + QStringList{u("nouvelle fiche")});
    b.data().SauveIni();
    QCOMPARE(QFileInfo(env.dir.file(file)).isDir(), asDirectory);
    if (!asDirectory) {
        QFile::setPermissions(env.dir.file(file), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(env.dir.bytes(file), before);
    }
    if (file != files[1]) QCOMPARE(env.dir.lines(files[1]).last(), u("nouvelle fiche"));
    if (file != files[0]) QCOMPARE(env.dir.lines(files[0]).value(3), u("12"));
}

void TestDocument::undoAfterLoad_neverBringsBackEmptyLines()
{
    StartFixture env;
    env.dir.write(u("Cours.vmq"), {kStore[0], QString(), kStore[1], kStore[2], QString()});
    TBourse b;
    b.Init();
    QCOMPARE(b.data().store(), kStore);
    b.maintenance().Annuler();
    QCOMPARE(b.data().store(), kStore);
    QCOMPARE(b.data().lastDate(), QDate(1999, 3, 10));
    QCOMPARE(monthText(b), u("Mars 1999"));
}

void TestDocument::badFirstOrLastDate_isReportedOnce_data()
{
    QTest::addColumn<QStringList>("store");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::newRow("first line")
        << QStringList{ql("1999xx01", "000003", "GAMMA", "1,00"), kStore[0], kStore[2]}
        << u("'1999xx01' n'est pas une date correcte (ligne 1 du fichier Cours.vmq)")
        << QDate(1999, 3, 1) << QDate(1999, 3, 10);
    QTest::newRow("last line")
        << QStringList{kStore[0], kStore[1], ql("19990231", "000003", "GAMMA", "1,00")}
        << u("'19990231' n'est pas une date correcte (ligne 3 du fichier Cours.vmq)")
        << QDate(1999, 3, 1) << QDate(1999, 3, 5);
}

void TestDocument::badFirstOrLastDate_isReportedOnce()
{
    QFETCH(QStringList, store);
    QFETCH(QString, error);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    DocumentFixture d(store);
    QCOMPARE(d.prompts.said(u("error")), QStringList{error});
    QCOMPARE(d.bourse->data().firstDate(), first);
    QCOMPARE(d.bourse->data().lastDate(), last);
    // The months stay browsable.
    QCOMPARE(d.bourse->findChild<QComboBox *>(u("ComboBox1"))->count(), 1);
    QCOMPARE(monthText(*d.bourse), u("Mars 1999"));
}

void TestDocument::emptyStore_monthStaysEmpty()
{
    StartFixture env;
    TBourse b;
    for (void (TBourse::*step)() : {&TBourse::Premier, &TBourse::Dernier, &TBourse::Precedent}) {
        (b.*step)();
        QCOMPARE(monthText(b), QString());
        QCOMPARE(b.journal().model()->rowCount(), 0);
    }
}

void TestDocument::wholePeriod_refillsThePageShown()
{
    DocumentFixture d(kStore);
    d.prompts.dialogs.append([](QDialog *dialog) {
        const auto fields = dialog->findChildren<QLineEdit *>();
        fields[0]->setText(u("05/03/1999"));
        fields[1]->setText(u("05/03/1999"));
        return int(QDialog::Accepted);
    });
    QVERIFY(d.bourse->maintenance().Selectionner(1));
    d.bourse->Dernier();
    QCOMPARE(d.bourse->journal().model()->rowCount(), 1);
    d.bourse->maintenance().Selectionner(0);
    QCOMPARE(d.bourse->journal().model()->rowCount(), 3);
}

void TestDocument::shownLines_removeExactlyThoseShown_data()
{
    QTest::addColumn<QStringList>("store");
    QTest::addColumn<QList<ShownLine>>("shown");
    QTest::addColumn<QStringList>("kept");
    const QString a1 = ql("19990301", "000001", "ALPHA", "1,00");
    const QString a2 = ql("19990301", "000001", "ALPHA", "2,00");
    const QString odd = u("19990301\t000001");
    QTest::newRow("same date and code: the one shown")
        << QStringList{a1, a2} << QList<ShownLine>{{1, a2}} << QStringList{a1};
    QTest::newRow("malformed line of the same key stays")
        << QStringList{odd, a1} << QList<ShownLine>{{1, a1}} << QStringList{odd};
    QTest::newRow("moved since shown: found by its text")
        << QStringList{a2, a1} << QList<ShownLine>{{1, a2}} << QStringList{a1};
    QTest::newRow("identical lines: one per row")
        << QStringList{a1, a1, a1} << QList<ShownLine>{{0, a1}, {0, a1}} << QStringList{a1};
    QTest::newRow("no longer in the store: nothing")
        << QStringList{a1} << QList<ShownLine>{{0, a2}} << QStringList{a1};
}

void TestDocument::shownLines_removeExactlyThoseShown()
{
    QFETCH(QStringList, store);
    QFETCH(QList<ShownLine>, shown);
    QFETCH(QStringList, kept);
    const qsizetype before = store.size();
    QCOMPARE(shown::remove(store, shown), int(before - kept.size()));
    QCOMPARE(store, kept);
}

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
