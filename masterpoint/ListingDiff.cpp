#include "masterpoint/ListingDiff.h"

#include <algorithm>
#include <map>
#include <utility>

namespace mp {

ListingDiff compareListings(const std::vector<ListedFile>& before,
                            const std::vector<ListedFile>& after, std::int64_t unstampedAsOf) {
    ListingDiff diff;
    std::vector<const ListedFile*> gone;
    std::vector<const ListedFile*> come;
    auto old = before.begin();
    auto now = after.begin();
    while (old != before.end() || now != after.end()) {
        if (now == after.end() || (old != before.end() && old->name < now->name)) {
            gone.push_back(&*old++);
        } else if (old == before.end() || now->name < old->name) {
            come.push_back(&*now++);
        } else {
            const bool otherEntry =
                old->entryId != 0 && now->entryId != 0 && old->entryId != now->entryId;
            const bool written =
                now->stamped && (old->stamped ? old->stamp != now->stamp
                                              : now->stamp.modifiedSeconds * 1'000'000'000 +
                                                        now->stamp.modifiedNanoseconds >=
                                                    unstampedAsOf);
            if (otherEntry || written) {
                diff.changed.push_back(now->name);
            }
            ++old;
            ++now;
        }
    }
    // A rename keeps the file, its size and its time: matched by those, the few names
    // that went and came pair up without comparing every name with every other.
    std::map<std::pair<std::uint64_t, std::uint64_t>, const ListedFile*> goneById;
    std::map<std::uint64_t, const ListedFile*> goneByEntry; // those never stamped
    for (const ListedFile* file : gone) {
        if (file->stamped) {
            goneById.emplace(std::make_pair(file->stamp.device, file->stamp.file), file);
        } else if (file->entryId != 0) {
            goneByEntry.emplace(file->entryId, file);
        }
    }
    std::vector<const ListedFile*> renamedAway;
    for (const ListedFile* file : come) {
        const ListedFile* from = nullptr;
        const auto byId = goneById.find({file->stamp.device, file->stamp.file});
        if (file->stamped && byId != goneById.end() && byId->second->stamp == file->stamp) {
            from = byId->second;
            goneById.erase(byId);
        } else if (const auto byEntry = goneByEntry.find(file->entryId);
                   file->entryId != 0 && byEntry != goneByEntry.end()) {
            from = byEntry->second;
            goneByEntry.erase(byEntry);
        }
        if (from != nullptr) {
            diff.renamed.emplace_back(from->name, file->name);
            renamedAway.push_back(from);
        } else {
            diff.added.push_back(file->name);
        }
    }
    std::sort(renamedAway.begin(), renamedAway.end());
    for (const ListedFile* file : gone) {
        if (!std::binary_search(renamedAway.begin(), renamedAway.end(), file)) {
            diff.removed.push_back(file->name);
        }
    }
    return diff;
}

} // namespace mp
