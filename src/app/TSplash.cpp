#include "app/TSplash.h"

#include "app/glyphs.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

TSplash::TSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Splash"));
    setFixedSize(340, 150);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(2);
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);

    auto *image = new QLabel(panel);
    image->setObjectName(QStringLiteral("Image1"));
    image->setFixedSize(105, 105);
    image->setScaledContents(true);
    image->setPixmap(QPixmap::fromImage(glyphs::programPicture(105)));

    auto *name = new QLabel(QStringLiteral("Valmeq"), panel);
    name->setObjectName(QStringLiteral("Label1"));
    name->setFont(QFont(QStringLiteral("Arial"), 28, QFont::Bold));
    auto *version = new QLabel(QStringLiteral("Version 2001"), panel);
    version->setObjectName(QStringLiteral("Label2"));
    version->setFont(QFont(QStringLiteral("Arial"), 11));

    auto *texts = new QVBoxLayout;
    texts->addStretch(1);
    texts->addWidget(name, 0, Qt::AlignHCenter);
    texts->addWidget(version, 0, Qt::AlignHCenter);
    texts->addStretch(1);
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(18, 18, 18, 18);
    row->setSpacing(18);
    row->addWidget(image, 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
