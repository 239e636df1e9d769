#pragma once
// The totals of the ticked files: one summary per ticked entry, in list order, and one
// over them all.

#include "masterpoint/FileSummary.h"
#include "masterpoint/FileSystem.h"
#include "masterpoint/ListEntry.h"

#include <string>
#include <system_error>
#include <vector>

namespace mp {

struct TickedTotals {
    struct Row {
        std::string displayText; // the entry's, bytes as listed
        bool twoFigures = false; // by the entry's extension, as the viewer lays it out
        FileSummary summary;     // when the file could be read
        std::string error;       // otherwise the Error's text ("Cannot open file <path>")
        std::error_code reason;  // and the system's reason, for the log
    };
    std::vector<Row> rows;
    // The sums over the files that could be read; members are the distinct numbers
    // over all of them.
    FileSummary all;

    bool anyTwoFigures() const;
};

// Reads each ticked entry's file in folder in turn and sums it up (summarize). A file
// that cannot be read gets its row with the error, and the others are still summed;
// one file's lines at a time are held in memory.
TickedTotals totalTicked(const std::vector<ListEntry>& entries, const std::string& folder,
                         FileSystem& fileSystem = FileSystem::system());

} // namespace mp
