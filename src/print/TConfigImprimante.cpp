#include "print/TConfigImprimante.h"

#include "base/DialogKit.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{
struct Paper {
    const char16_t *name;
    QPageSize::PageSizeId id;
};
const Paper kPapers[] = {{u"A4", QPageSize::A4},
                         {u"A3", QPageSize::A3},
                         {u"A5", QPageSize::A5},
                         {u"Lettre US", QPageSize::Letter},
                         {u"Légal US", QPageSize::Legal}};
} // namespace

QString TConfigImprimante::pdfEntry()
{
    return QStringLiteral("Fichier PDF");
}

TConfigImprimante::TConfigImprimante(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ConfigImprimante"));
    setWindowTitle(QStringLiteral("Configuration imprimante"));

    m_comboBox1 = new QComboBox(this);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->addItems(QPrinterInfo::availablePrinterNames());
    m_comboBox1->addItem(pdfEntry());
    m_edit1 = new QLineEdit(this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_comboBox2 = new QComboBox(this);
    m_comboBox2->setObjectName(QStringLiteral("ComboBox2"));
    for (const Paper &p : kPapers)
        m_comboBox2->addItem(QString::fromUtf16(p.name), int(p.id));
    m_radioButton1 = new QRadioButton(QStringLiteral("Portrait"), this);
    m_radioButton1->setObjectName(QStringLiteral("RadioButton1"));
    m_radioButton2 = new QRadioButton(QStringLiteral("Paysage"), this);
    m_radioButton2->setObjectName(QStringLiteral("RadioButton2"));
    auto *orientation = new QHBoxLayout;
    orientation->addWidget(m_radioButton1);
    orientation->addWidget(m_radioButton2);
    orientation->addStretch(1);

    auto *grid = dialogkit::fieldGrid(this, {{QStringLiteral("Imprimante"), m_comboBox1},
                                             {QStringLiteral("Fichier"), m_edit1},
                                             {QStringLiteral("Papier"), m_comboBox2}});
    grid->addLayout(orientation, 3, 1);
    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("OK"), &m_ok, &m_cancel);
    m_ok->setDefault(true);
    auto *layout = dialogkit::fixedColumn(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    dialogkit::tabOrder(
        {m_comboBox1, m_edit1, m_comboBox2, m_radioButton1, m_radioButton2, m_ok, m_cancel});

    connect(m_comboBox1, &QComboBox::currentIndexChanged, this, [this] { updateFileField(); });
}

void TConfigImprimante::updateFileField()
{
    m_edit1->setEnabled(m_comboBox1->currentText() == pdfEntry());
}

void TConfigImprimante::Init(const QPrinter &printer)
{
    const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
    const int i =
        pdf ? m_comboBox1->findText(pdfEntry()) : m_comboBox1->findText(printer.printerName());
    m_comboBox1->setCurrentIndex(i >= 0 ? i : 0);
    m_edit1->setText(printer.outputFileName().isEmpty()
                         ? QDir::current().filePath(QStringLiteral("valmeq.pdf"))
                         : printer.outputFileName());
    const int paper = m_comboBox2->findData(int(printer.pageLayout().pageSize().id()));
    m_comboBox2->setCurrentIndex(paper >= 0 ? paper : 0);
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    m_radioButton1->setChecked(!landscape);
    m_radioButton2->setChecked(landscape);
    updateFileField();
}

void TConfigImprimante::Result(QPrinter &printer) const
{
    if (result() != QDialog::Accepted) return;
    if (m_comboBox1->currentText() == pdfEntry()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_edit1->text());
    } else {
        printer.setOutputFileName(QString());
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(m_comboBox1->currentText());
    }
    printer.setPageSize(QPageSize(QPageSize::PageSizeId(m_comboBox2->currentData().toInt())));
    printer.setPageOrientation(m_radioButton2->isChecked() ? QPageLayout::Landscape
                                                           : QPageLayout::Portrait);
}
