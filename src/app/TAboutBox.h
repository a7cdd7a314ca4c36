#pragma once

#include <QDialog>

// "A propos": the program picture, name, version (the project's, from
// CMakeLists.txt) and purpose, and "OK".
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);
};
