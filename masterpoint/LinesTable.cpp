#include "masterpoint/LinesTable.h"

#include "masterpoint/Record.h"
#include "masterpoint/WholeNumber.h"

#include <algorithm>

namespace mp {

namespace {

Cell pointsCell(std::int64_t hundredths, std::string mark) {
    Cell cell;
    cell.text = plainPoints(hundredths);
    cell.kind = CellKind::Points;
    cell.isNumber = true;
    cell.value = hundredths;
    cell.mark = std::move(mark);
    return cell;
}

} // namespace

std::string markText(CellMark mark, bool twoFigures) {
    const std::string record = twoFigures ? "19-digit record" : "13-digit record";
    switch (mark) {
    case CellMark::NotANumber:
        return "Not a number: not counted in the total";
    case CellMark::NotARecord:
        return "Not a " + record;
    case CellMark::Counted:
        return "Counted in the total, but this line is not a " + record;
    case CellMark::None:
        break;
    }
    return {};
}

std::string plainPoints(std::int64_t hundredths) {
    // In unsigned arithmetic: the most negative sum has no positive twin.
    const bool negative = hundredths < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(hundredths)
                                             : static_cast<std::uint64_t>(hundredths);
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / 100);
    text += '.';
    text += char('0' + magnitude % 100 / 10);
    text += char('0' + magnitude % 10);
    return text;
}

std::string outOfFormatMark(std::uint64_t lines, std::int64_t hundredths) {
    if (lines == 0)
        return {};
    return "Includes " + plainPoints(hundredths) + " from " + std::to_string(lines) +
           (lines == 1 ? " line" : " lines") + " out of format";
}

LinesTable::LinesTable(LineList lines, bool twoFigures)
    : lines_(std::move(lines)), twoFigures_(twoFigures) {
    for (std::size_t row = 0; row < lines_.size(); ++row)
        if (summary_.add(lines_.line(row), twoFigures_).marked())
            markedRows_.push_back(row);
}

std::string LinesTable::columnTitle(std::size_t column) const {
    return column == 0 ? "Kavra No." : "Masterpoints";
}

bool LinesTable::isMarked(std::size_t row) const {
    return std::binary_search(markedRows_.begin(), markedRows_.end(), row);
}

LineCheck LinesTable::check(std::size_t row) const {
    return isMarked(row) ? checkLine(lines_.line(row), twoFigures_) : LineCheck{};
}

std::string LinesTable::keyText(std::size_t row) const {
    return memberCell(lines_.line(row));
}

Cell LinesTable::cell(std::size_t row, std::size_t column) const {
    const std::string_view line = lines_.line(row);
    Cell cell;
    if (column == 0) {
        cell.text = memberCell(line);
    } else {
        cell.kind = CellKind::Points;
        cell.text = column == 1 ? firstFigureCell(line) : secondFigureCell(line);
        // A number exactly when the totals count it: the second figure only beside a
        // first that is one.
        std::int64_t first = 0;
        const bool firstIsNumber = parseWholeNumber(firstFigureText(line), first);
        if (column == 1) {
            cell.isNumber = firstIsNumber;
            cell.value = firstIsNumber ? first : 0;
        } else {
            std::int64_t second = 0;
            cell.isNumber = firstIsNumber && parseWholeNumber(secondFigureText(line), second);
            cell.value = cell.isNumber ? second : 0;
        }
    }
    if (column < 3 && isMarked(row))
        cell.mark = markText(checkLine(line, twoFigures_).cells[column], twoFigures_);
    return cell;
}

Cell LinesTable::footCell(std::size_t /*row*/, std::size_t column) const {
    if (column == 0) {
        Cell cell;
        cell.text = "Total";
        return cell;
    }
    const bool first = column == 1;
    return pointsCell(
        first ? summary_.totals.first : summary_.totals.second,
        outOfFormatMark(summary_.outOfFormat, first ? summary_.outOfFormatTotals.first
                                                    : summary_.outOfFormatTotals.second));
}

} // namespace mp
