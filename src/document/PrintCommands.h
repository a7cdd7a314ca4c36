#pragma once

class BourseData;
class QPagedPaintDevice;
class TBourse;

// "&Imprimer...": the printed monthly list, security list or price chart.
class PrintCommands
{
public:
    PrintCommands(TBourse &doc, BourseData &data) : m_doc(doc), m_data(data) {}

    // The print dialog on the printer of the session, then the page shown.
    void Imprimer();
    // What the page shown prints, as one document on `device`; false when
    // nothing was printed (the entry page).
    bool Imprimer(QPagedPaintDevice &device);

private:
    TBourse &m_doc;
    BourseData &m_data;
};
