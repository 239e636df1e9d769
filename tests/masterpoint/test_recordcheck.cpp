// The record check, member numbers and file summaries: what the viewer marks and what
// the totals of ticked files count.

#include "masterpoint/FileSummary.h"
#include "masterpoint/MemberSet.h"
#include "masterpoint/RecordCheck.h"

#include <gtest/gtest.h>

using namespace mp;

namespace {

// The marks of a line's three cells: '.' none, 'N' not a number, 'R' not a record, 'C'
// counted although the line is not a record.
std::string marksOf(const LineCheck& check) {
    std::string marks;
    for (CellMark mark : check.cells) {
        marks += mark == CellMark::None         ? '.'
                 : mark == CellMark::NotANumber ? 'N'
                 : mark == CellMark::NotARecord ? 'R'
                                                : 'C';
    }
    return marks;
}

} // namespace

TEST(RecordCheck, MarksEachKindOfLine) {
    const struct {
        const char* name;
        std::string line;
        bool two;
        const char* marks;
        bool notCounted;
        bool member;
    } cases[] = {
        {"good", "1234567001250", false, "...", false, true},
        {"good, two figures", "1234567001250000300", true, "...", false, true},
        {"letters", "1234567ABCDEF", false, ".N.", true, true},
        {"plus sign", "1234567+01250", false, ".C.", false, true},
        {"minus sign in the second", "1234567001250-00100", true, ".CC", false, true},
        {"hexadecimal", "1234567$00100", false, ".C.", false, true},
        {"blanks before a figure", "1234567   125", false, ".C.", false, true},
        {"blanks after a figure", "1234567125   ", false, ".N.", true, true},
        {"blank in the member", "12345 7001250", false, "RC.", false, false},
        {"shifted right", " 1234567001250", false, "RC.", false, false},
        {"figure shifted right", "1234567 001250", false, ".C.", false, true},
        {"blank line", "", false, ".N.", true, false},
        {"blank line, two figures", "", true, ".NN", true, false},
        {"line of blanks", "             ", false, ".N.", true, false},
        {"member only", "1234567", false, ".N.", true, true},
        {"short figure", "1234567123", false, ".C.", false, true},
        {"long", "12345670012500", false, ".C.", false, true},
        {"two-figure record in a one-figure file", "1234567001250000300", false, ".C.", false,
         true},
        {"one figure in a two-figure file", "1234567001250", true, ".CN", true, true},
        {"two figures, bad second", "123456700050000A100", true, ".CN", true, true},
        {"two figures, bad first", "123456700A100000500", true, ".N.", true, true},
        {"member of 6 characters", "123456001250", false, ".C.", false, true},
        {"member of 8 characters", "12345678001250", false, ".C.", false, true},
        {"8-bit byte in the member",
         "\xe9"
         "234567001250",
         false, "RC.", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LineCheck check = checkLine(c.line, c.two);
        EXPECT_EQ(marksOf(check), c.marks);
        EXPECT_EQ(check.notCounted, c.notCounted);
        EXPECT_EQ(check.marked(), std::string(c.marks) != "...");
        EXPECT_EQ(check.outOfFormat, std::string(c.marks).find('C') != std::string::npos);
        MemberSet members;
        EXPECT_EQ(members.add(c.line), c.member);
    }
}

// What the lines outside the format add to the totals, counted apart, while the totals
// stay what the file adds up to.
TEST(FileSummary, AccountsForLinesOutOfFormat) {
    const struct {
        const char* name;
        std::string line;
        bool two;
        std::uint64_t outOfFormat;
        std::int64_t addsFirst, addsSecond;
    } cases[] = {
        {"record", "1234567002321", false, 0, 0, 0},
        {"shifted right by one", " 1234567002321", false, 1, 700232, 0},
        {"shifted left by one", "234567002321", false, 1, 2321, 0},
        {"short figure", "1234567123", false, 1, 123, 0},
        {"long line", "12345670023210", false, 1, 2321, 0},
        {"blank before the figure", "1234567   125", false, 1, 125, 0},
        {"plus sign", "1234567+02321", false, 1, 2321, 0},
        {"minus sign", "1234567-02321", false, 1, -2321, 0},
        {"hexadecimal", "1234567$000FF", false, 1, 255, 0},
        {"not a number", "1234567ABCDEF", false, 0, 0, 0},
        {"two figures, record", "1234567002321000100", true, 0, 0, 0},
        {"two figures, signed second", "1234567002321-00100", true, 1, 2321, -100},
        {"two figures, shifted right", " 1234567002321000100", true, 1, 700232, 100010},
        {"two figures, bad second keeps the first", "123456700232100A100", true, 1, 2321, 0},
        {"two figures, bad first adds nothing", "123456700A100000100", true, 0, 0, 0},
        {"one figure in a two-figure file", "1234567002321", true, 1, 2321, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string record = c.two ? "7654321000100000200" : "7654321000100";
        FileSummary summary;
        summary.add(record, c.two);
        summary.add(c.line, c.two);
        Totals expected;
        expected.add(record, c.two);
        expected.add(c.line, c.two);
        EXPECT_EQ(summary.outOfFormat, c.outOfFormat);
        EXPECT_EQ(summary.outOfFormatTotals.first, c.addsFirst);
        EXPECT_EQ(summary.outOfFormatTotals.second, c.addsSecond);
        EXPECT_EQ(summary.totals.first, expected.first);
        EXPECT_EQ(summary.totals.second, expected.second);
    }
}

// Lines that count as not counted are exactly those whose figures the totals skip.
TEST(FileSummary, CountsRecordsMembersAndLinesNotCounted) {
    const LineList first = LineList::fromBytes("1234567001250000100\r\n"
                                               "7654321000075000200\r\n"
                                               "1234567000100000000\r\n" // a member again
                                               "\r\n"
                                               "0000001ABCDEF000300\r\n"
                                               "0000002000200ABCDEF\r\n");
    const LineList second = LineList::fromBytes("7654321000100\n9999999000001");
    MemberSet all;
    const FileSummary one = summarize(first, true, all);
    EXPECT_EQ(one.records, 6u);
    EXPECT_EQ(one.members, 4u);
    EXPECT_EQ(one.notCounted, 3u);
    EXPECT_EQ(one.totals.first, 1250 + 75 + 100 + 200);
    EXPECT_EQ(one.totals.second, 100 + 200);

    const FileSummary two = summarize(second, false, all);
    EXPECT_EQ(two.records, 2u);
    EXPECT_EQ(two.members, 2u);
    EXPECT_EQ(two.notCounted, 0u);
    EXPECT_EQ(all.size(), 5u); // 7654321 is in both

    MemberSet bounds;
    EXPECT_TRUE(bounds.add("0000000"));
    EXPECT_TRUE(bounds.add("9999999"));
    EXPECT_FALSE(bounds.add("9999999001250"));
    EXPECT_EQ(bounds.size(), 2u);
}
