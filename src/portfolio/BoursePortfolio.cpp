// Portfolio commands of the document window.
#include "quotes/TBourse.h"

#include "base/Prompts.h"
#include "base/errors.h"
#include "base/textfile.h"

#include <QFileInfo>

void TBourse::Charge(const QString &path)
{
    m_settings.portfolioPath = path;
    m_portfolio = readLines(path);
    setWindowTitle(QFileInfo(path).fileName());
    m_portfolioModified = false;
    emit portfolioOpened();
}

bool TBourse::FormCloseQuery()
{
    if (!m_portfolioModified || m_portfolio.isEmpty()) return true;
    const auto answer =
        Prompts::get().question(this, QStringLiteral("Enregistrer le portefeuille ?"), true);
    if (answer == Prompts::Cancel) return false;
    if (answer == Prompts::Yes) {
        try {
            writeLines(m_settings.portfolioPath, m_portfolio);
        } catch (const VError &e) {
            Prompts::get().error(this, e.message());
            return false;
        }
        m_portfolioModified = false;
    }
    return true;
}

// The portfolio dialogs, journal, valuation, fees and distribution come with
// their windows; until then these commands do nothing.
void TBourse::Nouveau() {}
void TBourse::Ouvrir() {}
void TBourse::Sauver() {}
void TBourse::SaveAs() {}
void TBourse::Achat() {}
void TBourse::Vente() {}
void TBourse::Echange() {}
void TBourse::Dividendes() {}
void TBourse::Operations() {}
void TBourse::Portefeuille() {}
void TBourse::FraisBourse() {}
void TBourse::Repartition() {}
