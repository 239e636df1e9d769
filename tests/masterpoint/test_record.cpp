// Whole numbers, record cells and column totals.

#include "masterpoint/Record.h"
#include "masterpoint/WholeNumber.h"

#include <climits>
#include <gtest/gtest.h>

using namespace mp;

TEST(WholeNumber, DecimalAndHexadecimalForms) {
    const struct {
        const char* text;
        bool ok;
        std::int64_t value;
    } cases[] = {
        {"125", true, 125},
        {"   125", true, 125},
        {"001250", true, 1250},
        {"+5", true, 5},
        {"-5", true, -5},
        {"  -0", true, 0},
        {"$00100", true, 256},
        {"0x0010", true, 16},
        {"0X1f", true, 31},
        {"xFF", true, 255},
        {"X10", true, 16},
        {"9223372036854775807", true, INT64_MAX},
        {"-9223372036854775808", true, INT64_MIN},
        {"$7FFFFFFFFFFFFFFF", true, INT64_MAX},
        {"", false, 0},
        {"   ", false, 0},
        {"125   ", false, 0},
        {"12 5", false, 0},
        {"\t5", false, 0},
        {"- 5", false, 0},
        {"+-5", false, 0},
        {"-", false, 0},
        {"$", false, 0},
        {"x", false, 0},
        {"0x", false, 0},
        {"-$10", false, 0},
        {"+0x1", false, 0},
        {"$1G", false, 0},
        {"00A100", false, 0},
        {"ABCDEF", false, 0},
        {"9223372036854775808", false, 0},
        {"-9223372036854775809", false, 0},
        {"$8000000000000000", false, 0},
    };
    for (const auto& c : cases) {
        std::int64_t value = 42;
        EXPECT_EQ(parseWholeNumber(c.text, value), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
}

TEST(Record, CellsAndTotalsPerLine) {
    const struct {
        std::string line;
        bool two;
        std::string member, first, second;
        std::int64_t firstSum, secondSum;
    } cases[] = {
        {"0123456001250000375", true, "0123456", "0012.50", "0003.75", 1250, 375},
        {"1234567001250", false, "1234567", "0012.50", ".", 1250, 0},
        {"1234567001250000300", true, "1234567", "0012.50", "0003.00", 1250, 300},
        {"1234567001250000300ignored", true, "1234567", "0012.50", "0003.00", 1250, 300},
        {"1234567ABCDEF", false, "1234567", "ABCD.EF", ".", 0, 0},
        {"1234567", false, "1234567", ".", ".", 0, 0},
        {"1234567123", false, "1234567", "123.", ".", 123, 0},
        {"1234567   125", false, "1234567", "   1.25", ".", 125, 0},
        {"1234567125   ", false, "1234567", "125 .  ", ".", 0, 0},
        {"123456700050000A100", true, "1234567", "0005.00", "00A1.00", 500, 0},
        {"123456700A100000500", true, "1234567", "00A1.00", "0005.00", 0, 0},
        {"1234567$00100", false, "1234567", "$001.00", ".", 256, 0},
        {"12345670x0010", false, "1234567", "0x00.10", ".", 16, 0},
        {"1234567-00100+00050", true, "1234567", "-001.00", "+000.50", -100, 50},
        {"1234567001250000300", false, "1234567", "0012.50", "0003.00", 1250, 0},
        {"123", false, "123", ".", ".", 0, 0},
        {"", true, " ", ".", ".", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE('"' + c.line + '"');
        EXPECT_EQ(memberCell(c.line), c.member);
        EXPECT_EQ(firstFigureCell(c.line), c.first);
        EXPECT_EQ(secondFigureCell(c.line), c.second);
        Totals totals{7, 9};
        totals.add(c.line, c.two);
        EXPECT_EQ(totals.first, 7 + c.firstSum);
        EXPECT_EQ(totals.second, 9 + c.secondSum);
    }
}

TEST(Record, TotalsPassThe32BitRangeExactly) {
    Totals totals;
    const int lines = 2200;
    for (int i = 0; i < lines; ++i) {
        totals.add("1234567999999999999", true);
    }
    const std::int64_t expected = std::int64_t{lines} * 999999;
    EXPECT_GT(expected, INT32_MAX);
    EXPECT_EQ(totals.first, expected);
    EXPECT_EQ(totals.second, expected);
}
