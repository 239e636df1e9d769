#pragma once
// Plain reference readings of the rules that the fuzz targets check, written from the
// words of the headers and the README rather than from the code under test: byte
// loops, no shortcuts, wide arithmetic where the code is careful about overflow.
//
// A failed check prints what was expected and what came, then aborts, so that
// libFuzzer keeps the input as a crash.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace ref {

// The bytes as C-style text: printable ASCII as itself, everything else escaped.
inline std::string shown(std::string_view bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u >= 0x20 && u < 0x7f) {
            out += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", u);
            out += escaped;
        }
    }
    return out + "\"";
}

[[noreturn]] inline void fail(const char* file, int line, const char* condition,
                              const std::string& detail) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n%s\n", file, line, condition, detail.c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace ref

// Checks a condition; detail (any expression giving a std::string) is built only when
// the check fails.
#define REF_CHECK(condition, detail)                                                               \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::ref::fail(__FILE__, __LINE__, #condition, (detail));                                 \
        }                                                                                          \
    } while (false)

namespace ref {

// ---- Lines -----------------------------------------------------------------------------

// A CR LF pair, a lone CR and a lone LF each end a line; a last line without an end
// counts; a line end at the very end adds no empty line; a NUL is a byte of its line.
inline std::vector<std::string> lines(std::string_view bytes) {
    std::vector<std::string> result;
    std::string current;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            result.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        result.push_back(current);
    }
    return result;
}

// The text before its first NUL, which the rewriter stops at, and the number from 1 of
// the line holding that NUL (0 when there is none): one more than the lines ended
// before it.
inline std::string_view beforeNul(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}
inline std::size_t lineOfNul(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    if (nul == std::string_view::npos) {
        return 0;
    }
    // A stand-in for the NUL keeps its line from being the empty one after a line end.
    return lines(std::string(bytes.substr(0, nul)) + "x").size();
}

// Every line followed by CR LF.
inline std::string crLfJoined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

// ---- Whole numbers ---------------------------------------------------------------------

inline int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Leading blanks, then either an optional "+"/"-" and decimal digits, or "$", "x"/"X"
// or "0x"/"0X" and hexadecimal digits, up to the end of the text; the value within the
// 64-bit range. Anything else is not a number.
inline bool wholeNumber(std::string_view text, std::int64_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    std::string_view rest = text.substr(i);
    if (rest.empty()) {
        return false;
    }
    unsigned base = 10;
    bool negative = false;
    if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') {
        base = 16;
        rest.remove_prefix(1);
    } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        base = 16;
        rest.remove_prefix(2);
    } else if (rest[0] == '+' || rest[0] == '-') {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty()) {
        return false;
    }
    using Wide = unsigned __int128;
    const Wide beyond = Wide{1} << 64; // any magnitude past the range, kept from growing
    Wide magnitude = 0;
    for (const char c : rest) {
        const int d = digitValue(c);
        if (d < 0 || static_cast<unsigned>(d) >= base) {
            return false;
        }
        magnitude = magnitude * base + static_cast<unsigned>(d);
        if (magnitude > beyond) {
            magnitude = beyond;
        }
    }
    const Wide limit = negative ? Wide{1} << 63 : (Wide{1} << 63) - 1;
    if (magnitude > limit) {
        return false;
    }
    const auto signedMagnitude = static_cast<__int128>(magnitude);
    value = static_cast<std::int64_t>(negative ? -signedMagnitude : signedMagnitude);
    return true;
}

// ---- Records ---------------------------------------------------------------------------

// The bytes of the line at 0-based positions [from, from + count) that it has.
inline std::string positions(std::string_view line, std::size_t from, std::size_t count) {
    std::string out;
    for (std::size_t i = from; i < from + count; ++i) {
        if (i < line.size()) {
            out += line[i];
        }
    }
    return out;
}

// Characters 1-7, or one blank when there are none.
inline std::string memberCell(std::string_view line) {
    const std::string member = positions(line, 0, 7);
    return member.empty() ? std::string(" ") : member;
}

// Characters first..first+3, ".", first+4..first+5 (1-based first: 8 or 14).
inline std::string figureCell(std::string_view line, std::size_t first) {
    return positions(line, first - 1, 4) + "." + positions(line, first + 3, 2);
}

inline std::string figureText(std::string_view line, std::size_t first) {
    return positions(line, first - 1, 6);
}

struct Sums {
    std::int64_t first = 0;
    std::int64_t second = 0;
};

