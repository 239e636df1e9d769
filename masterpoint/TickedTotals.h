#pragma once
// The totals of the ticked files: one summary per ticked entry, in list order, and one
// per colour of masterpoint over the files of that colour. Points of different colours
// are never added together: a numbered file counts with its colour (X.MP1 with the
// GLD files).

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
        std::string colour;      // entryColour
        bool twoFigures = false; // by the entry's extension, as the viewer lays it out
        FileSummary summary;     // when the file could be read
        std::string error;       // otherwise the Error's text ("Cannot open file <path>")
        std::error_code reason;  // and the system's reason, for the log
    };
    struct ColourSum {
        std::string colour;      // "GLD"
        bool twoFigures = false; // any of its files has two figures
        // The sums over the colour's files that could be read; members are the
        // distinct numbers over all of them.
        FileSummary summary;
    };
    std::string folder; // where the files are
    std::vector<Row> rows;
    // One per colour among the rows, in the order of the kinds (GLD, RED, GRN, GAR,
    // RAG), then any other in the order first met.
    std::vector<ColourSum> colours;

    bool anyTwoFigures() const;
};

// The colour an entry's points are of: the colour extension's letters ("GLD") of its
// kind, numbered or colour extension alike, any letter case; for any other extension
// its letters in upper case.
std::string entryColour(const ListEntry& entry);

// Reads each ticked entry's file in folder in turn and sums it up (summarize). A file
// that cannot be read gets its row with the error, and the others are still summed;
// one file's lines at a time are held in memory.
TickedTotals totalTicked(const std::vector<ListEntry>& entries, const std::string& folder,
                         FileSystem& fileSystem = FileSystem::system());

} // namespace mp
