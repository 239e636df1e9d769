// The totals of ticked files summed per colour: numbered and colour files of one colour
// together, members counted once per colour, a file that cannot be read left out.

#include "TempDir.h"

#include "masterpoint/TickedTotals.h"

#include <gtest/gtest.h>

using namespace mp;

namespace {

// A colour's sums as one line: "GLD one 3 records 2 members 1 not counted 1 out of
// format 1425/0 adding 5/0", points in hundredths.
std::string sumText(const TickedTotals::ColourSum& sum) {
    const FileSummary& s = sum.summary;
    return sum.colour + (sum.twoFigures ? " two " : " one ") + std::to_string(s.records) +
           " records " + std::to_string(s.members) + " members " + std::to_string(s.notCounted) +
           " not counted " + std::to_string(s.outOfFormat) + " out of format " +
           std::to_string(s.totals.first) + "/" + std::to_string(s.totals.second) + " adding " +
           std::to_string(s.outOfFormatTotals.first) + "/" +
           std::to_string(s.outOfFormatTotals.second);
}

} // namespace

TEST(TickedTotals, SumsEachColourApart) {
    TempDir dir;
    dir.write("A.GLD", "1234567001250\r\n7654321000075\r\n");
    dir.write("B.MP1", "1234567000100\r\n2222222 000100\r\n"); // GLD; a figure shifted
    dir.write("C.RED", "1234567000500\r\n");                   // the same member, red
    dir.write("D.MP4", "1111111000100000200\r\n");             // GAR, two figures
    dir.write("E.gar", "1111111000100ABCDEF\r\n3333333000001000002\r\n");
    dir.write("F.MP2", "9999999000001\r\n"); // RED, left unticked
    const struct {
        const char* name;
        std::vector<ListEntry> entries;
        std::vector<std::string> sums;
    } cases[] = {
        {"numbered and colour files of one colour together",
         {ticked("A.GLD", 0), ticked("B.MP1", 1)},
         {"GLD one 4 records 3 members 0 not counted 1 out of format 1435/0 adding 10/0"}},
        {"colours in the order of the kinds, whatever the list order",
         {ticked("E.gar", 0), ticked("C.RED", 0), ticked("A.GLD", 0), ticked("D.MP4", 4),
          ticked("F.MP2", 2, false)},
         {"GLD one 2 records 2 members 0 not counted 0 out of format 1325/0 adding 0/0",
          "RED one 1 records 1 members 0 not counted 0 out of format 500/0 adding 0/0",
          "GAR two 3 records 2 members 1 not counted 1 out of format 201/202 adding 100/0"}},
        {"a file gone leaves its colour's row with the others' sums",
         {ticked("A.GLD", 0), ticked("GONE.MP1", 1), ticked("C.RED", 0)},
         {"GLD one 2 records 2 members 0 not counted 0 out of format 1325/0 adding 0/0",
          "RED one 1 records 1 members 0 not counted 0 out of format 500/0 adding 0/0"}},
        {"a colour whose only file is gone still has its row",
         {ticked("GONE.RAG", 0)},
         {"RAG two 0 records 0 members 0 not counted 0 out of format 0/0 adding 0/0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TickedTotals totals = totalTicked(c.entries, dir.path());
        std::vector<std::string> sums;
        for (const TickedTotals::ColourSum& sum : totals.colours) {
            sums.push_back(sumText(sum));
        }
        EXPECT_EQ(sums, c.sums);
        std::size_t ticked = 0;
        for (const ListEntry& entry : c.entries) {
            ticked += entry.ticked ? 1 : 0;
        }
        ASSERT_EQ(totals.rows.size(), ticked);
    }
}
