#pragma once
// The window titled "Totals": a table with the columns File, Records, Members, Not
// counted, Out of format and Masterpoints ("Masterpoints 1" and "Masterpoints 2" when
// any file has two figures); one row per file in the order given, then one sum row per
// colour ("All GLD", "All RED", ...; points of different colours are never added
// together), its Members the distinct numbers over that colour's files. A file that
// could not be read shows its error in place of numbers; a one-figure file or colour
// leaves the second Masterpoints empty. A Masterpoints cell that takes in lines out of
// format is marked as the viewer marks its totals: shaded, the tool tip saying what
// those lines add (outOfFormatNote).
//
// Counts are grouped as the user's locale groups them; masterpoints are shown exactly
// (pointsText). Ctrl+C copies the whole table, headers first, as tab-separated text,
// rows joined by "\n". Esc and Ctrl+W close the window.
//
// A top-level window belonging to its owner: closing it only hides it. It is laid out
// by the user's font and its table grows with it. Its size and place are kept in the
// settings store under "TotalsWindow": restored when it is first shown, stored when it
// is hidden or the program ends; a store that cannot be written is logged, never
// shown. Each showing enlarges it, within the screen, until the table fits.

#include "app/TotalsView.h"
#include "widgets/WindowGeometry.h"

#include <QStringList>
#include <QWidget>

class QLocale;
class QTableWidget;
class SettingsStore;

class TotalsWindow : public QWidget, public TotalsView {
    Q_OBJECT
public:
    TotalsWindow(QWidget* owner, SettingsStore& store);

    void showTotals(const mp::TickedTotals& totals) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void addRow(const QStringList& cells, bool isError, bool isSum);
    // Marks the Masterpoints cells of the last row added when summary has lines out of
    // format.
    void markOutOfFormat(const mp::FileSummary& summary, bool twoFigures, const QLocale& locale);
    // What Ctrl+C copies.
    QString tableText() const;
    // Grows the window until the table fits, up to three quarters of the screen.
    void fitTable();

    WindowGeometry geometry_;
    bool restored_ = false;
    QTableWidget* table_;
};
