#pragma once
// A table written as a CSV file for a spreadsheet: UTF-8 (with a byte-order mark, so
// that spreadsheets on Windows read it as such), fields separated by commas and quoted
// as RFC 4180 says (a field holding a comma, a quote or a line break is put in quotes,
// its quotes doubled), each row ended by CR LF. A header row of the column titles,
// then the body rows in the order given, then the foot rows; a last column "Note"
// holds the marks of the row's cells, joined by "; ".
//
// A cell that is a number is written as one: figures with "." and two decimals
// ("3.00", not "0003.00"), counts as whole numbers. Text cut from a file's lines (a
// member number, a figure that is not a number) is written as a formula giving the
// text, ="0012345": a spreadsheet's default import reads a plain 0012345 as the number
// 12345, losing the leading zeros, and a bad figure such as "0012.5 " as a number that
// the file's total does not hold. Any other text that a spreadsheet would take for a
// formula (beginning "=", "+", "-" or "@") is written that way too, so it stays text.
//
// File bytes are read one character per byte (Latin-1), as the viewer shows them; a
// name in the file system's coding is kept where it is valid UTF-8 and read byte by
// byte as Latin-1 where it is not, so that every name gives readable text.

#include "masterpoint/FileSystem.h"
#include "masterpoint/RowOrder.h"
#include "masterpoint/Table.h"

#include <cstdint>
#include <string>

namespace mp {

class CsvWriter {
public:
    // The whole file's bytes.
    static std::string text(const Table& table, const RowOrder& order);

    // Writes the file at path through an AtomicFile, replacing whatever has that name
    // only once the file is complete; returns the number of body rows written. Throws
    // Error::cannotCreateFile(path, reason) when it cannot be created, written or put
    // in place; the name is then left as it was.
    static std::uint64_t write(const Table& table, const RowOrder& order, const std::string& path,
                               FileSystem& fileSystem = FileSystem::system());

    // A cell's text as it is written between the commas (quoted when needed).
    static std::string field(const Cell& cell, bool fromBody);
    // bytes as UTF-8, by coding.
    static std::string utf8(const std::string& bytes, CellCoding coding);
};

} // namespace mp
