#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPagedPaintDevice;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;

// What a command prints, drawn as one document on the device it is given;
// false when nothing could be drawn.
using PrintJob = std::function<bool(QPagedPaintDevice &)>;

// "Aperçu avant impression": the pages a command is about to print, as they
// will come out of the printer chosen, one at a time. "&Imprimer" (the
// default button, Entrée) prints them, "Annuler" (Échap) prints nothing;
// "Page &précédente", "Page &suivante", "Zoom &avant", "Zoom a&rrière" and
// "Pleine &largeur" move through them. The job is drawn on the printer in
// preview mode: nothing reaches the printer or the file here.
class PrintPreview : public QDialog
{
    Q_OBJECT
public:
    PrintPreview(QPrinter &printer, const QString &title, PrintJob job, QWidget *parent = nullptr);

    int pageCount() const;
    // From 1.
    int currentPage() const;
    void showPage(int page);

private:
    void updatePosition();

    PrintJob m_job;
    QPrintPreviewWidget *m_view = nullptr;
    QLabel *m_position = nullptr;
    QPushButton *m_previous = nullptr;
    QPushButton *m_next = nullptr;
};

// Before every print: the preview of `job` on `printer`, shown as a modal
// window through the prompts; when the user chooses "Imprimer", the job
// printed for real as one document titled `title` (the PDF file's title,
// the print job's name). False when cancelled or nothing was printed.
bool previewAndPrint(QWidget *parent, QPrinter &printer, const QString &title, const PrintJob &job);
