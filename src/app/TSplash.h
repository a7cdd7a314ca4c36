#pragma once

#include <QWidget>

// The window shown from the start of the program until the quotation file,
// the settings and the remembered portfolio are loaded: the program picture,
// its name and its version on a raised panel. No controls, no timer.
class TSplash : public QWidget
{
    Q_OBJECT
public:
    explicit TSplash(QWidget *parent = nullptr);
};
