#include "app/TMainForm.h"
#include "app/TSplash.h"
#include "app/startup.h"
#include "base/Prompts.h"
#include "base/largepages.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

namespace
{

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// --essai: what the program would ask or say goes to the standard error; an
// error reported during the start makes the run fail.
class TrialPrompts : public Prompts
{
public:
    int errors = 0;
    void information(QWidget *, const QString &text) override
    {
        print(stderr, QStringLiteral("valmeq : %1\n").arg(text));
    }
    void error(QWidget *, const QString &text) override
    {
        ++errors;
        print(stderr, QStringLiteral("valmeq : erreur : %1\n").arg(text));
    }
};

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char *argv[])
{
    keepFreedMemory();
    // The options first: --version and --help work without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const startup::Options options = startup::parse(arguments);
    switch (options.action) {
    case startup::Action::Version:
        print(stdout, startup::versionText());
        return startup::Success;
    case startup::Action::Help:
        print(stdout, startup::usageText());
        return startup::Success;
    case startup::Action::Error:
        print(stderr,
              QStringLiteral("valmeq : %1\nEssayez « valmeq --help ».\n").arg(options.error));
        return startup::UsageError;
    case startup::Action::Run:
        break;
    }
    if (!hasDisplay()) {
        print(stderr, QStringLiteral("valmeq : Valmeq a besoin d'un affichage graphique : ni "
                                     "DISPLAY ni WAYLAND_DISPLAY n'est défini.\n"));
        return startup::Failure;
    }

    QApplication app(argc, argv);
    TMainForm::setUpApplication(app);
    TrialPrompts trialPrompts;
    if (options.trial) Prompts::install(&trialPrompts);

    // Every data file lies in the start directory, made the current one
    // before the document reads it.
    const QString demo = startup::installedDemo(QCoreApplication::applicationDirPath());
    const QString startDir = startup::chooseStartDir(
        !demo.isEmpty(), qEnvironmentVariable("VALMEQ_HOME"),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), QDir::currentPath());
    QString error;
    if (!startup::prepareStartDir(startDir, demo, &error) || !QDir::setCurrent(startDir)) {
        if (error.isEmpty())
            error = QStringLiteral("Ne peut accéder au répertoire %1.")
                        .arg(QDir::toNativeSeparators(startDir));
        print(stderr, QStringLiteral("valmeq : %1\n").arg(error));
        if (!options.trial) QMessageBox::critical(nullptr, QStringLiteral("Valmeq"), error);
        return startup::Failure;
    }

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
    if (!options.trial) return app.exec();

    // The data are loaded once the frame is shown; closing goes through the
    // frame's own closing (settings and store saved).
    QTimer::singleShot(0, &form, [&] {
        if (!form.close()) {
            print(stderr, QStringLiteral("valmeq : erreur : la fenêtre ne s'est pas fermée.\n"));
            QCoreApplication::exit(startup::Failure);
        }
    });
    const int status = app.exec();
    return status != startup::Success || trialPrompts.errors > 0 ? startup::Failure
                                                                 : startup::Success;
}
