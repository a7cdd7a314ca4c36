#include "testkit.h"
#include "quotes/BourseData.h"

#include "base/textfile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QTest>

ScriptedPrompts::ScriptedPrompts()
{
    Prompts::install(this);
}

ScriptedPrompts::~ScriptedPrompts()
{
    Prompts::install(nullptr);
}

void ScriptedPrompts::information(QWidget *, const QString &text)
{
    log.append(QStringLiteral("information: ") + text);
}

void ScriptedPrompts::error(QWidget *, const QString &text)
{
    log.append(QStringLiteral("error: ") + text);
}

Prompts::Answer ScriptedPrompts::question(QWidget *, const QString &text, bool withCancel)
{
    log.append(QStringLiteral("question: ") + text);
    if (answers.isEmpty()) {
        unexpected.append(QStringLiteral("question: ") + text);
        return withCancel ? Cancel : No;
    }
    return answers.takeFirst();
}

QString ScriptedPrompts::openFileName(QWidget *, const QString &caption, const QString &,
                                      const QString &)
{
    log.append(QStringLiteral("open: ") + caption);
    if (fileNames.isEmpty()) {
        unexpected.append(QStringLiteral("open: ") + caption);
        return {};
    }
    return fileNames.takeFirst();
}

QString ScriptedPrompts::saveFileName(QWidget *, const QString &caption, const QString &,
                                      const QString &, const QString &)
{
    log.append(QStringLiteral("save: ") + caption);
    if (fileNames.isEmpty()) {
        unexpected.append(QStringLiteral("save: ") + caption);
        return {};
    }
    return fileNames.takeFirst();
}

bool ScriptedPrompts::inputText(QWidget *, const QString &caption, const QString &prompt,
                                QString &value)
{
    log.append(QStringLiteral("input: ") + caption + QLatin1Char('|') + prompt);
    if (inputs.isEmpty()) {
        unexpected.append(QStringLiteral("input: ") + caption);
        value.clear();
        return false;
    }
    const std::optional<QString> a = inputs.takeFirst();
    value = a.value_or(QString());
    return a.has_value();
}

bool ScriptedPrompts::printDialog(QWidget *, QPrinter *)
{
    log.append(QStringLiteral("print"));
    if (printAnswers.isEmpty()) {
        unexpected.append(QStringLiteral("print"));
        return false;
    }
    return printAnswers.takeFirst();
}

bool ScriptedPrompts::pageSetup(QWidget *, QPrinter *)
{
    log.append(QStringLiteral("pagesetup"));
    if (printAnswers.isEmpty()) {
        unexpected.append(QStringLiteral("pagesetup"));
        return false;
    }
    return printAnswers.takeFirst();
}

int ScriptedPrompts::exec(QDialog *dialog)
{
    log.append(QStringLiteral("window: ") + dialog->windowTitle());
    if (dialogs.isEmpty()) {
        unexpected.append(QStringLiteral("window: ") + dialog->windowTitle());
        dialog->reject();
        return QDialog::Rejected;
    }
    // The window is shown (not modally) so that focus and leave rules work
    // as they do for the user.
    dialog->show();
    dialog->activateWindow();
    (void)QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }, 2000);
    const int r = dialogs.takeFirst()(dialog);
    if (dialog->isVisible()) {
        if (r == QDialog::Accepted)
            dialog->accept();
        else
            dialog->reject();
    }
    return dialog->result() == QDialog::Accepted || r == QDialog::Accepted ? QDialog::Accepted
                                                                           : QDialog::Rejected;
}

QStringList ScriptedPrompts::said(const QString &kind) const
{
    QStringList out;
    const QString prefix = kind + QStringLiteral(": ");
    for (const QString &l : log)
        if (l.startsWith(prefix)) out.append(l.mid(prefix.size()));
    return out;
}

TempStartDir::TempStartDir() : m_previous(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
}

TempStartDir::~TempStartDir()
{
    QDir::setCurrent(m_previous);
}

void TempStartDir::write(const QString &name, const QStringList &lines) const
{
    writeBytes(name, crlf(lines));
}

void TempStartDir::writeBytes(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray TempStartDir::bytes(const QString &name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList TempStartDir::lines(const QString &name) const
{
    return splitTextLines(decodeWindows1252(bytes(name)));
}

bool TempStartDir::exists(const QString &name) const
{
    return QFile::exists(file(name));
}

ScopedClock::ScopedClock(const QDateTime &moment) : clock(moment)
{
    Clock::install(&clock);
}

ScopedClock::~ScopedClock()
{
    Clock::install(nullptr);
}

QString qline(const QString &date, const QString &code, const QString &name, const QString &price,
              const QString &volume)
{
    return date + QLatin1Char('\t') + code + QLatin1Char('\t') + name + QLatin1Char('\t') + price +
           QLatin1Char('\t') + volume;
}

QByteArray crlf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += encodeWindows1252(l) + "\r\n";
    return out;
}

QString ql(const char *date, const char *code, const char *name, const char *price,
           const char *volume)
{
    return qline(u(date), u(code), u(name), u(price), u(volume));
}

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

void selectRows(QTableView *list, const QList<int> &rows)
{
    const int last = list->model()->columnCount() - 1;
    QItemSelection selection;
    for (const int r : rows)
        selection.select(list->model()->index(r, 0), list->model()->index(r, last));
    list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void typeText(const QString &text)
{
    QTest::keyClicks(QApplication::focusWidget(), text);
}

void pressKey(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

StartFixture::StartFixture(std::optional<QDateTime> now)
{
    if (now) clock.emplace(*now);
}

DocumentFixture::DocumentFixture(const QStringList &store, QSize size, std::optional<QDateTime> now)
    : StartFixture(now)
{
    dir.write(u("Cours.vmq"), store);
    bourse = std::make_unique<TBourse>();
    bourse->resize(size);
    bourse->Init();
    bourse->show();
    if (!QTest::qWaitForWindowActive(bourse.get())) qWarning("window not active");
}

void saveStore(BourseData &data, ScriptedPrompts &prompts)
{
    const qsizetype said = prompts.log.size();
    prompts.answers.append(Prompts::Yes);
    if (!data.Sauve()) qFatal("the store could not be saved");
    prompts.log.resize(said);
}
