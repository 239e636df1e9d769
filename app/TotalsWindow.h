#pragma once
// The window titled "Totals": the table of the ticked files (mp::TotalsTable) with the
// columns File, Records, Members, Not counted, Out of format and Masterpoints
// ("Masterpoints 1" and "Masterpoints 2" when any file has two figures); one row per
// file in the order given, then one sum row per colour ("All GLD", "All RED", ...;
// points of different colours are never added together), its Members the distinct
// numbers over that colour's files. A file that could not be read shows its error in
// place of numbers; a one-figure file or colour leaves the second Masterpoints empty.
// A Masterpoints cell that takes in lines out of format is marked as the viewer marks
// its cells: shaded, the tool tip saying what those lines add.
//
// Counts are grouped as the user's locale groups them; masterpoints are shown exactly
// (pointsText). A click on a column header sorts the file rows (TableGrid), the colour
// sums staying at the foot. Ctrl+C copies the whole table, headers first, as
// tab-separated text, rows joined by "\n". Ctrl+F opens the find bar, which finds file
// names holding the digits typed. "Save as CSV…" (Ctrl+S) in the File menu saves
// the table as shown (TableSaver) and says so in the status line; "Print…", "Print
// preview…" and "Save as PDF…" print it (PrintActions). Esc and Ctrl+W close
// the window.
//
// A top-level window belonging to its owner: closing it only hides it. It is laid out
// by the user's font and its table grows with it. Its size and place are kept in the
// settings store under "TotalsWindow": restored when it is first shown, stored when it
// is hidden or the program ends; a store that cannot be written is logged, never
// shown. Each showing enlarges it, within the screen, until the table fits.

#include "app/TotalsView.h"
#include "widgets/TableMenus.h"
#include "widgets/WindowGeometry.h"

#include <QWidget>

class FindBar;
class Prompts;
class QLabel;
class SettingsStore;
class TableGrid;
class TableModel;

class TotalsWindow : public QWidget, public TotalsView {
    Q_OBJECT
public:
    TotalsWindow(QWidget* owner, SettingsStore& store, Prompts& prompts);

    void showTotals(const mp::TickedTotals& totals) override;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    // An error's cell covers the numbers of its row, wherever the row now stands.
    void spanErrors();
    // Grows the window until the table fits, up to three quarters of the screen.
    void fitTable();
    void saveAsCsv();

    WindowGeometry geometry_;
    Prompts& prompts_;
    SettingsStore& store_;
    bool restored_ = false;
    TableGrid* table_;
    TableModel* model_ = nullptr;
    FindBar* findBar_;
    QLabel* statusLine_;
    // Printing's entries go into menus_.file before menus_.printPlace.
    TableMenus menus_;
    QString folder_; // where the files totalled are, for the head of printed pages
};
