#pragma once
// What the receiving side accepts of a line, and what the viewer's totals make of it.
//
// A record is exactly a seven-digit member number followed by one six-digit figure, or
// two in a two-figure file: 13 or 19 characters, ASCII digits only. A line is checked
// cell by cell (member number, first figure, second figure):
//
// - a figure that the totals read as no number at all (Totals::add's reading rules, so
//   an empty figure of a short or blank line too) is marked NotANumber, and the line
//   counts as not counted: that figure adds nothing;
// - a line with no such figure that still departs from the format is marked
//   NotARecord once, on the cell where it first departs: the first character that is
//   not a digit, or for a line too short or too long the cell where the record should
//   have ended or went on (the last figure cell for a line too long). Its figures may
//   still count;
// - any other line is a record and has no mark.

#include <array>
#include <cstdint>
#include <string_view>

namespace mp {

enum class CellMark : std::uint8_t { None, NotANumber, NotARecord };

struct LineCheck {
    // Member number, first figure, second figure (None in a one-figure file).
    std::array<CellMark, 3> cells{};
    // Some figure adds nothing to its total because it is not a number.
    bool notCounted = false;

    bool marked() const {
        return cells[0] != CellMark::None || cells[1] != CellMark::None ||
               cells[2] != CellMark::None;
    }
};

LineCheck checkLine(std::string_view line, bool twoFigures);

} // namespace mp
