// Draws the screenshot of the README's chart section offscreen: the demo's
// price chart of a security over one year with the crosshair on a point.
//
//   QT_QPA_PLATFORM=offscreen valmeq_chartshot DEMO_DIR OUT.png [SECURITY]
#include "charts/PaintArea.h"
#include "document/ChartCommands.h"
#include "document/ChartPage.h"
#include "document/TBourse.h"
#include "quotes/BourseData.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: valmeq_chartshot DEMO_DIR OUT.png [SECURITY]\n");
        return 2;
    }
    // A copy of the start directory: the document writes its files on closing.
    QTemporaryDir work;
    const QDir demo(args[1]);
    for (const QString &name : demo.entryList(QDir::Files))
        QFile::copy(demo.filePath(name), QDir(work.path()).filePath(name));
    const QString out = QFileInfo(args[2]).absoluteFilePath();
    QDir::setCurrent(work.path());

    TBourse b;
    b.resize(640, 420);
    b.show();
    b.Init();
    const QString wanted = args.value(3, QStringLiteral("SPI TECHNOLOGIE"));
    const QStringList &index = b.data().index();
    for (int i = 0; i < index.size(); ++i)
        if (index[i].mid(6).startsWith(wanted)) b.data().setCurrentSecurity(i);
    b.charts().Graphique();
    b.chart().setPreset(Preset::OneYear);
    PaintArea *area = b.chart().paintBox();
    (void)area->grab(); // drawn once, so that the crosshair finds its points
    const QPointF at(area->width() * 2 / 3, 100);
    QMouseEvent move(QEvent::MouseMove, at, area->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(area, &move);
    const QPixmap shot = area->grab();
    if (!shot.save(out, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    QDir::setCurrent(QDir::tempPath());
    return 0;
}
