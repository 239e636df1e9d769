#pragma once
// A text file read whole and split into lines. A CR LF pair, a lone CR and a lone LF
// each end a line; a NUL byte ends the text; a last line without an end counts; a line
// end at the very end adds no empty line. Lines are kept byte for byte.
//
// The bytes are held once with the offsets of each line, so a file of a million
// records costs little more than its own size.

#include "masterpoint/FileSystem.h"

#include <cstddef>
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

    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    std::string_view line(std::size_t index) const;

private:
    void split();

    std::string text_;
    std::vector<std::size_t> starts_;
    std::vector<std::size_t> lengths_;
};

// Feeds bytes through the same line rules as LineList and hands back every complete
// line with CR LF after it, so files of any size can be rewritten in bounded memory.
class CrLfRewriter {
public:
    // Appends to out the rewritten form of chunk. Returns false once a NUL has been
    // seen: the rest of that input is to be ignored.
    bool feed(std::string_view chunk, std::string& out);
    // Ends the input: a pending last line without an end gets its CR LF.
    void finish(std::string& out);

private:
    bool pendingCr_ = false;
    bool lineOpen_ = false;
    bool ended_ = false;
};

} // namespace mp
