#pragma once

#include "charts/chartdraw.h"
#include "charts/series.h"
#include "quotes/quotelines.h"
#include "quotes/store.h"

#include <QWidget>

#include <optional>

class BourseData;
class PaintArea;
class QButtonGroup;
class QComboBox;
class TBourse;

// The chart page, third page of the document window: the chart list of the
// securities index ("ComboBox3"), the paint area ("PaintBox1") and, under
// it, the period presets. On the chart, the wheel zooms, a drag moves the
// dates shown and a double-click brings the whole period back.
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
    // for, narrowed to the preset chosen: what the chart, its printout and
    // the indicators show.
    History history() const;

    void setNames(const QStringList &names, const QString &first);
    void showName(const QString &name, int position);

    // The period preset ("Tout" at first).
    Preset preset() const { return m_preset; }
    void setPreset(Preset preset);
    // The quotations shown after a zoom or a move; none: the whole period.
    std::optional<ShownRange> zoom() const { return m_zoom; }
    // A zoom by `factor` around the point under x (below 1: closer).
    void zoomAt(int x, double factor);
    // The dates shown moved by a tenth of their number (direction -1 or 1).
    void pan(int direction);
    // The whole period again.
    void resetZoom();

private:
    // The history of these lines, read from them.
    History readHistory(const QuoteLines &lines, const Period &period) const;
    // The drawing of the paint area's size.
    ChartDrawing draw(QSize size, const TextMeasure &measure);
    // Brings the range drawn into the zoom, which then holds for that
    // history.
    void setZoom(const ShownRange &range);

    TBourse &m_doc;
    BourseData &m_data;

    QComboBox *m_comboBox3 = nullptr;
    PaintArea *m_paintBox1 = nullptr;
    QButtonGroup *m_presets = nullptr;

    Preset m_preset = Preset::All;
    std::optional<ShownRange> m_zoom;
    // The history the zoom was made on, and the one drawn last: another
    // security or period drops the zoom.
    QString m_zoomKey;
    QString m_drawnKey;
    ShownRange m_dragFrom;
    // The history read last and what it was read from: a chart drawn again
    // on the same lines (a resize, a zoom) does not read them again.
    struct ReadHistory {
        QuoteLines lines; // shares the security view's lines
        Period period;
        QDate firstDate, lastDate;
        Preset preset = Preset::All;
        History history;
    };
    mutable std::optional<ReadHistory> m_read;
};
