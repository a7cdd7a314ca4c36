#pragma once

#include <QWidget>

class BourseData;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class TBourse;

// The entry page, fourth page of the document window: the five fields of a
// quotation ("MaskEdit1", "ComboBox4", "Edit2", "Edit3", "Edit6") and the
// grid of the quotations typed ("StringGrid1"), which join the store when
// the page is left; and the entry copy buffer.
class EntryPage : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kGridRows = 128;

    EntryPage(TBourse &doc, BourseData &data, QWidget *parent = nullptr);

    void Saisie();
    void CompteLignes();
    void Valide();
    void Raz();
    void MaskEdit1Exit();
    void ComboBox4Change();
    void ComboBox4Exit();
    void Edit2Exit();
    void Edit3Exit();
    void StringGrid1Click();
    void StringGrid1KeyDown();
    void TabSheet4Exit();

    // Entry copy.
    void Copier();
    void Coller();

    // The layout for a document window of that size.
    void layoutFields(int width, int height);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int codeWidth() const;
    int nameLeft() const;

    TBourse &m_doc;
    BourseData &m_data;

    QLineEdit *m_maskEdit1 = nullptr; // date
    QComboBox *m_comboBox4 = nullptr; // code
    QLineEdit *m_edit2 = nullptr;     // name
    QLineEdit *m_edit3 = nullptr;     // price
    QLineEdit *m_edit6 = nullptr;     // volume
    QLabel *m_labelCours = nullptr;
    QLabel *m_labelVolume = nullptr;
    QTableWidget *m_stringGrid1 = nullptr;

    int m_rowCount = 0;
    int m_correctionRow = 0;
    bool m_correction = false;
};
