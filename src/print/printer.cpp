// Needs Qt Print Support, hence a capitalised file in the windows library.
#include "print/printer.h"

#include <QCoreApplication>
#include <QPrinter>

namespace
{
QPrinter *gPrinter = nullptr;

void releasePrinter()
{
    delete gPrinter;
    gPrinter = nullptr;
}
} // namespace

QPrinter &sharedPrinter()
{
    if (!gPrinter) {
        gPrinter = new QPrinter(QPrinter::HighResolution);
        qAddPostRoutine(releasePrinter);
    }
    return *gPrinter;
}
