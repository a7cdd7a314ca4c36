#pragma once

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

    // Loads the page and remembers the path: closing the window writes
    // there.
    void Charge(const QString &path);
    // Writes the page when it was modified; throws when it cannot.
    void Sauve(const QString &path);
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
    QPlainTextEdit *m_memo;
    QString m_path;
};
