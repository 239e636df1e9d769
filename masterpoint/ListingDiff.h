#pragma once
// What changed in a folder from one listing to the next.

#include "masterpoint/FolderListing.h"

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace mp {

struct ListingDiff {
    std::vector<std::string> added;   // names new to the folder
    std::vector<std::string> removed; // names gone from it
    // Names still there whose file was written to (size or time) or replaced by another
    // (another entry id, or identity). A file stamped for the first time has changed when
    // its time is at or after unstampedAsOf.
    std::vector<std::string> changed;
    // The same file, size and time under a new name (old, new), a change of letter case
    // alone included; such names are in neither added nor removed. An old name never
    // stamped is matched by its entry id.
    std::vector<std::pair<std::string, std::string>> renamed;

    bool empty() const {
        return added.empty() && removed.empty() && changed.empty() && renamed.empty();
    }
};

// Compares two listings, each sorted by name bytes (listCandidates), in one pass over
// both; every list of the result comes in name-byte order.
// unstampedAsOf: when the files that before leaves unstamped were last known (nanoseconds
// of the clock of file times).
ListingDiff compareListings(const std::vector<ListedFile>& before,
                            const std::vector<ListedFile>& after,
                            std::int64_t unstampedAsOf = std::numeric_limits<std::int64_t>::max());

} // namespace mp
