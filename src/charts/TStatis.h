#pragma once

#include "charts/series.h"

#include <QDialog>

class QLabel;

// "Statistiques": the prices of the current security summed up.
class TStatis : public QDialog
{
    Q_OBJECT
public:
    explicit TStatis(QWidget *parent = nullptr);
    // Throws on a price that does not convert.
    void Init(const History &history);
    void Button1Click() { close(); }

private:
    QLabel *m_labels[13] = {};
};
