#pragma once

class BourseData;
class TBourse;

// The security cards ("&Titres de la base") and the press notes ("&Vu dans
// la presse").
class NotesCommands
{
public:
    NotesCommands(TBourse &doc, BourseData &data) : m_doc(doc), m_data(data) {}

    void ListeTitres();
    void Coupures();

private:
    TBourse &m_doc;
    BourseData &m_data;
};
