#include "exchange/TImport.h"

#include "base/BusyCursor.h"
#include "base/DialogKit.h"
#include "base/Prompts.h"
#include "base/clock.h"
#include "base/errors.h"
#include "base/formats.h"
#include "quotes/entry.h"
#include "quotes/store.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace
{

constexpr int kRows = 8;

struct Column {
    const char16_t *heading;
    int width;
};

const Column kDateFirst[5] = {
    {u"Date", 80}, {u"Code", 64}, {u"Libellé", 220}, {u"Cours", 80}, {u"Volume", 80}};
const Column kCodeFirst[5] = {
    {u"Code", 64}, {u"Libellé", 220}, {u"Date", 80}, {u"Cours", 80}, {u"Volume", 80}};

void setHeadings(QTableWidget *grid, const Column *columns)
{
    for (int c = 0; c < 5; ++c) {
        auto *heading = new QTableWidgetItem(QString::fromUtf16(columns[c].heading));
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        grid->setItem(0, c, heading);
        grid->setColumnWidth(c, columns[c].width);
    }
}

} // namespace

TImport::TImport(importing::Order order, QWidget *parent) : QDialog(parent), m_order(order)
{
    setObjectName(order == importing::Order::DateFirst ? QStringLiteral("Import")
                                                       : QStringLiteral("Import2"));
    setWindowTitle(QStringLiteral("Importer"));

    m_grid = new QTableWidget(kRows, 5, this);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->setFocusPolicy(Qt::NoFocus);
    const Column *columns = order == importing::Order::DateFirst ? kDateFirst : kCodeFirst;
    setHeadings(m_grid, columns);
    int width = 2 * m_grid->frameWidth();
    for (int c = 0; c < 5; ++c)
        width += columns[c].width;
    int height = 2 * m_grid->frameWidth();
    for (int r = 0; r < kRows; ++r)
        height += m_grid->rowHeight(r);
    m_grid->setFixedSize(width, height);

    m_allDays = new QRadioButton(QStringLiteral("Tous les cours"), this);
    m_allDays->setObjectName(QStringLiteral("RadioButton1"));
    m_fridays = new QRadioButton(QStringLiteral("Cours du vendredi"), this);
    m_fridays->setObjectName(QStringLiteral("RadioButton2"));
    m_fridays->setChecked(true);

    m_after = new QLineEdit(this);
    m_after->setObjectName(QStringLiteral("MaskEdit1"));
    m_after->setInputMask(QStringLiteral("99/99/9999;_"));
    m_after->setMaxLength(10);
    auto *afterLabel = dialogkit::buddyLabel(this, QStringLiteral("Après le"), m_after);

    auto *options = new QHBoxLayout;
    options->addWidget(m_allDays);
    options->addWidget(m_fridays);
    options->addStretch(1);
    options->addWidget(afterLabel);
    options->addWidget(m_after);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("Label1"));
    m_count->setTextFormat(Qt::PlainText);
    m_count->setWordWrap(true);

    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("OK"), &m_ok, &m_cancel);

    auto *layout = dialogkit::fixedColumn(this);
    layout->addWidget(m_grid);
    layout->addLayout(options);
    layout->addWidget(m_count);
    layout->addLayout(buttons);

    dialogkit::tabOrder({m_allDays, m_fridays, m_after, m_ok, m_cancel});
    m_fridays->setFocus();

    // The count follows the options once the events of a change are done.
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, &TImport::Apercu);
    connect(m_allDays, &QRadioButton::toggled, this, &TImport::changed);
    connect(m_after, &QLineEdit::textChanged, this, &TImport::changed);
}

