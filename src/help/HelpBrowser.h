#pragma once

#include <QTextBrowser>

// The page of the help window. It shows only what the help file holds: no
// image, style sheet or page is ever read from a file, a device, a pipe or
// the network, and it never follows a link itself (the window shows the
// page a "#id" link names).
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget *parent = nullptr);

    // Nothing outside the help file is read: an image is a blank point (for
    // an image it is not given, the layout reads the file of that name
    // itself), anything else is empty.
    QVariant loadResource(int type, const QUrl &name) override;
};
