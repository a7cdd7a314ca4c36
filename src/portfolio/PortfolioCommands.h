#pragma once

#include <QString>

class BourseData;
class TBourse;

// The portfolio commands of the "&Fichier" and "&Gestion" menus: the
// portfolio file and its operations, journal, valuation, fees and
// distribution.
class PortfolioCommands
{
public:
    PortfolioCommands(TBourse &doc, BourseData &data) : m_doc(doc), m_data(data) {}

    void Nouveau();
    void Charge(const QString &path);
    void Ouvrir();
    void Sauver();
    void SaveAs();
    // Asks whether to save a modified portfolio; false when the closing
    // must stop.
    bool FormCloseQuery();
    void Achat();
    void Vente();
    void Echange();
    void Dividendes();
    void Operations();
    void Portefeuille();
    void FraisBourse();
    void Repartition();

private:
    TBourse &m_doc;
    BourseData &m_data;
};
