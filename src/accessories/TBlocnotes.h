#pragma once

#include "base/textfile.h"

#include <QDialog>

class QPagedPaintDevice;
class QPlainTextEdit;

// "Bloc-notes": one free page, loaded from "Valmeq.nte" before the window
// is shown and saved there after it closes when it was modified.
//
// Controls: ToolBar1 with ToolButtonImprimer ("Imprimer"), BtnFermer,
// Memo1 the page (focused at opening).
class TBlocnotes : public QDialog
{
    Q_OBJECT
public:
    explicit TBlocnotes(QWidget *parent = nullptr);

    // A line of the file longer than this is shown cut in pieces of this
    // length, each on its own line of the page, so that the page stays
    // quick; the pieces are one line again when the page is written.
    static constexpr qsizetype kShownLine = 4096;

    // Loads the page and remembers the path: closing the window writes
    // there. What the file holds that the page cannot write back is said
    // here, before any change.
    void Charge(const QString &path);
    // Writes the page when it was modified; throws when it cannot. When
    // another program changed the file since Charge, asks first (No keeps
    // that file and drops the page's changes).
    void Sauve(const QString &path);
    // The page is shown and never written (another copy of the program
    // holds the start directory).
    void setReadOnly(bool readOnly);
    // The preview of the page, then the page printed on the program's
    // printer when the user confirms; throws when the printer fails.
    void Imprimer();
    // The page drawn as one document on `device`: plain text, one printed
    // line per line, a new sheet when the next line does not fit; the
    // failure's message, or an empty text.
    QString Imprime(QPagedPaintDevice &device) const;
    bool isModified() const;

    // Closing writes a modified page to the path of Charge. When that
    // fails the message is shown and the user chooses between closing
    // without the changes and keeping the window open with them.
    void done(int result) override;

private:
    // The lines of the page, the pieces of a cut line put together again.
    QStringList pageLines() const;

    QPlainTextEdit *m_memo;
    QString m_path;
    FileStamp m_stamp; // what the file held at Charge or at the last Sauve
    bool m_readOnly = false;
};
