#pragma once

class QDialog;

// The help pages of the chart windows (the "contexte" of their page in
// Valmeq.hlp).
constexpr int kHelpIndicators = 11; // "Paramètres" and the indicator windows
constexpr int kHelpStatistics = 12; // "Statistiques" and "Hit parade"

// F1 anywhere in `dialog` opens the help on the page of `context`, in
// place of the contents the other windows get.
void helpOnF1(QDialog *dialog, int context);
