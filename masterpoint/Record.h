#pragma once
// The fixed-position record of a masterpoint file: member number at characters 1-7,
// first figure 8-13, second figure 14-19, figures in hundredths. Characters after 19
// are never read. A short line gives what it has at each position.

#include <cstdint>
#include <string>
#include <string_view>

namespace mp {

// Characters 1-7, or a single space when the line has none.
std::string memberCell(std::string_view line);
// Characters 8-11, ".", characters 12-13 (for example "0012.50"; "." for a 7-byte line).
std::string firstFigureCell(std::string_view line);
// Characters 14-17, ".", characters 18-19.
std::string secondFigureCell(std::string_view line);

// Characters 8-13 / 14-19 (fewer when the line is shorter).
std::string_view firstFigureText(std::string_view line);
std::string_view secondFigureText(std::string_view line);

// Column totals in hundredths. Wide enough that no file can overflow them.
struct Totals {
    std::int64_t first = 0;
    std::int64_t second = 0;

    // Adds one record as one guarded unit: the first figure, then (two-figure files)
    // the second. A figure that is not a number ends the unit for this line, so a bad
    // first figure leaves both sums alone and a bad second one keeps the first added.
    void add(std::string_view line, bool twoFigures);
};

} // namespace mp
