#pragma once
// Reading a whole number from text the way the stored settings and the figures of a
// record are read: leading blanks, then either an optional "+"/"-" and decimal digits,
// or "$", "x"/"X" or "0x"/"0X" and hexadecimal digits, up to the end of the text.
// Anything else (empty text, blanks only, a trailing blank, any other character, a
// value outside the 64-bit range) is not a number.

#include <cstdint>
#include <string_view>

namespace mp {

bool parseWholeNumber(std::string_view text, std::int64_t& value);

} // namespace mp
