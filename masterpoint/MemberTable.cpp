#include "masterpoint/MemberTable.h"

#include "masterpoint/FileKind.h"
#include "masterpoint/LinesTable.h"
#include "masterpoint/Record.h"
#include "masterpoint/WholeNumber.h"

#include <algorithm>

namespace mp {

namespace {

constexpr std::size_t kFileColumn = 0;
constexpr std::size_t kLineColumn = 1;

Cell pointsCell(std::string text, std::string_view figure) {
    Cell cell;
    cell.text = std::move(text);
    cell.kind = CellKind::Points;
    cell.isNumber = parseWholeNumber(figure, cell.value);
    return cell;
}

Cell sumCell(std::int64_t hundredths) {
    Cell cell;
    cell.text = plainPoints(hundredths);
    cell.kind = CellKind::Points;
    cell.isNumber = true;
    cell.value = hundredths;
    return cell;
}

int kindOrder(const std::string& colour) {
    const int code = kindOfColourExtension("." + colour);
    return code != 0 ? code : 6;
}

} // namespace

MemberTable::MemberTable(const MemberIndex& index, std::uint32_t member)
    : index_(index), member_(member), twoFigures_(index.anyTwoFigures()),
      lines_(index.linesOf(member)) {
    std::vector<bool> holds(index.files().size(), false);
    for (const MemberIndex::Line* line : lines_) {
        const MemberIndex::File& file = index.files()[line->file];
        holds[line->file] = true;
        auto sum = std::find_if(sums_.begin(), sums_.end(),
                                [&](const Sum& s) { return s.colour == file.colour; });
        if (sum == sums_.end())
            sum = sums_.insert(sums_.end(), Sum{file.colour, false, 0, 0});
        sum->twoFigures = sum->twoFigures || file.twoFigures;
        Totals totals;
        totals.add(line->text(), file.twoFigures);
        sum->first += totals.first;
        sum->second += totals.second;
    }
    filesWithMember_ = std::size_t(std::count(holds.begin(), holds.end(), true));
    std::stable_sort(sums_.begin(), sums_.end(), [](const Sum& a, const Sum& b) {
        return kindOrder(a.colour) < kindOrder(b.colour);
    });
}

std::string MemberTable::columnTitle(std::size_t column) const {
    switch (column) {
    case kFileColumn:
        return "File";
    case kLineColumn:
        return "Line";
    case 2:
        return twoFigures_ ? "Masterpoints 1" : "Masterpoints";
    default:
        return "Masterpoints 2";
    }
}

const MemberIndex::File& MemberTable::fileOf(std::size_t row) const {
    return index_.files()[lines_[row]->file];
}

Cell MemberTable::cell(std::size_t row, std::size_t column) const {
    const MemberIndex::Line& line = *lines_[row];
    const MemberIndex::File& file = index_.files()[line.file];
    Cell cell;
    if (column == kFileColumn) {
        cell.text = file.entry.displayText;
        cell.coding = CellCoding::NameBytes;
        return cell;
    }
    if (column == kLineColumn) {
        cell.kind = CellKind::Count;
        cell.value = std::int64_t(line.line + 1);
        cell.isNumber = true;
        cell.text = std::to_string(line.line + 1);
        return cell;
    }
    const bool second = column == 3;
    if (second && !file.twoFigures)
        return cell;
    const std::string_view text = line.text();
    cell = second ? pointsCell(secondFigureCell(text), secondFigureText(text))
                  : pointsCell(firstFigureCell(text), firstFigureText(text));
    // A figure is a number when the totals count it, so the numbers sum to the foot: the
    // second counts only beside a first that does.
    if (second && cell.isNumber) {
        std::int64_t first = 0;
        cell.isNumber = parseWholeNumber(firstFigureText(text), first);
    }
    cell.mark = markText(line.marks[second ? 2 : 1], file.twoFigures);
    return cell;
}

Cell MemberTable::footCell(std::size_t row, std::size_t column) const {
    const Sum& sum = sums_[row];
    Cell cell;
    if (column == kFileColumn)
        cell.text = "All " + sum.colour;
    else if (column == 2)
        cell = sumCell(sum.first);
    else if (column == 3 && sum.twoFigures)
        cell = sumCell(sum.second);
    return cell;
}

} // namespace mp
