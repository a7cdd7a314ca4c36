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

    // Each asks "Enregistrer le portefeuille ?" when the portfolio is
    // modified; Annuler, or a save that did not happen, stops it.
    void Nouveau();
    // Reads the file, a relative path taken in the start directory (see
    // BourseData::loadPortfolio): a file that cannot be read is never
    // written over, saving it asks for a file name.
    void Charge(const QString &path);
    // Ouvrir and SaveAs refuse, with a message, a file name the settings
    // file cannot remember (a line break, a character Windows-1252 lacks).
    void Ouvrir();
    void Sauver();
    void SaveAs();
    // Asks whether to save a modified portfolio; false when the closing
    // must stop (Annuler, or the save did not happen).
    bool FormCloseQuery();
    void Achat();
    void Vente();
    void Echange();
    void Dividendes();
    // The journal; what it changed (operations modified or deleted) becomes
    // the portfolio, modified.
    void Operations();
    // The four views say once, before showing, the lines they cannot read.
    void Portefeuille();
    void FraisBourse();
    void Repartition();

private:
    // The question of Nouveau and Ouvrir; false when the command must stop.
    bool offerToSave();
    // Writes to the path, or asks for one when there is none (or the file
    // could not be read). False when nothing was written.
    bool save();
    // The save dialog, then the writing; false when nothing was written.
    bool saveAs();
    bool write(const QString &path);
    void setCaption();
    void append(const QString &kind, const QString &text);
    // A purchase or a sale through its dialog, recorded when confirmed.
    void operation(const QString &caption, const QString &kind);
    // The valuation's sort of the store: by whole line, ignoring case.
    void sortStore();
    // The valuation or the distribution: the store in its valuation order,
    // the window filled, the unreadable lines told, then the window shown.
    template <class Window> void showAtLatestPrices();
    void tellUnreadable(const QString &report);

    TBourse &m_doc;
    BourseData &m_data;
};
