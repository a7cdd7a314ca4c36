#include "help/HelpBrowser.h"

#include <QImage>
#include <QTextDocument>

namespace
{

// The browser's document. A QTextDocument whose owner gives it no resource
// reads a local file of that name itself: this one asks its browser only.
class HelpDocument : public QTextDocument
{
public:
    explicit HelpDocument(HelpBrowser *browser) : QTextDocument(browser), m_browser(browser) {}

protected:
    QVariant loadResource(int type, const QUrl &name) override
    {
        return m_browser->loadResource(type, name);
    }

private:
    HelpBrowser *m_browser;
};

} // namespace

HelpBrowser::HelpBrowser(QWidget *parent) : QTextBrowser(parent)
{
    setDocument(new HelpDocument(this));
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

QVariant HelpBrowser::loadResource(int type, const QUrl &)
{
    if (type != QTextDocument::ImageResource) return {};
    QImage blank(1, 1, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    return blank;
}
