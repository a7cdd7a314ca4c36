#pragma once

#include <QWidget>

class BourseData;
class QComboBox;
class QTableView;
class QuoteListModel;
class TBourse;

// The security view, second page of the document window: the name list of
// the securities index ("ComboBox2") and the history of the current
// security within the period ("ListView2").
class TitresPage : public QWidget
{
    Q_OBJECT
public:
    TitresPage(TBourse &doc, BourseData &data, QWidget *parent = nullptr);

    // Sorts the index by name, moving the names of the list along.
    void TriVi();
    void LitTitre();
    void ComboBox2Change();

    // The names of the index, in its order, with `first` shown.
    void setNames(const QStringList &names, const QString &first);
    // Shows the name at that position of the list.
    void showName(const QString &name, int position);
    QString currentName() const;
    int currentEntry() const;

    QTableView *list() const { return m_listView2; }
    QuoteListModel *model() const { return m_securityModel; }
    void setNameWidth(int width);

private:
    TBourse &m_doc;
    BourseData &m_data;

    QComboBox *m_comboBox2 = nullptr;
    QTableView *m_listView2 = nullptr;
    QuoteListModel *m_securityModel = nullptr;
};