void TImport::Init(const QString &fileName, const QDate &lastDate, const QuoteLines &store,
                   const QStringList &index)
{
    m_store = &store;
    m_index = &index;
    m_after->setText(lastDate.isValid() ? toShown(lastDate) : QString());
    m_lines = importing::readFile(fileName);
    const qsizetype first = importing::firstLine(m_lines);
    m_firstLine = int(first + 1);
    if (first >= 0) m_columns = importing::readHeading(m_lines.at(first));
    if (m_columns) {
        // Shown as it will be stored, whatever the order the menu named.
        setHeadings(m_grid, kDateFirst);
        m_days = importing::dayOrder(m_lines, *m_columns);
        if (m_columns->code < 0) addSecurityRow(index);
    } else {
        QList<QStringList> rows;
        for (qsizetype r = 0; r < kRows - 1 && r < m_lines.size(); ++r)
            rows.append(importing::rawFields(m_lines.at(r)));
        showRows(rows);
    }
    changed();
}

void TImport::addSecurityRow(const QStringList &index)
{
    m_security = new QComboBox(this);
    m_security->setObjectName(QStringLiteral("ComboBox1"));
    for (const QString &entry : index)
        m_security->addItem(entry.left(6) + QStringLiteral(" — ") + entry.mid(6));
    m_security->addItem(QStringLiteral("Nouveau titre"));
    m_security->setCurrentIndex(-1);
    m_security->setMaxVisibleItems(20);
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Edit1"));
    m_code->setMaxLength(6);
    m_code->setEnabled(false);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Edit2"));
    m_name->setEnabled(false);

    auto *row = new QHBoxLayout;
    row->addWidget(dialogkit::buddyLabel(this, QStringLiteral("Titre"), m_security));
    row->addWidget(m_security, 1);
    row->addWidget(dialogkit::buddyLabel(this, QStringLiteral("Code"), m_code));
    row->addWidget(m_code);
    row->addWidget(dialogkit::buddyLabel(this, QStringLiteral("Nom"), m_name));
    row->addWidget(m_name, 1);
    auto *column = static_cast<QVBoxLayout *>(layout());
    column->insertLayout(1, row);
    dialogkit::tabOrder(
        {m_security, m_code, m_name, m_allDays, m_fridays, m_after, m_ok, m_cancel});
    m_security->setFocus();

    connect(m_security, &QComboBox::currentIndexChanged, this, &TImport::securityChosen);
    connect(m_code, &QLineEdit::textChanged, this, &TImport::changed);
    connect(m_name, &QLineEdit::textChanged, this, &TImport::changed);
}

void TImport::securityChosen()
{
    if (m_security->currentIndex() < 0) return;
    const bool isNew = m_security->currentIndex() == m_security->count() - 1;
    m_code->setEnabled(isNew);
    m_name->setEnabled(isNew);
    // Quotations after the security's newest one; every one for a new security.
    const QDate last =
        isNew || !m_store ? QDate() : importing::lastDateOf(*m_store, security().code);
    m_after->setText(last.isValid() ? toShown(last) : QString());
    changed();
}

importing::Security TImport::security() const
{
    if (!m_security || !m_index) return {};
    const int at = m_security->currentIndex();
    if (at < 0) return {};
    if (at == m_security->count() - 1) {
        const QString code = m_code->text().trimmed();
        return {code.isEmpty() ? QString() : normaliseCode(code), m_name->text().trimmed()};
    }
    const QString &entry = m_index->at(at);
    return {entry.left(6), entry.mid(6)};
}

void TImport::changed()
{
    m_refresh.start();
}

QString TImport::optionsKey() const
{
    const importing::Security s = security();
    return m_after->text() + QLatin1Char('\t') + QLatin1Char(m_allDays->isChecked() ? '1' : '0') +
           QLatin1Char('\t') + s.code + QLatin1Char('\t') + s.name;
}

