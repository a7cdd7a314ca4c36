#pragma once

#include "quotes/BourseData.h"
#include "quotes/shownlines.h"

#include <QString>

class QTableView;
class TBourse;

// The commands that change the quotation store as a whole or line by line
// ("&Ediiton" and "&Cours" menus): undo, conversion, split, deletions,
// reorganisation, sorts, the period, and the correction of a line.
class MaintenanceCommands
{
public:
    MaintenanceCommands(TBourse &doc, BourseData &data) : m_doc(doc), m_data(data) {}

    void Annuler();
    void Convertir();
    // Rewrites the prices of a range of dates and codes: `kind` says whether
    // it is a conversion or a split.
    void ExecCvt(int direction, const QString &dateDebut, const QString &dateFin,
                 const QString &codeDebut, const QString &codeFin, double factor,
                 BourseData::Change kind = BourseData::Change::Conversion);
    void Diviser();
    void SupTitre();
    void Selection(QTableView *list);
    void SelectAll();
    void Selectinv(QTableView *list);
    void Inverser();
    void SupLignes(QTableView *list);
    void Supprimer();
    void Reorganiser();
    void TrierNom();
    void TrierCode();
    bool Selectionner(int mode);

    // "&Modifier": corrects the line of the one selected row.
    void Modifier();
    // Corrects the store line a row shows.
    void MajModif(const ShownLine &line);

private:
    TBourse &m_doc;
    BourseData &m_data;
};
