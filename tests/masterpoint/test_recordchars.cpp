// Every character class at every position of a record: the record check takes a line
// for a record only when all of it is ASCII digits, and the member count of the totals
// counts only seven digits. ':' and '/' sit either side of the digits in ASCII, where a
// range test written one off lets them through.

#include "masterpoint/FileSummary.h"
#include "masterpoint/LineList.h"
#include "masterpoint/MemberSet.h"
#include "masterpoint/RecordCheck.h"

#include <gtest/gtest.h>

using namespace mp;
using namespace std::string_literals;

namespace {

struct Character {
    const char* name;
    char c;
    bool digit;
};

const Character kCharacters[] = {
    {"0", '0', true},          {"5", '5', true},
    {"9", '9', true},          {"colon", ':', false},
    {"slash", '/', false},     {"space", ' ', false},
    {"plus", '+', false},      {"minus", '-', false},
    {"full stop", '.', false}, {"a", 'a', false},
    {"Z", 'Z', false},         {"tab", '\t', false},
    {"NUL", '\0', false},      {"byte 0xB0", '\xb0', false},
};

// A record of 13 or 19 digits, distinct from the one it is set beside.
std::string record(bool twoFigures) {
    return twoFigures ? "7654321001250000375" : "7654321001250";
}

// Calls check(twoFigures, position, character, line) for every character of the table
// put at every position of a one- and a two-figure record, under a trace naming them.
template <typename Check> void forEveryCharacterEverywhere(Check check) {
    for (const bool twoFigures : {false, true}) {
        const std::size_t length = record(twoFigures).size();
        for (std::size_t position = 0; position < length; ++position) {
            for (const Character& ch : kCharacters) {
                SCOPED_TRACE(std::string(twoFigures ? "two figures" : "one figure") +
                             ", position " + std::to_string(position + 1) + ", " + ch.name);
                std::string line = record(twoFigures);
                line[position] = ch.c;
                check(twoFigures, position, ch, line);
            }
        }
    }
}

} // namespace

TEST(RecordCharacters, ALineIsARecordOnlyWhenEveryCharacterIsADigit) {
    forEveryCharacterEverywhere(
        [](bool twoFigures, std::size_t, const Character& ch, const std::string& line) {
            EXPECT_EQ(checkLine(line, twoFigures).marked(), !ch.digit);
        });
}

TEST(RecordCharacters, OnlySevenDigitsCountAsAMember) {
    forEveryCharacterEverywhere(
        [](bool twoFigures, std::size_t position, const Character& ch, const std::string& line) {
            // The figures play no part: past the member number any character keeps it.
            const bool isMember = position >= 7 || ch.digit;
            MemberSet alone;
            EXPECT_EQ(alone.add(line), isMember);
            EXPECT_EQ(alone.size(), isMember ? 1u : 0u);

            const LineList lines = LineList::fromBytes("1234567001250000375\r\n" + line);
            MemberSet all;
            EXPECT_EQ(summarize(lines, twoFigures, all).members, isMember ? 2u : 1u);
            EXPECT_EQ(all.size(), isMember ? 2u : 1u);
        });
}
