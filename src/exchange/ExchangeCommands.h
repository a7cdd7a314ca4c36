#pragma once

class BourseData;
class TBourse;

// Import, export and download of quotation files ("&Fichier" menu).
class ExchangeCommands
{
public:
    ExchangeCommands(TBourse &doc, BourseData &data) : m_doc(doc), m_data(data) {}

    void Importer();
    void Importer2();
    void Exporter();
    void GetCours();

private:
    TBourse &m_doc;
    BourseData &m_data;
};
