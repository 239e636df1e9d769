// Every command acts on the very file the scan listed, however its name is spelt:
// lower-case extensions, a double-dotted name beside its namesake, names differing only
// in case (where they are two files).

#include "TempDir.h"
#include "masterpoint/Backup.h"
#include "masterpoint/Convert.h"
#include "masterpoint/FolderScan.h"
#include "masterpoint/Merge.h"

#include <gtest/gtest.h>

using namespace mp;

namespace {

struct FolderCase {
    const char* what;
    std::vector<std::string> names;                             // each holding valid(name)
    std::vector<std::pair<std::string, int>> listed;            // display text, kind, in order
    std::vector<std::pair<std::string, std::string>> converted; // name after Convert, from
};

const FolderCase kFolders[] = {
    {"lower-case extensions",
     {"low.mp1", "club.gld"},
     {{"club.gld", 0}, {"low.MP1(GLD)", 1}},
     {{"club.gld", "club.gld"}, {"low.GLD", "low.mp1"}}},
    {"double-dotted name beside its namesake",
     {"a.MP1", "a.b.MP1"},
     {{"a.b.MP1(GLD)", 1}, {"a.MP1(GLD)", 1}},
     {{"a.b.GLD", "a.b.MP1"}, {"a.GLD", "a.MP1"}}},
#ifndef _WIN32 // where they are one file, test_windows.cpp has them
    {"names differing only in case",
     {"club.gld", "CLUB.GLD", "club.mp2", "CLUB.MP2"},
     {{"CLUB.GLD", 0}, {"club.gld", 0}, {"CLUB.MP2(RED)", 2}, {"club.MP2(RED)", 2}},
     {{"CLUB.GLD", "CLUB.GLD"},
      {"club.gld", "club.gld"},
      {"CLUB.RED", "CLUB.MP2"},
      {"club.RED", "club.mp2"}}},
#endif
};

} // namespace

TEST(ListedFiles, EveryCommandActsOnTheFileListed) {
    for (const FolderCase& c : kFolders) {
        SCOPED_TRACE(c.what);
        TempDir mpDir, backupDir, outDir;
        Files original;
        for (const std::string& name : c.names) {
            mpDir.write(name, valid(name));
            original[name] = valid(name);
        }
        ScanResult scan;
        scanFolder(mpDir.path(), {}, scan);
        std::vector<std::pair<std::string, int>> listed;
        std::string viewed, merged;
        for (ListEntry& entry : scan.entries) {
            listed.emplace_back(entry.displayText, entry.kindCode);
            entry.ticked = true;
            viewed += readAll(entryPath(entry, mpDir.path()));
            merged += valid(entry.fileName);
        }
        ASSERT_EQ(listed, c.listed);
        // The viewer opens the file listed, in list order.
        EXPECT_EQ(viewed, merged);

        const BackupResult backup = backUpTicked(scan.entries, mpDir.path(), backupDir.path());
        EXPECT_TRUE(backup.problems.empty()) << backup.problems.text();
        EXPECT_EQ(backupDir.files(), original);

        mergeFiles(tickedPaths(scan.entries, mpDir.path()), outDir / "out");
        EXPECT_EQ(readAll(outDir / "out"), merged);

        const ConvertResult convert = convertTicked(scan.entries, mpDir.path());
        EXPECT_TRUE(convert.problems.empty()) << convert.problems.text();
        Files converted;
        for (const auto& [newName, oldName] : c.converted) {
            converted[newName] = valid(oldName);
        }
        EXPECT_EQ(mpDir.files(), converted);
    }
}
