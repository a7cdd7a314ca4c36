#include "accessories/THorloge.h"

#include "accessories/KeypadDialog.h"
#include "base/DialogKit.h"
#include "base/clock.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

THorloge::THorloge(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Horloge"));
    setWindowTitle(QStringLiteral("Horloge"));

    auto *mark = new QLabel(QStringLiteral("Valmeq"), this);
    mark->setObjectName(QStringLiteral("Label1"));
    mark->setAlignment(Qt::AlignCenter);
    mark->setStyleSheet(QStringLiteral(
        "QLabel { background: black; color: white; font-weight: bold; font-style: italic; }"));
    auto *dashes = new QLabel(QStringLiteral("---------"), this);
    dashes->setObjectName(QStringLiteral("Label2"));
    dashes->setAlignment(Qt::AlignCenter);

    QFont big = font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 2);
    m_time = new QLabel(this);
    m_time->setObjectName(QStringLiteral("LabelHeure"));
    m_date = new QLabel(this);
    m_date->setObjectName(QStringLiteral("LabelDate"));
    for (QLabel *l : {m_time, m_date}) {
        l->setFont(big);
        l->setAlignment(Qt::AlignCenter);
    }
    m_time->setAccessibleName(QStringLiteral("Heure"));
    m_date->setAccessibleName(QStringLiteral("Date"));

    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("RadioGroup1"));
    m_fields = new QButtonGroup(this);
    auto *boxLayout = new QHBoxLayout(box);
    const char *const names[] = {"Hr", "Mn", "Jo", "Mo", "An"};
    QList<QWidget *> order;
    for (int i = 0; i < 5; ++i) {
        auto *r = new QRadioButton(QLatin1String(names[i]), box);
        r->setObjectName(QStringLiteral("Radio") + QLatin1String(names[i]));
        m_fields->addButton(r, i);
        boxLayout->addWidget(r);
        order.append(r);
    }

    auto *up = new QToolButton(this);
    up->setObjectName(QStringLiteral("UpDown1Up"));
    up->setArrowType(Qt::UpArrow);
    up->setToolTip(QStringLiteral("Augmenter"));
    auto *down = new QToolButton(this);
    down->setObjectName(QStringLiteral("UpDown1Down"));
    down->setArrowType(Qt::DownArrow);
    down->setToolTip(QStringLiteral("Diminuer"));
    connect(up, &QToolButton::clicked, this, [this] { UpDownClick(true); });
    connect(down, &QToolButton::clicked, this, [this] { UpDownClick(false); });
    auto *set = new QPushButton(QStringLiteral("Set"), this);
    set->setObjectName(QStringLiteral("BtnSet"));
    auto *fermer = new QPushButton(QStringLiteral("Fermer"), this);
    fermer->setObjectName(QStringLiteral("BtnFermer"));
    for (QPushButton *b : {set, fermer})
        b->setAutoDefault(false);
    connect(set, &QPushButton::clicked, this, &THorloge::SetClick);
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);
    order << up << down << set << fermer;

    auto *arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up);
    arrows->addWidget(down);
    auto *row = new QHBoxLayout;
    row->addWidget(box);
    row->addLayout(arrows);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(set);
    buttons->addStretch(1);
    buttons->addWidget(fermer);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mark);
    layout->addWidget(dashes);
    layout->addWidget(m_time);
    layout->addWidget(m_date);
    layout->addLayout(row);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &THorloge::Timer1Timer);

    Timer1Timer();
}

ClockFace::Field THorloge::field() const
{
    return static_cast<ClockFace::Field>(m_fields->checkedId());
}

void THorloge::refresh()
{
    showOnDisplay(m_time, QStringLiteral("Heure"), m_face.timeText());
    showOnDisplay(m_date, QStringLiteral("Date"), m_face.dateText());
}

void THorloge::Timer1Timer()
{
    m_face.show(Clock::get().now());
    refresh();
}

void THorloge::SetClick()
{
    if (!m_setting) {
        m_setting = true;
        m_timer->stop();
        return;
    }
    // A refusal of the system (no rights) changes nothing and says nothing.
    (void)ClockSetter::get().set(m_face.displayed());
    m_setting = false;
    Timer1Timer();
    m_timer->start();
}

void THorloge::UpDownClick(bool up)
{
    m_face.spin(field(), up);
    refresh();
}

bool THorloge::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        m_setting = false;
        Timer1Timer();
        m_timer->start();
    } else if (event->type() == QEvent::WindowDeactivate) {
        m_timer->stop();
    }
    return QDialog::event(event);
}
