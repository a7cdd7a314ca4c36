// What main() does before the first window: the options, the choice of the
// start directory and its filling from the installed demo.
#include "app/TAboutBox.h"
#include "app/startup.h"
#include "faultdisk.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using startup::Action;

class TestStartup : public QObject
{
    Q_OBJECT

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(absent)");
    }

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("trial");
        QTest::addColumn<QString>("error");
        const auto row = [](const char *name, std::initializer_list<const char *> words,
                            Action action, bool trial, const char *error) {
            QStringList arguments;
            for (const char *word : words)
                arguments << QString::fromUtf8(word);
            QTest::newRow(name) << arguments << int(action) << trial << QString::fromUtf8(error);
        };
        row("none", {}, Action::Run, false, "");
        row("trial", {"--essai"}, Action::Run, true, "");
        row("version", {"--version"}, Action::Version, false, "");
        row("help", {"--help"}, Action::Help, false, "");
        row("short help", {"-h"}, Action::Help, false, "");
        row("help wins over what follows", {"--help", "--nimporte"}, Action::Help, false, "");
        row("unknown option", {"--verbose"}, Action::Error, false, "option inconnue : --verbose");
        row("unknown short option", {"-v"}, Action::Error, false, "option inconnue : -v");
        row("Qt's own option", {"-platform", "xcb"}, Action::Error, false,
            "option inconnue : -platform");
        row("bad option after the trial", {"--essai", "--x"}, Action::Error, true,
            "option inconnue : --x");
        row("file name", {"demo.ptf"}, Action::Error, false, "argument inattendu : demo.ptf");
        row("options are whole words", {"--versions"}, Action::Error, false,
            "option inconnue : --versions");
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(bool, trial);
        QFETCH(QString, error);
        const startup::Options options = startup::parse(arguments);
        QCOMPARE(int(options.action), action);
        QCOMPARE(options.trial, trial);
        QCOMPARE(options.error, error);
    }

    void versionAndAboutBoxAgree()
    {
        QCOMPARE(startup::versionText(), QStringLiteral("Valmeq " VALMEQ_VERSION "\n"));
        QVERIFY(QByteArray(VALMEQ_VERSION).contains('.'));
        TAboutBox box;
        const auto *label = box.findChild<QLabel *>(QStringLiteral("Version"));
        QVERIFY(label);
        QCOMPARE(QStringLiteral("Valmeq ") + label->text().section(QLatin1Char(' '), 1) +
                     QLatin1Char('\n'),
                 startup::versionText());
    }

    void chooseStartDir_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, bool installed, const char *home,
                            const char *expected) {
            QTest::newRow(name) << installed << QString::fromUtf8(home)
                                << QString::fromUtf8(expected);
        };
        row("installed, default", true, "", "/home/a/.local/share/Valmeq");
        row("installed, VALMEQ_HOME", true, "/srv/cours", "/srv/cours");
        row("installed, relative VALMEQ_HOME", true, "donnees/../cours", "/home/a/travail/cours");
        row("build tree: current directory", false, "", "/home/a/travail");
        row("build tree ignores VALMEQ_HOME", false, "/srv/cours", "/home/a/travail");
    }
    void chooseStartDir()
    {
        QFETCH(bool, installed);
        QFETCH(QString, home);
        QFETCH(QString, expected);
        QCOMPARE(startup::chooseStartDir(installed, home, QStringLiteral("/home/a/.local/share"),
                                         QStringLiteral("/home/a/travail")),
                 expected);
    }

    void installedDemo()
    {
        QTemporaryDir prefix;
        QVERIFY(QDir().mkpath(prefix.filePath(QStringLiteral("bin"))));
        QCOMPARE(startup::installedDemo(prefix.filePath(QStringLiteral("bin"))), QString());
        QVERIFY(QDir().mkpath(prefix.filePath(QStringLiteral("share/valmeq/demo"))));
        QCOMPARE(startup::installedDemo(prefix.filePath(QStringLiteral("bin"))),
                 prefix.filePath(QStringLiteral("share/valmeq/demo")));
    }

    void firstStartCopiesTheDemo()
    {
        QTemporaryDir root;
        const QString demo = root.filePath(QStringLiteral("demo"));
        QVERIFY(QDir().mkpath(demo + QStringLiteral("/sous")));
        write(demo + QStringLiteral("/Cours.vmq"), "19850102\t012000\tTTRC\t3,08\t1870906\r\n");
        write(demo + QStringLiteral("/sous/a.txt"), "a");
        QVERIFY(QFile::setPermissions(demo + QStringLiteral("/Cours.vmq"), QFile::ReadOwner));
        const QString start = root.filePath(QStringLiteral("data/share/Valmeq"));
        QString error;
        QVERIFY(startup::prepareStartDir(start, demo, &error));
        QCOMPARE(error, QString());
        QCOMPARE(read(start + QStringLiteral("/Cours.vmq")),
                 QByteArray("19850102\t012000\tTTRC\t3,08\t1870906\r\n"));
        QCOMPARE(read(start + QStringLiteral("/sous/a.txt")), QByteArray("a"));
        // The copy is the user's to change.
        QVERIFY(QFile::permissions(start + QStringLiteral("/Cours.vmq")) & QFile::WriteOwner);
        // Nothing but the start directory is left beside it.
        QCOMPARE(QDir(root.filePath(QStringLiteral("data/share")))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Valmeq")});
    }

    void laterStartsKeepTheUsersFiles()
    {
        QTemporaryDir root;
        const QString demo = root.filePath(QStringLiteral("demo"));
        const QString start = root.filePath(QStringLiteral("Valmeq"));
        QVERIFY(QDir().mkpath(demo));
        QVERIFY(QDir().mkpath(start));
        write(demo + QStringLiteral("/Cours.vmq"), "demo");
        write(start + QStringLiteral("/Cours.vmq"), "mine");
        QString error;
        QVERIFY(startup::prepareStartDir(start, demo, &error));
        QCOMPARE(read(start + QStringLiteral("/Cours.vmq")), QByteArray("mine"));
    }

    void aFileInTheWayIsRefused()
    {
        QTemporaryDir root;
        const QString start = root.filePath(QStringLiteral("Valmeq"));
        write(start, "x");
        QString error;
        QVERIFY(!startup::prepareStartDir(start, QString(), &error));
        QCOMPARE(error, start + QStringLiteral(" existe et n'est pas un répertoire."));
    }

    // A copy cut short (a full disk as root, an unreadable demo file
    // otherwise) leaves neither the start directory nor its temporary one.
    void aFailedCopyLeavesNoStartDir()
    {
        QTemporaryDir root;
        const QString demo = root.filePath(QStringLiteral("demo"));
        QVERIFY(QDir().mkpath(demo));
        write(demo + QStringLiteral("/Cours.vmq"), QByteArray(512 * 1024, 'x'));
        SmallDisk disk;
        QString parent = disk.path();
        if (!disk.mounted()) {
            parent = root.filePath(QStringLiteral("data"));
            QVERIFY(QDir().mkpath(parent));
            QVERIFY(QFile::setPermissions(demo + QStringLiteral("/Cours.vmq"), {}));
            QFile probe(demo + QStringLiteral("/Cours.vmq"));
            if (probe.open(QIODevice::ReadOnly)) QSKIP("no way to make the copy fail here");
        }
        const QString start = parent + QStringLiteral("/Valmeq");
        QString error;
        QVERIFY(!startup::prepareStartDir(start, demo, &error));
        QCOMPARE(error,
                 QStringLiteral("Ne peut copier la démonstration %1 dans %2.").arg(demo, start));
        QCOMPARE(QDir(parent).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
