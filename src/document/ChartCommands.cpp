#include "document/ChartCommands.h"

#include "base/Prompts.h"
#include "charts/IndicatorWindow.h"
#include "charts/THit.h"
#include "charts/TParam.h"
#include "charts/TStatis.h"
#include "document/ChartPage.h"
#include "document/TBourse.h"
#include "document/TitresPage.h"
#include "quotes/BourseData.h"
#include "quotes/QuoteListModel.h"

void ChartCommands::Graphique()
{
    m_doc.titres().LitTitre();
    m_doc.showPage(TBourse::PageGraphique);
    m_doc.chart().showName(m_doc.titres().currentName(), m_doc.titres().currentEntry());
    m_doc.chart().Dessine();
}

void ChartCommands::Parametres()
{
    Settings s = m_data.settings();
    TParam param(&m_doc);
    param.Init(s.maSwitch, s.maLength, s.rsiLength, s.momentumLength, s.zigzagPercent, s.logScale);
    Prompts::get().exec(&param);
    param.Result(s.maSwitch, s.maLength, s.rsiLength, s.momentumLength, s.zigzagPercent,
                 s.logScale);
    m_data.setSettings(s);
    // The chart shown follows the new settings at once.
    if (param.result() == QDialog::Accepted && m_doc.page() == TBourse::PageGraphique)
        m_doc.chart().Dessine();
}

int ChartCommands::validLength(int Settings::*length)
{
    Settings s = m_data.settings();
    if (s.*length < 2) {
        s.*length = 6;
        m_data.setSettings(s);
    }
    return s.*length;
}

History ChartCommands::history() const
{
    m_doc.titres().LitTitre();
    return m_doc.chart().history();
}

void ChartCommands::RIIndex()
{
    const History h = history();
    const int length = validLength(&Settings::rsiLength);
    if (h.size() < length) return;
    TRsi window(&m_doc);
    window.Init(h, length);
    Prompts::get().exec(&window);
}

void ChartCommands::Momentum()
{
    const History h = history();
    const int length = validLength(&Settings::momentumLength);
    if (h.size() < length) return;
    TMoment window(&m_doc);
    window.Init(h, length);
    Prompts::get().exec(&window);
}

void ChartCommands::ZigetZag()
{
    const History h = history();
    if (h.size() < 10) return;
    TZigzag window(&m_doc);
    window.Init(h, m_data.settings().zigzagPercent);
    Prompts::get().exec(&window);
}

void ChartCommands::Statistiques()
{
    const History h = history();
    if (h.size() < 1) {
        Prompts::get().information(&m_doc, h.emptyText());
        return;
    }
    TStatis window(&m_doc);
    window.Init(h);
    Prompts::get().exec(&window);
}

void ChartCommands::HitParade()
{
    THit window(&m_doc);
    window.Init(m_data.index(), m_data.store());
    Prompts::get().exec(&window);
}
