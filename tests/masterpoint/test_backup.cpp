// Backup on real folders: copies by the real name that never replace, a copy already
// there judged by its bytes, and what a failed copy leaves and says.

#include "TempDir.h"
#include "masterpoint/Backup.h"
#include "support/FaultyFileSystem.h"

#include <gtest/gtest.h>

using namespace mp;

TEST(Backup, CopiesTickedFilesByTheirRealNamesNeverReplacing) {
    TempDir mpDir, backupDir;
    mpDir.write("X.MP3", "x3");
    mpDir.write("Y.GLD", "y");
    mpDir.write("Z.GLD", "new z");
    mpDir.write("W.GLD", "w");
    backupDir.write("Z.GLD", "old z");
    ASSERT_TRUE(setModifiedTime(mpDir / "X.MP3", {1300000000, 0}));
    const Files mpFiles = mpDir.files();
    const std::vector<ListEntry> entries = {
        ticked("X.MP3", 3), ticked("Missing.GLD", 0),  ticked("Y.GLD", 0),
        ticked("Z.GLD", 0), ticked("W.GLD", 0, false),
    };
    BackupResult result = backUpTicked(entries, mpDir.path(), backupDir.path());
    EXPECT_EQ(result.ticked, 4);
    EXPECT_EQ(result.alreadyThere, 0);
    const std::string missing = "Could not back up Missing.GLD: " + missingFileReason();
    EXPECT_EQ(result.problems.text(),
              missing + "\nNot backed up Z.GLD: a different copy is already in the backup folder");
    EXPECT_EQ(backupDir.files(), (Files{{"X.MP3", "x3"}, {"Y.GLD", "y"}, {"Z.GLD", "old z"}}));
    EXPECT_EQ(mpDir.files(), mpFiles);
    EXPECT_EQ(modifiedTime(backupDir / "X.MP3").seconds, 1300000000);

    // Into the masterpoint folder itself: every file is its own copy.
    result = backUpTicked(entries, mpDir.path(), mpDir.path());
    EXPECT_EQ(result.ticked, 4);
    EXPECT_EQ(result.alreadyThere, 3);
    EXPECT_EQ(result.problems.text(), missing);
    EXPECT_EQ(mpDir.files(), mpFiles);
}

TEST(Backup, ACopyAlreadyThereCountsOnlyWithTheSameBytes) {
    std::string big(300000, 'x');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>('0' + i % 10);
    }
    const std::string differ = "Not backed up CLUB.GLD: a different copy is already in the "
                               "backup folder";
    const struct {
        const char* what;
        std::string file, copy;
        std::string problem;
    } cases[] = {
        {"same bytes", valid("c"), valid("c"), ""},
        {"both empty", "", "", ""},
        {"same bytes, many chunks", big, big, ""},
        {"same size, other bytes", valid("c"), valid("d"), differ},
        {"the copy is longer", valid("c"), valid("c") + "x", differ},
        {"the copy is a prefix", valid("c"), valid(""), differ},
        {"the copy is empty", valid("c"), "", differ},
        {"the last byte of many chunks differs", big, big.substr(0, big.size() - 1) + "x", differ},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir mpDir, backupDir;
        mpDir.write("CLUB.GLD", c.file);
        backupDir.write("CLUB.GLD", c.copy);
        const BackupResult result =
            backUpTicked({ticked("CLUB.GLD", 0)}, mpDir.path(), backupDir.path());
        EXPECT_EQ(result.problems.text(), c.problem);
        EXPECT_TRUE(backupDir.files() == (Files{{"CLUB.GLD", c.copy}}));
        EXPECT_TRUE(mpDir.files() == (Files{{"CLUB.GLD", c.file}}));
    }
}

TEST(Backup, FailedCopyLeavesNoFileSaysWhyAndTheWalkGoesOn) {
    const struct {
        const char* what;
        Call call;
        std::errc error;
        int after;
        std::string pathPart;
        std::string problem;
    } cases[] = {
        {"the copy cannot be created", Call::CreateNew, std::errc::permission_denied, 0, "CLUB.GLD",
         "Could not back up CLUB.GLD: permission denied"},
        {"the file cannot be opened", Call::OpenForReading, std::errc::permission_denied, 0,
         "CLUB.GLD", "Could not back up CLUB.GLD: permission denied"},
        {"the disk fills after the first bytes", Call::CopyData, std::errc::no_space_on_device, 1,
         "", "Could not back up CLUB.GLD: no space left on device"},
        {"the close reports a lost write", Call::Close, std::errc::io_error, 1, "",
         "Could not back up CLUB.GLD: input/output error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir mpDir, backupDir;
        for (const char* name : {"A.GLD", "CLUB.GLD", "Z.GLD"}) {
            mpDir.write(name, valid(name));
        }
        const Files mpFiles = mpDir.files();
        FaultyFileSystem faulty;
        faulty.failOn(c.call, c.error, c.after, c.pathPart);
        const BackupResult result =
            backUpTicked({ticked("A.GLD", 0), ticked("CLUB.GLD", 0), ticked("Z.GLD", 0)},
                         mpDir.path(), backupDir.path(), faulty);
        EXPECT_EQ(faulty.fired(), 1);
        EXPECT_EQ(result.ticked, 3);
        EXPECT_EQ(result.problems.text(), c.problem);
        EXPECT_EQ(backupDir.files(), (Files{{"A.GLD", valid("A.GLD")}, {"Z.GLD", valid("Z.GLD")}}));
        EXPECT_EQ(backupDir.names().size(), 2u);
        EXPECT_EQ(mpDir.files(), mpFiles);
    }
}
