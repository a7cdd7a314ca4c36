// The files of the start directory beside other programs: one copy writes
// there, a file whose lines did not change is not written, and a file
// another program changed since it was read is not written over unasked.
#include "base/DirLock.h"
#include "base/textfile.h"
#include "quotes/BourseData.h"
#include "testkit.h"

#include <QCoreApplication>
#include <QSysInfo>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// A file written again is a new file: its inode changes.
static ino_t inode(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

class TestDataFiles : public QObject
{
    Q_OBJECT
private slots:
    void lock_oneWriterPerDirectory()
    {
        StartFixture env;
        // A lock left by a process that ended is taken over.
        const pid_t dead = ::fork();
        if (dead == 0) ::_exit(0);
        ::waitpid(dead, nullptr, 0);
        env.dir.writeBytes(DirLock::fileName(), QByteArray::number(dead) + "\nvalmeq\n" +
                                                    QSysInfo::machineHostName().toUtf8() + "\n");
        env.dir.writeBytes(u".vmqab12cd.tmp"_s, "reste d'une sauvegarde coupée");
        BourseData first(env.dir.path());
        qint64 holder = -1;
        QVERIFY(first.lockDir(&holder));
        QVERIFY(!env.dir.exists(u".vmqab12cd.tmp"_s)); // the holder removes leftovers
        BourseData second(env.dir.path());
        QVERIFY(!second.lockDir(&holder));
        QCOMPARE(holder, QCoreApplication::applicationPid());
    }

    // At closing each settings or list file is written only when its lines
    // changed; over another program's change only when the user says so.
    void closing_writesOnlyWhatChanged_data()
    {
        QTest::addColumn<bool>("ours");   // the program changed the cards
        QTest::addColumn<bool>("theirs"); // another program wrote them since
        QTest::addColumn<int>("answer");  // to "L'écraser ?"; -1: not asked
        QTest::addColumn<QString>("kept");
        QTest::newRow("untouched") << false << false << -1 << u"lu"_s;
        QTest::newRow("untouched, written by another") << false << true << -1 << u"autre"_s;
        QTest::newRow("changed") << true << false << -1 << u"lu\nnouveau"_s;
        QTest::newRow("changed on both sides, Non")
            << true << true << int(Prompts::No) << u"autre"_s;
    }
    void closing_writesOnlyWhatChanged()
    {
        QFETCH(bool, ours);
        QFETCH(bool, theirs);
        QFETCH(int, answer);
        QFETCH(QString, kept);
        StartFixture env;
        env.dir.write(u"Valmeq.trt"_s, {u"lu"_s});
        BourseData data(env.dir.path());
        data.ChargeIni();
        if (ours) data.setCards({u"lu"_s, u"nouveau"_s});
        if (theirs) env.dir.write(u"Valmeq.trt"_s, {u"autre"_s});
        const ino_t before = inode(env.dir.file(u"Valmeq.trt"_s));
        if (answer >= 0) env.prompts.answers = {Prompts::Answer(answer)};
        data.SauveIni();
        QCOMPARE(env.dir.lines(u"Valmeq.trt"_s), kept.split(u'\n'));
        if (!kept.contains(u"nouveau"_s)) QCOMPARE(inode(env.dir.file(u"Valmeq.trt"_s)), before);
        QCOMPARE(env.prompts.said(u"question"_s).size(), answer < 0 ? 0 : 1);
    }

    // The quotations over a file another program wrote since: "Oui" writes
    // over it, "Non" keeps it and offers another name; without one the
    // closing stops, the quotations still unsaved.
    void sauve_overAnotherProgramsQuotations_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("otherName");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Oui: written over") << int(Prompts::Yes) << QString() << true;
        QTest::newRow("Non, another name") << int(Prompts::No) << u"copie.vmq"_s << true;
        QTest::newRow("Non, no name") << int(Prompts::No) << QString() << false;
    }
    void sauve_overAnotherProgramsQuotations()
    {
        QFETCH(int, answer);
        QFETCH(QString, otherName);
        QFETCH(bool, closes);
        StartFixture env;
        const QStringList read = {
            qline(u"20010305"_s, u"012000"_s, u"ALPHA"_s, u"10,00"_s, u"1"_s)};
        const QStringList theirs = {
            qline(u"20010306"_s, u"013000"_s, u"BETA"_s, u"5,00"_s, u"2"_s)};
        env.dir.write(u"Cours.vmq"_s, read);
        BourseData data(env.dir.path());
        data.Init();
        data.change(BourseData::Change::Entry, [](QStringList &s) { s.removeLast(); });
        env.dir.write(u"Cours.vmq"_s, theirs);
        env.prompts.answers = {Prompts::Yes, Prompts::Answer(answer)};
        if (answer == Prompts::No) env.prompts.fileNames = {otherName};
        QCOMPARE(data.Sauve(), closes);
        QCOMPARE(data.isModified(), !closes);
        QCOMPARE(env.dir.lines(u"Cours.vmq"_s), answer == Prompts::Yes ? QStringList() : theirs);
        if (!otherName.isEmpty()) QCOMPARE(env.dir.lines(otherName), QStringList());
        QCOMPARE(env.prompts.said(u"question"_s).size(), 2);
    }

    void savePortfolio_overAnotherProgramsFile_offersAnotherName()
    {
        StartFixture env;
        env.dir.write(u"mon.ptf"_s, {u"A19990104\t012000\t100\t10"_s});
        BourseData data(env.dir.path());
        data.loadPortfolio(u"mon.ptf"_s);
        data.addOperations({u"V19990105\t012000\t100\t10"_s});
        env.dir.write(u"mon.ptf"_s, {u"autre"_s});
        env.prompts.answers = {Prompts::No};
        env.prompts.fileNames = {env.dir.file(u"copie.ptf"_s)};
        data.savePortfolio(u"mon.ptf"_s);
        QCOMPARE(env.dir.lines(u"mon.ptf"_s), QStringList{u"autre"_s});
        QCOMPARE(env.dir.lines(u"copie.ptf"_s), data.portfolio());
        QCOMPARE(data.portfolioPath(), env.dir.file(u"copie.ptf"_s));
    }
};

QTEST_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
