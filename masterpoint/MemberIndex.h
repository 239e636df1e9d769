#pragma once
// One member across files: every line of the files that begins with a member number
// (seven ASCII digits, as MemberSet reads them), each file read once, keeping of each
// such line only what a table of it needs: the file, the line's number, its first 19
// characters (the member number and the figures, all that Record reads) and the marks
// checkLine gives the whole line. The files' lines are let go as soon as each is read,
// so the index costs 36 bytes a record, and finding a member is a binary search.
//
// A file that cannot be read is kept with its error, and the others are still read.
// The lines of all the files together number less than 2^32.

#include "masterpoint/FileSystem.h"
#include "masterpoint/ListEntry.h"
#include "masterpoint/RecordCheck.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace mp {

class MemberIndex {
public:
    struct File {
        ListEntry entry;         // as listed
        std::string colour;      // entryColour
        bool twoFigures = false; // by the entry's extension, as the viewer lays it out
        std::string error;       // the Error's text when the file could not be read
        std::error_code reason;  // and the system's reason, for the log
    };
    struct Line {
        std::uint32_t line = 0;   // from 0, in the file's own order
        std::uint32_t member = 0; // the seven digits as a number
        std::uint32_t file = 0;   // into files()
        std::array<char, 19> head{};
        std::uint8_t length = 0; // of head: the line's, up to 19
        std::array<CellMark, 3> marks{};

        std::string_view text() const { return {head.data(), length}; }
    };

    MemberIndex() = default;
    // Reads the file of each entry, in order, from folder.
    MemberIndex(const std::vector<ListEntry>& entries, const std::string& folder,
                FileSystem& fileSystem = FileSystem::system());

    const std::vector<File>& files() const { return files_; }
    bool anyTwoFigures() const;

    // The lines of member, by file in the given order, then by line.
    std::vector<const Line*> linesOf(std::uint32_t member) const;

    // The member number text stands for: exactly seven ASCII digits; nothing otherwise.
    static std::optional<std::uint32_t> memberNumber(std::string_view text);

private:
    std::vector<File> files_;
    std::vector<Line> lines_; // by member, then file, then line
};

// The entries a member is looked for in: the ticked ones, or every one when none is
// ticked.
std::vector<ListEntry> entriesToSearch(const std::vector<ListEntry>& entries);

} // namespace mp
