#pragma once

#include "charts/series.h"

#include <QWidget>

class BourseData;
class PaintArea;
class QComboBox;
class TBourse;

// The chart page, third page of the document window: the chart list of the
// securities index ("ComboBox3") and the paint area ("PaintBox1").
class ChartPage : public QWidget
{
    Q_OBJECT
public:
    ChartPage(TBourse &doc, BourseData &data, QWidget *parent = nullptr);

    void ComboBox3Change();
    // Redraws the chart of the current security (at the next painting, which
    // draws it from the security view's list).
    void Dessine();
    PaintArea *paintBox() const { return m_paintBox1; }
    // The security view's list as the charts read it, with the period asked
    // for.
    History history() const;

    void setNames(const QStringList &names, const QString &first);
    void showName(const QString &name, int position);

private:
    TBourse &m_doc;
    BourseData &m_data;

    QComboBox *m_comboBox3 = nullptr;
    PaintArea *m_paintBox1 = nullptr;
};
