#include "portfolio/PortfolioCommands.h"

#include "base/Prompts.h"
#include "base/errors.h"
#include "base/textfile.h"
#include "quotes/BourseData.h"
#include "quotes/TBourse.h"

#include <QFileInfo>

void PortfolioCommands::Charge(const QString &path)
{
    m_data.settings().portfolioPath = path;
    m_data.portfolio() = readLines(path);
    m_doc.setWindowTitle(QFileInfo(path).fileName());
    m_data.setPortfolioModified(false);
}

bool PortfolioCommands::FormCloseQuery()
{
    if (!m_data.portfolioModified() || m_data.portfolio().isEmpty()) return true;
    const auto answer =
        Prompts::get().question(&m_doc, QStringLiteral("Enregistrer le portefeuille ?"), true);
    if (answer == Prompts::Cancel) return false;
    if (answer == Prompts::Yes) {
        try {
            writeLines(m_data.portfolioPath(), m_data.portfolio());
        } catch (const VError &e) {
            Prompts::get().error(&m_doc, e.message());
            return false;
        }
        m_data.setPortfolioModified(false);
    }
    return true;
}

// The portfolio dialogs, journal, valuation, fees and distribution come with
// their windows; until then these commands do nothing.
void PortfolioCommands::Nouveau() {}
void PortfolioCommands::Ouvrir() {}
void PortfolioCommands::Sauver() {}
void PortfolioCommands::SaveAs() {}
void PortfolioCommands::Achat() {}
void PortfolioCommands::Vente() {}
void PortfolioCommands::Echange() {}
void PortfolioCommands::Dividendes() {}
void PortfolioCommands::Operations() {}
void PortfolioCommands::Portefeuille() {}
void PortfolioCommands::FraisBourse() {}
void PortfolioCommands::Repartition() {}
