#pragma once

class BourseData;
class TBourse;

// "&Imprimer...": the printed monthly list, security list or price chart.
class PrintCommands
{
public:
    PrintCommands(TBourse &doc, BourseData &data) : m_doc(doc), m_data(data) {}

    void Imprimer();

private:
    TBourse &m_doc;
    BourseData &m_data;
};
