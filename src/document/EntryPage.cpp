// The entry page: typed quotations, their grid, the transfer to the store
// when the page is left, and the entry copy buffer.
#include "document/EntryPage.h"

#include "base/Prompts.h"
#include "base/clock.h"
#include "base/errors.h"
#include "base/formats.h"
#include "base/keys.h"
#include "document/JournalPage.h"
#include "document/TBourse.h"
#include "document/TitresPage.h"
#include "quotes/BourseData.h"
#include "quotes/entry.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>

namespace
{

const int kFieldTop = 26;
const int kFieldHeight = 22;
const int kGridTop = 60;
const int kPriceWidth = 88;

QString cellText(const QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

void setCellText(QTableWidget *grid, int row, int column, const QString &text)
{
    QTableWidgetItem *item = grid->item(row, column);
    if (!item) {
        if (text.isEmpty()) return;
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    item->setText(text);
}

// Leaving a field: the focus went elsewhere in the window (not to a pop-up,
// a menu or another window).
bool isLeave(QEvent *event)
{
    if (event->type() != QEvent::FocusOut) return false;
    const auto reason = static_cast<QFocusEvent *>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

} // namespace

EntryPage::EntryPage(TBourse &doc, BourseData &data, QWidget *parent)
    : QWidget(parent), m_doc(doc), m_data(data)
{
    setObjectName(QStringLiteral("TabSheet4"));
    QWidget *page = this;
    // The day and month digits may be left blank, the year's are required:
    // a blank field shows "  /  /    ".
    m_maskEdit1 = new QLineEdit(page);
    m_maskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
    m_maskEdit1->setInputMask(QStringLiteral("00/00/9999"));
    m_comboBox4 = new QComboBox(page);
    m_comboBox4->setObjectName(QStringLiteral("ComboBox4"));
    m_comboBox4->setEditable(true);
    m_comboBox4->setInsertPolicy(QComboBox::NoInsert);
    m_comboBox4->setCompleter(nullptr); // the name follows what is typed, not a guess
    m_comboBox4->setMaxVisibleItems(20);
    m_edit2 = new QLineEdit(page);
    m_edit2->setObjectName(QStringLiteral("Edit2"));
    m_edit3 = new QLineEdit(page);
    m_edit3->setObjectName(QStringLiteral("Edit3"));
    m_edit6 = new QLineEdit(page);
    m_edit6->setObjectName(QStringLiteral("Edit6"));

    struct Field {
        const char16_t *caption;
        QWidget *field;
        int left;
        int width;
    };
    const Field fields[] = {{u"Date", m_maskEdit1, 8, 74},
                            {u"Code", m_comboBox4, 86, codeWidth()},
                            {u"Nom", m_edit2, nameLeft(), 200},
                            {u"Cours", m_edit3, 400, kPriceWidth},
                            {u"Volume", m_edit6, 493, kPriceWidth}};
    int n = 1;
    for (const Field &f : fields) {
        auto *label = new QLabel(QString::fromUtf16(f.caption), page);
        label->setObjectName(QStringLiteral("Label%1").arg(n++));
        label->setBuddy(f.field);
        label->adjustSize(); // above its field, never over it
        label->move(f.left, std::max(kFieldTop - label->height() - 2, 0));
        f.field->setGeometry(f.left, kFieldTop, f.width, kFieldHeight);
        if (f.field == m_edit3) m_labelCours = label;
        if (f.field == m_edit6) m_labelVolume = label;
    }
    setTabOrder(m_maskEdit1, m_comboBox4);
    setTabOrder(m_comboBox4, m_edit2);
    setTabOrder(m_edit2, m_edit3);
    setTabOrder(m_edit3, m_edit6);

    m_stringGrid1 = new QTableWidget(kGridRows, 6, page);
    m_stringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    m_stringGrid1->horizontalHeader()->hide();
    m_stringGrid1->verticalHeader()->hide();
    m_stringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_stringGrid1->verticalHeader()->setMinimumSectionSize(10);
    m_stringGrid1->verticalHeader()->setDefaultSectionSize(22);
    m_stringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_stringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_stringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_stringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_stringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_stringGrid1->setTabKeyNavigation(false);
    m_stringGrid1->setFocusPolicy(Qt::ClickFocus); // not reachable with Tab
    m_stringGrid1->setWordWrap(false);
    m_stringGrid1->setGeometry(8, kGridTop, 600, 300);

    for (QWidget *w : std::initializer_list<QWidget *>{m_maskEdit1, m_comboBox4, m_edit2, m_edit3,
                                                       m_edit6, m_stringGrid1})
        w->installEventFilter(this);
    connect(m_comboBox4, &QComboBox::editTextChanged, this, [this] { ComboBox4Change(); });
    connect(m_stringGrid1, &QTableWidget::cellClicked, this,
            [this] { runCommand(this, [this] { StringGrid1Click(); }); });
}

int EntryPage::codeWidth() const
{
    // Six digits and the drop-down button, whatever the font.
    m_comboBox4->setMinimumContentsLength(6);
    return std::max(62, m_comboBox4->minimumSizeHint().width());
}

int EntryPage::nameLeft() const
{
    return 86 + codeWidth() + 4;
}

void EntryPage::layoutFields(int w, int h)
{
    if (!m_stringGrid1) return;
    m_edit6->move(w - 117, kFieldTop);
    m_edit3->move(w - 210, kFieldTop);
    // The name field ends where it always did; a wider code field takes
    // its room from the name's left.
    m_edit2->resize(std::max(w - 367 - (nameLeft() - 152), 20), kFieldHeight);
    m_labelCours->move(w - 210, m_labelCours->y());
    m_labelVolume->move(w - 117, m_labelVolume->y());
    m_stringGrid1->setGeometry(8, kGridTop, std::max(w - 16, 100), std::max(h - 100, 50));
    const int widths[6] = {82, 87, std::max(w - 378, 20), 85, 84, 20};
    for (int c = 0; c < 6; ++c)
        m_stringGrid1->setColumnWidth(c, widths[c]);
}

bool EntryPage::eventFilter(QObject *watched, QEvent *event)
{
    const bool field = watched == m_maskEdit1 || watched == m_comboBox4 || watched == m_edit2 ||
                       watched == m_edit3 || watched == m_edit6;

    if (event->type() == QEvent::ShortcutOverride && field) {
        // Ctrl+C and Ctrl+V are "C&opier" and "Co&ller" of the entry page,
        // not the field's own copy and paste.
        auto *key = static_cast<QKeyEvent *>(event);
        return key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste);
    }

    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == m_stringGrid1 && key->key() == Qt::Key_Delete) {
            runCommand(this, [this] { StringGrid1KeyDown(); });
            return true;
        }
        if (watched != m_edit3 && watched != m_edit6) return false;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            runCommand(this, [this] { Valide(); });
            return true;
        }
        QString replacement;
        const auto action = keys::filterKey(
            *key, watched == m_edit3 ? keys::amountChar : keys::quantityChar, &replacement);
        if (action == keys::KeyAction::Drop) return true;
        if (action == keys::KeyAction::Replace) {
            static_cast<QLineEdit *>(watched)->insert(replacement);
            return true;
        }
        return false;
    }

    if (watched == m_maskEdit1 && event->type() == QEvent::FocusIn) {
        // Typing on entering the date replaces it: the former date is
        // selected (after the field has placed its cursor).
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            QTimer::singleShot(0, m_maskEdit1, [e = m_maskEdit1] {
                if (e->hasFocus()) e->selectAll();
            });
    }

    if (field && isLeave(event)) {
        runCommand(this, [&] {
            if (watched == m_maskEdit1) MaskEdit1Exit();
            if (watched == m_comboBox4) ComboBox4Exit();
            if (watched == m_edit2) Edit2Exit();
            if (watched == m_edit3) Edit3Exit();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void EntryPage::Saisie()
{
    layoutFields(m_doc.width(), m_doc.height());
    // The code list: the codes of the index, in name order. A code being typed stays.
    const QStringList &index = m_data.index();
    QStringList codes;
    codes.reserve(index.size());
    for (const QString &e : index)
        codes.append(e.left(6).trimmed());
    {
        const QSignalBlocker quiet(m_comboBox4); // the name field keeps its text
        const QString typed = m_comboBox4->currentText();
        m_comboBox4->clear();
        m_comboBox4->addItems(codes);
        m_comboBox4->setEditText(typed);
    }

    m_data.takeUndoCopy(); // undo takes back everything entered in this visit
    m_doc.showPage(TBourse::PageSaisie);
    CompteLignes();
    m_maskEdit1->setFocus(Qt::OtherFocusReason);
    m_maskEdit1->selectAll();
}

void EntryPage::CompteLignes()
{
    m_rowCount = 0;
    while (m_rowCount < m_stringGrid1->rowCount() &&
           !cellText(m_stringGrid1, m_rowCount, 0).isEmpty())
        ++m_rowCount;
}

void EntryPage::Valide()
{
    Edit3Exit();
    // A quotation goes in only when the file can hold it and every view can
    // read it back: a day of the calendar, a code, a readable price. The
    // focus goes to the first faulty field; nothing is added.
    const auto refuse = [](QWidget *field, const VError &error) {
        field->setFocus(Qt::OtherFocusReason);
        throw error;
    };
    const QString date = m_maskEdit1->displayText();
    if (!entry::isWholeDate(date)) refuse(m_maskEdit1, VError::badDate(date));
    if (const auto e = entry::checkQuotation(m_comboBox4->currentText(), m_edit2->text(),
                                             m_edit3->text(), m_edit6->text())) {
        QWidget *const fields[] = {m_comboBox4, m_edit2, m_edit3, m_edit6};
        refuse(fields[e->field], VError(e->message));
    }
    int row;
    if (m_correction) {
        row = m_correctionRow;
        m_correction = false;
    } else {
        row = m_rowCount;
        // Past the 128 rows the grid grows: no quotation is refused or lost.
        if (row >= m_stringGrid1->rowCount()) m_stringGrid1->setRowCount(row + 1);
        ++m_rowCount;
    }
    const QString cells[5] = {date, m_comboBox4->currentText(), m_edit2->text(), m_edit3->text(),
                              m_edit6->text()};
    for (int c = 0; c < 5; ++c)
        setCellText(m_stringGrid1, row, c, cells[c]);
    m_stringGrid1->scrollToItem(m_stringGrid1->item(row, 0));
    Raz();
    m_comboBox4->setFocus(Qt::OtherFocusReason);
}

void EntryPage::Raz()
{
    m_comboBox4->setEditText(QString());
    m_edit2->clear();
    m_edit3->clear();
    m_edit6->clear();
}

void EntryPage::MaskEdit1Exit()
{
    if (m_maskEdit1->displayText().startsWith(QLatin1Char(' ')))
        m_maskEdit1->setText(toShown(Clock::get().today()));
}

void EntryPage::ComboBox4Change()
{
    QString name;
    if (entry::nameForCode(m_data.index(), m_comboBox4->currentText(), &name))
        m_edit2->setText(name);
}

void EntryPage::ComboBox4Exit()
{
    // A field left empty stays empty.
    if (m_comboBox4->currentText().isEmpty()) return;
    const QString code = normaliseCode(m_comboBox4->currentText());
    if (code != m_comboBox4->currentText()) m_comboBox4->setEditText(code);
}

void EntryPage::Edit2Exit()
{
    if (m_edit2->text().isEmpty()) m_edit2->setText(m_comboBox4->currentText());
}

void EntryPage::Edit3Exit()
{
    const QString price = entry::leftPrice(m_edit3->text());
    if (price != m_edit3->text()) m_edit3->setText(price);
}

void EntryPage::StringGrid1Click()
{
    const int row = m_stringGrid1->currentRow();
    // Only a filled row can be corrected: a click below them changes nothing,
    // so that the rows stay together and no validation writes over another.
    if (row < 0 || row >= m_rowCount) return;
    m_correction = true;
    m_correctionRow = row;
    m_maskEdit1->setText(cellText(m_stringGrid1, row, 0));
    m_comboBox4->setEditText(cellText(m_stringGrid1, row, 1));
    m_edit2->setText(cellText(m_stringGrid1, row, 2));
    m_edit3->setText(cellText(m_stringGrid1, row, 3));
    m_edit6->setText(cellText(m_stringGrid1, row, 4));
}

void EntryPage::StringGrid1KeyDown()
{
    // The selected row goes; the rows below move up one place. Without a
    // selected filled row nothing goes.
    const int row = m_stringGrid1->currentRow();
    if (row < 0 || row >= m_rowCount ||
        !m_stringGrid1->selectionModel()->isRowSelected(row, QModelIndex()))
        return;
    for (int r = row; r < m_rowCount; ++r)
        for (int c = 0; c < 5; ++c)
            setCellText(m_stringGrid1, r, c, cellText(m_stringGrid1, r + 1, c));
    --m_rowCount;
    // A row under correction below moves up with the others; when it is the
    // row deleted, the fields hold its only copy and the next validation
    // appends it.
    if (m_correction) {
        if (m_correctionRow == row)
            m_correction = false;
        else if (m_correctionRow > row)
            --m_correctionRow;
    }
}

void EntryPage::TabSheet4Exit()
{
    // Every filled row goes to the end of the store, in grid order.
    const bool newCodes = m_data.change(BourseData::Change::Entry, [this](QuoteLines &store) {
        for (int r = 0; r < m_stringGrid1->rowCount(); ++r) {
            const QString date = cellText(m_stringGrid1, r, 0);
            if (date.isEmpty()) continue;
            store.append(
                entry::lineOfRow(date, cellText(m_stringGrid1, r, 1), cellText(m_stringGrid1, r, 2),
                                 cellText(m_stringGrid1, r, 3), cellText(m_stringGrid1, r, 4)));
        }
    });
    m_stringGrid1->clearContents();
    m_stringGrid1->setRowCount(kGridRows);
    m_rowCount = 0;
    m_correction = false;
    m_doc.journal().LitMois();
    // A security typed for the first time shows at once.
    if (newCodes) m_doc.Indexe();
    m_doc.titres().LitTitre();
}

// --- Entry copy --------------------------------------------------------------------

void EntryPage::Copier()
{
    if (m_doc.page() != TBourse::PageSaisie) return;
    m_data.setEntryBuffer({m_maskEdit1->displayText(), m_comboBox4->currentText(), m_edit2->text(),
                           m_edit3->text(), m_edit6->text()});
}

void EntryPage::Coller()
{
    const QStringList &buffer = m_data.entryBuffer();
    if (m_doc.page() != TBourse::PageSaisie || buffer.size() <= 4) return;
    m_maskEdit1->setText(buffer.at(0));
    m_comboBox4->setEditText(buffer.at(1));
    m_edit2->setText(buffer.at(2));
    m_edit3->setText(buffer.at(3));
    m_edit6->setText(buffer.at(4));
}
