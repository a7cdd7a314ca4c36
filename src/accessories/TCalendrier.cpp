#include "accessories/TCalendrier.h"

#include "accessories/calendar.h"
#include "base/clock.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TCalendrier::TCalendrier(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Calendrier"));
    setWindowTitle(QStringLiteral("Calendrier"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("Label1"));
    m_heading->setAlignment(Qt::AlignCenter);
    m_heading->setStyleSheet(QStringLiteral(
        "QLabel { background: #008080; color: white; font-weight: bold; padding: 4px; }"));

    auto *prev = new QPushButton(QStringLiteral("Mois"), this);
    prev->setObjectName(QStringLiteral("BtnMoisPrec"));
    prev->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    prev->setToolTip(QStringLiteral("Mois précédent"));
    auto *next = new QPushButton(QStringLiteral("Mois"), this);
    next->setObjectName(QStringLiteral("BtnMoisSuiv"));
    next->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    next->setLayoutDirection(Qt::RightToLeft);
    next->setToolTip(QStringLiteral("Mois suivant"));
    auto *fermer = new QPushButton(QStringLiteral("Fermer"), this);
    fermer->setObjectName(QStringLiteral("BtnFermer"));
    for (QPushButton *b : {prev, next, fermer})
        b->setAutoDefault(false);
    connect(prev, &QPushButton::clicked, this, &TCalendrier::MoisPrecedent);
    connect(next, &QPushButton::clicked, this, &TCalendrier::MoisSuivant);
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);

    m_grid = new QCalendarWidget(this);
    m_grid->setObjectName(QStringLiteral("Calendar1"));
    m_grid->setLocale(QLocale(QLocale::French, QLocale::France));
    m_grid->setFirstDayOfWeek(Qt::Sunday);
    m_grid->setNavigationBarVisible(false);
    m_grid->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_grid->setGridVisible(true);
    m_grid->setStyleSheet(
        QStringLiteral("QCalendarWidget QAbstractItemView { background: #00ff00; }"));
    connect(m_grid, &QCalendarWidget::selectionChanged, this, &TCalendrier::Entete);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(prev);
    buttons->addStretch(1);
    buttons->addWidget(fermer);
    buttons->addStretch(1);
    buttons->addWidget(next);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addLayout(buttons);
    layout->addWidget(m_grid);
    setTabOrder(prev, fermer);
    setTabOrder(fermer, next);
    setTabOrder(next, m_grid);

    for (QWidget *w : {static_cast<QWidget *>(prev), static_cast<QWidget *>(next),
                       static_cast<QWidget *>(fermer), static_cast<QWidget *>(m_grid)})
        w->installEventFilter(this);
    if (auto *view = m_grid->findChild<QTableView *>()) view->installEventFilter(this);

    setSelected(Clock::get().today());
    m_grid->setFocus();
}

QDate TCalendrier::selected() const
{
    return m_grid->selectedDate();
}

void TCalendrier::setSelected(const QDate &date)
{
    m_grid->setSelectedDate(date);
    m_grid->setCurrentPage(date.year(), date.month());
    Entete();
}

void TCalendrier::MoisPrecedent()
{
    setSelected(calendar::monthStep(selected(), -1));
}

void TCalendrier::MoisSuivant()
{
    setSelected(calendar::monthStep(selected(), 1));
}

void TCalendrier::Entete()
{
    m_heading->setText(calendar::heading(selected()));
}

bool TCalendrier::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            key == Qt::Key_PageUp ? MoisPrecedent() : MoisSuivant();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TCalendrier::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) Entete();
    return QDialog::event(event);
}
