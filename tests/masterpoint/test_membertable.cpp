// One member across files as a table: the lines of that member only, in list and line
// order, numbered and colour files of one colour summed together and apart from the
// others, marks as the viewer gives them, a file that cannot be read left out.

#include "TempDir.h"

#include "masterpoint/MemberTable.h"

#include <gtest/gtest.h>

using namespace mp;

namespace {

// Each body row as "file|line|figure[*]|figure[*]" (* for a marked cell), then each
// foot row as "All GLD|||sum".
std::vector<std::string> rowsOf(const Table& table) {
    std::vector<std::string> rows;
    const auto text = [&](const Cell& cell) { return cell.text + (cell.mark.empty() ? "" : "*"); };
    for (std::size_t row = 0; row < table.rowCount() + table.footCount(); ++row) {
        std::string line;
        for (std::size_t column = 0; column < table.columnCount(); ++column) {
            const bool foot = row >= table.rowCount();
            line += (column ? "|" : "") + text(foot ? table.footCell(row - table.rowCount(), column)
                                                    : table.cell(row, column));
        }
        rows.push_back(line);
    }
    return rows;
}

} // namespace

// Guards: lines of other members (or a number that merely begins the same) shown, a
// numbered file summed apart from its colour, colours added together, the second figure
// counted beside a first that is not a number, a bad file hiding the others.
TEST(MemberTable, OneMemberAcrossFiles) {
    TempDir dir;
    dir.write("A.GLD", "5651303001250\r\n1111111000100\r\n5651303000050\r\n");
    dir.write("B.MP1", "5651303 000100\r\n56513030000100\r\n"); // GLD; shifted, too long
    dir.write("C.RED", "5651303000500\r\n");
    dir.write("D.GAR", "5651303ABCDEF000200\r\n5651303000100000300\r\n");
    dir.write("E.RED", "1111111000100\r\n");
    const struct {
        const char* name;
        std::vector<ListEntry> entries;
        const char* member;
        std::vector<std::string> rows;
        std::size_t files;
    } cases[] = {
        {"numbered and colour files of one colour summed together, apart from red",
         {ticked("A.GLD", 0), ticked("B.MP1", 1), ticked("C.RED", 0), ticked("E.RED", 0)},
         "5651303",
         {"A.GLD|1|0012.50", "A.GLD|3|0000.50", "B.MP1(GLD)|1| 000.10*", "B.MP1(GLD)|2|0000.10*",
          "C.RED|1|0005.00", "All GLD||13.20", "All RED||5.00"},
         3},
        {"two figures: a bad first adds neither, a one-figure file leaves the second empty",
         {ticked("D.GAR", 0), ticked("C.RED", 0)},
         "5651303",
         {"D.GAR|1|ABCD.EF*|0002.00", "D.GAR|2|0001.00|0003.00", "C.RED|1|0005.00|",
          "All RED||5.00|", "All GAR||1.00|3.00"},
         2},
        {"a member in none of the files",
         {ticked("A.GLD", 0), ticked("E.RED", 0)},
         "7777777",
         {},
         0},
        {"a file that cannot be read leaves the others' lines",
         {ticked("GONE.GLD", 0), ticked("C.RED", 0)},
         "5651303",
         {"C.RED|1|0005.00", "All RED||5.00"},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MemberIndex index(c.entries, dir.path());
        const MemberTable table(index, *MemberIndex::memberNumber(c.member));
        EXPECT_EQ(rowsOf(table), c.rows);
        EXPECT_EQ(table.filesWithMember(), c.files);
    }
    const MemberIndex index({ticked("GONE.GLD", 0)}, dir.path());
    EXPECT_EQ(index.files()[0].error, "Cannot open file " + (dir / "GONE.GLD"));
}

// Guards: a partly typed or padded number taken for a member, the ticked files ignored.
TEST(MemberTable, WhatIsLookedFor) {
    const struct {
        const char* text;
        bool member;
    } numbers[] = {{"0000001", true}, {"565130", false}, {"56513030", false}, {"565 303", false}};
    for (const auto& n : numbers)
        EXPECT_EQ(MemberIndex::memberNumber(n.text).has_value(), n.member) << n.text;
    const std::vector<ListEntry> some{ticked("A.GLD", 0, false), ticked("B.GLD", 0)};
    EXPECT_EQ(entriesToSearch(some).size(), 1u);
    const std::vector<ListEntry> none{ticked("A.GLD", 0, false), ticked("B.GLD", 0, false)};
    EXPECT_EQ(entriesToSearch(none).size(), 2u);
}
