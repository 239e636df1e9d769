// The comparison of one look at a folder with the next: what the list following the
// folder adds, removes, renames and opens again.

#include "masterpoint/ListingDiff.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace mp;

namespace {

// name, file number, size, time: one file as a look gives it.
ListedFile file(const std::string& name, std::uint64_t id, std::uint64_t size = 20,
                std::int64_t time = 100) {
    ListedFile f;
    f.name = name;
    f.stamp.device = 1;
    f.stamp.file = id;
    f.stamp.size = size;
    f.stamp.modifiedSeconds = time;
    f.entryId = id;
    return f;
}

// A file as a scan has just listed it: its folder entry, no stamp.
ListedFile unstamped(const std::string& name, std::uint64_t id) {
    ListedFile f = file(name, id);
    f.stamp = FileStamp();
    f.stamped = false;
    return f;
}

// When the unstamped files were last known: after every time of the table but 300.
constexpr std::int64_t kScanned = 200'000'000'000;

std::vector<ListedFile> sorted(std::vector<ListedFile> files) {
    std::sort(files.begin(), files.end(),
              [](const ListedFile& a, const ListedFile& b) { return a.name < b.name; });
    return files;
}

// The diff in one line: "+added -removed ~changed old>new".
std::string text(const ListingDiff& diff) {
    std::string out;
    const auto add = [&out](const std::string& part) { out += (out.empty() ? "" : " ") + part; };
    for (const std::string& name : diff.added)
        add("+" + name);
    for (const std::string& name : diff.removed)
        add("-" + name);
    for (const std::string& name : diff.changed)
        add("~" + name);
    for (const auto& [from, to] : diff.renamed)
        add(from + ">" + to);
    return out;
}

struct Case {
    const char* name;
    std::vector<ListedFile> before;
    std::vector<ListedFile> after;
    const char* expected;
};

// Guards the list following the folder: a missed arrival or departure, a file still
// being written not opened again, a rename taken for a new file (its tick lost), a
// replaced file taken for the same, and every file taken for changed at its first stat.
TEST(ListingDiff, SaysWhatChanged) {
    const std::vector<Case> cases = {
        {"nothing changed",
         {file("A.GLD", 1), file("B.MP1", 2)},
         {file("A.GLD", 1), file("B.MP1", 2)},
         ""},
        {"an arrival", {file("A.GLD", 1)}, {file("A.GLD", 1), file("C.MP1", 3)}, "+C.MP1"},
        {"into an empty folder", {}, {file("A.GLD", 1), file("B.GLD", 2)}, "+A.GLD +B.GLD"},
        {"a departure", {file("A.GLD", 1), file("B.MP1", 2)}, {file("B.MP1", 2)}, "-A.GLD"},
        {"renamed", {file("A.MP1", 1)}, {file("A.GLD", 1)}, "A.MP1>A.GLD"},
        {"letter case alone", {file("club.gld", 1)}, {file("CLUB.GLD", 1)}, "club.gld>CLUB.GLD"},
        {"still growing", {file("A.MP1", 1, 13)}, {file("A.MP1", 1, 26, 101)}, "~A.MP1"},
        {"rewritten to the same size",
         {file("A.MP1", 1, 13, 100)},
         {file("A.MP1", 1, 13, 105)},
         "~A.MP1"},
        // Merge's output put in place over the old file: another file under the name.
        {"replaced by another file", {file("A.GLD", 1)}, {file("A.GLD", 9)}, "~A.GLD"},
        // Emptied (no longer a masterpoint file) is a change; the test then decides.
        {"emptied", {file("A.GLD", 1, 26)}, {file("A.GLD", 1, 0, 102)}, "~A.GLD"},
        {"renamed and written to",
         {file("A.MP1", 1)},
         {file("B.MP1", 1, 40, 110)},
         "+B.MP1 -A.MP1"},
        {"a rename and an arrival",
         {file("A.MP1", 1), file("Z.GLD", 5)},
         {file("A.GLD", 1), file("M.GLD", 7), file("Z.GLD", 5)},
         "+M.GLD A.MP1>A.GLD"},
        {"all gone", {file("A.GLD", 1), file("B.GLD", 2)}, {}, "-A.GLD -B.GLD"},
        // Files a scan listed are stat'ed only when there is a reason.
        {"stat'ed for the first time", {unstamped("A.GLD", 1)}, {file("A.GLD", 1)}, ""},
        {"written since the scan", {unstamped("A.GLD", 1)}, {file("A.GLD", 1, 20, 300)}, "~A.GLD"},
        {"renamed before it was stat'ed",
         {unstamped("A.MP1", 1)},
         {file("A.GLD", 1)},
         "A.MP1>A.GLD"},
        {"replaced before it was stat'ed",
         {unstamped("A.GLD", 1)},
         {unstamped("A.GLD", 2)},
         "~A.GLD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text(compareListings(sorted(c.before), sorted(c.after), kScanned)), c.expected)
            << c.name;
    }
}

// Guards a large folder: one arrival among 100,000 names, one departure and one file
// written to are each found, and nothing else is taken for changed.
TEST(ListingDiff, OneChangeAmongAHundredThousand) {
    std::vector<ListedFile> before;
    for (std::uint64_t i = 0; i < 100000; ++i)
        before.push_back(file("CLUB" + std::to_string(1000000 + i) + ".GLD", i + 10));
    before = sorted(before);
    struct Change {
        const char* name;
        void (*apply)(std::vector<ListedFile>&);
        const char* expected;
    };
    const std::vector<Change> changes = {
        {"arrival", [](std::vector<ListedFile>& f) { f.push_back(file("CLUB1050000x.GLD", 1)); },
         "+CLUB1050000x.GLD"},
        {"departure", [](std::vector<ListedFile>& f) { f.erase(f.begin() + 777); },
         "-CLUB1000777.GLD"},
        {"grown", [](std::vector<ListedFile>& f) { f[99999].stamp.size = 99; }, "~CLUB1099999.GLD"},
    };
    for (const Change& change : changes) {
        std::vector<ListedFile> after = before;
        change.apply(after);
        EXPECT_EQ(text(compareListings(before, sorted(after))), change.expected) << change.name;
    }
}

} // namespace