importing::Selection TImport::choose(const QuoteLines &store, const QStringList &index)
{
    const QString key = optionsKey();
    if (!m_key.isNull() && key == m_key) return m_chosen;
    const QString after = importing::threshold(m_after->text());
    const QDate today = Clock::get().today();
    const bool allDays = m_allDays->isChecked();
    importing::Selection s;
    if (m_columns) {
        const importing::Security chosen = security();
        QStringList known = index;
        if (!chosen.code.isEmpty() && !indexHasPrefix(index, chosen.code))
            known.append(chosen.code + chosen.name);
        importing::Headed h =
            importing::reformateHeaded(m_lines, *m_columns, m_days.dayFirst, chosen, known, today);
        s = importing::select(h.lines, after, allDays, store, known);
        if (!h.unreadable.isEmpty()) {
            s.refused += int(h.unreadable.size());
            s.unreadable += int(h.unreadable.size());
            s.firstUnreadable = s.firstUnreadable > 0
                                    ? std::min(s.firstUnreadable, h.unreadable.first())
                                    : h.unreadable.first();
        }
        m_normalised = std::move(h.lines);
    } else {
        int headings = 0;
        const QuoteLines lines = importing::reformated(m_lines, m_order, today, &headings);
        s = importing::select(lines, after, allDays, store, index);
        if (headings > 0) {
            // A heading that names no date and price: a line that does not read.
            s.refused += headings;
            s.unreadable += headings;
            s.firstUnreadable = m_firstLine;
        }
    }
    m_key = key;
    m_chosen = s;
    return s;
}

void TImport::showRows(const QList<QStringList> &rows)
{
    for (int r = 1; r < kRows; ++r) {
        const QStringList fields = rows.value(r - 1);
        for (int c = 0; c < 5; ++c)
            m_grid->setItem(r, c, new QTableWidgetItem(fields.value(c)));
    }
}

void TImport::Apercu()
{
    m_refresh.stop();
    if (!m_store || !m_index) return;
    QString text;
    try {
        const importing::Selection s = choose(*m_store, *m_index);
        text = m_security && security().code.isEmpty()
                   ? QStringLiteral("Choisissez le titre de ces cours.")
                   : importing::summary(s, true);
    } catch (const VError &e) {
        text = e.message();
    }
    if (m_columns) {
        QList<QStringList> rows;
        for (qsizetype i = 0; i < m_normalised.size(); ++i) {
            const QString line = m_normalised.at(i);
            if (rows.size() == kRows - 1) break;
            if (line.isEmpty()) continue;
            QStringList fields = line.split(QLatin1Char('\t'));
            for (QString &field : fields)
                field.truncate(importing::kPreviewField);
            rows.append(fields);
        }
        showRows(rows);
        if (!m_days.decided)
            text += QStringLiteral("\nDates lues le jour avant le mois (03/04 : 3 avril) : aucune "
                                   "date du fichier ne le dit.");
    }
    m_count->setText(text);
}

void TImport::accept()
{
    if (m_security) {
        const importing::Security s = security();
        QString refusal;
        if (m_security->currentIndex() < 0)
            refusal = QStringLiteral("Choisissez le titre de ces cours.");
        else if (m_security->currentIndex() == m_security->count() - 1) {
            if (s.code.size() != 6)
                refusal = QStringLiteral("Le code du nouveau titre a de 4 à 6 caractères.");
            else if (s.name.isEmpty())
                refusal = QStringLiteral("Donnez le nom du nouveau titre.");
            else if (const auto bad =
                         entry::checkQuotation(s.code, s.name, QStringLiteral("1"), QString()))
                refusal = bad->message;
            else if (m_index && indexHasPrefix(*m_index, s.code))
                refusal = QStringLiteral("Le titre %1 est déjà dans la base : choisissez-le dans "
                                         "la liste.")
                              .arg(s.code);
        }
        if (!refusal.isEmpty()) {
            Prompts::get().error(this, refusal);
            return;
        }
    }
    QDialog::accept();
}

int TImport::Reformate()
{
    int headings = 0;
    m_lines = importing::reformated(m_lines, m_order, Clock::get().today(), &headings);
    return headings;
}

bool TImport::Vendredi(const QString &line) const
{
    return importing::Vendredi(line, m_allDays->isChecked());
}

bool TImport::Result(const QuoteLines &store, const QStringList &index,
                     importing::Selection &chosen)
{
    chosen = {};
    if (result() != QDialog::Accepted) return false;
    const BusyCursor busy;
    chosen = choose(store, index);
    return true;
}
