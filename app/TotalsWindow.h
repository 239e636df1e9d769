#pragma once
// The window titled "Totals": a table with the columns File, Records, Members, Not
// counted and Masterpoints, and a second Masterpoints when any file has two figures;
// one row per file in the order given, then "All files" with the sums (its Members the
// distinct numbers over all the files). A file that could not be read shows its error
// in place of numbers; a one-figure file leaves the second Masterpoints empty.
//
// Counts are grouped as the user's locale groups them; masterpoints are shown exactly,
// from hundredths, with two decimals and the locale's decimal symbol. Ctrl+C copies
// the whole table, headers first, as tab-separated text, rows joined by "\n".
//
// A top-level window belonging to its owner: closing it only hides it.

#include "app/TotalsView.h"

#include <QStringList>
#include <QWidget>
#include <cstdint>

class QLocale;
class QTableWidget;

class TotalsWindow : public QWidget, public TotalsView {
    Q_OBJECT
public:
    explicit TotalsWindow(QWidget* owner);

    void showTotals(const mp::TickedTotals& totals) override;

    QTableWidget* table() const { return table_; }
    // What Ctrl+C copies.
    QString tableText() const;

    // hundredths as points: "1,234.50" in English, "-0.05" below zero.
    static QString pointsText(std::int64_t hundredths, const QLocale& locale);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addRow(const QStringList& cells, bool isError, bool isSum);
    // Sizes the window to the table, up to three quarters of the screen.
    void fitTable();

    QTableWidget* table_;
};
