#include "charts/THit.h"

#include "base/BusyCursor.h"
#include "base/DialogKit.h"
#include "base/clock.h"
#include "base/formats.h"
#include "charts/HelpKey.h"
#include "charts/series.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

THit::THit(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Hit"));
    setWindowTitle(QStringLiteral("Hit parade"));
    helpOnF1(this, kHelpStatistics);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    m_speedButton1 = new QToolButton(panel);
    m_speedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    m_speedButton1->setAutoRaise(true);
    m_speedButton1->setToolTip(QStringLiteral("Calculer"));
    m_speedButton1->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_speedButton1->setText(QStringLiteral("Calculer"));
    m_speedButton1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_speedButton1->setAccessibleName(QStringLiteral("Calculer"));
    m_button1 = new QPushButton(QStringLiteral("Fermer"), panel);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setAutoDefault(false);
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(m_speedButton1);
    row->addStretch(1);
    row->addWidget(m_button1);

    auto *group = new QGroupBox(QStringLiteral("Hausses"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    m_dateTimePicker1 = dialogkit::datePicker(group, QStringLiteral("DateTimePicker1"));
    m_dateTimePicker2 = dialogkit::datePicker(group, QStringLiteral("DateTimePicker2"));
    auto *label1 = dialogkit::buddyLabel(group, QStringLiteral("Entre le"), m_dateTimePicker1);
    label1->setObjectName(QStringLiteral("Label1"));
    auto *label2 = dialogkit::buddyLabel(group, QStringLiteral("et le"), m_dateTimePicker2);
    label2->setObjectName(QStringLiteral("Label2"));
    auto *dates = new QHBoxLayout(group);
    dates->addWidget(label1);
    dates->addWidget(m_dateTimePicker1);
    dates->addWidget(label2);
    dates->addWidget(m_dateTimePicker2);

    m_listView1 = new QTreeWidget(this);
    m_listView1->setObjectName(QStringLiteral("ListView1"));
    m_listView1->setRootIsDecorated(false);
    m_listView1->setColumnCount(2);
    m_listView1->setHeaderLabels({QStringLiteral("Titre"), QStringLiteral("Hausse")});
    m_listView1->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    m_listView1->setColumnWidth(0, 235);
    m_listView1->setColumnWidth(1, 80);

    m_label3 = new QLabel(this);
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_label3->setWordWrap(true);
    m_label3->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(panel);
    layout->addWidget(group);
    layout->addWidget(m_label3);
    layout->addWidget(m_listView1, 1);
    // Resizable; the list takes what the window gains.
    resize(363, 290);
    setMinimumSize(363, 290);
    setSizeGripEnabled(true);

    // 1 January of this year and today.
    const QDate today = Clock::get().today();
    m_dateTimePicker1->setDate(QDate(today.year(), 1, 1));
    m_dateTimePicker2->setDate(today);
    dialogkit::tabOrder(
        {m_speedButton1, m_button1, m_dateTimePicker1, m_dateTimePicker2, m_listView1});

    connect(m_speedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(m_button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void THit::Init(const QStringList &index, const QuoteLines &store)
{
    m_index = index;
    m_store = store;
}

void THit::SpeedButton1Click()
{
    const BusyCursor busy;
    const QList<Rise> rows = hitParade(m_index, m_store, toStored(m_dateTimePicker1->date()),
                                       toStored(m_dateTimePicker2->date()));
    m_listView1->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(rows.size());
    for (const Rise &r : rows) {
        // A security without two quotations between the dates has no rise.
        if (!r.rise) continue;
        auto *item = new QTreeWidgetItem({r.name, riseText(r)});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    m_listView1->addTopLevelItems(items);
    m_label3->setVisible(items.isEmpty());
    if (items.isEmpty())
        m_label3->setText(QStringLiteral("Aucun titre n'a de cotations du ") +
                          toShown(m_dateTimePicker1->date()) + QStringLiteral(" au ") +
                          toShown(m_dateTimePicker2->date()) + QLatin1Char('.'));
}
