#include "charts/ChartCommands.h"

#include "charts/ChartPage.h"
#include "quotes/TBourse.h"
#include "quotes/TitresPage.h"

void ChartCommands::Graphique()
{
    m_doc.titres().LitTitre();
    m_doc.showPage(TBourse::PageGraphique);
    m_doc.chart().showName(m_doc.titres().currentName(), m_doc.titres().currentEntry());
    m_doc.chart().Dessine();
}

// The chart parameters, the indicator windows, the statistics and the
// hit-parade come with their windows; until then these commands do nothing.
void ChartCommands::Parametres() {}
void ChartCommands::RIIndex() {}
void ChartCommands::Momentum() {}
void ChartCommands::ZigetZag() {}
void ChartCommands::Statistiques() {}
void ChartCommands::HitParade() {}
