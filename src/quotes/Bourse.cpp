// The document window: its pages, the quotation file, the settings, the
// monthly view, the securities index and the security view.
#include "quotes/TBourse.h"

#include "base/Prompts.h"
#include "base/errors.h"
#include "base/formats.h"
#include "base/textfile.h"
#include "quotes/quotelistmodel.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace
{

const int kRowHeight = 17;

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

// Shows a text in an editable list with the matching entry current: an entry
// current under another text would be chosen by the list when it loses the
// focus, refilling the view behind the user's back.
void showText(QComboBox *combo, const QString &text, int entry = -2)
{
    combo->setCurrentIndex(entry == -2 ? combo->findText(text) : entry);
    combo->setEditText(text);
}

} // namespace

TBourse::TBourse(QWidget *parent) : QWidget(parent), m_dir(QDir::currentPath())
{
    setObjectName(QStringLiteral("Bourse"));
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);

    const QString names[4] = {QStringLiteral("TabSheet1"), QStringLiteral("TabSheet2"),
                              QStringLiteral("TabSheet3"), QStringLiteral("TabSheet4")};
    QWidget *pages[4];
    for (int i = 0; i < 4; ++i) {
        pages[i] = new QWidget(m_pages);
        pages[i]->setObjectName(names[i]);
        m_pages->addWidget(pages[i]);
    }
    buildJournalPage(pages[PageJournal]);
    buildTitresPage(pages[PageTitres]);
    buildChartPage(pages[PageGraphique]);
    buildEntryPage(pages[PageSaisie]);

    // Becoming active: the monthly page, then the settings.
    m_pages->setCurrentIndex(PageJournal);
    ChargeIni();
}

TBourse::~TBourse() = default;

QTableView *TBourse::makeQuoteList(QuoteListModel *model, const QString &name)
{
    auto *view = new QTableView;
    view->setObjectName(name);
    view->setModel(model);
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
    view->installEventFilter(this);
    return view;
}

void TBourse::buildJournalPage(QWidget *page)
{
    m_comboBox1 = new QComboBox(page);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->setEditable(true);
    m_comboBox1->setInsertPolicy(QComboBox::NoInsert);
    m_comboBox1->setFixedWidth(220);
    m_comboBox1->setMaxVisibleItems(20);
    m_monthModel = new QuoteListModel(this);
    m_listView1 = makeQuoteList(m_monthModel, QStringLiteral("ListView1"));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(headerStrip(page, QStringLiteral("Journal"), m_comboBox1));
    layout->addWidget(m_listView1, 1);

    connect(m_comboBox1, &QComboBox::activated, this,
            [this] { runCommand(this, [this] { ComboBox1Change(); }); });
    connect(m_comboBox1->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { runCommand(this, [this] { ComboBox1Change(); }); });
    connect(m_listView1, &QTableView::doubleClicked, this, [this] { ListView1DblClick(); });
}

void TBourse::buildTitresPage(QWidget *page)
{
    m_comboBox2 = new QComboBox(page);
    m_comboBox2->setObjectName(QStringLiteral("ComboBox2"));
    m_comboBox2->setEditable(true);
    m_comboBox2->setInsertPolicy(QComboBox::NoInsert);
    m_comboBox2->setFixedWidth(240);
    m_comboBox2->setMaxVisibleItems(20);
    m_securityModel = new QuoteListModel(this);
    m_listView2 = makeQuoteList(m_securityModel, QStringLiteral("ListView2"));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(headerStrip(page, QStringLiteral("Titres"), m_comboBox2));
    layout->addWidget(m_listView2, 1);

    connect(m_comboBox2, &QComboBox::activated, this, [this] { ComboBox2Change(); });
}

void TBourse::buildChartPage(QWidget *page)
{
    m_comboBox3 = new QComboBox(page);
    m_comboBox3->setObjectName(QStringLiteral("ComboBox3"));
    m_comboBox3->setEditable(true);
    m_comboBox3->setInsertPolicy(QComboBox::NoInsert);
    m_comboBox3->setFixedWidth(240);
    m_comboBox3->setMaxVisibleItems(20);
    m_paintBox1 = new QWidget(page);
    m_paintBox1->setObjectName(QStringLiteral("PaintBox1"));
    m_paintBox1->setAutoFillBackground(true);
    QPalette pal = m_paintBox1->palette();
    pal.setColor(QPalette::Window, Qt::white);
    m_paintBox1->setPalette(pal);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(headerStrip(page, QStringLiteral("Graphique"), m_comboBox3));
    layout->addWidget(m_paintBox1, 1);

    connect(m_comboBox3, &QComboBox::activated, this, [this] { ComboBox3Change(); });
}

