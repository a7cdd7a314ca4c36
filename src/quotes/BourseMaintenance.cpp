// Maintenance commands: undo, conversion, split, deletions, reorganisation,
// sorts and the period.
#include "quotes/TBourse.h"

void TBourse::Annuler() {}
void TBourse::Convertir() {}
void TBourse::ExecCvt(int, const QString &, const QString &, const QString &, const QString &,
                      double)
{
}
void TBourse::Diviser() {}
void TBourse::SupTitre() {}
void TBourse::Selection(QTableView *) {}
void TBourse::SelectAll() {}
void TBourse::Selectinv(QTableView *) {}
void TBourse::Inverser() {}
void TBourse::SupLignes(QTableView *) {}
void TBourse::Supprimer() {}
void TBourse::Reorganiser() {}
void TBourse::TrierNom() {}
void TBourse::TrierCode() {}
bool TBourse::Selectionner(int)
{
    return false;
}
