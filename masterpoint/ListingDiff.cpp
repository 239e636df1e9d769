#include "masterpoint/ListingDiff.h"

#include <algorithm>
#include <map>
#include <utility>

namespace mp {

ListingDiff compareListings(const std::vector<ListedFile>& before,
                            const std::vector<ListedFile>& after) {
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
            if (old->stamp != now->stamp) {
                diff.changed.push_back(now->name);
            }
            ++old;
            ++now;
        }
    }
    // A rename keeps the file, its size and its time: matched by those, the few names
    // that went and came pair up without comparing every name with every other.
    std::map<std::pair<std::uint64_t, std::uint64_t>, const ListedFile*> goneById;
    for (const ListedFile* file : gone) {
        goneById.emplace(std::make_pair(file->stamp.device, file->stamp.file), file);
    }
    std::vector<const ListedFile*> renamedAway;
    for (const ListedFile* file : come) {
        const auto match = goneById.find({file->stamp.device, file->stamp.file});
        if (match != goneById.end() && match->second->stamp == file->stamp) {
            diff.renamed.emplace_back(match->second->name, file->name);
            renamedAway.push_back(match->second);
            goneById.erase(match);
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