QString TBourse::filePath(const QString &name) const
{
    return QDir(m_dir).filePath(name);
}

int TBourse::page() const
{
    return m_pages->currentIndex();
}

void TBourse::showPage(int page)
{
    const int before = m_pages->currentIndex();
    if (before == page) return;
    m_pages->setCurrentIndex(page);
    if (before == PageSaisie) TabSheet4Exit();
}

Period TBourse::period() const
{
    return Period{m_periodMode, toStored(m_first), toStored(m_last)};
}

bool TBourse::Dedans(const QString &line) const
{
    return period().contains(line);
}

// --- Files and settings ------------------------------------------------------

void TBourse::Init()
{
    repaint();
    const QString name = QStringLiteral("Cours.vmq");
    try {
        m_store = readLines(filePath(name));
    } catch (const VError &) {
        // The file is kept as it is: what is typed from now on is never
        // written over the quotations that could not be read.
        m_unreadable.insert(name);
        throw;
    }
    m_unreadable.remove(name);
    m_store.removeAll(QString());
    m_undo = m_store; // an undo never brings back the empty lines
    m_month = QDate(1998, 1, 1);
    m_first = m_last = QDate();
    QString badDate;
    if (!m_store.isEmpty()) {
        qsizetype bad = -1;
        m_first = storeDate(m_store, false, &bad);
        if (bad >= 0) badDate = dateReport(m_store, bad, name);
        m_last = storeDate(m_store, true, &bad);
        if (bad >= 0 && badDate.isEmpty()) badDate = dateReport(m_store, bad, name);
        if (m_last.isValid()) m_month = m_last;
    }
    LitMois();
    InitCombo();
    Indexe();
    m_modified = false;
    if (!badDate.isEmpty()) Prompts::get().error(this, badDate);
}

QDate TBourse::storeDate(const QStringList &store, bool last, qsizetype *bad)
{
    // The first (or last) line gives the date; when it holds no date, the
    // nearest line that does, so that the months stay browsable.
    *bad = -1;
    const qsizetype n = store.size();
    for (qsizetype k = 0; k < n; ++k) {
        const qsizetype i = last ? n - 1 - k : k;
        const QDate d = storedToDate(quote::dateOf(store.at(i)));
        if (d.isValid()) return d;
        if (*bad < 0) *bad = i;
    }
    return {};
}

QString TBourse::dateReport(const QStringList &store, qsizetype line, const QString &file)
{
    return VError::badDate(quote::dateOf(store.at(line))).message() +
           QStringLiteral(" (ligne %1 du fichier %2)").arg(line + 1).arg(file);
}

bool TBourse::Sauve()
{
    if (!m_modified) return true;
    const QString name = QStringLiteral("Cours.vmq");
    if (m_unreadable.contains(name)) {
        Prompts::get().error(
            this, QStringLiteral("Le fichier %1 n'a pas pu être lu au démarrage : il est conservé "
                                 "tel quel et les changements faits depuis ne sont pas enregistrés.")
                      .arg(QDir::toNativeSeparators(filePath(name))));
        return true;
    }
    const auto answer = Prompts::get().question(
        this, QStringLiteral("Enregistrer le fichier des cotations ?"), true);
    if (answer == Prompts::Cancel) return false;
    if (answer == Prompts::Yes) {
        try {
            writeLines(filePath(name), m_store);
        } catch (const VError &e) {
            Prompts::get().error(this, e.message());
            return false;
        }
        m_modified = false;
    }
    return true;
}

