// Replacing a file whole under the faults of the file system: the former
// file keeps every byte, the message names the file, nothing is left that
// the next start would read.
#include "base/errors.h"
#include "base/textfile.h"
#include "faultdisk.h"
#include "testkit.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{

QStringList numbered(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(u"ligne numéro %1\tà garder"_s.arg(i));
    return lines;
}

// The message writeLines threw; empty when it wrote.
QString failureOf(const QString &path, const QStringList &lines)
{
    try {
        writeLines(path, lines);
    } catch (const VError &e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestTextFileFaults : public QObject
{
    Q_OBJECT

private slots:
    void writeLines_underFault_data() { addFaultRows(); }
    void writeLines_underFault()
    {
        QFETCH(DiskFault, fault);
        FaultyDir dir(fault);
        if (!dir.unavailable().isEmpty()) QSKIP(qPrintable(dir.unavailable()));
        const QString path = dir.file(u"Valmeq.trt"_s);
        writeLines(path, numbered(10));
        const QByteArray before = fileBytes(path);
        QVERIFY(dir.stage(u"Valmeq.trt"_s));
        const QStringList entries = dir.entries();
        const QString failure = failureOf(path, numbered(3000));
        if (!faultFailsWrite(fault)) {
            QCOMPARE(failure, QString());
            QCOMPARE(readLines(path), numbered(3000));
            return;
        }
        QCOMPARE(failure, u"Ne peut créer le fichier "_s + path + writeCause(fault));
        QCOMPARE(dir.entries(), entries); // no temporary file left
        if (fault == DiskFault::FileIsDirectory)
            QVERIFY(QFileInfo(path).isDir());
        else if (fault == DiskFault::DirectoryRemoved)
            QVERIFY(!QFileInfo::exists(dir.path()));
        else
            QCOMPARE(fileBytes(path), before);
    }

    // A write that breaks half-way inside the program.
    void writeLines_brokenHalfWay_keepsFormerFile()
    {
        TempStartDir dir;
        const QString path = dir.file(u"Valmeq.nte"_s);
        writeLines(path, numbered(10));
        const QByteArray before = fileBytes(path);
        QString failure;
        {
            WriteLimit limit(4096);
            failure = failureOf(path, numbered(3000));
        }
        QCOMPARE(failure, u"Ne peut créer le fichier "_s + path + u" : erreur E/S %1"_s.arg(EFBIG));
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"Valmeq.nte"_s});
    }

    // The process killed in the middle of the write: the former file is
    // whole, the next start reads it, the next save replaces it.
    void writeLines_processKilled_keepsFormerFile()
    {
        TempStartDir dir;
        const QString path = dir.file(u"Cours.vmq"_s);
        writeLines(path, numbered(10));
        const QByteArray before = fileBytes(path);
        const int signal =
            killedWhileWriting(64 * 1024, [&] { writeLines(path, numbered(20000)); });
        QCOMPARE(signal, SIGXFSZ);
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(readLines(path), numbered(10));
        writeLines(path, numbered(20));
        QCOMPARE(readLines(path), numbered(20));
    }

    // A file its owner made read-only is not replaced, though the directory
    // would allow it. Root writes anything: the check runs as "nobody".
    void writeLines_readOnlyFile_isRefused()
    {
        if (::geteuid() != 0) QSKIP("needs root to run the check as another user; skipped");
        QTemporaryDir dir;
        const QString path = dir.filePath(u"mon.ptf"_s);
        writeLines(path, numbered(5));
        const uid_t nobody = 65534;
        const QByteArray dirName = QFile::encodeName(dir.path());
        const QByteArray fileName = QFile::encodeName(path);
        QCOMPARE(::chown(dirName.constData(), nobody, nobody), 0);
        QCOMPARE(::chown(fileName.constData(), nobody, nobody), 0);
        QCOMPARE(::chmod(fileName.constData(), 0444), 0);
        const QByteArray before = fileBytes(path);

        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            if (::setgid(nobody) != 0 || ::setuid(nobody) != 0) ::_exit(3);
            const QString failure = failureOf(path, numbered(50));
            ::_exit(failure ==
                            u"Ne peut créer le fichier "_s + path + u" : accès au fichier refusé"_s
                        ? 0
                        : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"mon.ptf"_s});
    }
};

QTEST_MAIN(TestTextFileFaults)
#include "tst_textfilefaults.moc"
