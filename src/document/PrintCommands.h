#pragma once

#include <QString>

class BourseData;
class QPagedPaintDevice;
class TBourse;

// "&Imprimer...": the printed monthly list, security list or price chart.
class PrintCommands
{
public:
    PrintCommands(TBourse &doc, BourseData &data) : m_doc(doc), m_data(data) {}

    // The print dialog on the printer of the session, then the preview of
    // the page shown, printed when the user confirms it.
    void Imprimer();
    // What the page shown prints, as one document on `device`; false when
    // nothing was printed (the entry page).
    bool Imprimer(QPagedPaintDevice &device);
    // The title of what the page shown prints (the heading of the list or
    // of the chart, the document's name); empty on the entry page.
    QString documentTitle() const;

private:
    TBourse &m_doc;
    BourseData &m_data;
};
