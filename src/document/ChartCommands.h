#pragma once

#include "charts/series.h"
#include "quotes/store.h"

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
    // "&Paramètres": the five chart settings; the chart shown is redrawn
    // after "OK".
    void Parametres();
    // The indicator windows: each opens nothing when the history is too
    // short for it (shorter than its length, or than 10 lines for ZigZag).
    void RIIndex();
    void Momentum();
    void ZigetZag();
    // Says "Aucune cotation du ... au ..." on an empty history.
    void Statistiques();
    void HitParade();

private:
    // The security view filled for the current security, read as a history.
    History history() const;
    // The indicator length of the settings, 6 when it is below 2 (and then
    // kept so).
    int validLength(int Settings::*length);

    TBourse &m_doc;
    BourseData &m_data;
};
