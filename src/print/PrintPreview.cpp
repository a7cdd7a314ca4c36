#include "print/PrintPreview.h"

#include "base/Prompts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}
} // namespace

PrintPreview::PrintPreview(QPrinter &printer, const QString &title, PrintJob job, QWidget *parent)
    : QDialog(parent), m_job(std::move(job))
{
    setObjectName(QStringLiteral("ApercuImpression"));
    setWindowTitle(QStringLiteral("Aper\u00e7u avant impression - ") + title);

    m_view = new QPrintPreviewWidget(&printer, this);
    m_view->setObjectName(QStringLiteral("Apercu"));
    m_view->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_view->setZoomMode(QPrintPreviewWidget::FitInView);
    connect(m_view, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *preview) { m_job(*preview); });
    connect(m_view, &QPrintPreviewWidget::previewChanged, this, [this] { updatePosition(); });

    m_previous = button(this, "Precedente", QStringLiteral("Page &pr\u00e9c\u00e9dente"));
    m_next = button(this, "Suivante", QStringLiteral("Page &suivante"));
    m_position = new QLabel(this);
    m_position->setObjectName(QStringLiteral("Position"));
    QPushButton *zoomIn = button(this, "ZoomAvant", QStringLiteral("Zoom &avant"));
    QPushButton *zoomOut = button(this, "ZoomArriere", QStringLiteral("Zoom a&rri\u00e8re"));
    QPushButton *fitWidth = button(this, "PleineLargeur", QStringLiteral("Pleine &largeur"));
    QPushButton *print = button(this, "Imprimer", QStringLiteral("&Imprimer"));
    print->setDefault(true);
    QPushButton *cancel = button(this, "Annuler", QStringLiteral("Annuler"));

    connect(m_previous, &QPushButton::clicked, this, [this] { showPage(currentPage() - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showPage(currentPage() + 1); });
    connect(zoomIn, &QPushButton::clicked, m_view, [this] { m_view->zoomIn(); });
    connect(zoomOut, &QPushButton::clicked, m_view, [this] { m_view->zoomOut(); });
    connect(fitWidth, &QPushButton::clicked, m_view, &QPrintPreviewWidget::fitToWidth);
    connect(print, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_previous);
    bar->addWidget(m_position);
    bar->addWidget(m_next);
    bar->addSpacing(12);
    bar->addWidget(zoomIn);
    bar->addWidget(zoomOut);
    bar->addWidget(fitWidth);
    bar->addStretch(1);
    bar->addWidget(print);
    bar->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);
    resize(720, 860);

    // The pages are drawn now, so that their number is known before the
    // window shows.
    m_view->updatePreview();
    updatePosition();
    print->setFocus();
}

int PrintPreview::pageCount() const
{
    return m_view->pageCount();
}

int PrintPreview::currentPage() const
{
    return m_view->currentPage();
}

void PrintPreview::showPage(int page)
{
    if (page < 1 || page > pageCount()) return;
    m_view->setCurrentPage(page);
    updatePosition();
}

void PrintPreview::updatePosition()
{
    const int pages = pageCount();
    m_position->setText(
        QStringLiteral("Page %1 / %2").arg(pages > 0 ? currentPage() : 0).arg(pages));
    m_previous->setEnabled(currentPage() > 1);
    m_next->setEnabled(currentPage() < pages);
}

bool previewAndPrint(QWidget *parent, QPrinter &printer, const QString &title, const PrintJob &job)
{
    printer.setDocName(title);
    {
        PrintPreview preview(printer, title, job, parent);
        if (Prompts::get().exec(&preview) != QDialog::Accepted) return false;
    }
    return job(printer);
}
