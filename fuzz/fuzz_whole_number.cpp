// Whole-number reading against the rules as WholeNumber.h states them (Reference.h):
// leading blanks, then "+"/"-" and decimal digits or "$", "x", "X", "0x", "0X" and
// hexadecimal digits, to the end of the text, within the 64-bit range.
//
// Input: the text itself.

#include "Reference.h"

#include "masterpoint/WholeNumber.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int64_t expected = 0;
    const bool isNumber = ref::wholeNumber(text, expected);
    std::int64_t value = 0;
    const bool parsed = mp::parseWholeNumber(text, value);
    REF_CHECK(parsed == isNumber, ref::shown(text) + (isNumber ? " is " : " is not ") +
                                      "a number, parseWholeNumber says " +
                                      (parsed ? "it is" : "it is not"));
    if (isNumber) {
        REF_CHECK(value == expected, ref::shown(text) + " read as " + std::to_string(value) +
                                         ", expected " + std::to_string(expected));
    }
    return 0;
}
