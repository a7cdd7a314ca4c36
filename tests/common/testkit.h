#pragma once

// Shared by the tests: scripted prompts, a temporary start directory, a
// fixed clock, a document window on a store, and small helpers.

#include "base/Prompts.h"
#include "base/clock.h"
#include "document/ChartCommands.h"
#include "document/ChartPage.h"
#include "document/EntryPage.h"
#include "document/JournalPage.h"
#include "document/MaintenanceCommands.h"
#include "document/TBourse.h"
#include "document/TitresPage.h"
#include "quotes/BourseData.h"
#include "quotes/QuoteListModel.h"

#include <QDialog>
#include <QSize>
#include <QStringList>
#include <QTableView>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

// Answers every question from a script and records what was asked.
// Installed for its lifetime.
class BourseData;

class ScriptedPrompts : public Prompts
{
public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;

    // What the program said, in order: "information: ...", "error: ...",
    // "question: ...", "open: caption", "save: caption", "input: caption|prompt".
    QStringList log;
    // Questions, file dialogs, input boxes or windows that came without a
    // scripted answer (each is answered as if cancelled).
    QStringList unexpected;

    QList<Answer> answers;                // for question()
    QStringList fileNames;                // for openFileName()/saveFileName(); "" = cancel
    QList<std::optional<QString>> inputs; // for inputText(); nullopt = cancel
    QList<bool> printAnswers;             // for printDialog()/pageSetup()
    // Each handles one modal window: fill its fields, then return
    // QDialog::Accepted or QDialog::Rejected (or call accept()/reject()).
    QList<std::function<int(QDialog *)>> dialogs;

    void information(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    Answer question(QWidget *parent, const QString &text, bool withCancel) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &proposed,
                         const QString &filter, const QString &defaultSuffix) override;
    bool inputText(QWidget *parent, const QString &caption, const QString &prompt,
                   QString &value) override;
    bool printDialog(QWidget *parent, QPrinter *printer) override;
    bool pageSetup(QWidget *parent, QPrinter *printer) override;
    int exec(QDialog *dialog) override;

    // The messages of a kind ("information", "error", "question"), texts only.
    QStringList said(const QString &kind) const;
};

// A temporary directory made the current directory for the test's lifetime.
class TempStartDir
{
public:
    TempStartDir();
    ~TempStartDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    // Writes lines (Windows-1252, CR LF) or raw bytes.
    void write(const QString &name, const QStringList &lines) const;
    void writeBytes(const QString &name, const QByteArray &bytes) const;
    QByteArray bytes(const QString &name) const;
    QStringList lines(const QString &name) const;
    bool exists(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// A fixed clock installed for its lifetime.
class ScopedClock
{
public:
    explicit ScopedClock(const QDateTime &moment);
    ~ScopedClock();
    FixedClock clock;
};

// A quotation line from its five fields.
QString qline(const QString &date, const QString &code, const QString &name, const QString &price,
              const QString &volume = QString());
// The lines as they are written to a file: each ended with CR LF.
QByteArray crlf(const QStringList &lines);

// A quotation line from UTF-8 fields.
QString ql(const char *date, const char *code, const char *name, const char *price,
           const char *volume = "");

// UTF-8 text.
QString u(const char *text);

// The child of that object name, or null.
template <class T> T *child(const QObject *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromUtf8(name));
}

// Writes the store as "Oui" to the closing question does, so that the data is
// no longer modified; the question is left out of the prompts' log.
void saveStore(BourseData &data, ScriptedPrompts &prompts);

// Selects these whole rows of the list, and only them.
void selectRows(QTableView *list, const QList<int> &rows);

// Types into whatever has the focus, or presses a key there, as the user does.
void typeText(const QString &text);
void pressKey(Qt::Key key);

// A temporary start directory with scripted prompts and, given a moment, a
// clock fixed there.
struct StartFixture {
    explicit StartFixture(std::optional<QDateTime> now = std::nullopt);
    TempStartDir dir;
    ScriptedPrompts prompts;
    std::optional<ScopedClock> clock;
};

// A document window on a store, in a start fixture: the store is written to
// Cours.vmq, then the window is sized, loaded, shown and active.
struct DocumentFixture : StartFixture {
    explicit DocumentFixture(const QStringList &store, QSize size = QSize(800, 600),
                             std::optional<QDateTime> now = std::nullopt);
    std::unique_ptr<TBourse> bourse;
};
