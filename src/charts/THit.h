#pragma once

#include "quotes/quotelines.h"

#include <QDialog>
#include <QStringList>

class QDateEdit;
class QLabel;
class QPushButton;
class QToolButton;
class QTreeWidget;

// "Hit parade": the securities ranked by the rise of their price between
// two dates.
class THit : public QDialog
{
    Q_OBJECT
public:
    explicit THit(QWidget *parent = nullptr);

    void Init(const QStringList &index, const QuoteLines &store);
    // Computes and shows the ranking.
    void SpeedButton1Click();
    void Button1Click() { close(); }

private:
    QStringList m_index;
    QuoteLines m_store;
    QToolButton *m_speedButton1 = nullptr;
    QPushButton *m_button1 = nullptr;
    QDateEdit *m_dateTimePicker1 = nullptr;
    QDateEdit *m_dateTimePicker2 = nullptr;
    QTreeWidget *m_listView1 = nullptr;
    QLabel *m_label3 = nullptr; // says when no security has a rise
};
