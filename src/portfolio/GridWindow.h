#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class GridModel;
class QHBoxLayout;
class QLabel;
class QTableView;
class QToolButton;
class QVBoxLayout;
struct PrintedGrid;

// What the journal, the valuation and the fees list share: a top panel of
// buttons with "Fermer" (Escape too) on its right, the grid "StringGrid1"
// (whole rows, titles right-aligned like their columns) and its printing.
class GridWindow : public QDialog
{
    Q_OBJECT
public:
    QTableView *grid() const { return m_grid; }
    GridModel *model() const { return m_model; }
    // The grid as printed: its columns' screen widths, its title row and
    // rows, the right-aligned cells padded by `Rset` to their width.
    PrintedGrid printedGrid() const;
    // The lines Init could not read (ptf::unreadableReport); empty when none.
    QString unreadable() const { return m_unreadable; }

protected:
    // `widths`: screen widths (0: hidden); `rset`: the `Rset` width of each
    // right-aligned column, 0 for the others.
    GridWindow(QWidget *parent, const QString &objectName, const QString &caption,
               const QStringList &titles, const QList<int> &widths, const QList<int> &rset);

    // A button of the top panel, in the order of the calls.
    QToolButton *speedButton(const QString &objectName, const QString &text, const QString &hint);
    QHBoxLayout *topPanel() const { return m_top; }
    // "Fermer" ("Button1") at the right end of the top panel.
    void addClose();
    QVBoxLayout *column() const { return m_column; }
    // The print dialog, then `ImprimeGrille` over the rows filled, with the
    // busy cursor.
    void print(const QString &heading);
    // Asks whether to take the current row off the list shown (the
    // portfolio stays as it is) and does so. True when a row was removed.
    bool removeCurrent();
    // Widens each column shown to its widest text, never narrower than its
    // given width; the window grows with it.
    void fitColumns();
    void setUnreadable(const QString &report) { m_unreadable = report; }

    bool eventFilter(QObject *watched, QEvent *event) override;
    // The Delete key in the grid.
    virtual void Supprimer() {}

private:
    QList<int> m_widths;
    QList<int> m_rset;
    QTableView *m_grid;
    GridModel *m_model;
    QHBoxLayout *m_top;
    QVBoxLayout *m_column;
    QString m_unreadable;
};

// A right-aligned value label of a bottom panel.
QLabel *valueLabel(QWidget *parent, const QString &objectName, int width);