// One record added: nothing when the first figure is no number; the second figure
// (two-figure files) only after a first that is one, and only when it is one itself.
inline void add(Sums& sums, std::string_view line, bool twoFigures) {
    std::int64_t value = 0;
    if (!wholeNumber(figureText(line, 8), value)) {
        return;
    }
    sums.first += value;
    if (twoFigures && wholeNumber(figureText(line, 14), value)) {
        sums.second += value;
    }
}

// What the grid marks on a line, cell by cell (member, first, second figure), '.' for
// none. A record (exactly 7 + 6 digits, or 7 + 6 + 6) has no mark. On any other line:
// 'N' for a figure that is no number; 'C' for a figure the totals add all the same (the
// first when it is a number, the second when both are); and, when no figure is 'N', 'R'
// where the line first departs from the format, unless that cell is 'C': a line that
// runs out of digits at the cell of its first other character, one that runs short or
// long where the record should have ended (its last figure, for a long one).
inline std::string marks(std::string_view line, bool twoFigures) {
    std::string marks = "...";
    const std::size_t length = twoFigures ? 19 : 13;
    std::size_t at = 0;
    while (at < line.size() && at < length && line[at] >= '0' && line[at] <= '9') {
        ++at;
    }
    if (at == length && line.size() == length) {
        return marks;
    }
    std::int64_t value = 0;
    const bool first = wholeNumber(figureText(line, 8), value);
    const bool second = !twoFigures || wholeNumber(figureText(line, 14), value);
    marks[1] = first ? 'C' : 'N';
    if (twoFigures) {
        marks[2] = !second ? 'N' : first ? 'C' : '.';
    }
    if (first && second) {
        char& departure = marks[at < 7 ? 0 : at < 13 || !twoFigures ? 1 : 2];
        if (departure == '.') {
            departure = 'R';
        }
    }
    return marks;
}

// ---- Names -----------------------------------------------------------------------------

// Kind n (1..5): extension ".MPn", colour extension, display suffix ".MPn(COLOUR)".
inline const char* colourOf(int code) {
    switch (code) {
    case 1:
        return ".GLD";
    case 2:
        return ".RED";
    case 3:
        return ".GRN";
    case 4:
        return ".GAR";
    case 5:
        return ".RAG";
    default:
        return nullptr;
    }
}

inline std::string upper(std::string_view text) {
    std::string out;
    for (const char c : text) {
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

// From the last "." to the end, unless a "/" comes after that dot (or there is none).
inline std::string extensionOf(const std::string& name) {
    for (std::size_t i = name.size(); i-- > 0;) {
        if (name[i] == '/') {
            return {};
        }
        if (name[i] == '.') {
            return name.substr(i);
        }
    }
    return {};
}

inline std::string stemOf(const std::string& name) {
    return name.substr(0, name.size() - extensionOf(name).size());
}

// ---- Totals ----------------------------------------------------------------------------

inline std::string rightJustified(std::string text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

// A sum in hundredths under the picture "######.##": exact integer arithmetic.
inline std::string totalText(std::int64_t hundredths, char point) {
    const bool negative = hundredths < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(hundredths)
                                             : static_cast<std::uint64_t>(hundredths);
    const std::uint64_t cents = magnitude % 100;
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / 100);
    text += point;
    text += static_cast<char>('0' + cents / 10);
    text += static_cast<char>('0' + cents % 10);
    return rightJustified(text, 9);
}

// Any double under the picture: the exact decimal expansion of its binary value (the C
// library prints every digit when asked for enough), rounded by hand to hundredths with
// exact ties away from zero.
inline std::string pictureText(double value, char point) {
    if (!std::isfinite(value)) {
        return "#########";
    }
    // 309 whole digits at most, 1074 fraction digits at most.
    std::vector<char> buffer(1500);
    std::snprintf(buffer.data(), buffer.size(), "%.1100f", std::fabs(value));
    const std::string exact = buffer.data();
    const std::size_t dot = exact.find('.');
    // The digits kept, the point left out: whole digits then two decimals.
    std::string digits = exact.substr(0, dot) + exact.substr(dot + 1, 2);
    // Past the second decimal: 5 or more (a tie included) rounds the magnitude up.
    if (exact[dot + 3] >= '5') {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') {
            digits[--i] = '0';
        }
        if (i == 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[i - 1];
        }
    }
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string text = (value < 0 && !zero) ? "-" : "";
    text += digits.substr(0, digits.size() - 2);
    text += point;
    text += digits.substr(digits.size() - 2);
    return rightJustified(text, 9);
}

} // namespace ref
