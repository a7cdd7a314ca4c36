#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPushButton;

// "Supprimer titre": the choice of the security whose quotations are all
// deleted.
//
// Controls: ComboBox1 (the securities index, code followed by name), OKBtn,
// CancelBtn.
class TSupp : public QDialog
{
    Q_OBJECT
public:
    explicit TSupp(QWidget *parent = nullptr);

    // `current`: the entry preselected, or -1 for none.
    void Init(const QStringList &index, int current);
    // The code (first 6 characters of the chosen entry) after "OK"; empty
    // otherwise.
    QString Result() const;

private:
    QComboBox *m_list;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
