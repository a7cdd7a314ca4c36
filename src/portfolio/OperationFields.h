#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <initializer_list>
#include <utility>

class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QWidget;

// The field behaviour the operation dialogs share: code boxes normalised
// when left; quantity fields take digits; amount fields take digits and ","
// (a "." becomes ",") and are rewritten "#.00" when left; Enter in any field
// confirms like "OK".
class OperationFields : public QObject
{
    Q_OBJECT
public:
    explicit OperationFields(QDialog *dialog);

    void addCode(QComboBox *box);
    void addQuantity(QLineEdit *edit);
    void addAmount(QLineEdit *edit);
    // Anything else where Enter confirms (the date picker).
    void addEnter(QWidget *widget);

    // Normalises the code box that has the focus: Enter there confirms
    // before the box is left.
    void normaliseFocused();

    // An editable list of codes: each entry of the index as "code — name",
    // sorted by code; choosing one puts its code in the box. The text is the
    // code of entry `current` of the index (-1: none). The label, when
    // given, shows the name of the code typed.
    static QComboBox *codeBox(QWidget *parent, const QString &objectName);
    void fillCodes(QComboBox *box, const QStringList &index, int current, QLabel *name = nullptr);
    // The code a box holds: its text without the " — name" of an entry.
    static QString codeOf(const QString &text);
    // Each field with its refusal (empty when its text can be written): the
    // first refused one is said over `dialog` and gets the focus. True when
    // a field was refused.
    static bool refuseFirst(QWidget *dialog,
                            std::initializer_list<std::pair<QWidget *, QString>> refusals);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void normalise(QComboBox *box);

    QDialog *m_dialog;
    QHash<QComboBox *, QString> m_normalised;
    QList<QComboBox *> m_codes;
    QList<QLineEdit *> m_quantities;
    QList<QLineEdit *> m_amounts;
    QHash<QString, QString> m_names;
};
