// Entry page: typed quotations, their grid, and the correction of a stored line.
#include "quotes/TBourse.h"

void TBourse::buildEntryPage(QWidget *) {}
void TBourse::layoutEntryPage(int, int) {}
bool TBourse::entryEventFilter(QObject *, QEvent *)
{
    return false;
}
void TBourse::Saisie() {}
void TBourse::CompteLignes() {}
void TBourse::Valide() {}
void TBourse::Raz() {}
void TBourse::MaskEdit1Exit() {}
void TBourse::ComboBox4Change() {}
void TBourse::ComboBox4Exit() {}
void TBourse::Edit2Exit() {}
void TBourse::Edit3Exit() {}
void TBourse::StringGrid1Click() {}
void TBourse::StringGrid1KeyDown() {}
void TBourse::TabSheet4Exit() {}
void TBourse::Modifier() {}
void TBourse::MajModif(const QString &) {}
