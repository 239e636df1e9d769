#pragma once
// A text file read whole and split into lines. A CR LF pair, a lone CR and a lone LF
// each end a line; a last line without an end counts; a line end at the very end adds
// no empty line. Lines are kept byte for byte, a NUL byte among them: it hides nothing
// that follows it.
//
// The bytes are held once with where each line starts and ends: 8 bytes a line for a
// text under 4 GiB (16 above), so a file of a million records costs little more than
// its own size, and even a file of nothing but line ends stays within nine times it.

#include "masterpoint/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mp {

class LineList {
public:
    LineList() = default;

    // Splits bytes already in memory (the text is copied).
    static LineList fromBytes(std::string_view bytes);

    // Reads the whole file at path, replacing the content. Throws
    // Error::cannotOpenFile(path) when the file cannot be opened and
    // Error::cannotReadFile(path) when a read fails.
    void loadFromFile(const std::string& path, FileSystem& fileSystem = FileSystem::system());

    std::size_t size() const { return wide_ ? wideLines_.size() : narrowLines_.size(); }
    bool empty() const { return size() == 0; }
    std::string_view line(std::size_t index) const;

private:
    // Where each line starts and ends in the text, as offsets of one width.
    template <typename Offset> struct Lines {
        std::vector<Offset> starts;
        std::vector<Offset> ends;
        std::size_t size() const { return starts.size(); }
    };

    void split();
    template <typename Offset> void splitInto(Lines<Offset>& lines);

    std::string text_;
    bool wide_ = false; // the text is 4 GiB or more: 64-bit offsets
    Lines<std::uint32_t> narrowLines_;
    Lines<std::uint64_t> wideLines_;
};

// Feeds bytes through the same line rules as LineList and hands back every complete
// line with CR LF after it, so files of any size can be rewritten in bounded memory. A
// NUL byte stops it: what to make of such a file is the caller's to say.
class CrLfRewriter {
public:
    // Appends to out the rewritten form of chunk. Returns false once a NUL has been
    // seen, having appended the lines before it; nothing more is taken after that.
    bool feed(std::string_view chunk, std::string& out);
    // Ends the input: a pending last line without an end gets its CR LF. Returns the
    // number of lines the input made, every one of them now ended by CR LF.
    std::uint64_t finish(std::string& out);
    // The number, from 1, of the line being read: after a NUL, the line that holds it.
    std::uint64_t lineNumber() const { return linesEnded_ + 1; }

private:
    std::uint64_t linesEnded_ = 0;
    bool pendingCr_ = false;
    bool lineOpen_ = false;
    bool ended_ = false;
};

} // namespace mp
