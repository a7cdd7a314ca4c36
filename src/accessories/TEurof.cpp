#include "accessories/TEurof.h"

#include "base/DialogKit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{

QLabel *display(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 16);
    l->setStyleSheet(QStringLiteral("QLabel { background: #008080; color: white; padding: 2px; }"));
    return l;
}

} // namespace

TEurof::TEurof(QWidget *parent) : KeypadDialog(parent)
{
    setObjectName(QStringLiteral("Eurof"));
    setWindowTitle(QStringLiteral("Euro convertisseur"));
    setStyleSheet(QStringLiteral("TEurof { background: #000080; } TEurof QRadioButton, "
                                 "TEurof QLabel#Label1, TEurof QLabel#Label2, "
                                 "TEurof QLabel#Label3 { color: white; }"));

    m_input = display(this, "Edit1");
    m_result = display(this, "Edit2");
    m_toEuros = new QRadioButton(QStringLiteral("Fr>Euro"), this);
    m_toEuros->setObjectName(QStringLiteral("RadioButton1"));
    m_toEuros->setChecked(true);
    m_toFrancs = new QRadioButton(QStringLiteral("Euro>Fr"), this);
    m_toFrancs->setObjectName(QStringLiteral("RadioButton2"));
    connect(m_toEuros, &QRadioButton::toggled, this, [this](bool on) {
        m_conv.setDirection(on ? EuroConverter::FrancsToEuros : EuroConverter::EurosToFrancs);
    });
    m_rate = new QLineEdit(this);
    m_rate->setObjectName(QStringLiteral("Edit3"));
    m_rate->setReadOnly(true);
    m_rate->setAlignment(Qt::AlignRight);
    auto *up = new QToolButton(this);
    up->setObjectName(QStringLiteral("UpDown1Up"));
    up->setArrowType(Qt::UpArrow);
    up->setToolTip(QStringLiteral("Augmenter le taux"));
    up->setAutoRepeat(true);
    auto *down = new QToolButton(this);
    down->setObjectName(QStringLiteral("UpDown1Down"));
    down->setArrowType(Qt::DownArrow);
    down->setToolTip(QStringLiteral("Diminuer le taux"));
    down->setAutoRepeat(true);
    connect(up, &QToolButton::clicked, this, [this] {
        m_conv.rateUp();
        refresh();
    });
    connect(down, &QToolButton::clicked, this, [this] {
        m_conv.rateDown();
        refresh();
    });

    auto *shown = new QGridLayout;
    auto *l1 = dialogkit::buddyLabel(this, QStringLiteral("Montant"), m_input);
    l1->setObjectName(QStringLiteral("Label1"));
    auto *l2 = dialogkit::buddyLabel(this, QStringLiteral("Résultat"), m_result);
    l2->setObjectName(QStringLiteral("Label2"));
    auto *l3 = dialogkit::buddyLabel(this, QStringLiteral("&Taux"), m_rate);
    l3->setObjectName(QStringLiteral("Label3"));
    shown->addWidget(l1, 0, 0);
    shown->addWidget(m_input, 0, 1);
    shown->addWidget(l2, 1, 0);
    shown->addWidget(m_result, 1, 1);
    auto *rateRow = new QHBoxLayout;
    rateRow->addWidget(m_rate);
    auto *arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up);
    arrows->addWidget(down);
    rateRow->addLayout(arrows);
    shown->addWidget(l3, 2, 0);
    shown->addLayout(rateRow, 2, 1);

    auto *directions = new QHBoxLayout;
    directions->addWidget(m_toEuros);
    directions->addWidget(m_toFrancs);

    auto *keys = new QGridLayout;
    QList<QWidget *> order{m_toEuros, m_toFrancs, m_rate, up, down};
    const char *const captions[] = {"7", "8", "9", "4", "5", "6", "1", "2", "3", "0", ",", "="};
    for (int i = 0; i < 12; ++i) {
        const QString caption = QLatin1String(captions[i]);
        auto *b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        b->setObjectName(caption == QLatin1String(",")   ? QStringLiteral("BtnVirgule")
                         : caption == QLatin1String("=") ? QStringLiteral("BtnEgal")
                                                         : QStringLiteral("Btn") + caption);
        keys->addWidget(b, i / 3, i % 3);
        order.append(b);
        if (caption == QLatin1String("=")) {
            m_equals = b;
            connect(b, &QPushButton::clicked, this, [this] {
                m_conv.convert();
                refresh();
            });
        } else {
            const QChar c = caption[0];
            connect(b, &QPushButton::clicked, this, [this, c] {
                m_conv.type(c);
                refresh();
            });
        }
    }
    m_equals->setDefault(true);
    auto *fermer = new QPushButton(QStringLiteral("Fermer"), this);
    fermer->setObjectName(QStringLiteral("BtnFermer"));
    fermer->setAutoDefault(false);
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);
    order.append(fermer);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(shown);
    layout->addLayout(directions);
    layout->addLayout(keys);
    layout->addWidget(fermer, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    routeKeys(order);

    refresh();
    m_equals->setFocus();
}

void TEurof::refresh()
{
    showOnDisplay(m_input, QStringLiteral("Montant"), m_conv.input());
    showOnDisplay(m_result, QStringLiteral("Résultat"), m_conv.result());
    m_rate->setText(m_conv.rateText());
}

bool TEurof::handleKey(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) return false;
    if (dialogkit::isEnterPress(event)) {
        m_conv.convert();
        refresh();
        return true;
    }
    const QString text = event->text();
    if (text.size() == 1 && text[0].isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (!m_conv.type(text[0])) m_conv.otherKey();
        refresh();
        // A space still presses the button that has the focus.
        return text[0] != QLatin1Char(' ');
    }
    // Moving the focus, or a key that types nothing: a result shown goes.
    m_conv.otherKey();
    refresh();
    return false;
}
