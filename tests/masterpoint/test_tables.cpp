// The tables behind the windows and writers: CSV cells as a spreadsheet must read
// them, whole CSV files in the order shown, the sort and the find over the rows shown.

#include "TempDir.h"
#include "support/FaultyFileSystem.h"

#include "masterpoint/CsvWriter.h"
#include "masterpoint/LinesTable.h"
#include "masterpoint/TableFind.h"
#include "masterpoint/TotalsTable.h"

#include <gtest/gtest.h>

using namespace mp;

namespace {

Cell text(std::string bytes, CellCoding coding = CellCoding::FileBytes) {
    Cell cell;
    cell.text = std::move(bytes);
    cell.coding = coding;
    return cell;
}

Cell points(std::string bytes, bool isNumber, std::int64_t value) {
    Cell cell = text(std::move(bytes));
    cell.kind = CellKind::Points;
    cell.isNumber = isNumber;
    cell.value = value;
    return cell;
}

LinesTable lines(const std::string& bytes, bool twoFigures = false) {
    return LinesTable(LineList::fromBytes(bytes), twoFigures);
}

// The body rows' member numbers in the order shown, joined by spaces.
std::string members(const Table& table, const RowOrder& order) {
    std::string out;
    for (std::size_t position = 0; position < order.size(); ++position)
        out += (position ? " " : "") + table.keyText(order.rowAt(position));
    return out;
}

} // namespace

