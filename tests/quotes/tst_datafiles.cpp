// The files of the start directory shared with other programs: one copy
// writes there, a file changed by another program since it was read is not
// written over unasked, a file whose lines did not change is not written,
// and what is no regular file or too big is not read.
#include "base/DirLock.h"
#include "base/textfile.h"
#include "quotes/BourseData.h"
#include "testkit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{

const QStringList kIni = {
    u" 6.55957000000000E+0000"_s, u"mon.ptf"_s, u"1"_s, u"8"_s, u"6"_s, u"6"_s, u"5"_s, u"0"_s};
const QStringList kTheirs = {u"écrit par un autre programme"_s};

ino_t inode(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

class TestDataFiles : public QObject
{
    Q_OBJECT
private slots:
    void lock_oneWriterPerDirectory()
    {
        StartFixture env;
        env.dir.writeBytes(u".vmqab12cd.tmp"_s, "reste d'une sauvegarde coupée");
        BourseData first(env.dir.path());
        qint64 holder = -1;
        QVERIFY(first.lockDir(&holder));
        QVERIFY(!env.dir.exists(u".vmqab12cd.tmp"_s)); // the holder removes leftovers
        {
            BourseData second(env.dir.path());
            env.dir.writeBytes(u".vmqzz99yy.tmp"_s, "en cours d'écriture");
            QVERIFY(!second.lockDir(&holder));
            QCOMPARE(holder, QCoreApplication::applicationPid());
            QVERIFY(env.dir.exists(u".vmqzz99yy.tmp"_s)); // not the second copy's to remove
        }
        QVERIFY(first.lockDir(&holder)); // held already
        BourseData third(env.dir.path());
        QVERIFY(!third.lockDir(&holder));
    }

    void lock_ofADeadProcessIsTakenOver()
    {
        StartFixture env;
        const pid_t child = ::fork();
        if (child == 0) ::_exit(0);
        QVERIFY(child > 0);
        ::waitpid(child, nullptr, 0);
        QByteArray host = QSysInfo::machineHostName().toUtf8();
        env.dir.writeBytes(DirLock::fileName(),
                           QByteArray::number(child) + "\nvalmeq\n" + host + "\n");
        BourseData data(env.dir.path());
        qint64 holder = -1;
        QVERIFY(data.lockDir(&holder));
        BourseData other(env.dir.path());
        QVERIFY(!other.lockDir(&holder));
        QCOMPARE(holder, QCoreApplication::applicationPid());
    }

    void readOnly_writesNothing()
    {
        StartFixture env;
        env.dir.write(u"Valmeq.ini"_s, kIni);
        env.dir.write(u"Cours.vmq"_s, {ql("19990104", "012000", "EXEMPLE", "45,30")});
        env.dir.write(u"mon.ptf"_s, {u"A19990104\t012000\t100\t10"_s});
        BourseData data(env.dir.path());
        data.setPromptParent(nullptr);
        data.ChargeIni();
        data.Init();
        data.loadPortfolio(u"mon.ptf"_s);
        data.setReadOnly(true);
        data.SetIni(true);
        data.setCards({u"012000\tFiche"_s});
        data.change(BourseData::Change::Entry, [](QStringList &s) { s.append(u"x"_s); });
        data.addOperations({u"V19990105\t012000\t100\t10"_s});
        const QStringList before = QDir(env.dir.path()).entryList(QDir::Files | QDir::Hidden);
        data.SauveIni();
        QVERIFY(data.Sauve());
        QVERIFY_THROWS_EXCEPTION(VError, data.savePortfolio(u"mon.ptf"_s));
        QCOMPARE(QDir(env.dir.path()).entryList(QDir::Files | QDir::Hidden), before);
        QCOMPARE(env.dir.lines(u"Valmeq.ini"_s), kIni);
        QCOMPARE(env.dir.lines(u"mon.ptf"_s), QStringList{u"A19990104\t012000\t100\t10"_s});
        QCOMPARE(env.prompts.said(u"information"_s),
                 QStringList{BourseData::readOnlyRefusal(env.dir.file(u"Cours.vmq"_s))});
        QVERIFY(env.prompts.said(u"question"_s).isEmpty());
    }

    // At closing each settings or list file is written only when its lines
    // changed; over another program's change only when the user says so.
    void closing_writesOnlyWhatChanged_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ours");    // the program changed the file's lines
        QTest::addColumn<bool>("theirs");  // another program wrote the file since
        QTest::addColumn<int>("answer");   // to "L'écraser ?"; -1: not asked
        QTest::addColumn<QString>("kept"); // "read", "ours" or "theirs"
        QTest::newRow("settings untouched") << u"Valmeq.ini"_s << false << false << -1 << u"read"_s;
        QTest::newRow("cards untouched, another program wrote them")
            << u"Valmeq.trt"_s << false << true << -1 << u"theirs"_s;
        QTest::newRow("press notes changed") << u"Valmeq.prc"_s << true << false << -1 << u"ours"_s;
        QTest::newRow("sites changed on both sides, Non")
            << u"Valmeq.sit"_s << true << true << int(Prompts::No) << u"theirs"_s;
        QTest::newRow("settings changed on both sides, Oui")
            << u"Valmeq.ini"_s << true << true << int(Prompts::Yes) << u"ours"_s;
        QTest::newRow("settings changed on both sides, Non")
            << u"Valmeq.ini"_s << true << true << int(Prompts::No) << u"theirs"_s;
    }
    void closing_writesOnlyWhatChanged()
    {
        QFETCH(QString, name);
        QFETCH(bool, ours);
        QFETCH(bool, theirs);
        QFETCH(int, answer);
        QFETCH(QString, kept);
        StartFixture env;
        const QStringList read = name == u"Valmeq.ini"_s ? kIni : QStringList{u"lu au départ"_s};
        env.dir.write(name, read);
        for (const QString &other :
             {u"Valmeq.ini"_s, u"Valmeq.trt"_s, u"Valmeq.prc"_s, u"Valmeq.sit"_s})
            if (other != name)
                env.dir.write(other, other == u"Valmeq.ini"_s ? kIni : QStringList());
        BourseData data(env.dir.path());
        data.ChargeIni();
        QStringList mine = read;
        if (ours) {
            if (name == u"Valmeq.ini"_s) {
                data.SetIni(true);
                mine[7] = u"1"_s;
            } else {
                mine.append(u"ajouté ici"_s);
                if (name == u"Valmeq.trt"_s) data.setCards(mine);
                if (name == u"Valmeq.prc"_s) data.setPressNotes(mine);
                if (name == u"Valmeq.sit"_s) data.setSites(mine);
            }
        }
        if (theirs) env.dir.write(name, kTheirs);
        const ino_t before = inode(env.dir.file(name));
        if (answer >= 0) env.prompts.answers = {Prompts::Answer(answer)};
        data.SauveIni();
        const QStringList expected = kept == u"ours"_s     ? mine
                                     : kept == u"theirs"_s ? kTheirs
                                                           : read;
        QCOMPARE(env.dir.lines(name), expected);
        if (kept != u"ours"_s) QCOMPARE(inode(env.dir.file(name)), before); // not written at all
        QCOMPARE(env.prompts.said(u"question"_s),
                 answer < 0 ? QStringList() : QStringList{changedQuestion(env.dir.file(name))});
        QVERIFY(env.prompts.unexpected.isEmpty());
    }

    void saveStore_overAnotherProgramsQuotations_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Non keeps theirs") << int(Prompts::No);
        QTest::newRow("Oui writes ours") << int(Prompts::Yes);
    }
    void saveStore_overAnotherProgramsQuotations()
    {
        QFETCH(int, answer);
        StartFixture env;
        const QStringList start = {ql("19990104", "012000", "EXEMPLE", "45,30")};
        env.dir.write(u"Cours.vmq"_s, start);
        BourseData data(env.dir.path());
        data.Init();
        data.change(BourseData::Change::Entry,
                    [](QStringList &s) { s.append(ql("19990105", "012000", "EXEMPLE", "46,00")); });
        const QStringList theirs = start + QStringList{ql("19990105", "013000", "AUTRE", "1,00")};
        env.dir.write(u"Cours.vmq"_s, theirs);
        env.prompts.answers = {Prompts::Yes, Prompts::Answer(answer)};
        QVERIFY(data.Sauve());
        QCOMPARE(env.prompts.said(u"question"_s),
                 (QStringList{u"Enregistrer le fichier des cotations ?"_s,
                              changedQuestion(env.dir.file(u"Cours.vmq"_s))}));
        QCOMPARE(env.dir.lines(u"Cours.vmq"_s),
                 answer == Prompts::No ? theirs : data.store().toStringList());
    }

    void savePortfolio_overAnotherProgramsFile_offersAnotherName()
    {
        StartFixture env;
        env.dir.write(u"mon.ptf"_s, {u"A19990104\t012000\t100\t10"_s});
        BourseData data(env.dir.path());
        data.loadPortfolio(u"mon.ptf"_s);
        data.addOperations({u"V19990105\t012000\t100\t10"_s});
        env.dir.write(u"mon.ptf"_s, kTheirs);
        // Non, then no other name: nothing written, and said so.
        env.prompts.answers = {Prompts::No};
        env.prompts.fileNames = {QString()};
        QVERIFY_THROWS_EXCEPTION(VError, data.savePortfolio(u"mon.ptf"_s));
        QVERIFY(data.portfolioModified());
        // Non, then another name: the portfolio goes there and is named so.
        env.prompts.answers = {Prompts::No};
        env.prompts.fileNames = {env.dir.file(u"copie.ptf"_s)};
        data.savePortfolio(u"mon.ptf"_s);
        QCOMPARE(env.dir.lines(u"mon.ptf"_s), kTheirs);
        QCOMPARE(env.dir.lines(u"copie.ptf"_s), data.portfolio());
        QCOMPARE(data.portfolioPath(), env.dir.file(u"copie.ptf"_s));
        QVERIFY(!data.portfolioModified());
        // Its own file, unchanged since written, is written again unasked.
        data.addOperations({u"D19990106\t012000\t5"_s});
        data.savePortfolio(data.portfolioPath());
        QCOMPARE(env.dir.lines(u"copie.ptf"_s), data.portfolio());
        QCOMPARE(env.prompts.said(u"question"_s),
                 QStringList(2, changedQuestion(env.dir.file(u"mon.ptf"_s))));
    }

    // What is no regular file is refused at start without waiting on it;
    // such a file is then never written over.
    void unreadableFiles_refusedAndKept_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("target"); // a device, or "fifo"
        QTest::newRow("cards on /dev/zero") << u"Valmeq.trt"_s << u"/dev/zero"_s;
        QTest::newRow("settings on a pipe") << u"Valmeq.ini"_s << u"fifo"_s;
        QTest::newRow("quotations on /dev/urandom") << u"Cours.vmq"_s << u"/dev/urandom"_s;
        QTest::newRow("portfolio on /dev/zero") << u"demo.ptf"_s << u"/dev/zero"_s;
    }
    void unreadableFiles_refusedAndKept()
    {
        QFETCH(QString, name);
        QFETCH(QString, target);
        StartFixture env;
        const QString path = env.dir.file(name);
        if (target == u"fifo"_s)
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(QFile::link(target, path));
        const QString refusal = u"Le fichier "_s + path + u" n'est pas un fichier ordinaire"_s;
        BourseData data(env.dir.path());
        data.ChargeIni();
        QString thrown;
        try {
            if (name == u"Cours.vmq"_s) data.Init();
            if (name == u"demo.ptf"_s) data.loadPortfolio(name);
        } catch (const VError &e) {
            thrown = e.message();
        }
        QStringList said = env.prompts.said(u"error"_s);
        if (!thrown.isEmpty()) said.append(thrown);
        QCOMPARE(said, QStringList{refusal});
        data.setCards({u"012000\tFiche"_s});
        data.SetIni(true);
        data.SauveIni();
        if (name == u"Cours.vmq"_s) {
            data.change(BourseData::Change::Entry, [](QStringList &s) { s.append(u"x"_s); });
            QVERIFY(data.Sauve());
        }
        QVERIFY(!data.portfolioWritable() || name != u"demo.ptf"_s);
        QVERIFY(QFileInfo(path).isSymLink() || !QFileInfo(path).isFile());
    }
};

QTEST_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
