#include "masterpoint/Record.h"

#include "masterpoint/WholeNumber.h"

namespace mp {

namespace {

// Characters [from, from + count) of the line, 0-based; fewer or none when it is short.
std::string_view cut(std::string_view line, std::size_t from, std::size_t count) {
    return from < line.size() ? line.substr(from, count) : std::string_view();
}

std::string figureCell(std::string_view line, std::size_t from) {
    std::string cell(cut(line, from, 4));
    cell += '.';
    cell += cut(line, from + 4, 2);
    return cell;
}

} // namespace

std::string memberCell(std::string_view line) {
    const std::string_view member = cut(line, 0, 7);
    return member.empty() ? std::string(" ") : std::string(member);
}

std::string firstFigureCell(std::string_view line) {
    return figureCell(line, 7);
}
std::string secondFigureCell(std::string_view line) {
    return figureCell(line, 13);
}

std::string_view firstFigureText(std::string_view line) {
    return cut(line, 7, 6);
}
std::string_view secondFigureText(std::string_view line) {
    return cut(line, 13, 6);
}

void Totals::add(std::string_view line, bool twoFigures) {
    std::int64_t value = 0;
    if (!parseWholeNumber(firstFigureText(line), value)) {
        return;
    }
    first += value;
    if (twoFigures && parseWholeNumber(secondFigureText(line), value)) {
        second += value;
    }
}

} // namespace mp
