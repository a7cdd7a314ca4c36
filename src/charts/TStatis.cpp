#include "charts/TStatis.h"

#include "base/formats.h"
#include "charts/HelpKey.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

TStatis::TStatis(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Statis"));
    setWindowTitle(QStringLiteral("Statistiques"));
    helpOnF1(this, kHelpStatistics);
    setFixedSize(297, 277);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setGeometry(0, 0, 297, 33);
    auto *close = new QPushButton(QStringLiteral("Fermer"), panel);
    close->setObjectName(QStringLiteral("Button1"));
    close->setGeometry(210, 4, 80, 25);
    connect(close, &QPushButton::clicked, this, [this] { Button1Click(); });

    struct Place {
        int left, top;
        const char16_t *text;
    };
    static const Place places[13] = {
        {0, 0, u""},
        {16, 48, u"Du"},
        {176, 48, u"Au"},
        {16, 80, u"Plus haut"},
        {16, 104, u"Plus bas"},
        {168, 80, u"au"},
        {168, 104, u"au"},
        {16, 128, u"Moyenne"},
        {16, 152, u"Ecart type"},
        {16, 176, u"Variation"},
        {16, 200, u"Premier quartile"},
        {16, 224, u"Deuxième quartile"},
        {16, 248, u"Troisième quartile"},
    };
    for (int i = 1; i <= 12; ++i) {
        m_labels[i] = new QLabel(QString::fromUtf16(places[i].text), this);
        m_labels[i]->setObjectName(QStringLiteral("Label") + QString::number(i));
        m_labels[i]->move(places[i].left, places[i].top);
        m_labels[i]->resize(i == 1 || i == 2 || (i >= 3 && i <= 6) ? 150 : 270, 20);
    }
}

void TStatis::Init(const History &history)
{
    const Statistics s = statisticsOf(history);
    setWindowTitle(QStringLiteral("Statistiques ") + history.name);
    m_labels[1]->setText(QStringLiteral("Du ") + s.firstDate);
    m_labels[2]->setText(QStringLiteral("Au ") + s.lastDate);
    m_labels[3]->setText(QStringLiteral("Plus haut : ") + formatAmount(s.highest));
    m_labels[4]->setText(QStringLiteral("Plus bas  : ") + formatAmount(s.lowest));
    m_labels[5]->setText(QStringLiteral("au : ") + s.highestDate);
    m_labels[6]->setText(QStringLiteral("au : ") + s.lowestDate);
    m_labels[7]->setText(QStringLiteral("Moyenne : ") + formatAmount(s.mean));
    m_labels[8]->setText(QStringLiteral("Ecart type : ") + formatAmount(s.deviation));
    // Without a mean the variation has no value: it and the quartiles keep
    // their captions.
    if (!s.variation) return;
    m_labels[9]->setText(QStringLiteral("Variation : ") + formatAmount(*s.variation));
    m_labels[10]->setText(QStringLiteral("Premier quartile   : ") + formatAmount(s.q1));
    m_labels[11]->setText(QStringLiteral("Deuxième quartile  : ") + formatAmount(s.q2));
    m_labels[12]->setText(QStringLiteral("Troisième quartile : ") + formatAmount(s.q3));
}
