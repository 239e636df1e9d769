#include "masterpoint/TotalsTable.h"

#include "masterpoint/LinesTable.h"

namespace mp {

namespace {

constexpr std::size_t kFirstPoints = 5;

Cell nameCell(const std::string& bytes) {
    Cell cell;
    cell.text = bytes;
    cell.coding = CellCoding::NameBytes;
    return cell;
}

Cell countCell(std::uint64_t count) {
    Cell cell;
    cell.text = std::to_string(count);
    cell.kind = CellKind::Count;
    cell.isNumber = true;
    cell.value = static_cast<std::int64_t>(count);
    return cell;
}

} // namespace

TotalsTable::TotalsTable(TickedTotals totals)
    : totals_(std::move(totals)), twoFigures_(totals_.anyTwoFigures()) {}

std::string TotalsTable::columnTitle(std::size_t column) const {
    static const char* const titles[] = {"File", "Records", "Members", "Not counted",
                                         "Out of format"};
    if (column < kFirstPoints)
        return titles[column];
    if (!twoFigures_)
        return "Masterpoints";
    return column == kFirstPoints ? "Masterpoints 1" : "Masterpoints 2";
}

Cell TotalsTable::summaryCell(const FileSummary& summary, bool twoFigures,
                              std::size_t column) const {
    switch (column) {
    case 1:
        return countCell(summary.records);
    case 2:
        return countCell(summary.members);
    case 3:
        return countCell(summary.notCounted);
    case 4:
        return countCell(summary.outOfFormat);
    default:
        break;
    }
    const bool first = column == kFirstPoints;
    Cell cell;
    cell.kind = CellKind::Points;
    if (!first && !twoFigures)
        return cell; // no second figure: empty, not a number
    const std::int64_t value = first ? summary.totals.first : summary.totals.second;
    cell.text = plainPoints(value);
    cell.isNumber = true;
    cell.value = value;
    cell.mark = outOfFormatMark(summary.outOfFormat, first ? summary.outOfFormatTotals.first
                                                           : summary.outOfFormatTotals.second);
    return cell;
}

Cell TotalsTable::cell(std::size_t row, std::size_t column) const {
    const TickedTotals::Row& file = totals_.rows[row];
    if (column == 0)
        return nameCell(file.displayText);
    if (!file.error.empty())
        return column == 1 ? nameCell(file.error) : Cell{};
    return summaryCell(file.summary, file.twoFigures, column);
}

Cell TotalsTable::footCell(std::size_t row, std::size_t column) const {
    const TickedTotals::ColourSum& sum = totals_.colours[row];
    if (column == 0)
        return nameCell("All " + sum.colour);
    return summaryCell(sum.summary, sum.twoFigures, column);
}

std::size_t TotalsTable::cellSpan(std::size_t row, std::size_t column) const {
    if (column == 1 && !totals_.rows[row].error.empty())
        return columnCount() - 1;
    return 1;
}

} // namespace mp
