// The "&Stats" windows driven as the user does: parameters, indicators,
// statistics and hit-parade, and the chart page's painting.
#include "charts/IndicatorWindow.h"
#include "charts/PaintArea.h"
#include "document/ChartPage.h"
#include "document/TBourse.h"
#include "document/TitresPage.h"
#include "print/PrintPreview.h"
#include "print/printer.h"
#include "testkit.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>

namespace
{
// `count` quotations of one security from 02/01/2001, prices from `prices`
// (repeated).
QStringList store(int count, const QStringList &prices = {u("10"), u("12"), u("15"), u("11")})
{
    QStringList lines;
    QDate d(2001, 1, 2);
    for (int i = 0; i < count; ++i, d = d.addDays(1))
        lines << qline(d.toString(u"yyyyMMdd"), u("012000"), u("ACIÉRIES"),
                       prices[i % prices.size()], u("100"));
    return lines;
}

bool drawsIn(const ChartDrawing &d, const QColor &color)
{
    for (const DrawStep &s : d.steps.steps())
        if (s.kind == DrawStep::Pen && s.color == color) return true;
    return false;
}
} // namespace

class TestChartWindows : public QObject
{
    Q_OBJECT
private slots:
    void parametres_writesBackOnlyOnOk_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Annuler") << false;
    }
    void parametres_writesBackOnlyOnOk()
    {
        QFETCH(bool, ok);
        DocumentFixture env(store(20));
        env.bourse->charts().Graphique();
        QTRY_VERIFY(drawsIn(env.bourse->chart().paintBox()->drawing(), averageColour()));
        env.prompts.dialogs << [&](QDialog *d) {
            [&] {
                QCOMPARE(d->windowTitle(), u("Paramètres"));
                QVERIFY(child<QCheckBox>(d, "CheckBox1")->isChecked());
                QCOMPARE(child<QSpinBox>(d, "SpinEdit1")->value(), 8);
                QCOMPARE(child<QSpinBox>(d, "SpinEdit3")->value(), 6);
                child<QCheckBox>(d, "CheckBox1")->setChecked(false);
                child<QSpinBox>(d, "SpinEdit2")->setValue(9);
                child<QSpinBox>(d, "SpinEdit3")->setValue(12);
                child<QSpinBox>(d, "SpinEdit4")->setValue(7);
                QVERIFY(!child<QCheckBox>(d, "CheckBox2")->isChecked());
                child<QCheckBox>(d, "CheckBox2")->setChecked(true);
            }();
            child<QPushButton>(d, ok ? "Button2" : "Button1")->click();
            return d->result();
        };
        env.bourse->charts().Parametres();
        const Settings &s = env.bourse->data().settings();
        QCOMPARE(QList<int>({s.maSwitch, s.maLength, s.rsiLength, s.momentumLength, s.zigzagPercent,
                             s.logScale}),
                 ok ? QList<int>({0, 8, 12, 9, 7, 1}) : QList<int>({1, 8, 6, 6, 5, 0}));
        // After "OK" the chart shown loses its average at once.
        if (ok) QTRY_VERIFY(!drawsIn(env.bourse->chart().paintBox()->drawing(), averageColour()));
    }

    void indicatorCommands_openNothingOnShortHistories_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("opened");
        QTest::newRow("rsi 5 < 6") << 5 << 0 << QString();
        QTest::newRow("rsi 6") << 6 << 0 << u("Rsi");
        QTest::newRow("momentum 5") << 5 << 1 << QString();
        QTest::newRow("momentum 6") << 6 << 1 << u("Moment");
        QTest::newRow("zigzag 9") << 9 << 2 << QString();
        QTest::newRow("zigzag 10") << 10 << 2 << u("Zigzag");
        QTest::newRow("statistics 1") << 1 << 3 << u("Statistiques ACIÉRIES");
        QTest::newRow("statistics 0, said") << 0 << 3 << u("information: Aucune cotation");
    }
    void indicatorCommands_openNothingOnShortHistories()
    {
        QFETCH(int, lines);
        QFETCH(int, command);
        QFETCH(QString, opened);
        DocumentFixture env(store(lines));
        env.prompts.dialogs <<
            [](QDialog *d) { return int(d->isModal() ? QDialog::Rejected : QDialog::Accepted); };
        ChartCommands &c = env.bourse->charts();
        command == 0   ? c.RIIndex()
        : command == 1 ? c.Momentum()
        : command == 2 ? c.ZigetZag()
                       : c.Statistiques();
        QCOMPARE(env.prompts.log, opened.isEmpty() ? QStringList()
                                  : opened.startsWith(u("information: "))
                                      ? QStringList({opened})
                                      : QStringList({u("window: ") + opened}));
    }

    void rsi_lengthBelow2_becomes6()
    {
        DocumentFixture env(store(12));
        Settings settings = env.bourse->data().settings();
        settings.rsiLength = 1;
        env.bourse->data().setSettings(settings);
        QString title;
        env.prompts.dialogs << [&](QDialog *d) {
            auto *w = static_cast<IndicatorWindow *>(d);
            title = w->title();
            return int(QDialog::Rejected);
        };
        env.bourse->charts().RIIndex();
        QCOMPARE(env.bourse->data().settings().rsiLength, 6);
        QCOMPARE(title, u("ACIÉRIES - RI-Index 6 bourses du 02/01/2001 au 13/01/2001"));
    }

    void indicatorWindow_paintsAndShowsTheTitle()
    {
        TZigzag w;
        QStringList lines = store(30);
        w.Init(historyOf(lines), 5);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.size(), QSize(616, 376));
        QCOMPARE(w.title(), u("ACIÉRIES - ZigZag 5% du 02/01/2001 au 31/01/2001"));
        QTRY_VERIFY(drawsIn(w.paintBox()->drawing(), Qt::blue));
        QCOMPARE(w.findChild<QToolButton *>(u("SpeedButton8"))->toolTip(), u("Imprimer"));
        QCOMPARE(w.paintBox()->drawing().tipAt(60), u("02/01/2001\nCours : 10"));
        // Resizable: the curve follows the window, never below its least size.
        QVERIFY(w.minimumSize().width() < 616 && w.maximumSize().width() > 616);
        w.resize(900, 500);
        QTRY_COMPARE(w.paintBox()->drawing().steps.steps().first().x, 900);
        w.resize(100, 100);
        QTRY_COMPARE(w.size(), w.minimumSize());
    }

    // A chart drawn again on the same lines does not read them again, but
    // follows every change of what it shows: another security, a period, a
    // preset, a line deleted.
    void chartPage_historyFollowsWhatItShows()
    {
        QStringList lines = store(60);
        lines << qline(u("20010105"), u("013000"), u("BÉTON"), u("7"), u("5"));
        DocumentFixture env(lines);
        TBourse &b = *env.bourse;
        b.charts().Graphique();
        ChartPage &page = b.chart();
        QCOMPARE(page.history().size(), 60);
        b.resize(b.width() + 10, b.height());
        QTRY_COMPARE(page.paintBox()->drawing().total, 60);
        b.Dernier();
        QCOMPARE(page.history().name, u("BÉTON"));
        QCOMPARE(page.history().size(), 1);
        b.Premier();
        QCOMPARE(page.history().size(), 60);
        b.data().setPeriod(1, QDate(2001, 1, 10), QDate(2001, 1, 19));
        QCOMPARE(page.history().to, u("19/01/2001"));
        b.titres().LitTitre();
        QCOMPARE(page.history().size(), 10);
        b.data().setPeriod(0, QDate(2001, 1, 2), QDate(2001, 3, 2));
        b.titres().LitTitre();
        QCOMPARE(page.history().size(), 60);
        page.setPreset(Preset::OneMonth);
        QCOMPARE(page.history().dates.first(), u("03/02/2001"));
        page.setPreset(Preset::All);
        b.data().change(BourseData::Change::LineDeletion,
                        [](QuoteLines &store) { store.remove(0, 1); });
        b.titres().LitTitre();
        QCOMPARE(page.history().size(), 59);
        QCOMPARE(page.history().dates.first(), u("03/01/2001"));
    }

    // The chart page as a user drives it: a preset, the wheel, a drag, a
    // double-click, the crosshair with the mouse and the keys, the image
    // copied and saved.
    void chartPage_presetsZoomCrosshairAndImage()
    {
        DocumentFixture env(store(400)); // 02/01/2001 to 05/02/2002
        env.bourse->charts().Graphique();
        ChartPage &page = env.bourse->chart();
        PaintArea *area = page.paintBox();
        QTRY_COMPARE(area->drawing().total, 400);
        QVERIFY(child<QToolButton>(&page, "Periode Tout")->isChecked());

        child<QToolButton>(&page, "Periode 1 mois")->click();
        QTRY_COMPARE(area->drawing().caption, u("du 06/01/2002 au 05/02/2002"));
        QCOMPARE(area->drawing().total, 31);
        QCOMPARE(page.history().size(), 31); // the indicators and the printout too

        // The wheel closes in around the point under the mouse.
        const int middle = area->width() / 2;
        QWheelEvent wheel(QPointF(middle, 200), area->mapToGlobal(QPointF(middle, 200)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area, &wheel);
        QTRY_COMPARE(area->drawing().shown.count(), 25);
        const ShownRange zoomedIn = area->drawing().shown;
        QVERIFY(zoomedIn.first > 0 && zoomedIn.last < 30);
        // Dragging to the right brings earlier dates in.
        QTest::mousePress(area, Qt::LeftButton, {}, QPoint(300, 200));
        QTest::mouseMove(area, QPoint(400, 200));
        QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(400, 200));
        QTRY_VERIFY(area->drawing().shown.first < zoomedIn.first);
        QCOMPARE(area->drawing().shown.count(), 25);
        // A double-click: the whole preset again.
        QTest::mouseDClick(area, Qt::LeftButton, {}, QPoint(300, 200));
        QTRY_COMPARE(area->drawing().shown, (ShownRange{0, 30}));

        // The crosshair: on the point under the mouse, then moved by the keys,
        // its read-out said to screen readers.
        const QPointF over(area->drawing().points[3].x + 1, 100);
        QMouseEvent move(QEvent::MouseMove, over, area->mapToGlobal(over), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(area, &move);
        QCOMPARE(area->crosshair(), 3);
        area->setFocus();
        QTest::keyClick(area, Qt::Key_Right);
        QCOMPARE(area->crosshair(), 4);
        QCOMPARE(area->accessibleDescription(), readOut(area->drawing().points[4]));
        QVERIFY(area->accessibleDescription().startsWith(u("10/01/2002   Cours : ")));
        QTest::keyClick(area, Qt::Key_End);
        QCOMPARE(area->crosshair(), 30);
        QTest::keyClick(area, Qt::Key_Escape);
        QCOMPARE(area->crosshair(), -1);

        // "Copier le graphique", "Enregistrer l'image..." from its menu.
        std::unique_ptr<QMenu> menu(area->contextMenu());
        QStringList captions;
        for (QAction *a : menu->actions())
            captions << a->text();
        QCOMPARE(captions, QStringList({u("&Copier le graphique"), u("&Enregistrer l'image...")}));
        menu->actions().first()->trigger();
        QCOMPARE(QApplication::clipboard()->image().size(), area->size());
        QTemporaryDir out;
        const QString png = out.filePath(u("graphique.png"));
        env.prompts.fileNames << png;
        menu->actions().last()->trigger();
        QImage saved(png);
        QCOMPARE(saved.size(), area->size());
        QCOMPARE(saved.pixelColor(5, 5), QColor(Qt::white));
        // A file that cannot be written is said, in French.
        env.prompts.fileNames << out.filePath(u("absent/graphique.png"));
        area->saveImage();
        QCOMPARE(env.prompts.said(u("error")),
                 QStringList(
                     {u("Ne peut créer le fichier ") + out.filePath(u("absent/graphique.png"))}));
    }

    void indicatorWindow_printsAfterItsPreview_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("Imprimer") << true;
        QTest::newRow("Annuler") << false;
    }
    void indicatorWindow_printsAfterItsPreview()
    {
        QFETCH(bool, confirmed);
        StartFixture env(QDateTime(QDate(2001, 3, 5), QTime(9, 0)));
        TZigzag w;
        w.Init(historyOf(store(30)), 5);
        const QString pdf = env.dir.file(u("zigzag.pdf"));
        QPrinter &printer = sharedPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        env.prompts.printAnswers << true;
        int pages = 0;
        env.prompts.dialogs << [&](QDialog *d) {
            auto *preview = qobject_cast<PrintPreview *>(d);
            pages = preview ? preview->pageCount() : -1;
            return int(confirmed ? QDialog::Accepted : QDialog::Rejected);
        };
        w.SpeedButton8Click();
        printer.setOutputFileName(QString());
        QCOMPARE(env.prompts.log,
                 QStringList({u("print"), u("window: Aperçu avant impression - ") + w.title()}));
        QCOMPARE(pages, 1);
        QCOMPARE(QFile::exists(pdf), confirmed);
        if (!confirmed) return;
        const QString info = QStandardPaths::findExecutable(u("pdfinfo"));
        const QString text = QStandardPaths::findExecutable(u("pdftotext"));
        if (info.isEmpty() || text.isEmpty()) QSKIP("pdfinfo and pdftotext are not installed");
        QProcess p;
        p.start(info, {pdf});
        QVERIFY(p.waitForFinished(30000));
        // The PDF is titled after the window's chart, its page marked.
        const QStringList fields = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
        QCOMPARE(fields.filter(QRegularExpression(u("^Title:"))).value(0).mid(6).trimmed(),
                 w.title());
        p.start(text, {u("-layout"), pdf, u("-")});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(p.readAllStandardOutput())
                    .contains(u("Imprimé le 05/03/2001 - Page 1 / 1")));
    }

    void statistics_labels_data()
    {
        QTest::addColumn<QStringList>("prices");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("single")
            << QStringList({u("12,5")})
            << QStringList({u("Du 02/01/2001"), u("Au 02/01/2001"), u("Plus haut : 12,50"),
                            u("Plus bas  : 12,50"), u("au : 02/01/2001"), u("au : 02/01/2001"),
                            u("Moyenne : 12,50"), u("Ecart type : ,00"), u("Variation : ,00"),
                            u("Premier quartile   : 12,50"), u("Deuxième quartile  : 12,50"),
                            u("Troisième quartile : 12,50")});
        QTest::newRow("mean of 0 keeps the captions")
            << QStringList({u("0")})
            << QStringList({u("Du 02/01/2001"), u("Au 02/01/2001"), u("Plus haut : ,00"),
                            u("Plus bas  : ,00"), u("au : "), u("au : 02/01/2001"),
                            u("Moyenne : ,00"), u("Ecart type : ,00"), u("Variation"),
                            u("Premier quartile"), u("Deuxième quartile"),
                            u("Troisième quartile")});
    }
    void statistics_labels()
    {
        QFETCH(QStringList, prices);
        QFETCH(QStringList, labels);
        DocumentFixture env(store(1, prices));
        QStringList shown;
        env.prompts.dialogs << [&](QDialog *d) {
            for (int i = 1; i <= 12; ++i)
                shown << d->findChild<QLabel *>(u("Label") + QString::number(i))->text();
            return int(QDialog::Rejected);
        };
        env.bourse->charts().Statistiques();
        QCOMPARE(shown, labels);
    }

    void hitParade_computesOnClick()
    {
        QStringList lines = {
            ql("20010102", "000001", "UP", "100"), ql("20010102", "000002", "DOWN", "50"),
            ql("20010110", "000001", "UP", "110"), ql("20010110", "000002", "DOWN", "40"),
            ql("20010301", "000003", "LATER", "10")};
        DocumentFixture env(lines, QSize(800, 600), QDateTime(QDate(2001, 2, 1), QTime(12, 0)));
        QStringList before, after;
        QString said, button;
        env.prompts.dialogs << [&](QDialog *d) {
            auto *list = d->findChild<QTreeWidget *>(u("ListView1"));
            [&] {
                QCOMPARE(d->windowTitle(), u("Hit parade"));
                QCOMPARE(d->findChild<QDateEdit *>(u("DateTimePicker1"))->date(),
                         QDate(2001, 1, 1));
                QCOMPARE(d->findChild<QDateEdit *>(u("DateTimePicker2"))->date(),
                         QDate(2001, 2, 1));
                QCOMPARE(list->topLevelItemCount(), 0); // nothing before the click
            }();
            d->findChild<QToolButton *>(u("SpeedButton1"))->click();
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                before << list->topLevelItem(i)->text(0) + u("|") + list->topLevelItem(i)->text(1);
            d->findChild<QDateEdit *>(u("DateTimePicker2"))->setDate(QDate(2001, 1, 5));
            d->findChild<QToolButton *>(u("SpeedButton1"))->click();
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                after << list->topLevelItem(i)->text(0) + u("|") + list->topLevelItem(i)->text(1);
            auto *label = d->findChild<QLabel *>(u("Label3"));
            said = label->isVisibleTo(d) ? label->text() : QString();
            button = d->findChild<QToolButton *>(u("SpeedButton1"))->accessibleName();
            return int(QDialog::Rejected);
        };
        env.bourse->charts().HitParade();
        // Securities without two quotations between the dates are left out,
        // and a range without any is said.
        QCOMPARE(before, QStringList({u("UP|10,00%"), u("DOWN|-20,00%")}));
        QCOMPARE(after, QStringList());
        QCOMPARE(said, u("Aucun titre n'a de cotations du 01/01/2001 au 05/01/2001."));
        QCOMPARE(button, u("Calculer"));
    }
};

QTEST_MAIN(TestChartWindows)
#include "tst_chartwindows.moc"
