#include "masterpoint/TickedTotals.h"

#include "masterpoint/Error.h"
#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"
#include "masterpoint/LineList.h"
#include "masterpoint/MemberSet.h"

#include <algorithm>

namespace mp {

namespace {

// Kind code 1..5 of a colour, past the kinds for any other.
int kindOrder(const std::string& colour) {
    const int code = kindOfColourExtension("." + colour);
    return code != 0 ? code : 6;
}

} // namespace

bool TickedTotals::anyTwoFigures() const {
    for (const Row& row : rows) {
        if (row.twoFigures) {
            return true;
        }
    }
    return false;
}

std::string entryColour(const ListEntry& entry) {
    const std::string extension = upperAscii(entryExtension(entry));
    int code = kindOfNumberedExtension(extension);
    if (code == 0) {
        code = kindOfColourExtension(extension);
    }
    const std::string letters = code != 0 ? kindByCode(code)->colour : extension;
    return letters.empty() || letters[0] != '.' ? letters : letters.substr(1);
}

TickedTotals totalTicked(const std::vector<ListEntry>& entries, const std::string& folder,
                         FileSystem& fileSystem) {
    TickedTotals result;
    result.folder = folder;
    // Each colour's member numbers, beside result.colours.
    std::vector<MemberSet> members;
    for (const ListEntry& entry : entries) {
        if (!entry.ticked) {
            continue;
        }
        TickedTotals::Row row;
        row.displayText = entry.displayText;
        row.colour = entryColour(entry);
        row.twoFigures = isTwoFigureExtension(entryExtension(entry));
        auto sum = std::find_if(
            result.colours.begin(), result.colours.end(),
            [&](const TickedTotals::ColourSum& colour) { return colour.colour == row.colour; });
        if (sum == result.colours.end()) {
            result.colours.push_back({row.colour, false, {}});
            members.emplace_back();
            sum = result.colours.end() - 1;
        }
        sum->twoFigures = sum->twoFigures || row.twoFigures;
        try {
            LineList lines;
            lines.loadFromFile(entryPath(entry, folder), fileSystem);
            row.summary = summarize(lines, row.twoFigures,
                                    members[std::size_t(sum - result.colours.begin())]);
            sum->summary.addCounts(row.summary);
        } catch (const Error& error) {
            // One file the secretary cannot check must not hide the others.
            row.error = error.what();
            row.reason = error.reason();
        }
        result.rows.push_back(std::move(row));
    }
    for (std::size_t i = 0; i < members.size(); ++i) {
        result.colours[i].summary.members = members[i].size();
    }
    std::stable_sort(result.colours.begin(), result.colours.end(),
                     [](const TickedTotals::ColourSum& a, const TickedTotals::ColourSum& b) {
                         return kindOrder(a.colour) < kindOrder(b.colour);
                     });
    return result;
}

} // namespace mp
