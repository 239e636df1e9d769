// Record cells and column sums against a reading of the field positions of Record.h:
// member number at characters 1-7, first figure 8-13, second figure 14-19.
//
// Input: one byte of which bit 0 says two figures, then lines separated by LF (a line
// may hold any other byte, CR and NUL included).

#include "Reference.h"

#include "masterpoint/Record.h"

#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool twoFigures = (data[0] & 1) != 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);

    // Start from sums that are not zero: add() must add, not set.
    const std::int64_t start = static_cast<std::int8_t>(data[0]) * std::int64_t{1000003};
    mp::Totals totals{start, -start};
    ref::Sums sums{start, -start};
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = std::min(input.find('\n', from), input.size());
        const std::string_view line = input.substr(from, end - from);
        const std::string shown = ref::shown(line);

        const std::string member = mp::memberCell(line);
        REF_CHECK(member == ref::memberCell(line), shown + " member " + ref::shown(member));
        const std::string first = mp::firstFigureCell(line);
        REF_CHECK(first == ref::figureCell(line, 8), shown + " first cell " + ref::shown(first));
        const std::string second = mp::secondFigureCell(line);
        REF_CHECK(second == ref::figureCell(line, 14),
                  shown + " second cell " + ref::shown(second));
        REF_CHECK(mp::firstFigureText(line) == ref::figureText(line, 8), shown + " first text");
        REF_CHECK(mp::secondFigureText(line) == ref::figureText(line, 14), shown + " second text");
        // The texts are views into the line, not copies elsewhere.
        const std::string_view text = mp::firstFigureText(line);
        REF_CHECK(text.empty() || (text.data() >= line.data() &&
                                   text.data() + text.size() <= line.data() + line.size()),
                  shown + " first text lies outside the line");

        totals.add(line, twoFigures);
        ref::add(sums, line, twoFigures);
        REF_CHECK(totals.first == sums.first && totals.second == sums.second,
                  shown + (twoFigures ? " (two figures)" : " (one figure)") + " sums " +
                      std::to_string(totals.first) + "/" + std::to_string(totals.second) +
                      ", expected " + std::to_string(sums.first) + "/" +
                      std::to_string(sums.second));
        if (end == input.size()) {
            break;
        }
        from = end + 1;
    }
    return 0;
}
