#include "charts/HelpKey.h"

#include "help/THelp.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>

namespace
{

// Watches the application's key presses while the dialog lives: installed
// after the main window's watcher, it sees them first.
class HelpKeyFilter : public QObject
{
public:
    HelpKeyFilter(QDialog *dialog, int context)
        : QObject(dialog), m_dialog(dialog), m_context(context)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
            static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1 ||
            static_cast<QWidget *>(watched)->window() != m_dialog)
            return false;
        THelp::open(m_dialog, QDir::currentPath(), {THelp::Request::Context, m_context});
        return true;
    }

private:
    QDialog *m_dialog;
    int m_context;
};

} // namespace

void helpOnF1(QDialog *dialog, int context)
{
    new HelpKeyFilter(dialog, context);
}
