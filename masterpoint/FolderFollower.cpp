#include "masterpoint/FolderFollower.h"

#include "masterpoint/Convert.h"
#include "masterpoint/Error.h"
#include "masterpoint/FileName.h"
#include "masterpoint/ListingDiff.h"
#include "masterpoint/ValidityTest.h"

#include <algorithm>
#include <unordered_set>

namespace mp {

namespace {

std::int64_t modifiedAt(const FileStamp& stamp) {
    return stamp.modifiedSeconds * 1'000'000'000 + stamp.modifiedNanoseconds;
}

bool isBeforeByName(const ListEntry& a, const ListEntry& b) {
    return isBeforeInNameOrder(a.fileName, b.fileName);
}

} // namespace

FollowResult FolderFollower::start(const std::string& folder, const std::vector<ListEntry>& listed,
                                   std::int64_t scanned, FileSystem& fileSystem) {
    stop();
    scanned_ = scanned;
    const std::int64_t now = scanned;
    fileSystem_ = &fileSystem;
    folder_ = folder;
    prefix_ = joinPath(folder, "");
    FollowResult result;
    std::unordered_set<std::string> names;
    for (const ListEntry& entry : listed) {
        names.insert(entry.fileName);
    }
    // The files the scan has just listed are not stat'ed: that would add half the scan's
    // time to every Locate. Each is stamped when it is looked at for a reason.
    result.folderError =
        listCandidates(prefix_, listing_, fileSystem, nullptr, [&names](const std::string& name) {
            return names.count(name) != 0 ? Stamp::Never : Stamp::IfNew;
        });
    folderMissing_ = static_cast<bool>(result.folderError);
    for (const ListedFile& file : listing_) {
        FileState& known = known_[file.name];
        known.numberedKind = file.numberedKind;
        known.listed = names.count(file.name) != 0;
        // Written to a moment ago, the scan may have seen it half-written and passed it
        // over: it is looked at again once it has settled.
        if (!known.listed && file.stamped && now - modifiedAt(file.stamp) < kSettleNanoseconds) {
            known.pending = true;
            known.seenSince = now;
            pending_.insert(file.name);
        }
    }
    settle(now, false, false, result);
    return result;
}

void FolderFollower::stop() {
    folder_.clear();
    prefix_.clear();
    listing_.clear();
    known_.clear();
    pending_.clear();
    alwaysStamp_.clear();
    folderMissing_ = false;
}

FollowResult FolderFollower::look(std::int64_t now, bool convertExtensions, bool settleNow) {
    FollowResult result;
    if (fileSystem_ == nullptr || prefix_.empty()) {
        return result;
    }
    std::vector<ListedFile> fresh;
    const auto stamp = [this](const std::string& name) {
        return pending_.count(name) != 0 || std::find(alwaysStamp_.begin(), alwaysStamp_.end(),
                                                      name) != alwaysStamp_.end()
                   ? Stamp::Always
                   : Stamp::IfNew;
    };
    if (const std::error_code error =
            listCandidates(prefix_, fresh, *fileSystem_,
                           // Every file stat'ed when the user asks, and when the folder is back
                           // (another drive's files may have the same entry ids).
                           settleNow || folderMissing_ ? nullptr : &listing_, stamp)) {
        // A drive pulled out: the list keeps what it had until the folder is back.
        result.folderError = error;
        folderMissing_ = true;
        return result;
    }
    folderMissing_ = false;
    // File times come from a coarser clock than ours, a few milliseconds behind it: a
    // file written just after the scan began may bear a time just before.
    constexpr std::int64_t kClockSlack = 100'000'000;
    const ListingDiff diff = compareListings(listing_, fresh, scanned_ - kClockSlack);
    listing_ = std::move(fresh);

    for (const std::string& name : diff.removed) {
        const auto found = known_.find(name);
        if (found != known_.end() && found->second.listed) {
            result.removed.push_back(name);
        }
        result.goneFiles.push_back(name);
        known_.erase(name);
        pending_.erase(name);
    }
    for (const auto& [from, to] : diff.renamed) {
        const FileState old = known_[from];
        known_.erase(from);
        pending_.erase(from);
        result.goneFiles.push_back(from);
        FileState& known = known_[to];
        known.numberedKind = listedFile(to)->numberedKind;
        if (old.listed) {
            // Tested again under its new name, at once: its kind may differ, and the
            // option to convert applies to it as to any arrival.
            result.removed.push_back(from);
            known.pending = true;
            known.seenSince = now - kSettleNanoseconds;
            known.renamedFrom = from;
        } else if (old.pending) {
            known.pending = true;
            known.seenSince = old.seenSince;
        }
        if (known.pending) {
            pending_.insert(to);
        }
    }
    for (const std::string& name : diff.added) {
        FileState& known = known_[name];
        known.numberedKind = listedFile(name)->numberedKind;
        known.pending = true;
        known.seenSince = now;
        pending_.insert(name);
    }
    for (const std::string& name : diff.changed) {
        FileState& known = known_[name];
        result.changedFiles.push_back(name);
        known.pending = true;
        known.openFailed = false;
        known.seenSince = now;
        pending_.insert(name);
    }
    settle(now, convertExtensions, settleNow, result);
    std::sort(result.added.begin(), result.added.end(), isBeforeByName);
    return result;
}

void FolderFollower::settle(std::int64_t now, bool convertExtensions, bool settleNow,
                            FollowResult& result) {
    if (settleNow) {
        // The user's word: files that could not be opened are tried again too.
        for (auto& [name, known] : known_) {
            if (known.openFailed && !known.pending) {
                known.pending = true;
                pending_.insert(name);
            }
        }
    }
    for (auto it = pending_.begin(); it != pending_.end();) {
        const std::string name = *it;
        FileState& known = known_[name];
        const ListedFile* file = listedFile(name);
        known.seenSince = std::min(known.seenSince, now); // the clock set back
        const std::int64_t modified = file && file->stamped ? modifiedAt(file->stamp) : now;
        // Unchanged for the settling time: seen so that long, or not written to for it
        // (a file copied in with its old time, or there before the look).
        if (settleNow || now - known.seenSince >= kSettleNanoseconds ||
            (modified <= now && now - modified >= kSettleNanoseconds)) {
            it = pending_.erase(it);
            known.pending = false;
            test(name, known, convertExtensions, result);
            continue;
        }
        std::int64_t due = known.seenSince + kSettleNanoseconds;
        if (modified <= now) {
            due = std::min(due, modified + kSettleNanoseconds);
        }
        const std::int64_t wait = std::max<std::int64_t>(due - now, 1);
        result.lookAgainIn = std::min(result.lookAgainIn.value_or(wait), wait);
        ++it;
    }
}

void FolderFollower::test(const std::string& name, FileState& known, bool convertExtensions,
                          FollowResult& result) {
    const std::string renamedFrom = std::move(known.renamedFrom);
    known.renamedFrom.clear();
    bool valid = false;
    try {
        valid = isMasterpointFile(prefix_ + name, mp::Known::Nothing, *fileSystem_);
    } catch (const Error& error) {
        if (error.reason() == std::errc::no_such_file_or_directory) {
            return; // gone already: the next look says so
        }
        // Said once: not tried again until it changes, or the user refreshes.
        known.openFailed = true;
        std::string message = error.what();
        if (error.reason()) {
            message += ": " + describe(error.reason());
        }
        result.problems.add(message, "look at " + prefix_ + name + ": " + error.reason().message());
        return;
    }
    known.openFailed = false;
    if (!valid) {
        if (known.listed) {
            known.listed = false;
            result.removed.push_back(name);
        }
        return;
    }
    if (known.listed) {
        return; // written to, and still a masterpoint file: its entry stays
    }
    known.listed = true;
    if (known.numberedKind != 0 && convertExtensions) {
        const std::string converted = convertedName(name, known.numberedKind);
        if (convertFile(prefix_, name, converted, result.problems, *fileSystem_)) {
            result.added.push_back(ListEntry::forFile(converted, 0));
            result.converted.emplace_back(name, converted);
            if (!renamedFrom.empty()) {
                result.renamed.emplace_back(renamedFrom, converted);
            }
            renameInListing(name, converted); // known is gone from here on
            return;
        }
        // Listed as it is on disk, as the scan lists it, so that every command reaches it.
    }
    result.added.push_back(ListEntry::forFile(name, known.numberedKind));
    if (!renamedFrom.empty()) {
        result.renamed.emplace_back(renamedFrom, name);
    }
}

void FolderFollower::stampBeforeReading(const std::string& name) {
    if (fileSystem_ == nullptr || prefix_.empty())
        return;
    const auto found = std::lower_bound(
        listing_.begin(), listing_.end(), name,
        [](const ListedFile& file, const std::string& key) { return file.name < key; });
    if (found == listing_.end() || found->name != name)
        return;
    // Unstamped, a file rewritten in place would count as changed only if its new time
    // were after the scan: a copy that keeps an older time would go unseen.
    FileStamp stamp;
    if (!fileSystem_->stampAt(prefix_ + name, stamp)) {
        found->stamp = stamp;
        found->stamped = true;
    }
}

const ListedFile* FolderFollower::listedFile(const std::string& name) const {
    const auto found = std::lower_bound(
        listing_.begin(), listing_.end(), name,
        [](const ListedFile& file, const std::string& key) { return file.name < key; });
    return found != listing_.end() && found->name == name ? &*found : nullptr;
}

void FolderFollower::renameInListing(const std::string& from, const std::string& to) {
    // Our own rename, seen as such at the next look rather than as a file gone and one come.
    ListedFile file;
    if (const ListedFile* old = listedFile(from)) {
        file = *old;
        listing_.erase(listing_.begin() + (old - listing_.data()));
    }
    file.name = to;
    file.numberedKind = 0;
    file.stamped = !fileSystem_->stampAt(prefix_ + to, file.stamp);
    const auto place =
        std::lower_bound(listing_.begin(), listing_.end(), to,
                         [](const ListedFile& f, const std::string& key) { return f.name < key; });
    listing_.insert(place, std::move(file));
    FileState& known = known_[to];
    known = FileState();
    known.listed = true;
    known_.erase(from);
}

} // namespace mp
