#pragma once
// The totals of the ticked files as a table: the columns File, Records, Members, Not
// counted, Out of format and Masterpoints ("Masterpoints 1" and "Masterpoints 2" when
// any file has two figures); one body row per file, in the order given, and one foot
// row per colour ("All GLD", ...). A file that could not be read has its error in the
// Records cell, covering the rest of the row. A one-figure file or colour has an empty
// second Masterpoints, which is not a number. A Masterpoints cell that takes in lines
// out of format is marked with what those lines add (outOfFormatMark).
//
// The file names and errors are NameBytes; counts are Count cells, figures Points.

#include "masterpoint/Table.h"
#include "masterpoint/TickedTotals.h"

namespace mp {

class TotalsTable : public Table {
public:
    explicit TotalsTable(TickedTotals totals);

    std::size_t columnCount() const override { return twoFigures_ ? 7 : 6; }
    std::string columnTitle(std::size_t column) const override;
    std::size_t rowCount() const override { return totals_.rows.size(); }
    Cell cell(std::size_t row, std::size_t column) const override;
    std::size_t footCount() const override { return totals_.colours.size(); }
    Cell footCell(std::size_t row, std::size_t column) const override;
    std::size_t cellSpan(std::size_t row, std::size_t column) const override;

    const TickedTotals& totals() const { return totals_; }

private:
    Cell summaryCell(const FileSummary& summary, bool twoFigures, std::size_t column) const;

    TickedTotals totals_;
    bool twoFigures_;
};

} // namespace mp