void TBourse::ChargeIni()
{
    // A file that cannot be read is reported, its values stay the defaults
    // (or its list empty), and it is not written over at closing. The
    // list files are read even without a settings file, so that their
    // content survives the writing at closing.
    const auto read = [this](const QString &name, auto &&use) {
        const QString path = filePath(name);
        if (!QFile::exists(path)) return;
        try {
            use(readLines(path));
        } catch (const VError &e) {
            m_unreadable.insert(name);
            Prompts::get().error(this, e.message());
        }
    };
    read(QStringLiteral("Valmeq.ini"), [this](const QStringList &lines) { m_settings.read(lines); });
    read(QStringLiteral("Valmeq.trt"), [this](QStringList lines) { m_cards = std::move(lines); });
    read(QStringLiteral("Valmeq.prc"), [this](QStringList lines) { m_press = std::move(lines); });
    read(QStringLiteral("Valmeq.sit"), [this](QStringList lines) { m_sites = std::move(lines); });
}

void TBourse::SauveIni()
{
    // Each file is written on its own: one that fails does not keep the
    // others from being written. The failures are reported together.
    const std::pair<QString, QStringList> files[] = {
        {QStringLiteral("Valmeq.ini"), m_settings.lines()},
        {QStringLiteral("Valmeq.trt"), m_cards},
        {QStringLiteral("Valmeq.prc"), m_press},
        {QStringLiteral("Valmeq.sit"), m_sites}};
    QStringList failures;
    for (const auto &[name, lines] : files) {
        if (m_unreadable.contains(name)) continue;
        try {
            writeLines(filePath(name), lines);
        } catch (const VError &e) {
            failures.append(e.message());
        }
    }
    if (!failures.isEmpty()) throw VError(failures.join(QLatin1Char('\n')));
}

void TBourse::GetIni(bool &autoOpen, QString &portfolioPath) const
{
    autoOpen = m_settings.autoOpen == 1;
    portfolioPath = m_settings.portfolioPath;
}

void TBourse::SetIni(bool autoOpen)
{
    m_settings.autoOpen = autoOpen ? 1 : 0;
}

// --- Monthly view --------------------------------------------------------------

void TBourse::LitMois()
{
    QStringList rows;
    QList<qsizetype> positions;
    // Without a month (an empty store) the view and the month's text stay empty.
    if (m_month.isValid()) {
        const QString key = toStored(m_month).left(6);
        const Period p = period();
        rows.reserve(256);
        for (qsizetype i = 0; i < m_store.size(); ++i) {
            const QString &line = m_store.at(i);
            if (line.startsWith(key) && p.contains(line)) {
                rows.append(line);
                positions.append(i);
            }
        }
    }
    m_monthModel->setLines(std::move(rows), std::move(positions));
    showText(m_comboBox1, m_month.isValid() ? monthEntry(m_month) : QString());
}

void TBourse::InitCombo()
{
    m_comboBox1->clear();
    const QStringList months = monthEntries(m_first, m_last);
    m_comboBox1->addItems(months);
    showText(m_comboBox1, months.isEmpty() ? QString() : months.constLast());
}

void TBourse::Journal()
{
    showPage(PageJournal);
    LitMois();
}

void TBourse::ComboBox1Change()
{
    m_month = readMonthEntry(m_comboBox1->currentText());
    LitMois();
}

void TBourse::Premier()
{
    switch (page()) {
    case PageJournal:
        if (!m_first.isValid()) break; // an empty store has no month
        m_month = m_first;
        LitMois();
        break;
    case PageTitres:
    case PageGraphique:
        m_security = 0;
        LitTitre();
        if (page() == PageGraphique) Dessine();
        break;
    default:
        break;
    }
}

void TBourse::Precedent()
{
    switch (page()) {
    case PageJournal:
        if (m_first.isValid() && m_month > m_first) {
            m_month = QDate(m_month.year(), m_month.month(), 1).addMonths(-1);
            LitMois();
        }
        break;
    case PageTitres:
    case PageGraphique:
        if (m_security >= 1) {
            --m_security;
            LitTitre();
            if (page() == PageGraphique) Dessine();
        }
        break;
    default:
        break;
    }
}

void TBourse::Suivant()
{
    switch (page()) {
    case PageJournal:
        if (m_last.isValid() && m_month < m_last) {
            m_month = QDate(m_month.year(), m_month.month(), 1).addMonths(1);
            LitMois();
        }
        break;
    case PageTitres:
    case PageGraphique:
        if (m_security != m_index.size() - 1) {
            ++m_security;
            LitTitre();
            if (page() == PageGraphique) Dessine();
        }
        break;
    default:
        break;
    }
}

