#pragma once

#include <QString>

class BourseData;
class TBourse;
class TImport;
class QTableView;

// Import, export and download of quotation files.
class ExchangeCommands
{
public:
    ExchangeCommands(TBourse &doc, BourseData &data) : m_doc(doc), m_data(data) {}

    // "I&mporter": date-first and code-first files.
    void Importer();
    void Importer2();
    // "E&xporter...": the list of the page shown (Export1 the monthly list,
    // Export2 the security's); nothing on the other pages.
    void Exporter();
    void Export1();
    void Export2();
    // "&Télécharger cours".
    void GetCours();

    static const QString kImportFilter;
    static const QString kExportFilter;

private:
    void importWith(TImport &dialog);
    void importFile(TImport &dialog, const QString &file);
    void exportList(QTableView *list);

    TBourse &m_doc;
    BourseData &m_data;
    // The name last chosen for an export while the document is open.
    QString m_exportName;
    // The file the last download wrote: the import opens there.
    QString m_lastDownload;
};
