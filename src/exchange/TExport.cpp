#include "exchange/TExport.h"

#include "base/DialogKit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

TExport::TExport(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Export"));
    setWindowTitle(QStringLiteral("Exporter pour un tableur"));
    m_separator = new QComboBox(this);
    m_separator->setObjectName(QStringLiteral("ComboBox1"));
    m_separator->addItems({QStringLiteral("Tabulation"), QStringLiteral("Point-virgule")});
    m_encoding = new QComboBox(this);
    m_encoding->setObjectName(QStringLiteral("ComboBox2"));
    m_encoding->addItems({QStringLiteral("Windows-1252"), QStringLiteral("UTF-8")});
    m_heading = new QCheckBox(QStringLiteral("Ligne d'en-tête"), this);
    m_heading->setObjectName(QStringLiteral("CheckBox1"));

    auto *grid = dialogkit::fieldGrid(this, {{QStringLiteral("Séparateur"), m_separator},
                                             {QStringLiteral("Codage"), m_encoding}});
    grid->addWidget(m_heading, 2, 1);
    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("OK"), &m_ok, &m_cancel);
    m_ok->setDefault(true);
    auto *layout = dialogkit::fixedColumn(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    dialogkit::tabOrder({m_separator, m_encoding, m_heading, m_ok, m_cancel});
    m_separator->setFocus();
}

void TExport::Init(const exporting::Options &options)
{
    m_separator->setCurrentIndex(options.separator == QLatin1Char(';') ? 1 : 0);
    m_encoding->setCurrentIndex(options.utf8 ? 1 : 0);
    m_heading->setChecked(options.heading);
}

bool TExport::Result(exporting::Options &options) const
{
    if (result() != QDialog::Accepted) return false;
    options.separator = m_separator->currentIndex() == 1 ? QLatin1Char(';') : QLatin1Char('\t');
    options.utf8 = m_encoding->currentIndex() == 1;
    options.heading = m_heading->isChecked();
    return true;
}
