#pragma once
// A table of cells as every window that shows figures and every writer (clipboard,
// CSV, print) sees it: column titles, body rows that may be sorted and searched, and
// rows at the foot (a file's Total, the sums per colour) that stay at the foot in any
// order. Each report is one Table built from records; the windows, the find, the sort
// and the writers work from this contract alone.
//
// Cells are made when asked for, so a table over a file of a million records holds no
// more than the file's lines.

#include <cstddef>
#include <cstdint>
#include <string>

namespace mp {

// What a cell holds, for the writers: a figure in hundredths, a count, or text.
enum class CellKind : std::uint8_t { Text, Points, Count };

// How a cell's bytes are to be read as characters.
enum class CellCoding : std::uint8_t {
    FileBytes, // a file's own bytes, one character per byte (Latin-1)
    NameBytes, // a file name or path, in the file system's own coding
};

struct Cell {
    std::string text; // the bytes shown, as the file holds them
    CellCoding coding = CellCoding::FileBytes;
    CellKind kind = CellKind::Text;
    bool isNumber = false;  // Points or Count whose text reads as a number: value holds it
    std::int64_t value = 0; // hundredths for Points, the count for Count
    std::string mark;       // why the cell is marked (its tool tip); empty when not marked
};

class Table {
public:
    virtual ~Table() = default;

    virtual std::size_t columnCount() const = 0;
    virtual std::string columnTitle(std::size_t column) const = 0;

    // The body, in the table's own order (a file's line order).
    virtual std::size_t rowCount() const = 0;
    virtual Cell cell(std::size_t row, std::size_t column) const = 0;

    // Rows after the body, never sorted.
    virtual std::size_t footCount() const { return 0; }
    virtual Cell footCell(std::size_t /*row*/, std::size_t /*column*/) const { return {}; }

    // The column that holds the member number (or the file), the one find looks in.
    virtual std::size_t keyColumn() const { return 0; }
    // The text of row's cell in the key column: what find reads of each row, without
    // making the whole cell.
    virtual std::string keyText(std::size_t row) const { return cell(row, keyColumn()).text; }

    // How many columns body row's cell at column covers: 1, or more for a cell that
    // stands in place of the rest (an error where the figures would be). The cells it
    // covers are empty.
    virtual std::size_t cellSpan(std::size_t /*row*/, std::size_t /*column*/) const { return 1; }
};

} // namespace mp
