// The splash window, the program's pictures, the shared printer and the
// application's French set-up.
#include "app/TMainForm.h"
#include "app/TSplash.h"
#include "app/glyphs.h"
#include "print/printer.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>

class TestShellWindows : public QObject
{
    Q_OBJECT

private slots:
    void splash_isABorderlessRaisedPanelWithNameAndVersion()
    {
        TSplash splash;
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(splash.minimumSize(), splash.maximumSize()); // not sizeable
        const auto *panel = splash.findChild<QFrame *>(QStringLiteral("Panel1"));
        QVERIFY(panel);
        QCOMPARE(panel->frameShadow(), QFrame::Raised);
        const auto *image = splash.findChild<QLabel *>(QStringLiteral("Image1"));
        QVERIFY(image);
        QCOMPARE(image->size(), QSize(105, 105));
        QCOMPARE(image->pixmap().size(), QSize(105, 105));
        const auto *name = splash.findChild<QLabel *>(QStringLiteral("Label1"));
        QCOMPARE(name->text(), QStringLiteral("Valmeq"));
        QVERIFY(name->font().bold());
        QCOMPARE(name->font().family(), QStringLiteral("Arial"));
        QCOMPARE(splash.findChild<QLabel *>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("Version 2001"));
        QCOMPARE(splash.findChildren<QPushButton *>().size(), 0);
    }

    void glyphs_areSixteenDistinctPictures()
    {
        QSet<QByteArray> seen;
        for (int g = int(glyphs::Glyph::Open); g <= int(glyphs::Glyph::Portfolio); ++g) {
            const QImage img = glyphs::image(glyphs::Glyph(g));
            QCOMPARE(img.size(), QSize(16, 16));
            int painted = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    painted += qAlpha(img.pixel(x, y)) > 0;
            QVERIFY2(painted >= 20, qPrintable(QString::number(g)));
            QVERIFY2(painted <= 250, qPrintable(QString::number(g))); // not a filled square
            seen.insert(
                QByteArray(reinterpret_cast<const char *>(img.constBits()), img.sizeInBytes()));
        }
        QCOMPARE(seen.size(), 16);
    }

    void programPicture_isARisingLineOnABlueSquare()
    {
        const QImage img = glyphs::programPicture(64);
        const QColor middle = img.pixelColor(32, 8); // above the line: background
        QVERIFY(middle.blue() > 120 && middle.red() < 60);
        // The line rises from left to right: yellow is lower on the left.
        auto yellowRow = [&](int x) {
            for (int y = 0; y < 64; ++y) {
                const QColor c = img.pixelColor(x, y);
                if (c.red() > 200 && c.green() > 180 && c.blue() < 120) return y;
            }
            return -1;
        };
        QVERIFY(yellowRow(10) > 0);
        QVERIFY(yellowRow(54) > 0);
        QVERIFY(yellowRow(10) > yellowRow(54));
        QVERIFY(!glyphs::programIcon().isNull());
    }

    void sharedPrinter_isOneObject() { QCOMPARE(&sharedPrinter(), &sharedPrinter()); }

    // Last: it installs the translation for the rest of the program.
    void setUpApplication_namesTheProgramAndSpeaksFrench()
    {
        TMainForm::setUpApplication(*qApp);
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Valmeq"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Valmeq"));
        QVERIFY(!QApplication::windowIcon().isNull());
        QCOMPARE(QLocale().language(), QLocale::French);
        QMessageBox box(QMessageBox::Question, QString(), QString(),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Oui"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Non"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Annuler"));
    }
};

QTEST_MAIN(TestShellWindows)
#include "tst_shellwindows.moc"
