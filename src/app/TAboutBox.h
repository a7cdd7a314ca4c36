#pragma once

#include <QDialog>

// "A propos": the program picture, name, version and purpose, and "OK".
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);
};
