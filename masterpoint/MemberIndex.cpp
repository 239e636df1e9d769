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
            // Grown as a vector grows, so that many files cost no copy each.
            if (lines_.capacity() < lines_.size() + lines.size())
                lines_.reserve(std::max(lines_.capacity() * 2, lines_.size() + lines.size()));
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const std::string_view text = lines.line(i);
                const std::optional<std::uint32_t> member =
                    memberNumber(text.substr(0, std::min(text.size(), kMemberLength)));
                if (!member)
                    continue;
                if (lines_.size() == std::size_t(0xffffffffu))
                    throw Error("Cannot read file " + entryPath(entry, folder) +
                                ": the files hold too many lines to search together");
                Line line;
                line.line = std::uint32_t(i);
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
    // Lines were added by file, then line; a stable sort by member keeps that order
    // within each member. Member numbers are below 2^24: two passes of a radix sort over
    // the lines' places, then the lines moved once, cost a month of half a million
    // records a few milliseconds, where a comparison sort of the lines costs tenfold.
    constexpr unsigned kBits = 12;
    constexpr std::uint32_t kBuckets = 1u << kBits;
    // The numbers apart from the lines, so that the passes read 4 bytes a line, not 36.
    std::vector<std::uint32_t> members(lines_.size());
    std::vector<std::uint32_t> order(lines_.size());
    std::vector<std::uint32_t> passed(lines_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        members[i] = lines_[i].member;
        order[i] = std::uint32_t(i);
    }
    for (const unsigned shift : {0u, kBits}) {
        std::vector<std::uint32_t> start(kBuckets + 1, 0);
        for (const std::uint32_t member : members)
            ++start[((member >> shift) & (kBuckets - 1)) + 1];
        for (std::uint32_t bucket = 0; bucket < kBuckets; ++bucket)
            start[bucket + 1] += start[bucket];
        for (const std::uint32_t at : order)
            passed[start[(members[at] >> shift) & (kBuckets - 1)]++] = at;
        order.swap(passed);
    }
    std::vector<Line> sorted;
    sorted.reserve(lines_.size());
    for (const std::uint32_t at : order)
        sorted.push_back(lines_[at]);
    lines_ = std::move(sorted);
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
