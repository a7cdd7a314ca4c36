#pragma once

#include "quotes/shownlines.h"

#include <QList>
#include <QString>

#include <functional>

class QComboBox;
class QFrame;
class QObject;
class QTableView;
class QWidget;
class QuoteListModel;

// The pieces the document window's pages are built from.
namespace pagekit
{

// The raised strip at the top of a page: the page's list, then its caption.
QFrame *headerStrip(QWidget *page, const QString &caption, QComboBox *combo);

// The page's layout: the header strip with its caption and list above the
// page's body, which takes the rest.
void layoutPage(QWidget *page, const QString &caption, QComboBox *combo, QWidget *body);

// Runs `command` (through the error box) when Delete is pressed in `list`.
void onDeleteKey(QTableView *list, std::function<void()> command);

// "Sélectionner tout" (Ctrl+A) in a text field of a page (the month or
// security list): selects the field's text and returns true; false when no
// field has the focus, the list's rows being then selected.
bool selectFieldText();

// An editable drop-down list of the pages ("ComboBox1"...), `width` wide.
QComboBox *pageCombo(QWidget *page, const QString &objectName, int width);

// Shows a text in an editable list with the matching entry current: an entry
// current under another text would be chosen by the list when it loses the
// focus, refilling the view behind the user's back. `entry` -2: the entry of
// that text.
void showText(QComboBox *combo, const QString &text, int entry = -2);

// A quotation list ("ListView1", "ListView2") over its model: whole rows,
// several selected, 17-pixel rows, the selection visible without the focus.
QTableView *quoteList(QuoteListModel *model, const QString &objectName);

// Which rows of a list are selected (whole rows), their numbers ascending,
// and their lines with their store positions.
QList<bool> selectedFlags(const QTableView *list);
QList<int> selectedRows(const QTableView *list);
QList<ShownLine> selectedLines(const QTableView *list);

} // namespace pagekit