void TBourse::Dernier()
{
    switch (page()) {
    case PageJournal:
        if (!m_last.isValid()) break;
        m_month = m_last;
        LitMois();
        break;
    case PageTitres:
    case PageGraphique:
        m_security = int(m_index.size()) - 1;
        LitTitre();
        if (page() == PageGraphique) Dessine();
        break;
    default:
        break;
    }
}

QList<bool> TBourse::selectedFlags(QTableView *list)
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

QList<ShownLine> TBourse::selectedLines(QTableView *list)
{
    QList<ShownLine> lines;
    const auto *model = qobject_cast<const QuoteListModel *>(list ? list->model() : nullptr);
    if (!model) return lines;
    const QList<bool> flags = selectedFlags(list);
    for (int r = 0; r < flags.size(); ++r)
        if (flags[r]) lines.append({model->position(r), model->lines().at(r)});
    return lines;
}

QList<int> TBourse::selectedRows(QTableView *list)
{
    const QList<bool> flags = selectedFlags(list);
    QList<int> rows;
    for (int r = 0; r < flags.size(); ++r)
        if (flags[r]) rows.append(r);
    return rows;
}

void TBourse::ListView1DblClick()
{
    const QList<int> rows = selectedRows(m_listView1);
    if (rows.size() != 1) return;
    const QString code = m_monthModel->cell(rows.first(), 1);
    for (int i = 0; i < m_index.size(); ++i) {
        if (m_index[i].contains(code)) {
            m_security = i;
            break;
        }
    }
    showPage(PageTitres);
    LitTitre();
}

QTableView *TBourse::shownList() const
{
    if (page() == PageJournal) return m_listView1;
    if (page() == PageTitres) return m_listView2;
    return nullptr;
}

bool TBourse::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_listView1 || watched == m_listView2) && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        runCommand(this, [this] { Supprimer(); });
        return true;
    }
    if (entryEventFilter(watched, event)) return true;
    return QWidget::eventFilter(watched, event);
}

void TBourse::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    m_listView1->setColumnWidth(2, std::max(w - 450, 20));
    m_listView2->setColumnWidth(2, std::max(w - 450, 20));
    layoutEntryPage(w, height());
}

// --- Securities index and security view ----------------------------------------

void TBourse::Indexe()
{
    m_index = buildIndex(m_store);
    // The name list shows the security of the first line of the store.
    QString first;
    for (const QString &line : std::as_const(m_store)) {
        if (!quote::codeOf(line).trimmed().isEmpty()) {
            first = quote::nameOf(line);
            break;
        }
    }
    QStringList names;
    names.reserve(m_index.size());
    for (const QString &entry : std::as_const(m_index))
        names.append(entry.mid(6));
    for (QComboBox *combo : {m_comboBox2, m_comboBox3}) {
        combo->clear();
        combo->addItems(names);
        showText(combo, first);
    }
}

bool TBourse::Trouve(const QString &text) const
{
    return indexHasPrefix(m_index, text);
}

void TBourse::TriVi()
{
    sortIndexByName(m_index);
    QStringList names;
    for (const QString &entry : std::as_const(m_index))
        names.append(entry.mid(6));
    m_comboBox2->clear();
    m_comboBox2->addItems(names);
}

void TBourse::LitTitre()
{
    if (m_security < 0 || m_security >= m_index.size()) return;
    const QString name = m_comboBox2->itemText(m_security);
    showText(m_comboBox2, name, m_security);
    showText(m_comboBox3, name, m_security);
    const QString code = m_index[m_security].left(6);
    const Period p = period();
    QStringList rows;
    QList<qsizetype> positions;
    for (qsizetype i = 0; i < m_store.size(); ++i) {
        const QString &line = m_store.at(i);
        if (QStringView(line).mid(9, 6) == code && p.contains(line)) {
            rows.append(line);
            positions.append(i);
        }
    }
    m_securityModel->setLines(std::move(rows), std::move(positions));
}

void TBourse::Titres()
{
    showPage(PageTitres);
    LitTitre();
}

void TBourse::ComboBox2Change()
{
    const int i = m_comboBox2->currentIndex();
    if (i < 0 || m_comboBox2->itemText(i) != m_comboBox2->currentText()) return;
    m_security = i;
    LitTitre();
}
