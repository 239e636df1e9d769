// Convert, Backup and Merge on real folders.

#include "FakeSettings.h"
#include "TempDir.h"
#include "masterpoint/Commands.h"
#include "masterpoint/Error.h"
#include "masterpoint/LineList.h"

#include <fcntl.h>
#include <gtest/gtest.h>

using namespace mp;
using namespace std::string_literals;

namespace {

// The message of the Error that fn throws; empty when it throws none.
template <typename Fn> std::string errorOf(Fn fn) {
    try {
        fn();
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

} // namespace

TEST(Convert, RenamesTickedNumberedEntriesNeverReplacing) {
    TempDir dir;
    for (const char* name : {"A.MP1", "B.MP4", "C.MP5", "D.GLD", "E.MP2", "X.MP1", "X.GLD"}) {
        dir.write(name, name);
    }
    FakeSettings settings;
    settings.folder = dir.path();
    const std::vector<ListEntry> entries = {
        {"A.MP1(GLD)", 1, true}, {"B.MP4(GAR)", 4, true},  {"C.MP5(RAG)", 5, true},
        {"D.GLD", 0, true},      {"E.MP2(RED)", 2, false}, {"Gone.MP3(GRN)", 3, true},
        {"X.MP1(GLD)", 1, true},
    };
    EXPECT_EQ(convertTicked(entries, settings), 5);
    EXPECT_EQ(dir.names(), (std::set<std::string>{"A.GLD", "B.GAR", "C.RAG", "D.GLD", "E.MP2",
                                                  "X.MP1", "X.GLD"}));
    EXPECT_EQ(readAll(dir / "A.GLD"), "A.MP1");
    EXPECT_EQ(readAll(dir / "C.RAG"), "C.MP5");
    EXPECT_EQ(readAll(dir / "X.MP1"), "X.MP1");
    EXPECT_EQ(readAll(dir / "X.GLD"), "X.GLD");
    EXPECT_EQ(convertTicked({{"D.GLD", 0, true}, {"E.MP2(RED)", 2, false}}, settings), 0);
}

TEST(Backup, CopiesTickedFilesByTheirNamesOnDiskNeverReplacing) {
    TempDir mpDir, backupDir;
    mpDir.write("X.MP3", "x3");
    mpDir.write("Y.GLD", "y");
    mpDir.write("Z.GLD", "new z");
    mpDir.write("W.GLD", "w");
    backupDir.write("Z.GLD", "old z");
    const struct timespec times[2] = {{0, UTIME_OMIT}, {1300000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (mpDir / "X.MP3").c_str(), times, 0), 0);
    FakeSettings settings;
    settings.folder = mpDir.path();
    settings.backup = backupDir.path();
    const std::vector<ListEntry> entries = {
        {"X.MP3(GRN)", 3, true}, {"Missing.GLD", 0, true}, {"Y.GLD", 0, true},
        {"Z.GLD", 0, true},      {"W.GLD", 0, false},
    };
    EXPECT_EQ(backupTicked(entries, settings), 4);
    EXPECT_EQ(backupDir.names(), (std::set<std::string>{"X.MP3", "Y.GLD", "Z.GLD"}));
    EXPECT_EQ(readAll(backupDir / "X.MP3"), "x3");
    EXPECT_EQ(readAll(backupDir / "Y.GLD"), "y");
    EXPECT_EQ(readAll(backupDir / "Z.GLD"), "old z");
    struct stat st {};
    ASSERT_EQ(::stat((backupDir / "X.MP3").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1300000000);

    // Backing up into the masterpoint folder itself copies nothing.
    settings.backup = mpDir.path();
    EXPECT_EQ(backupTicked(entries, settings), 4);
    EXPECT_EQ(mpDir.names().size(), 4u);
    EXPECT_EQ(readAll(mpDir / "Z.GLD"), "new z");
    EXPECT_EQ(backupTicked({{"Y.GLD", 0, false}}, settings), 0);
}

TEST(Merge, CheckPassComparesDisplayExtensionsExactly) {
    const struct {
        const char* name;
        std::vector<ListEntry> entries;
        MergeCheck::Outcome outcome;
        std::string extension;
    } cases[] = {
        {"two colour files", {{"X.GLD", 0, true}, {"Y.GLD", 0, true}}, MergeCheck::Ok, ".GLD"},
        {"two numbered files",
         {{"X.MP1(GLD)", 1, true}, {"Y.MP1(GLD)", 1, true}},
         MergeCheck::Ok,
         ".MP1(GLD)"},
        {"converted and not",
         {{"X.GLD", 0, true}, {"Y.MP1(GLD)", 1, true}},
         MergeCheck::DifferentExtensions,
         ".GLD"},
        {"letter case differs",
         {{"X.GLD", 0, true}, {"Y.gld", 0, true}},
         MergeCheck::DifferentExtensions,
         ".GLD"},
        {"first two of three differ",
         {{"X.GLD", 0, true}, {"Y.RED", 0, true}, {"Z.RED", 0, true}},
         MergeCheck::DifferentExtensions,
         ".GLD"},
        {"unticked entries play no part",
         {{"W.RED", 0, false}, {"X.GLD", 0, true}, {"Y.RED", 0, false}, {"Z.GLD", 0, true}},
         MergeCheck::Ok,
         ".GLD"},
        {"one ticked", {{"X.GLD", 0, true}, {"Y.GLD", 0, false}}, MergeCheck::TooFewTicked, ".GLD"},
        {"none ticked", {{"X.GLD", 0, false}}, MergeCheck::TooFewTicked, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MergeCheck check = checkMerge(c.entries);
        EXPECT_EQ(check.outcome, c.outcome);
        EXPECT_EQ(check.extension, c.extension);
    }
}

TEST(Merge, ProposedNameIsClubNumberAndExtensionInTheMasterpointFolder) {
    FakeSettings settings;
    settings.folder = "/mp";
    settings.club = 1234;
    EXPECT_EQ(proposedMergeName(settings, ".GLD"), "/mp/Club1234.GLD");
    EXPECT_EQ(proposedMergeName(settings, ".MP1(GLD)"), "/mp/Club1234.MP1(GLD)");
    settings.club = 0;
    settings.folder = "/mp/";
    EXPECT_EQ(proposedMergeName(settings, ".RED"), "/mp//Club0.RED");
    settings.club = -5;
    EXPECT_EQ(proposedMergeName(settings, ".RED"), "/mp//Club-5.RED");
}

TEST(Merge, OutputIsEveryInputLineWithCrLf) {
    const struct {
        const char* name;
        std::vector<std::string> inputs;
        std::string output;
    } cases[] = {
        {"crlf then lf without final end", {"A\r\nB\r\n", "C\nD"}, "A\r\nB\r\nC\r\nD\r\n"},
        {"lone cr, empty lines, nul",
         {"A\rB", "\n\nC\0junk\n"s, "E"},
         "A\r\nB\r\n\r\n\r\nC\r\nE\r\n"},
        {"headers and repeats pass through",
         {"HEADER\r\n1\r\n", "HEADER\r\n1\r\n"},
         "HEADER\r\n1\r\n"
         "HEADER\r\n1\r\n"},
        {"empty inputs give an empty file", {"", "\0text"s, ""}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < c.inputs.size(); ++i) {
            paths.push_back(dir.write("in" + std::to_string(i), c.inputs[i]));
        }
        dir.write("out", "previous content");
        mergeFiles(paths, dir / "out");
        EXPECT_EQ(readAll(dir / "out"), c.output);
        EXPECT_EQ(dir.names().size(), c.inputs.size() + 1);
    }
}

TEST(Merge, TickedEntriesResolveInListOrderAndOutputMayBeAnInput) {
    TempDir dir;
    dir.write("X.MP1", "X1\r\n");
    dir.write("Y.MP1", "Y1\r\n");
    dir.write("Z.MP1", "Z1\r\n");
    FakeSettings settings;
    settings.folder = dir.path();
    const std::vector<ListEntry> entries = {
        {"Y.MP1(GLD)", 1, true}, {"Z.MP1(GLD)", 1, false}, {"X.MP1(GLD)", 1, true}};
    mergeTicked(entries, settings, dir / "Y.MP1");
    EXPECT_EQ(readAll(dir / "Y.MP1"), "Y1\r\nX1\r\n");
    EXPECT_EQ(readAll(dir / "X.MP1"), "X1\r\n");
    EXPECT_EQ(dir.names().size(), 3u);
}

TEST(Merge, FailureLeavesEveryFileAsItWas) {
    TempDir dir;
    const std::string a = dir.write("A.GLD", "A\n");
    const std::string out = dir.write("out.GLD", "keep me");
    ::mkfifo((dir / "fifo.GLD").c_str(), 0644);
    const std::set<std::string> before = dir.names();

    EXPECT_EQ(errorOf([&] {
                  mergeFiles({a, dir / "gone.GLD", dir / "gone2.GLD"}, out);
              }),
              "Cannot open file " + dir / "gone.GLD");
    EXPECT_EQ(errorOf([&] {
                  mergeFiles({a, dir / "fifo.GLD"}, out);
              }),
              "Cannot open file " + dir / "fifo.GLD");
    EXPECT_EQ(errorOf([&] {
                  mergeFiles({a, a}, dir / "nofolder/out.GLD");
              }),
              "Cannot create file " + dir / "nofolder/out.GLD");
    // A missing input is reported before an output that cannot be created.
    EXPECT_EQ(errorOf([&] { mergeFiles({dir / "gone.GLD"}, dir / "nofolder/out.GLD"); }),
              "Cannot open file " + dir / "gone.GLD");
    const std::string folder = dir.mkdir("folder.GLD");
    EXPECT_EQ(errorOf([&] { mergeFiles({a, a}, folder); }), "Cannot create file " + folder);

    std::set<std::string> after = dir.names();
    after.erase("folder.GLD");
    EXPECT_EQ(after, before);
    EXPECT_EQ(readAll(out), "keep me");
    EXPECT_EQ(readAll(a), "A\n");
    EXPECT_TRUE(TempDir::namesIn(folder).empty());
}

TEST(Merge, LargeInputsAreStreamedWithLineEndsAcrossChunkBoundaries) {
    TempDir dir;
    // Lines of varied ends; a CR LF pair straddles each 1 MiB boundary.
    std::string big;
    for (int i = 0; big.size() < (5u << 20); ++i) {
        big += "1234567" + std::to_string(100000 + i % 900000) +
               (i % 3 == 0   ? "\r\n"
                : i % 3 == 1 ? "\n"
                             : "\r");
    }
    for (std::size_t boundary = 1u << 20; boundary < big.size(); boundary += 1u << 20) {
        big.replace(boundary - 1, 2, "\r\n");
    }
    const std::string first = dir.write("big1", big);
    const std::string second = dir.write("big2", "tail\r" + big.substr(0, 1000));
    mergeFiles({first, second}, dir / "out");
    const std::string expected = LineList::fromBytes(big).toCrLfText() +
                                 LineList::fromBytes("tail\r" + big.substr(0, 1000)).toCrLfText();
    EXPECT_TRUE(readAll(dir / "out") == expected);
}
