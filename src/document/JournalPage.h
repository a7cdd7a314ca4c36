#pragma once

#include <QWidget>

class BourseData;
class QComboBox;
class QTableView;
class QuoteListModel;
class TBourse;

// The monthly view, first page of the document window: the month list
// ("ComboBox1") and the quotations of the month ("ListView1"), with the
// value search that walks them.
class JournalPage : public QWidget
{
    Q_OBJECT
public:
    JournalPage(TBourse &doc, BourseData &data, QWidget *parent = nullptr);

    void LitMois();
    void InitCombo();
    void ComboBox1Change();
    void ListView1DblClick();

    // Value search.
    void Rechercher();
    void Rech();
    void continuer();

    QTableView *list() const { return m_listView1; }
    QuoteListModel *model() const { return m_monthModel; }
    // The month shown, as its list writes it.
    QString monthText() const;
    void setNameWidth(int width);

private:
    TBourse &m_doc;
    BourseData &m_data;

    QComboBox *m_comboBox1 = nullptr;
    QTableView *m_listView1 = nullptr;
    QuoteListModel *m_monthModel = nullptr;

    QString m_searchText;
    int m_searchPos = 0;
};
