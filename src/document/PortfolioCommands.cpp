#include "document/PortfolioCommands.h"

#include "base/BusyCursor.h"
#include "base/Prompts.h"
#include "base/errors.h"
#include "base/textfile.h"
#include "document/TBourse.h"
#include "portfolio/TEchan.h"
#include "portfolio/TFrais.h"
#include "portfolio/TJnl.h"
#include "portfolio/TOperation.h"
#include "portfolio/TPortef.h"
#include "portfolio/TRepart.h"
#include "portfolio/portfolio.h"
#include "quotes/BourseData.h"
#include "quotes/maintenance.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

namespace
{

const QString kQuestion = QStringLiteral("Enregistrer le portefeuille ?");

} // namespace

void PortfolioCommands::setCaption()
{
    m_doc.setWindowTitle(QFileInfo(m_data.portfolioPath()).fileName());
}

bool PortfolioCommands::write(const QString &path)
{
    try {
        m_data.savePortfolio(path);
    } catch (const VError &e) {
        Prompts::get().error(&m_doc, e.message());
        return false;
    }
    return true;
}

bool PortfolioCommands::save()
{
    if (!m_data.portfolioWritable()) return saveAs();
    return write(m_data.portfolioPath());
}

bool PortfolioCommands::offerToSave()
{
    // Nothing to lose after a save: no question.
    if (!m_data.portfolioModified()) return true;
    switch (Prompts::get().question(&m_doc, kQuestion, true)) {
    case Prompts::Yes:
        return save();
    case Prompts::No:
        return true;
    default:
        return false;
    }
}

void PortfolioCommands::Nouveau()
{
    if (!offerToSave()) return;
    m_data.newPortfolio();
    setCaption();
}

void PortfolioCommands::Charge(const QString &path)
{
    // The caption names the file even when it cannot be read.
    const auto caption = qScopeGuard([this] { setCaption(); });
    m_data.loadPortfolio(path);
}

void PortfolioCommands::Ouvrir()
{
    if (!offerToSave()) return;
    const QString path = Prompts::get().openFileName(
        &m_doc, QStringLiteral("Ouvrir"), QFileInfo(m_data.resolvedPortfolioPath()).path(),
        QStringLiteral("Ffichiers portefeuille (*.ptf)"));
    if (path.isEmpty()) return;
    if (const QString refusal = ptf::pathRefusal(path); !refusal.isEmpty()) {
        Prompts::get().error(&m_doc, refusal);
        return;
    }
    Charge(path);
}

void PortfolioCommands::Sauver()
{
    if (!m_data.portfolioModified() || m_data.portfolio().isEmpty()) return;
    save();
}

void PortfolioCommands::SaveAs()
{
    saveAs();
}

bool PortfolioCommands::saveAs()
{
    const QString path = Prompts::get().saveFileName(
        &m_doc, QStringLiteral("Enregistrer sous"), m_data.resolvedPortfolioPath(),
        QStringLiteral("Fichiers portefeuille (*.ptf)"), QStringLiteral("ptf"));
    if (path.isEmpty()) return false;
    // A path the settings file could not remember is not taken.
    if (const QString refusal = ptf::pathRefusal(path); !refusal.isEmpty()) {
        Prompts::get().error(&m_doc, refusal);
        return false;
    }
    if (!write(path)) return false;
    setCaption();
    return true;
}

bool PortfolioCommands::FormCloseQuery()
{
    if (!m_data.portfolioModified() || m_data.portfolio().isEmpty()) return true;
    switch (Prompts::get().question(&m_doc, kQuestion, true)) {
    case Prompts::Yes:
        return save();
    case Prompts::No:
        return true;
    default:
        return false;
    }
}

void PortfolioCommands::append(const QString &kind, const QString &text)
{
    m_data.addOperations({kind + text});
}

void PortfolioCommands::operation(const QString &caption, const QString &kind)
{
    TOperation dialog(&m_doc);
    dialog.Init(caption, m_data.index(), m_data.currentSecurity());
    dialog.setPortfolio(m_data.portfolio(), kind[0]);
    Prompts::get().exec(&dialog);
    const QString text = dialog.Result();
    if (!text.isEmpty()) append(kind, text);
}

void PortfolioCommands::Achat()
{
    operation(QStringLiteral("Achat"), QStringLiteral("A"));
}

void PortfolioCommands::Vente()
{
    operation(QStringLiteral("Vente"), QStringLiteral("V"));
}

void PortfolioCommands::Dividendes()
{
    TDividende dialog(&m_doc);
    dialog.Init(m_data.index(), m_data.currentSecurity());
    dialog.setPortfolio(m_data.portfolio(), QLatin1Char('D'));
    Prompts::get().exec(&dialog);
    const QString text = dialog.Result();
    if (!text.isEmpty()) append(QStringLiteral("D"), text);
}

void PortfolioCommands::Echange()
{
    TEchan dialog(&m_doc);
    dialog.Init(QStringLiteral("Echange"), m_data.index(), m_data.currentSecurity(),
                m_data.store());
    dialog.setPortfolio(m_data.portfolio());
    Prompts::get().exec(&dialog);
    // A conversion error ends the command here: nothing is recorded.
    const auto [sale, purchase] = dialog.Result();
    if (sale.isEmpty()) return;
    m_data.addOperations({QStringLiteral("V") + sale, QStringLiteral("A") + purchase});
}

void PortfolioCommands::Operations()
{
    TJnl window(&m_doc);
    window.Init(m_data.portfolio(), m_data.index());
    tellUnreadable(window.unreadable());
    Prompts::get().exec(&window);
    QStringList changed;
    if (window.Result(&changed)) m_data.changePortfolio(changed);
}

void PortfolioCommands::FraisBourse()
{
    TFrais window(&m_doc);
    window.Init(m_data.portfolio(), m_data.index());
    tellUnreadable(window.unreadable());
    Prompts::get().exec(&window);
}

void PortfolioCommands::tellUnreadable(const QString &report)
{
    if (!report.isEmpty()) Prompts::get().information(&m_doc, report);
}

void PortfolioCommands::sortStore()
{
    if (m_data.inValuationOrder()) return;
    if (!maintenance::sortedIgnoringCase(m_data.store()))
        m_data.changeWithKeys(BourseData::Change::PortfolioSort,
                              [](QuoteLines &store, const maintenance::KeysOfSorted &keys,
                                 maintenance::Reordered *reordered) {
                                  maintenance::sortIgnoringCase(store, 0, keys, reordered);
                              });
    m_data.setInValuationOrder();
}

template <class Window> void PortfolioCommands::showAtLatestPrices()
{
    Window window(&m_doc);
    {
        BusyCursor busy;
        sortStore();
        window.Init(m_data.portfolio(), m_data.index(), m_data.store());
    }
    tellUnreadable(window.unreadable());
    Prompts::get().exec(&window);
}

void PortfolioCommands::Portefeuille()
{
    showAtLatestPrices<TPortef>();
}

void PortfolioCommands::Repartition()
{
    showAtLatestPrices<TRepart>();
}
