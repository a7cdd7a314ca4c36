#include "accessories/TBlocnotes.h"

#include "accessories/notepad.h"
#include "base/Prompts.h"
#include "base/errors.h"
#include "base/records.h"
#include "print/PrintPreview.h"
#include "print/printer.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TBlocnotes::TBlocnotes(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Blocnotes"));
    setWindowTitle(QStringLiteral("Bloc-notes"));
    setSizeGripEnabled(true);
    resize(520, 420);

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    QAction *print = bar->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                    QStringLiteral("Imprimer"));
    print->setObjectName(QStringLiteral("ActionImprimer"));
    print->setToolTip(QStringLiteral("Imprimer"));
    if (auto *b = qobject_cast<QToolButton *>(bar->widgetForAction(print)))
        b->setObjectName(QStringLiteral("ToolButtonImprimer"));
    connect(print, &QAction::triggered, this, [this] { runCommand(this, [this] { Imprimer(); }); });
    auto *fermer = new QPushButton(QStringLiteral("Fermer"), this);
    fermer->setObjectName(QStringLiteral("BtnFermer"));
    fermer->setAutoDefault(false);
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setAccessibleName(QStringLiteral("Bloc-notes"));

    auto *top = new QHBoxLayout;
    top->addWidget(bar, 1);
    top->addWidget(fermer);
    top->addSpacing(125 - fermer->sizeHint().width() > 0 ? 125 - fermer->sizeHint().width() : 0);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_memo, 1);
    setTabOrder(m_memo, fermer);
    m_memo->setFocus();
}

bool TBlocnotes::isModified() const
{
    return m_memo->document()->isModified();
}

void TBlocnotes::Charge(const QString &path)
{
    m_path = path;
    if (!QFile::exists(path)) return;
    m_memo->setPlainText(notepad::load(path).join(QLatin1Char('\n')));
    m_memo->document()->setModified(false);
}

void TBlocnotes::Sauve(const QString &path)
{
    if (!isModified()) return;
    const QString text = records::pageText(m_memo->document()->toRawText());
    notepad::save(path, text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
    m_memo->document()->setModified(false);
}

void TBlocnotes::done(int result)
{
    // What the file cannot hold is said while the page can still be mended.
    if (isModified()) {
        if (const QString m = notepad::refusal(
                records::pageText(m_memo->document()->toRawText()).remove(QLatin1Char('\n')));
            !m.isEmpty()) {
            Prompts::get().error(this, m);
            return;
        }
        if (!m_path.isEmpty()) {
            try {
                Sauve(m_path);
            } catch (const VError &e) {
                // The page is still here: the user may keep it open, copy it
                // elsewhere or free the disk, and close again.
                Prompts::get().error(this, e.message());
                if (Prompts::get().question(this,
                                            QStringLiteral("Fermer le bloc-notes sans "
                                                           "enregistrer les modifications ?"),
                                            false) != Prompts::Yes)
                    return;
                m_memo->document()->setModified(false);
            }
        }
    }
    QDialog::done(result);
}

void TBlocnotes::Imprimer()
{
    QString failure;
    previewAndPrint(this, sharedPrinter(), QStringLiteral("Bloc-notes"),
                    [&](QPagedPaintDevice &device) {
                        failure = Imprime(device);
                        return failure.isEmpty();
                    });
    if (!failure.isEmpty()) throw VError(failure);
}

QString TBlocnotes::Imprime(QPagedPaintDevice &device) const
{
    QPainter painter;
    if (!painter.begin(&device)) return QStringLiteral("Erreur E/S : l'imprimante ne répond pas");
    painter.setFont(QFont(m_memo->font(), painter.device()));
    const QFontMetrics metrics = painter.fontMetrics();
    const int height = painter.viewport().height();
    int y = 0;
    const QStringList lines = m_memo->toPlainText().split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (y > 0 && y + metrics.height() > height) {
            if (!device.newPage()) return QStringLiteral("Erreur E/S : page refusée");
            y = 0;
        }
        painter.drawText(0, y + metrics.ascent(), line);
        y += metrics.height();
    }
    if (!painter.end()) return QStringLiteral("Erreur E/S : impression interrompue");
    return {};
}
