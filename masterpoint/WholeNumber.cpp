#include "masterpoint/WholeNumber.h"

#include <limits>

namespace mp {

namespace {

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') {
        v = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        v = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        v = c - 'A' + 10;
    }
    return v < base ? v : -1;
}

// Accumulates the magnitude as unsigned so that the most negative value still fits.
bool parseDigits(std::string_view digits, int base, std::uint64_t limit, std::uint64_t& out) {
    if (digits.empty()) {
        return false;
    }
    std::uint64_t value = 0;
    for (char c : digits) {
        const int d = digitValue(c, base);
        if (d < 0 || value > (limit - static_cast<unsigned>(d)) / static_cast<unsigned>(base)) {
            return false;
        }
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    }
    out = value;
    return true;
}

} // namespace

bool parseWholeNumber(std::string_view text, std::int64_t& value) {
    // A figure as the scoring program writes it is decimal digits only; the viewer reads
    // two per record, so they take a short way. Eighteen digits cannot overflow.
    if (!text.empty() && text.size() <= 18) {
        std::uint64_t digits = 0;
        std::size_t i = 0;
        for (; i < text.size(); ++i) {
            const unsigned d = static_cast<unsigned char>(text[i]) - unsigned{'0'};
            if (d > 9) {
                break;
            }
            digits = digits * 10 + d;
        }
        if (i == text.size()) {
            value = static_cast<std::int64_t>(digits);
            return true;
        }
    }
    const std::uint64_t maxPositive = std::numeric_limits<std::int64_t>::max();
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return false;
    }
    text.remove_prefix(start);

    std::uint64_t magnitude = 0;
    std::size_t hexPrefix = 0;
    if (text[0] == '$' || text[0] == 'x' || text[0] == 'X') {
        hexPrefix = 1;
    } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hexPrefix = 2;
    }
    if (hexPrefix != 0) {
        if (!parseDigits(text.substr(hexPrefix), 16, maxPositive, magnitude)) {
            return false;
        }
        value = static_cast<std::int64_t>(magnitude);
        return true;
    }

    const bool negative = text[0] == '-';
    if (negative || text[0] == '+') {
        text.remove_prefix(1);
    }
    if (!parseDigits(text, 10, maxPositive + (negative ? 1 : 0), magnitude)) {
        return false;
    }
    value =
        negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

} // namespace mp
