#pragma once

class QPrinter;

// The printer of the program: chosen with "Configuration imprimante..." and
// used by every printed list, chart and page afterwards. Created on first
// use, released when the application ends.
QPrinter &sharedPrinter();
