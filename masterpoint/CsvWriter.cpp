#include "masterpoint/CsvWriter.h"

#include "masterpoint/AtomicFile.h"
#include "masterpoint/Error.h"
#include "masterpoint/LinesTable.h"

#include <functional>

namespace mp {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
// Written to the file in pieces of this size, so a million rows never sit in memory.
constexpr std::size_t kChunk = 1 << 20;

void appendLatin1(std::string& out, unsigned char byte) {
    if (byte < 0x80) {
        out += char(byte);
    } else {
        out += char(0xC0 | byte >> 6);
        out += char(0x80 | (byte & 0x3F));
    }
}

// The length of the valid UTF-8 sequence at text[at], or 0 when there is none.
std::size_t utf8Length(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    std::uint32_t least = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, least = 0x80, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, least = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, least = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    // Overlong forms, surrogates and code points past Unicode are not valid.
    if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}

std::string quoted(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

// ="text", the formula whose value is the text.
std::string formula(const std::string& text) {
    std::string out = "=\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string numberText(const Cell& cell) {
    return cell.kind == CellKind::Points ? plainPoints(cell.value) : std::to_string(cell.value);
}

void appendRow(std::string& out, const Table& table, bool fromBody, std::size_t row,
               const std::function<Cell(std::size_t, std::size_t)>& cellAt) {
    std::string note;
    const std::size_t columns = table.columnCount();
    for (std::size_t column = 0; column < columns; ++column) {
        const Cell cell = cellAt(row, column);
        if (!cell.mark.empty() && note.find(cell.mark) == std::string::npos)
            note += (note.empty() ? "" : "; ") + cell.mark;
        out += CsvWriter::field(cell, fromBody);
        out += ',';
    }
    out += quoted(CsvWriter::utf8(note, CellCoding::FileBytes));
    out += "\r\n";
}

// Hands the file to sink in pieces; returns the body rows.
std::uint64_t produce(const Table& table, const RowOrder& order,
                      const std::function<void(std::string&)>& sink) {
    std::string out = kByteOrderMark;
    for (std::size_t column = 0; column < table.columnCount(); ++column)
        out += quoted(CsvWriter::utf8(table.columnTitle(column), CellCoding::FileBytes)) + ',';
    out += "Note\r\n";
    const std::size_t rows = std::min(order.size(), table.rowCount());
    const auto body = [&](std::size_t row, std::size_t column) { return table.cell(row, column); };
    const auto foot = [&](std::size_t row, std::size_t column) {
        return table.footCell(row, column);
    };
    for (std::size_t position = 0; position < rows; ++position) {
        appendRow(out, table, true, order.rowAt(position), body);
        if (out.size() >= kChunk)
            sink(out);
    }
    for (std::size_t row = 0; row < table.footCount(); ++row)
        appendRow(out, table, false, row, foot);
    sink(out);
    return rows;
}

} // namespace

std::string CsvWriter::utf8(const std::string& bytes, CellCoding coding) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = coding == CellCoding::NameBytes ? utf8Length(bytes, at) : 0;
        if (length > 0) {
            out.append(bytes, at, length);
            at += length;
        } else {
            appendLatin1(out, static_cast<unsigned char>(bytes[at]));
            ++at;
        }
    }
    return out;
}

std::string CsvWriter::field(const Cell& cell, bool fromBody) {
    if (cell.isNumber)
        return numberText(cell);
    const std::string text = utf8(cell.text, cell.coding);
    if (text.empty())
        return text;
    const bool fileText = fromBody && cell.coding == CellCoding::FileBytes;
    const bool formulaLike = text.find_first_of("=+-@") == 0;
    return quoted(fileText || formulaLike ? formula(text) : text);
}

std::string CsvWriter::text(const Table& table, const RowOrder& order) {
    std::string all;
    produce(table, order, [&](std::string& piece) {
        all += piece;
        piece.clear();
    });
    return all;
}

std::uint64_t CsvWriter::write(const Table& table, const RowOrder& order, const std::string& path,
                               FileSystem& fileSystem) {
    AtomicFile file(path, fileSystem);
    if (const std::error_code error = file.open())
        throw Error::cannotCreateFile(path, error);
    const std::uint64_t rows = produce(table, order, [&](std::string& piece) {
        if (const std::error_code error = file.write(piece.data(), piece.size()))
            throw Error::cannotCreateFile(path, error);
        piece.clear();
    });
    if (const std::error_code error = file.commit())
        throw Error::cannotCreateFile(path, error);
    return rows;
}

} // namespace mp
