#include "app/TMainForm.h"
#include "app/TSplash.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TMainForm::setUpApplication(app);

    // The splash stays on screen until the main frame has loaded the data.
    auto *splash = new TSplash;
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    TMainForm form;
    form.setSplash(splash);
    // Fill the screen even where no window manager maximises the frame.
    form.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    form.show();
    return app.exec();
}