// Guards a field that a spreadsheet splits, runs as a formula, reads as another number
// or shows as mojibake.
TEST(CsvWriter, WritesEachCellAsASpreadsheetReadsIt) {
    const struct {
        const char* name;
        Cell cell;
        bool fromBody;
        std::string field;
    } cases[] = {
        {"leading zeros kept as text", text("0012345"), true, "\"=\"\"0012345\"\"\""},
        {"figure as a number", points("0003.00", true, 300), true, "3.00"},
        {"negative figure", points("-000.05", true, -5), true, "-0.05"},
        {"figure not a number stays its text", points("00A1.00", false, 0), true,
         "\"=\"\"00A1.00\"\"\""},
        {"empty cell", points("", false, 0), false, ""},
        {"comma quoted", text("Club, north", CellCoding::NameBytes), true, "\"Club, north\""},
        {"quote doubled", text("say \"hi\"", CellCoding::NameBytes), true, "\"say \"\"hi\"\"\""},
        {"line break quoted", text("a\r\nb", CellCoding::NameBytes), true, "\"a\r\nb\""},
        {"formula-like name kept text", text("=SUM(A1)", CellCoding::NameBytes), true,
         "\"=\"\"=SUM(A1)\"\"\""},
        {"file byte as Latin-1", text("M\xFCller"), true, "\"=\"\"M\xC3\xBCller\"\"\""},
        {"UTF-8 name kept", text("M\xC3\xBCller.GLD", CellCoding::NameBytes), true,
         "M\xC3\xBCller.GLD"},
        {"invalid UTF-8 name byte by byte", text("M\xFCller.GLD", CellCoding::NameBytes), true,
         "M\xC3\xBCller.GLD"},
        {"overlong form is not UTF-8", text("\xC0\xAF", CellCoding::NameBytes), true,
         "\xC3\x80\xC2\xAF"},
        {"foot label plain", text("Total"), false, "Total"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvWriter::field(c.cell, c.fromBody), c.field) << c.name;
}

// Guards rows written in the file's order instead of the one shown, a lost Total row or
// note, and figures that would not sum to the window's total.
TEST(CsvWriter, WritesTheRowsShownThenTheTotal) {
    const LinesTable table = lines("0012345000300\n12345 7000125\n7654321ABCDEF\n1111111700060\n");
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(CsvWriter::text(table, RowOrder::sorted(table, 1, SortDirection::Descending)),
              bom + "Kavra No.,Masterpoints,Note\r\n"
                    "\"=\"\"1111111\"\"\",7000.60,\r\n"
                    "\"=\"\"0012345\"\"\",3.00,\r\n"
                    "\"=\"\"12345 7\"\"\",1.25,\"Not a 13-digit record; Counted in the total, "
                    "but this line is not a 13-digit record\"\r\n"
                    "\"=\"\"7654321\"\"\",\"=\"\"ABCD.EF\"\"\",Not a number: not counted in "
                    "the total\r\n"
                    "Total,7004.85,Includes 1.25 from 1 line out of format\r\n");
}

// Guards a file put in place half written, or an old file lost, when the disk fills.
TEST(CsvWriter, AFailedWriteLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.write("CLUB.csv", "old");
    FaultyFileSystem faulty;
    faulty.failOn(Call::Write, std::errc::no_space_on_device);
    const LinesTable table = lines("1234567000100\n");
    EXPECT_THROW(CsvWriter::write(table, RowOrder(1), path, faulty), Error);
    EXPECT_EQ(readAll(path), "old");
    EXPECT_EQ(CsvWriter::write(table, RowOrder(1), path), 1u);
    EXPECT_EQ(readAll(path), CsvWriter::text(table, RowOrder(1)));
}

// Guards figures sorted as text, not-a-number lines among the smallest or largest,
// and ties that lose the file's order.
TEST(RowOrder, SortsFiguresByValueBadOnesLast) {
    const LinesTable table = lines("3333333000200\n"
                                   "1111111ABCDEF\n"
                                   "2222222000900\n"
                                   "4444444000200\n"
                                   "0000001\n");
    const struct {
        std::size_t column;
        SortDirection direction;
        std::string members;
    } cases[] = {
        {1, SortDirection::Ascending, "3333333 4444444 2222222 1111111 0000001"},
        {1, SortDirection::Descending, "2222222 3333333 4444444 1111111 0000001"},
        {0, SortDirection::Ascending, "0000001 1111111 2222222 3333333 4444444"},
        {0, SortDirection::Descending, "4444444 3333333 2222222 1111111 0000001"},
        {1, SortDirection::None, "3333333 1111111 2222222 4444444 0000001"},
    };
    for (const auto& c : cases) {
        const RowOrder order = RowOrder::sorted(table, c.column, c.direction);
        EXPECT_EQ(members(table, order), c.members) << c.column << " " << int(c.direction);
        for (std::size_t position = 0; position < order.size(); ++position)
            EXPECT_EQ(order.positionOf(order.rowAt(position)), position);
    }
}

// Guards a Totals column taken for text because its first file could not be read.
TEST(TotalsTable, AnErrorRowNeitherSortsNorSpansAsFigures) {
    TickedTotals totals;
    totals.rows.resize(3);
    totals.rows[0].displayText = "GONE.GLD";
    totals.rows[0].error = "Cannot open file /mp/GONE.GLD";
    totals.rows[1].displayText = "A.GLD";
    totals.rows[1].summary.records = 20;
    totals.rows[2].displayText = "B.GLD";
    totals.rows[2].summary.records = 3;
    const TotalsTable table(totals);
    EXPECT_EQ(table.cellSpan(0, 1), 5u);
    EXPECT_EQ(table.cellSpan(1, 1), 1u);
    EXPECT_EQ(members(table, RowOrder::sorted(table, 1, SortDirection::Ascending)),
              "B.GLD A.GLD GONE.GLD");
}

// Guards a find that misses the current row, loops, moves when nothing matches or does
// not say it went round.
TEST(TableFind, FindsInTheOrderShownAndSaysWhenItWraps) {
    const LinesTable table = lines("5651303000100\n"
                                   "1234567000900\n"
                                   "0565130000500\n"
                                   "7777777000200\n");
    const RowOrder byPoints = RowOrder::sorted(table, 1, SortDirection::Descending);
    const struct {
        const char* name;
        const RowOrder& order;
        std::string digits;
        std::size_t from;
        FindStep step;
        FindResult expected;
    } cases[] = {
        {"at the current row", RowOrder(4), "5651", 0, FindStep::Here, {true, 0, false}},
        {"after it", RowOrder(4), "565", 1, FindStep::Here, {true, 2, false}},
        {"next wraps to the top", RowOrder(4), "565", 2, FindStep::Next, {true, 0, true}},
        {"previous wraps to the end", RowOrder(4), "565", 0, FindStep::Previous, {true, 2, true}},
        {"only match is the current row", RowOrder(4), "777", 3, FindStep::Next, {true, 3, true}},
        {"not found", RowOrder(4), "999", 1, FindStep::Next, {false, 0, false}},
        {"nothing typed", RowOrder(4), "", 1, FindStep::Here, {false, 0, false}},
        // Shown by points: 1234567, 0565130, 7777777, 5651303.
        {"in the sorted order", byPoints, "565", 1, FindStep::Next, {true, 3, false}},
        {"sorted, back", byPoints, "565", 1, FindStep::Previous, {true, 3, true}},
    };
    for (const auto& c : cases) {
        const FindResult found = findRow(table, c.order, c.digits, c.from, c.step);
        EXPECT_EQ(found.found, c.expected.found) << c.name;
        EXPECT_EQ(found.position, c.expected.position) << c.name;
        EXPECT_EQ(found.wrapped, c.expected.wrapped) << c.name;
    }
}
