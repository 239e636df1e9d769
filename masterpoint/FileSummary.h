#pragma once
// What a secretary checks of a file before sending it on: how many records (lines) it
// holds, how many of them add nothing to a total because a figure is not a number, how
// many are out of format yet add to a total and what they add (checkLine), and the
// column totals exactly as the viewer sums them (Totals::add), those lines included.

#include "masterpoint/LineList.h"
#include "masterpoint/MemberSet.h"
#include "masterpoint/Record.h"
#include "masterpoint/RecordCheck.h"

#include <cstdint>
#include <string_view>

namespace mp {

struct FileSummary {
    std::uint64_t records = 0;     // lines, each one whatever it holds
    std::uint64_t members = 0;     // distinct member numbers (MemberSet); summarize only
    std::uint64_t notCounted = 0;  // lines with a figure that is not a number
    std::uint64_t outOfFormat = 0; // lines not records whose figures still count
    Totals totals;
    Totals outOfFormatTotals; // what the outOfFormat lines add to totals

    // Counts one line and adds its figures; returns the line's check for whoever
    // shows its marks.
    LineCheck add(std::string_view line, bool twoFigures);
    // Adds another summary's counts and totals; members are left to the caller, who
    // alone knows which numbers the two have in common.
    void addCounts(const FileSummary& other);
};

// Every line of a file summed up, members included; the member numbers are also added
// to allMembers, for a count over several files.
FileSummary summarize(const LineList& lines, bool twoFigures, MemberSet& allMembers);

} // namespace mp
