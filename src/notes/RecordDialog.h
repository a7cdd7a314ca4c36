#pragma once

#include <QDialog>
#include <QStyle>

#include <functional>

class QComboBox;
class QGridLayout;
class QToolBar;

// What "Liste des titres" and "Vu dans la presse" share: the tool bar
// ToolBar1 with BtnFermer beside it over the grid of fields, the code box
// ComboBox1, the moves that store the record on display first (a refusal is
// shown and the record stays), Page Up and Page Down in the fields, and the
// closing that stores the record on display too.
class RecordDialog : public QDialog
{
    Q_OBJECT
public:
    virtual void LitFiche() = 0;
    virtual void EcritFiche() = 0;
    virtual void FichePrecedente() = 0;
    virtual void FicheSuivante() = 0;

    // Text the file cannot hold keeps the window open so that it can be
    // mended.
    void done(int result) override;

protected:
    RecordDialog(QWidget *parent, const QString &objectName, const QString &title);

    // An action of the tool bar calling the window's operation.
    template <typename Window>
    void tool(const char *name, QStyle::StandardPixmap icon, const char *hint, void (Window::*op)())
    {
        addTool(name, icon, hint, [this, op] { (static_cast<Window *>(this)->*op)(); });
    }
    // The editable code box; its changes typed or chosen reach
    // ComboBox1Change, those of the window itself do not.
    QComboBox *newCodeBox();
    virtual void ComboBox1Change(const QString &text) = 0;
    // The codes to choose from, and the code shown, set by the window.
    void fillCodes(const QStringList &codes);
    void setCodeText(const QString &code);
    // A caption and its field in the grid, the field at `column` + 1.
    void row(int r, int column, const char *caption, QWidget *field);
    QGridLayout *grid() const { return m_grid; }
    QWidget *closeButton() const { return m_close; }
    // The field that takes the focus after each move; none when null.
    void setFocusAfterMoves(QWidget *field) { m_focusAfterMoves = field; }

    // Runs a step that stores the record on display: false, with the refusal
    // shown, when the text cannot be stored.
    bool storing(const std::function<void()> &step);
    // A move: the step, then the record at the new position.
    void move(const std::function<void()> &step);
    // Page Up and Page Down: the previous and the next record.
    bool pageKey(QEvent *event);

private:
    void addTool(const char *name, QStyle::StandardPixmap icon, const char *hint,
                 std::function<void()> call);

    QToolBar *m_bar;
    QWidget *m_close;
    QGridLayout *m_grid;
    QComboBox *m_code = nullptr;
    QWidget *m_focusAfterMoves = nullptr;
    bool m_filling = false;
};
