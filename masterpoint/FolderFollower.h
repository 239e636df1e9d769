#pragma once
// Keeps the file list in step with its folder between scans. Each look lists the
// folder's names, with the stats of what is new or has a reason to be looked at
// (listCandidates, alwaysStamp()), compares them with the last look
// (compareListings) and opens only the files that are new or changed, and those only
// once they have settled: a file is listed when it passes the validity test and its
// size and time have not changed for kSettleNanoseconds, so a file still being written
// is never listed half-written. A file that changes and fails the test leaves the list;
// a file renamed in the folder is listed under its new name. With the option to convert
// on, an arrival of a numbered extension is converted as the scan converts it.
//
// Times are passed in (nanoseconds of the wall clock, the clock of file times), so
// that what settles when is the caller's clock and not this class's.

#include "masterpoint/FileSystem.h"
#include "masterpoint/FolderListing.h"
#include "masterpoint/ListEntry.h"
#include "masterpoint/Problems.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

namespace mp {

constexpr std::int64_t kSettleNanoseconds = 1'000'000'000;

struct FollowResult {
    std::vector<std::string> removed; // file names of the entries that leave the list
    std::vector<ListEntry> added;     // new entries, unticked, in name order
    // Entries renamed (old file name, new file name): the old is in removed, the new in
    // added, so that whatever the entry carried can go with it.
    std::vector<std::pair<std::string, std::string>> renamed;
    // Arrivals converted (name found, name given); the new name is in added.
    std::vector<std::pair<std::string, std::string>> converted;
    // Files written to or replaced since the last look, and files gone from their names,
    // listed or not: whatever shows one of them shows what no longer is.
    std::vector<std::string> changedFiles;
    std::vector<std::string> goneFiles;
    Problems problems;           // conversions that failed, files that could not be opened
    std::error_code folderError; // the folder could not be listed: nothing else changed
    // When the next look is due for a file waiting to settle, in nanoseconds from now;
    // nothing when no file waits.
    std::optional<std::int64_t> lookAgainIn;

    bool listChanged() const { return !removed.empty() || !added.empty(); }
};

class FolderFollower {
public:
    // Follows folder from now on, taking listed (a scan's entries, just made) as what the
    // list holds, scanned: when that scan began. A candidate the scan did not list is not
    // opened again until it changes, unless it was written to in the kSettleNanoseconds
    // before the scan or since. Costs one listing of the names, and a stat of each
    // candidate the scan did not list: a listed file is stat'ed when there is a reason
    // to, and counts as changed when written to since the scan.
    FollowResult start(const std::string& folder, const std::vector<ListEntry>& listed,
                       std::int64_t scanned, FileSystem& fileSystem = FileSystem::system());
    // Looks at the folder again. settleNow takes every waiting file as settled (the user
    // asked for the list to be brought up to date) and tries again the files that could
    // not be opened.
    FollowResult look(std::int64_t now, bool convertExtensions, bool settleNow = false);
    // Follows nothing any more.
    void stop();
    // The files stat'ed at every look, whatever their folder entries say: those the
    // viewers show, whose change in place is to be seen. A look otherwise stats only new
    // entries and files waiting to settle; one with settleNow stats every file.
    void alwaysStamp(std::vector<std::string> names) { alwaysStamp_ = std::move(names); }
    // Takes the stamp of name as it is now, before a viewer reads it: a change after this
    // is seen at the next look, whatever the file's time says. A file not in the last
    // look, or gone, is left as it was.
    void stampBeforeReading(const std::string& name);

    // The folder followed (as given to start()); empty when none.
    const std::string& folder() const { return folder_; }

private:
    struct FileState {
        int numberedKind = 0;
        bool listed = false;     // the list has an entry for this file
        bool pending = false;    // waiting to settle, then to be tested
        bool openFailed = false; // could not be opened at its stamp
        std::int64_t seenSince = 0;
        std::string renamedFrom; // the listed name it had, when it came by a rename
    };

    FileSystem* fileSystem_ = nullptr;
    std::string folder_;
    std::string prefix_; // folder_ and its separator
    std::vector<ListedFile> listing_;
    std::unordered_map<std::string, FileState> known_;
    std::set<std::string> pending_;
    std::vector<std::string> alwaysStamp_;
    std::int64_t scanned_ = 0;
    bool folderMissing_ = false;

    const ListedFile* listedFile(const std::string& name) const;
    void settle(std::int64_t now, bool convertExtensions, bool settleNow, FollowResult& result);
    void test(const std::string& name, FileState& known, bool convertExtensions,
              FollowResult& result);
    void renameInListing(const std::string& from, const std::string& to);
};

} // namespace mp
