#pragma once

#include "portfolio/GridWindow.h"

// "Frais de bourse": the fees (or tax credit) of every portfolio line.
// Controls: "SpeedButton8" (Imprimer), "SpeedButton2" (Supprimer ligne),
// "Button1" (Fermer), "StringGrid1".
class TFrais : public GridWindow
{
    Q_OBJECT
public:
    explicit TFrais(QWidget *parent = nullptr);

    // The lines that do not read are left out (see unreadable).
    void Init(const QStringList &portfolio, const QStringList &index);
    void Supprimer() override;
};
