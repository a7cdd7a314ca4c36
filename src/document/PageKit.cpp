#include "document/PageKit.h"

#include "base/Prompts.h"
#include "quotes/QuoteListModel.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTextLayout>
#include <QVBoxLayout>
#include <QtMath>

#include <limits>

namespace pagekit
{

namespace
{
const int kRowHeight = 17;

// Draws a cell of a quotation list as the style's item drawing does for a
// line of plain text (the panel of a selected row, the text elided at the
// cell's edge, the frame of the current cell), with the text laid out once:
// the style lays each cell's text out three times, which made a screen of
// rows take several milliseconds to draw.
class QuoteCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        opt.index = index;
        opt.text = index.data(Qt::DisplayRole).toString();
        opt.features |= QStyleOptionViewItem::HasDisplay;
        const QVariant alignment = index.data(Qt::TextAlignmentRole);
        if (alignment.isValid()) opt.displayAlignment = Qt::Alignment(alignment.toInt());
        const QWidget *widget = opt.widget;
        const QStyle *style = widget ? widget->style() : QApplication::style();

        painter->save();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
        const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (opt.state & QStyle::State_Active)
                                               ? QPalette::Active
                                               : QPalette::Inactive;
        const bool selected = opt.state & QStyle::State_Selected;
        painter->setPen(
            opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(opt.font);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect area = opt.rect.adjusted(margin, 0, -margin, 0);
        QTextLayout layout(opt.text, opt.font, painter->device());
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid()) {
            line.setLeadingIncluded(false);
            line.setLineWidth(std::numeric_limits<int>::max() / 256);
        }
        layout.endLayout();
        if (line.isValid() && line.naturalTextWidth() <= area.width()) {
            const QRect at = QStyle::alignedRect(
                opt.direction, opt.displayAlignment,
                QSize(qCeil(line.naturalTextWidth()), qCeil(line.height())), area);
            layout.draw(painter, QPointF(at.left() - line.x(), at.top()));
        } else if (line.isValid()) {
            painter->setClipRect(opt.rect, Qt::IntersectClip);
            painter->drawText(
                area, int(opt.displayAlignment) | Qt::TextSingleLine,
                opt.fontMetrics.elidedText(opt.text, opt.textElideMode, area.width()));
        }
        if (opt.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(opt);
            focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &opt, widget);
            focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
            focus.backgroundColor = opt.palette.color(
                (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled,
                selected ? QPalette::Highlight : QPalette::Window);
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
        }
        painter->restore();
    }
};
} // namespace

QFrame *headerStrip(QWidget *page, const QString &caption, QComboBox *combo)
{
    auto *strip = new QFrame(page);
    strip->setFrameShape(QFrame::Panel);
    strip->setFrameShadow(QFrame::Raised);
    strip->setFixedHeight(33);
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(combo);
    auto *label = new QLabel(caption, strip);
    QFont f = label->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    label->setFont(f);
    label->setAlignment(Qt::AlignCenter);
    row->addWidget(label, 1);
    return strip;
}

void layoutPage(QWidget *page, const QString &caption, QComboBox *combo, QWidget *body)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(headerStrip(page, caption, combo));
    layout->addWidget(body, 1);
}

namespace
{
class DeleteKeyFilter : public QObject
{
public:
    DeleteKeyFilter(QObject *parent, std::function<void()> command)
        : QObject(parent), m_command(std::move(command))
    {
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent *>(event)->key() != Qt::Key_Delete)
            return QObject::eventFilter(watched, event);
        runCommand(qobject_cast<QWidget *>(watched), m_command);
        return true;
    }

private:
    std::function<void()> m_command;
};
} // namespace

void onDeleteKey(QTableView *list, std::function<void()> command)
{
    list->installEventFilter(new DeleteKeyFilter(list, std::move(command)));
}

bool selectFieldText()
{
    auto *field = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (!field) return false;
    field->selectAll();
    return true;
}

QComboBox *pageCombo(QWidget *page, const QString &objectName, int width)
{
    auto *combo = new QComboBox(page);
    combo->setObjectName(objectName);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setFixedWidth(width);
    // Of a fixed width: its size is not measured on its entries (every
    // security's name, measured again at the page's first showing).
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMaxVisibleItems(20);
    return combo;
}

void showText(QComboBox *combo, const QString &text, int entry)
{
    combo->setCurrentIndex(entry == -2 ? combo->findText(text) : entry);
    combo->setEditText(text);
}

QTableView *quoteList(QuoteListModel *model, const QString &objectName)
{
    auto *view = new QTableView;
    view->setObjectName(objectName);
    view->setModel(model);
    view->setItemDelegate(new QuoteCellDelegate(view));
    view->setShowGrid(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(kRowHeight);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < 5; ++c)
        view->setColumnWidth(c, 100);
    // The selection stays visible when the list loses the focus.
    QPalette pal = view->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    view->setPalette(pal);
    return view;
}

QList<bool> selectedFlags(const QTableView *list)
{
    // Read from the selection ranges: asking Qt for the selected rows is
    // slow when thousands of rows are selected apart.
    const int rowCount = list->model()->rowCount();
    const int lastColumn = list->model()->columnCount() - 1;
    QList<bool> selected(rowCount, false);
    const QItemSelectionModel *selection = list->selectionModel();
    if (!selection) return selected;
    for (const QItemSelectionRange &range : selection->selection()) {
        const bool wholeRows = range.left() == 0 && range.right() == lastColumn;
        for (int r = range.top(); r <= range.bottom() && r < rowCount; ++r)
            if (wholeRows || selection->isRowSelected(r)) selected[r] = true;
    }
    return selected;
}

QList<int> selectedRows(const QTableView *list)
{
    const QList<bool> flags = selectedFlags(list);
    QList<int> rows;
    for (int r = 0; r < flags.size(); ++r)
        if (flags[r]) rows.append(r);
    return rows;
}

QList<ShownLine> selectedLines(const QTableView *list)
{
    QList<ShownLine> lines;
    const auto *model = qobject_cast<const QuoteListModel *>(list ? list->model() : nullptr);
    if (!model) return lines;
    const QList<bool> flags = selectedFlags(list);
    for (int r = 0; r < flags.size(); ++r)
        if (flags[r]) lines.append({model->position(r), model->lines().at(r)});
    return lines;
}

} // namespace pagekit
