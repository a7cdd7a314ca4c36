// "E&xporter..." under the faults of the file system, and the bytes of the
// store's texts carried to the exported file: the former file keeps every
// byte, the error names the file, the document goes on; every byte the
// store holds is exported as it is.
#include "base/textfile.h"
#include "document/ExchangeCommands.h"
#include "faultdisk.h"
#include "testkit.h"

#include <QFileInfo>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace
{

const QStringList kStore{ql("19990111", "012000", "ALPHA", "100,00", "10"),
                         ql("19990111", "013000", "BETA", "50,00", "20"),
                         ql("19990114", "012000", "ALPHA", "101,00", "11")};
const QByteArray kFormer = "11/01/1999\t012000\tALPHA\t99,00\t1\r\n";

// A document on the store of the start directory, the month shown.
std::unique_ptr<TBourse> document(const QString &dir, const QStringList &store)
{
    writeLines(QDir(dir).filePath(u"Cours.vmq"_s), store);
    auto doc = std::make_unique<TBourse>();
    doc->resize(900, 600);
    doc->Init();
    doc->show();
    return doc;
}

} // namespace

class TestExportFaults : public QObject
{
    Q_OBJECT

private slots:
    void export_underFault_data() { addFaultRows(); }
    void export_underFault()
    {
        QFETCH(DiskFault, fault);
        FaultyDir dir(fault);
        if (!dir.unavailable().isEmpty()) QSKIP(qPrintable(dir.unavailable()));
        ScriptedPrompts prompts;
        auto doc = document(dir.path(), kStore);
        const QString path = dir.file(u"Export.txt"_s);
        writeLines(path, splitTextLines(decodeWindows1252(kFormer)));
        QVERIFY(dir.stage(u"Export.txt"_s));
        const QStringList entries = dir.entries();

        prompts.fileNames = {path};
        runCommand(doc.get(), [&] { doc->exchange().Exporter(); });
        QVERIFY(prompts.unexpected.isEmpty());
        if (!faultFailsWrite(fault)) {
            QCOMPARE(prompts.said(u"error"_s), QStringList());
            QCOMPARE(readLines(path).size(), 3);
            return;
        }
        QCOMPARE(prompts.said(u"error"_s),
                 QStringList{u"Ne peut créer le fichier "_s + path + writeCause(fault)});
        QCOMPARE(dir.entries(), entries);
        if (fault == DiskFault::FileIsDirectory)
            QVERIFY(QFileInfo(path).isDir());
        else if (fault == DiskFault::DirectoryRemoved)
            QVERIFY(!QFileInfo::exists(dir.path()));
        else
            QCOMPARE(fileBytes(path), kFormer);
        // The document goes on: the store is untouched and the next export
        // asks again with the name given.
        QVERIFY(!doc->data().isModified());
        QCOMPARE(doc->data().store().size(), kStore.size());
        prompts.fileNames = {QString()};
        runCommand(doc.get(), [&] { doc->exchange().Exporter(); });
        QCOMPARE(prompts.said(u"error"_s).size(), 1);
    }

    void export_processKilled_keepsFormerFile()
    {
        TempStartDir dir;
        QStringList store;
        for (int i = 0; i < 3000; ++i)
            store.append(ql("19990111", "012000", "ALPHA", "100,00") + QString::number(i));
        ScriptedPrompts prompts;
        auto doc = document(dir.path(), store);
        const QString path = dir.file(u"Export.txt"_s);
        dir.writeBytes(u"Export.txt"_s, kFormer);
        prompts.fileNames = {path};
        QCOMPARE(killedWhileWriting(64 * 1024, [&] { doc->exchange().Exporter(); }), SIGXFSZ);
        QCOMPARE(fileBytes(path), kFormer);
        prompts.fileNames = {path};
        runCommand(doc.get(), [&] { doc->exchange().Exporter(); });
        QCOMPARE(readLines(path).size(), 3000);
    }

    // The name as the store holds it, in bytes, and the exported line.
    void export_storeBytes_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("euro, oe and the other high bytes") << QByteArray("\x80\x8a\x9c\x9f\xe9");
        QTest::newRow("the holes of the code page") << QByteArray("A\x81\x8d\x8f\x90\x9d");
        QTest::newRow("no-break space and y diaeresis") << QByteArray("A\xa0\xff");
        // The lists show at most 255 characters after the date: a long name
        // short of that goes whole.
        QTest::newRow("long name") << QByteArray(200, 'n');
    }
    void export_storeBytes()
    {
        QFETCH(QByteArray, name);
        TempStartDir dir;
        ScriptedPrompts prompts;
        const QByteArray line = "19990111\t012000\t" + name + "\t100,00\t10";
        dir.writeBytes(u"Cours.vmq"_s, line + "\r\n");
        TBourse doc;
        doc.resize(900, 600);
        doc.Init();
        doc.show();
        prompts.fileNames = {dir.file(u"Export.txt"_s)};
        runCommand(&doc, [&] { doc.exchange().Exporter(); });
        QCOMPARE(prompts.said(u"error"_s), QStringList());
        QCOMPARE(dir.bytes(u"Export.txt"_s), "11/01/1999\t012000\t" + name + "\t100,00\t10\r\n");
    }
};

QTEST_MAIN(TestExportFaults)
#include "tst_exportfaults.moc"
