#include "masterpoint/TickedTotals.h"

#include "masterpoint/Error.h"
#include "masterpoint/FileKind.h"
#include "masterpoint/LineList.h"

namespace mp {

bool TickedTotals::anyTwoFigures() const {
    for (const Row& row : rows) {
        if (row.twoFigures) {
            return true;
        }
    }
    return false;
}

TickedTotals totalTicked(const std::vector<ListEntry>& entries, const std::string& folder,
                         FileSystem& fileSystem) {
    TickedTotals result;
    MemberSet allMembers;
    for (const ListEntry& entry : entries) {
        if (!entry.ticked) {
            continue;
        }
        TickedTotals::Row row;
        row.displayText = entry.displayText;
        row.twoFigures = isTwoFigureExtension(entryExtension(entry));
        try {
            LineList lines;
            lines.loadFromFile(entryPath(entry, folder), fileSystem);
            row.summary = summarize(lines, row.twoFigures, allMembers);
            result.all.addCounts(row.summary);
        } catch (const Error& error) {
            // One file the secretary cannot check must not hide the others.
            row.error = error.what();
            row.reason = error.reason();
        }
        result.rows.push_back(std::move(row));
    }
    result.all.members = allMembers.size();
    return result;
}

} // namespace mp
