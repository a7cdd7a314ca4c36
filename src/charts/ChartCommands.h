#pragma once

class BourseData;
class TBourse;

// The commands of the "&Stats" menu: the price chart, its parameters, the
// indicators, the statistics and the hit-parade.
class ChartCommands
{
public:
    ChartCommands(TBourse &doc, BourseData &data) : m_doc(doc), m_data(data) {}

    // "&Graphique standard" (F9): the chart page on the current security.
    void Graphique();
    void Parametres();
    void RIIndex();
    void Momentum();
    void ZigetZag();
    void Statistiques();
    void HitParade();

private:
    TBourse &m_doc;
    BourseData &m_data;
};
