#include "masterpoint/RecordCheck.h"

#include "masterpoint/Record.h"
#include "masterpoint/WholeNumber.h"

namespace mp {

namespace {

constexpr std::size_t kMemberLength = 7;
constexpr std::size_t kFigureLength = 6;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isNumber(std::string_view figure) {
    std::int64_t ignored = 0;
    return parseWholeNumber(figure, ignored);
}

} // namespace

LineCheck checkLine(std::string_view line, bool twoFigures) {
    LineCheck check;
    const std::size_t length = kMemberLength + kFigureLength * (twoFigures ? 2 : 1);
    // The usual line, a record, costs one pass over its characters.
    std::size_t position = 0;
    const std::size_t end = line.size() < length ? line.size() : length;
    while (position < end && isDigit(line[position])) {
        ++position;
    }
    if (position == length && line.size() == length) {
        return check;
    }
    // The totals add the second figure only after the first (Totals::add).
    const bool firstCounted = isNumber(firstFigureText(line));
    const bool secondNumber = !twoFigures || isNumber(secondFigureText(line));
    if (!firstCounted) {
        check.cells[1] = CellMark::NotANumber;
    } else {
        check.cells[1] = CellMark::Counted;
        if (twoFigures && secondNumber) {
            check.cells[2] = CellMark::Counted;
        }
    }
    if (!secondNumber) {
        check.cells[2] = CellMark::NotANumber;
    }
    check.notCounted = !firstCounted || !secondNumber;
    check.outOfFormat = firstCounted;
    // Where every figure counts, each is marked Counted already; a line that departs
    // within the member number gets a mark there too.
    if (!check.notCounted && position < kMemberLength) {
        check.cells[0] = CellMark::NotARecord;
    }
    return check;
}

} // namespace mp
