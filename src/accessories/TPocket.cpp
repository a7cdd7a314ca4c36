#include "accessories/TPocket.h"

#include "accessories/pocket.h"
#include "base/DialogKit.h"
#include "base/Prompts.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TPocket::TPocket(QWidget *parent, PocketCalc *calc)
    : KeypadDialog(parent), m_calc(calc ? *calc : PocketCalc::shared())
{
    setObjectName(QStringLiteral("Pocket"));
    setWindowTitle(QStringLiteral("Calculatrice"));
    setStyleSheet(QStringLiteral("TPocket { background: #008080; }"));

    m_display = new QLabel(this);
    m_display->setObjectName(QStringLiteral("Edit1"));
    m_display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_display->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_display->setMinimumWidth(m_display->fontMetrics().horizontalAdvance(QStringLiteral("0")) *
                               17);
    m_display->setStyleSheet(
        QStringLiteral("QLabel { background: #c0c0c0; border: 2px solid #000080; padding: 2px; }"));
    m_display->setAccessibleName(QStringLiteral("Affichage"));

    struct Key {
        const char *name;
        const char *caption;
        char key;
        int row, column;
    };
    static const Key keys[] = {
        {"BtnC", "C", 'C', 0, 0},        {"BtnInverse", "1/x", 'x', 0, 1},
        {"BtnRacine", "sqr", 's', 0, 2}, {"BtnDivise", "/", '/', 0, 3},
        {"Btn7", "7", '7', 1, 0},        {"Btn8", "8", '8', 1, 1},
        {"Btn9", "9", '9', 1, 2},        {"BtnFois", "*", '*', 1, 3},
        {"Btn4", "4", '4', 2, 0},        {"Btn5", "5", '5', 2, 1},
        {"Btn6", "6", '6', 2, 2},        {"BtnMoins", "-", '-', 2, 3},
        {"Btn1", "1", '1', 3, 0},        {"Btn2", "2", '2', 3, 1},
        {"Btn3", "3", '3', 3, 2},        {"BtnPlus", "+", '+', 3, 3},
        {"Btn0", "0", '0', 4, 0},        {"BtnVirgule", ",", ',', 4, 1},
        {"BtnEgal", "=", '=', 4, 2},
    };
    auto *grid = new QGridLayout;
    QList<QWidget *> order;
    for (const Key &k : keys) {
        auto *b = new QPushButton(QString::fromUtf8(k.caption), this);
        b->setObjectName(QLatin1String(k.name));
        b->setAutoDefault(false);
        const QChar key = QLatin1Char(k.key);
        connect(b, &QPushButton::clicked, this, [this, key] { Touche(key); });
        grid->addWidget(b, k.row, k.column, 1, k.key == '=' ? 2 : 1);
        if (k.key == '=') m_equals = b;
        order.append(b);
    }
    auto *fermer = new QPushButton(QStringLiteral("Fermer"), this);
    fermer->setObjectName(QStringLiteral("BtnFermer"));
    fermer->setAutoDefault(false);
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);
    order.append(fermer);
    m_equals->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_display);
    layout->addLayout(grid);
    layout->addWidget(fermer, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // The keys reach the calculator whichever control has the focus.
    routeKeys(order);

    m_calc.reset();
    refresh();
    m_equals->setFocus();
}

void TPocket::Touche(QChar key)
{
    const QString error = m_calc.press(key);
    refresh();
    if (key == QLatin1Char('C') || key == QLatin1Char('c')) m_equals->setFocus();
    if (!error.isEmpty()) Prompts::get().error(this, error);
}

void TPocket::refresh()
{
    showOnDisplay(m_display, QStringLiteral("Affichage"), m_calc.display());
}

bool TPocket::handleKey(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    if (dialogkit::isEnterPress(event)) {
        Touche(QLatin1Char('='));
        return true;
    }
    const QString text = event->text();
    if (text.size() == 1 && PocketCalc::isKey(text[0])) {
        Touche(text[0]);
        return true;
    }
    return false;
}
