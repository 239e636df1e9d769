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
// - on a line that is not a record, every figure that the totals still add (Totals::add:
//   the first when it is a number, the second when both are) is marked Counted, and the
//   line is out of format: its figures are in the total although the line does not
//   have the record's shape, so they may not be what the scoring program meant. A line
//   can be both not counted and out of format (a good first figure beside a bad second);
//   a line whose figures all fail adds nothing and is only not counted;
// - a line with no NotANumber figure whose first departure from the format (the first
//   character that is not a digit, or where a line too short ends) lies in the member
//   number is also marked NotARecord, on the member number's cell;
// - any other line is a record and has no mark.

#include <array>
#include <cstdint>
#include <string_view>

namespace mp {

enum class CellMark : std::uint8_t { None, NotANumber, NotARecord, Counted };

struct LineCheck {
    // Member number, first figure, second figure (None in a one-figure file).
    std::array<CellMark, 3> cells{};
    // Some figure adds nothing to its total because it is not a number.
    bool notCounted = false;
    // The line is not a record, yet some figure of it adds to a total.
    bool outOfFormat = false;

    bool marked() const {
        return cells[0] != CellMark::None || cells[1] != CellMark::None ||
               cells[2] != CellMark::None;
    }
};

LineCheck checkLine(std::string_view line, bool twoFigures);

} // namespace mp
