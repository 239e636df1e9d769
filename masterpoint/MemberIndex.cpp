#include "masterpoint/MemberIndex.h"

#include "masterpoint/Error.h"
#include "masterpoint/FileKind.h"
#include "masterpoint/LineList.h"
#include "masterpoint/TickedTotals.h"

#include <algorithm>
#include <cstring>

namespace mp {

namespace {

constexpr std::size_t kMemberLength = 7;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<std::uint32_t> MemberIndex::memberNumber(std::string_view text) {
    if (text.size() < kMemberLength)
        return std::nullopt;
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < kMemberLength; ++i) {
        if (!isDigit(text[i]))
            return std::nullopt;
        number = number * 10 + std::uint32_t(text[i] - '0');
    }
    if (text.size() != kMemberLength)
        return std::nullopt;
    return number;
}

MemberIndex::MemberIndex(const std::vector<ListEntry>& entries, const std::string& folder,
                         FileSystem& fileSystem) {
    for (const ListEntry& entry : entries) {
        File file;
        file.entry = entry;
        file.colour = entryColour(entry);
        file.twoFigures = isTwoFigureExtension(entryExtension(entry));
        const auto fileIndex = std::uint32_t(files_.size());
        try {
            LineList lines;
            lines.loadFromFile(entryPath(entry, folder), fileSystem);
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const std::string_view text = lines.line(i);
                const std::optional<std::uint32_t> member =
                    memberNumber(text.substr(0, std::min(text.size(), kMemberLength)));
                if (!member)
                    continue;
                Line line;
                line.line = i;
                line.member = *member;
                line.file = fileIndex;
                line.length = std::uint8_t(std::min(text.size(), line.head.size()));
                std::memcpy(line.head.data(), text.data(), line.length);
                line.marks = checkLine(text, file.twoFigures).cells;
                lines_.push_back(line);
            }
        } catch (const Error& error) {
            // One file that cannot be read must not hide the member's other lines.
            file.error = error.what();
            file.reason = error.reason();
        }
        files_.push_back(std::move(file));
    }
    // Lines were added by file, then line: a stable sort by member keeps that order
    // within each member.
    std::stable_sort(lines_.begin(), lines_.end(),
                     [](const Line& a, const Line& b) { return a.member < b.member; });
}

bool MemberIndex::anyTwoFigures() const {
    return std::any_of(files_.begin(), files_.end(),
                       [](const File& file) { return file.twoFigures; });
}

std::vector<const MemberIndex::Line*> MemberIndex::linesOf(std::uint32_t member) const {
    const auto range =
        std::equal_range(lines_.begin(), lines_.end(), member, [](const auto& a, const auto& b) {
            const auto number = [](const auto& x) {
                if constexpr (std::is_same_v<std::decay_t<decltype(x)>, Line>)
                    return x.member;
                else
                    return x;
            };
            return number(a) < number(b);
        });
    std::vector<const Line*> found;
    for (auto it = range.first; it != range.second; ++it)
        found.push_back(&*it);
    return found;
}

std::vector<ListEntry> entriesToSearch(const std::vector<ListEntry>& entries) {
    std::vector<ListEntry> ticked;
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(ticked),
                 [](const ListEntry& entry) { return entry.ticked; });
    return ticked.empty() ? entries : ticked;
}

} // namespace mp
