#pragma once
// A viewer's file as a table: one body row per line, the member number ("Kavra No.")
// and the one or two figures ("Masterpoints") cut from it by position, each cell made
// when asked for; one foot row, "Total", with the column sums (Totals::add). A figure
// is a number when the totals count it, so the figures that are numbers sum to the
// Total exactly.
//
// A cell that checkLine marks carries the reason as its mark: "Not a number: not
// counted in the total", "Not a 13-digit record" (19 with two figures) on the member
// number, "Counted in the total, but this line is not a 13-digit record". A Total that
// takes in lines out of format is marked "Includes 7000.60 from 1 line out of format"
// ("lines" for more). The table reads every line once when it is made: the summary of
// the status line and which rows hold a mark; cells hold the file's bytes.

#include "masterpoint/FileSummary.h"
#include "masterpoint/LineList.h"
#include "masterpoint/Table.h"

#include <vector>

namespace mp {

class LinesTable : public Table {
public:
    LinesTable(LineList lines, bool twoFigures);

    std::size_t columnCount() const override { return twoFigures_ ? 3 : 2; }
    std::string columnTitle(std::size_t column) const override;
    std::size_t rowCount() const override { return lines_.size(); }
    Cell cell(std::size_t row, std::size_t column) const override;
    std::size_t footCount() const override { return 1; }
    Cell footCell(std::size_t row, std::size_t column) const override;
    std::string keyText(std::size_t row) const override;

    bool twoFigures() const { return twoFigures_; }
    const LineList& lines() const { return lines_; }
    // Records, lines not counted, lines out of format and what they add, the totals
    // (members are not counted here).
    const FileSummary& summary() const { return summary_; }
    // The rows that hold a mark, ascending.
    const std::vector<std::size_t>& markedRows() const { return markedRows_; }
    bool isMarked(std::size_t row) const;
    // The mark of each cell of row (CellMark::None beyond the columns).
    LineCheck check(std::size_t row) const;

private:
    LineList lines_;
    bool twoFigures_;
    FileSummary summary_;
    std::vector<std::size_t> markedRows_;
};

// Hundredths as a plain decimal with two places and "." ("3.00", "-0.05", "7000.60"),
// as a CSV cell or a note in the core writes a figure.
std::string plainPoints(std::int64_t hundredths);

// Why a cell of a line is marked, as its tool tip says it, wherever the line is shown;
// empty for CellMark::None.
std::string markText(CellMark mark, bool twoFigures);

// "Includes 7000.60 from 1 line out of format" ("lines" for more); empty for none.
std::string outOfFormatMark(std::uint64_t lines, std::int64_t hundredths);

} // namespace mp
