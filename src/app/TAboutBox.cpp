#include "app/TAboutBox.h"

#include "app/glyphs.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("A propos"));
    setModal(true);
    setFixedSize(320, 210);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);

    auto *icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setFixedSize(64, 64);
    icon->setScaledContents(true);
    icon->setPixmap(QPixmap::fromImage(glyphs::programPicture(64)));

    auto *product = new QLabel(QStringLiteral("Valmeq 2001"), panel);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    auto *version = new QLabel(QStringLiteral("Version " VALMEQ_VERSION), panel);
    version->setObjectName(QStringLiteral("Version"));
    auto *comments = new QLabel(QStringLiteral("Gestion de portefeuille boursier."), panel);
    comments->setObjectName(QStringLiteral("Comments"));

    auto *texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto *inner = new QVBoxLayout(panel);
    inner->addLayout(top);
    inner->addWidget(comments);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addWidget(ok, 0, Qt::AlignHCenter);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
