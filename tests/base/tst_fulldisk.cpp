// Saving on a full file system: the former file survives byte for byte and
// the user is told. Needs root to mount a small tmpfs.
#include "base/errors.h"
#include "base/textfile.h"
#include "faultdisk.h"
#include "testkit.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

QStringList quotations(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(ql("19990104", "012000", "EXEMPLE SA", "45,30", "1200") + QString::number(i));
    return lines;
}

} // namespace

class TestFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void fullDisk_keepsFormerFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("former");
        QTest::addColumn<QStringList>("next");
        QStringList typed = quotations(100);
        typed.append(ql("19990105", "012000", "EXEMPLE SA", "46,10", "800"));
        QTest::newRow("quotations, one line typed") << u"Cours.vmq"_s << quotations(100) << typed;
        const QStringList ini{u" 6.55957000000000E+0000"_s,
                              QString(),
                              u"1"_s,
                              u"8"_s,
                              u"6"_s,
                              u"6"_s,
                              u"5"_s,
                              u"0"_s};
        QStringList changed = ini;
        changed[1] = u"/home/moi/Portefeuille.ptf"_s;
        QTest::newRow("settings, portfolio named") << u"Valmeq.ini"_s << ini << changed;
        const QStringList cards{u"012000\tEXEMPLE SA\tRésultats en hausse"_s,
                                u"013000\tAUTRE\tÀ suivre"_s};
        QTest::newRow("cards, one card more")
            << u"Valmeq.trt"_s << cards << (cards + QStringList{u"014000\tTROISIÈME\tNote"_s});
    }
    void fullDisk_keepsFormerFile()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, former);
        QFETCH(QStringList, next);
        SmallDisk disk;
        if (!disk.mounted()) QSKIP("needs root to mount a small tmpfs; skipped");
        const QString path = disk.file(name);
        writeLines(path, former);
        const QByteArray before = fileBytes(path);
        QCOMPARE(before.count('\n'), former.size());
        QVERIFY(disk.fill());

        QString message;
        try {
            writeLines(path, next);
        } catch (const VError &e) {
            message = e.message();
        }
        QCOMPARE(message, u"Ne peut créer le fichier "_s + path + u" : disque plein"_s);
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(disk.entries(), (QStringList{name, u"filler"_s}));
    }

    // Closing with "Oui" on a full disk: the errors are shown, closing stops,
    // the quotations, settings and cards on disk are those of before.
    void fullDisk_documentSaveReportsAndKeepsFiles()
    {
        SmallDisk disk;
        if (!disk.mounted()) QSKIP("needs root to mount a small tmpfs; skipped");
        const QStringList names{u"Cours.vmq"_s, u"Valmeq.ini"_s, u"Valmeq.trt"_s};
        writeLines(disk.file(names[0]), quotations(100));
        writeLines(disk.file(names[1]), {u" 6.55957000000000E+0000"_s, QString(), u"1"_s});
        writeLines(disk.file(names[2]), {u"012000\tEXEMPLE SA\tRésultats en hausse"_s});
        QList<QByteArray> before;
        for (const QString &name : names)
            before.append(fileBytes(disk.file(name)));

        ScriptedPrompts prompts;
        auto bourse = std::make_unique<BourseData>(disk.path());
        bourse->Init();
        bourse->ChargeIni();
        bourse->change(BourseData::Change::Entry, [](QStringList &store) {
            store.append(ql("19990105", "012000", "EXEMPLE SA", "46,10", "800"));
        });
        Settings settings = bourse->settings();
        settings.portfolioPath = u"/home/moi/Portefeuille.ptf"_s;
        bourse->setSettings(settings);
        bourse->setCards(bourse->cards() + QStringList{u"013000\tAUTRE\tÀ suivre"_s});
        QVERIFY(disk.fill());

        prompts.answers = {Prompts::Yes};
        QVERIFY(!bourse->Sauve());
        QCOMPARE(prompts.said(u"error"_s), QStringList{u"Ne peut créer le fichier "_s +
                                                       disk.file(names[0]) + u" : disque plein"_s});
        QVERIFY(bourse->isModified());
        QString message;
        try {
            bourse->SauveIni();
        } catch (const VError &e) {
            message = e.message();
        }
        QCOMPARE(message, u"Ne peut créer le fichier "_s + disk.file(names[1]) +
                              u" : disque plein\nNe peut créer le fichier "_s +
                              disk.file(names[2]) + u" : disque plein"_s);
        bourse.reset();

        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(fileBytes(disk.file(names[i])), before[i]);
        // The empty lists need no room and are written; nothing else is left.
        QCOMPARE(disk.entries(), (QStringList{u"Cours.vmq"_s, u"Valmeq.ini"_s, u"Valmeq.prc"_s,
                                              u"Valmeq.sit"_s, u"Valmeq.trt"_s, u"filler"_s}));
    }
};

QTEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
