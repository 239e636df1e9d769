// Convert on real folders: which entries are renamed, to what, and what a refused rename
// leaves and says.

#include "TempDir.h"
#include "masterpoint/Convert.h"
#include "masterpoint/RecentChange.h"
#include "support/FaultyFileSystem.h"

#include <gtest/gtest.h>
#include <optional>

using namespace mp;

TEST(Convert, RenamesTickedNumberedEntriesOnly) {
    TempDir dir;
    for (const char* name : {"A.MP1", "B.MP4", "C.MP5", "D.GLD", "E.MP2"}) {
        dir.write(name, name);
    }
    const std::vector<ListEntry> entries = {
        ticked("A.MP1", 1), ticked("B.MP4", 4),        ticked("C.MP5", 5),
        ticked("D.GLD", 0), ticked("E.MP2", 2, false), ticked("Gone.MP3", 3),
    };
    const ConvertResult result = convertTicked(entries, dir.path());
    EXPECT_EQ(result.attempted, 4);
    EXPECT_EQ(result.problems.text(), "Could not convert Gone.MP3: " + missingFileReason());
    EXPECT_EQ(dir.files(), (Files{{"A.GLD", "A.MP1"},
                                  {"B.GAR", "B.MP4"},
                                  {"C.RAG", "C.MP5"},
                                  {"D.GLD", "D.GLD"},
                                  {"E.MP2", "E.MP2"}}));
    EXPECT_EQ(convertTicked({ticked("D.GLD", 0), ticked("E.MP2", 2, false)}, dir.path()).attempted,
              0);
}

TEST(Convert, OnlyTheLastExtensionOfTheRealNameChanges) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, int>> files; // real name, kind; all ticked
        Files after;
    } cases[] = {
        {"lower case", {{"low.mp1", 1}}, {{"low.GLD", "low.mp1"}}},
        {"mixed case", {{"Q.Mp4", 4}, {"Z.mP5", 5}}, {{"Q.GAR", "Q.Mp4"}, {"Z.RAG", "Z.mP5"}}},
        {"upper case",
         {{"club.MP2", 2}, {"e.MP3", 3}},
         {{"club.RED", "club.MP2"}, {"e.GRN", "e.MP3"}}},
        {"double-dotted name beside its namesake",
         {{"a.b.MP1", 1}, {"a.MP1", 1}},
         {{"a.b.GLD", "a.b.MP1"}, {"a.GLD", "a.MP1"}}},
        {"a numbered extension inside the name stays",
         {{"x.mp2.MP1", 1}},
         {{"x.mp2.GLD", "x.mp2.MP1"}}},
#ifndef _WIN32 // where they are one file, test_windows.cpp has them
        {"names differing only in case",
         {{"CLUB.MP1", 1}, {"club.mp1", 1}},
         {{"CLUB.GLD", "CLUB.MP1"}, {"club.GLD", "club.mp1"}}},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        std::vector<ListEntry> entries;
        for (const auto& [name, kind] : c.files) {
            dir.write(name, name);
            entries.push_back(ticked(name, kind));
        }
        const ConvertResult result = convertTicked(entries, dir.path());
        EXPECT_EQ(result.attempted, static_cast<int>(c.files.size()));
        EXPECT_EQ(result.problems.text(), "");
        EXPECT_EQ(dir.files(), c.after);
    }
}

TEST(Convert, RefusedRenameLeavesTheFileAndSaysWhyAndTheWalkGoesOn) {
    const struct {
        const char* what;
        std::vector<std::string> others;      // files beside A.MP1 and CLUB.MP1
        std::optional<std::errc> renameFails; // for CLUB.MP1
        std::string problem;
        Files after;
        bool writtenNow = false; // CLUB.MP1 changed a moment ago
    } cases[] = {
        // The scoring program still writing CLUB.MP1 once went on under the old name,
        // beside the part renamed.
        {"still being written",
         {},
         std::nullopt,
         "Did not convert CLUB.MP1 yet: it changed a moment ago and may still be being written",
         {{"A.GLD", "A.MP1"}, {"CLUB.MP1", "CLUB.MP1"}},
         true},
        {"the converted name exists",
         {"CLUB.GLD"},
         std::nullopt,
         "Could not convert CLUB.MP1: CLUB.GLD already exists",
         {{"A.GLD", "A.MP1"}, {"CLUB.MP1", "CLUB.MP1"}, {"CLUB.GLD", "CLUB.GLD"}}},
#ifdef _WIN32
        {"the converted name exists in another case: the same file",
         {"club.gld"},
         std::nullopt,
         "Could not convert CLUB.MP1: CLUB.GLD already exists",
         {{"A.GLD", "A.MP1"}, {"CLUB.MP1", "CLUB.MP1"}, {"club.gld", "club.gld"}}},
#else
        {"the converted name exists in another case only",
         {"club.gld"},
         std::nullopt,
         "",
         {{"A.GLD", "A.MP1"}, {"CLUB.GLD", "CLUB.MP1"}, {"club.gld", "club.gld"}}},
#endif
        {"permission denied",
         {},
         std::errc::permission_denied,
         "Could not convert CLUB.MP1: permission denied",
         {{"A.GLD", "A.MP1"}, {"CLUB.MP1", "CLUB.MP1"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        for (const std::string& name : c.others) {
            dir.write(name, name);
        }
        dir.write("A.MP1", "A.MP1");
        c.writtenNow ? dir.writeNow("CLUB.MP1", "CLUB.MP1") : dir.write("CLUB.MP1", "CLUB.MP1");
        FaultyFileSystem faulty;
        if (c.renameFails) {
            faulty.failOn(Call::RenameNoReplace, *c.renameFails, 0, "CLUB.MP1");
        }
        // CLUB.MP1 comes first, so that A.MP1 shows the walk going on after it.
        const ConvertResult result =
            convertTicked({ticked("CLUB.MP1", 1), ticked("A.MP1", 1)}, dir.path(), faulty);
        EXPECT_EQ(faulty.fired(), c.renameFails ? 1 : 0);
        EXPECT_EQ(result.attempted, 2);
        EXPECT_EQ(result.problems.text(), c.problem);
        EXPECT_EQ(result.problems.size(), c.problem.empty() ? 0u : 1u);
        EXPECT_EQ(dir.files(), c.after);
    }
}

// Where "a moment ago" ends, for Convert and for whatever else waits for a writer: a
// file dated a little ahead of our clock is as fresh as one a little behind it.
TEST(Convert, ChangedInTheLastSecondIsWithinOneSecondEitherWay) {
    const struct {
        std::int64_t seconds, nanoseconds; // the file's time, now being 100.5 s
        bool recent;
    } cases[] = {{100, 500000000, true}, {99, 500000001, true},   {99, 500000000, false},
                 {101, 499999999, true}, {101, 500000000, false}, {0, 0, false}};
    for (const auto& c : cases) {
        FileStamp stamp;
        stamp.modifiedSeconds = c.seconds;
        stamp.modifiedNanoseconds = c.nanoseconds;
        EXPECT_EQ(changedInTheLastSecond(stamp, 100, 500000000), c.recent) << c.seconds;
    }
}
