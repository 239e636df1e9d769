// The folder scan over real folders: what is listed, in which order, what is renamed
// and what is never opened.

#include "TempDir.h"
#include "masterpoint/FileName.h"
#include "masterpoint/FolderScan.h"
#include "support/FaultyFileSystem.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <tuple>
#include <vector>

using namespace mp;

namespace {

// One entry as listed: display text, kind, the real file name.
using Listed = std::tuple<std::string, int, std::string>;

std::vector<Listed> listingOf(const ScanResult& result) {
    std::vector<Listed> listing;
    for (const ListEntry& e : result.entries) {
        EXPECT_FALSE(e.ticked);
        listing.emplace_back(e.displayText, e.kindCode, e.fileName);
    }
    return listing;
}

std::vector<std::string> messagesOf(const Problems& problems) {
    std::vector<std::string> messages;
    for (const Problem& p : problems.all()) {
        messages.push_back(p.message);
    }
    return messages;
}

enum class Type { File, ReadOnlyFile, Folder, Fifo, Link };

struct Item {
    std::string name;
    std::string bytes; // a file's content, a link's target
    Type type = Type::File;
};

void build(const TempDir& dir, const std::vector<Item>& items) {
    for (const Item& item : items) {
        const std::string path = dir / item.name;
        switch (item.type) {
        case Type::File:
            dir.write(item.name, item.bytes);
            break;
        case Type::ReadOnlyFile:
            makeReadOnly(dir.write(item.name, item.bytes));
            break;
        case Type::Folder:
            dir.mkdir(item.name);
            break;
#ifdef _WIN32
        case Type::Fifo:
        case Type::Link:
            FAIL() << "no FIFOs or links in these folders on Windows: " << path;
#else
        case Type::Fifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
            break;
        case Type::Link:
            ASSERT_EQ(::symlink(item.bytes.c_str(), path.c_str()), 0);
            break;
#endif
        }
    }
}

// The names that can stand side by side in one folder: where names that differ only in
// case are one file (Windows), each such name after the first is left out.
std::vector<std::string> sideBySide(std::vector<std::string> names) {
#ifdef _WIN32
    std::set<std::string> seen;
    names.erase(std::remove_if(
                    names.begin(), names.end(),
                    [&](const std::string& name) { return !seen.insert(upperAscii(name)).second; }),
                names.end());
#endif
    return names;
}

struct ScanCase {
    const char* name;
    std::vector<Item> items;
    bool convert;
    std::vector<Listed> listed;
    Files afterwards; // every regular file, by name
    std::vector<std::string> problems = {};
    std::set<std::string> notFiles = {}; // folders, FIFOs, dangling links
};

} // namespace

TEST(FolderScan, ListsValidFilesAndConvertsWhenAsked) {
    const std::string shortFile = "12345678901";
#ifdef _WIN32
    const std::string oddName = "\xce\x94\xe2\x98\x83.GLD"; // outside every ANSI code page
#else
    const std::string oddName = "\xff\xfe.GLD"; // not UTF-8
#endif
    const std::vector<Item> example = {{"A.MP1", valid("A")},
                                       {"B.GLD", valid("B")},
                                       {"C.TXT", valid("C")},
                                       {"D.MP2", shortFile},
                                       {"e.mp3", valid("e")}};
    const ScanCase cases[] = {
        {"example, option off",
         example,
         false,
         {{"A.MP1(GLD)", 1, "A.MP1"}, {"B.GLD", 0, "B.GLD"}, {"e.MP3(GRN)", 3, "e.mp3"}},
         {{"A.MP1", valid("A")},
          {"B.GLD", valid("B")},
          {"C.TXT", valid("C")},
          {"D.MP2", shortFile},
          {"e.mp3", valid("e")}}},
        {"example, option on",
         example,
         true,
         {{"A.GLD", 0, "A.GLD"}, {"B.GLD", 0, "B.GLD"}, {"e.GRN", 0, "e.GRN"}},
         {{"A.GLD", valid("A")},
          {"B.GLD", valid("B")},
          {"C.TXT", valid("C")},
          {"D.MP2", shortFile},
          {"e.GRN", valid("e")}}},
        {"converted name taken, by a listed file or an invalid one",
         {{"X.MP1", valid("1")}, {"X.GLD", valid("2")}, {"Y.MP1", valid("3")}, {"Y.GLD", "x"}},
         true,
         {{"X.GLD", 0, "X.GLD"}, {"X.MP1(GLD)", 1, "X.MP1"}, {"Y.MP1(GLD)", 1, "Y.MP1"}},
         {{"X.MP1", valid("1")}, {"X.GLD", valid("2")}, {"Y.MP1", valid("3")}, {"Y.GLD", "x"}},
         {"Could not convert X.MP1: X.GLD already exists",
          "Could not convert Y.MP1: Y.GLD already exists"}},
        {"double-dotted name beside its namesake: only the last extension changes",
         {{"a.b.MP1", valid("ab")}, {"a.MP1", valid("a")}},
         true,
         {{"a.b.GLD", 0, "a.b.GLD"}, {"a.GLD", 0, "a.GLD"}},
         {{"a.b.GLD", valid("ab")}, {"a.GLD", valid("a")}}},
        {"lower-case extensions",
         {{"low.mp1", valid("l")}, {"club.gld", valid("c")}},
         true,
         {{"club.gld", 0, "club.gld"}, {"low.GLD", 0, "low.GLD"}},
         {{"low.GLD", valid("l")}, {"club.gld", valid("c")}}},
#ifdef _WIN32
        {"names differing only in case: one file, and a converted name taken",
         {{"CLUB.GLD", valid("U")}, {"club.gld", valid("l")}, {"club.MP1", valid("m")}},
         true,
         {{"CLUB.GLD", 0, "CLUB.GLD"}, {"club.MP1(GLD)", 1, "club.MP1"}},
         {{"CLUB.GLD", valid("l")}, {"club.MP1", valid("m")}},
         {"Could not convert club.MP1: club.GLD already exists"}},
#else
        {"names differing only in case",
         {{"CLUB.GLD", valid("U")}, {"club.gld", valid("l")}, {"club.MP1", valid("m")}},
         true,
         {{"CLUB.GLD", 0, "CLUB.GLD"}, {"club.GLD", 0, "club.GLD"}, {"club.gld", 0, "club.gld"}},
         {{"CLUB.GLD", valid("U")}, {"club.gld", valid("l")}, {"club.GLD", valid("m")}}},
#endif
        {"read-only and hidden files",
         {{"X.MP1", valid(""), Type::ReadOnlyFile}, {".x.GLD", valid("")}},
         false,
         {{".x.GLD", 0, ".x.GLD"}, {"X.MP1(GLD)", 1, "X.MP1"}},
         {{"X.MP1", valid("")}, {".x.GLD", valid("")}}},
        {"folders are passed over",
         {{"Y.MP1", "", Type::Folder}, {"Z.GLD", "", Type::Folder}, {"T.TXT", valid("t")}},
         true,
         {},
         {{"T.TXT", valid("t")}},
         {},
         {"Y.MP1", "Z.GLD"}},
#ifndef _WIN32
        {"folders, FIFOs and dangling links are passed over; a link to a file is one",
         {{"Y.MP1", "", Type::Folder},
          {"Z.GLD", "", Type::Folder},
          {"F.GLD", "", Type::Fifo},
          {"D.GLD", "nowhere", Type::Link},
          {"T.TXT", valid("t")},
          {"L.MP1", "T.TXT", Type::Link}},
         true,
         {{"L.GLD", 0, "L.GLD"}},
         {{"T.TXT", valid("t")}, {"L.GLD", valid("t")}},
         {},
         {"Y.MP1", "Z.GLD", "F.GLD", "D.GLD"}},
#endif
        {"names as the file system gives them, any letter case",
         {{oddName, valid("")}, {"club.gar", valid("")}, {"Q.Mp4", valid("")}},
         false,
         {{"club.gar", 0, "club.gar"}, {"Q.MP4(GAR)", 4, "Q.Mp4"}, {oddName, 0, oddName}},
         {{oddName, valid("")}, {"club.gar", valid("")}, {"Q.Mp4", valid("")}}},
        {"invalid files are neither listed nor renamed",
         {{"D.MP2", shortFile}, {"N.RED", " 123456789012"}, {"M.MP5", "\xEF\xBB\xBF" + valid("")}},
         true,
         {},
         {{"D.MP2", shortFile}, {"N.RED", " 123456789012"}, {"M.MP5", "\xEF\xBB\xBF" + valid("")}}},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        build(dir, c.items);
        ScanResult result; // what a scan before left is cleared
        result.entries.push_back(ListEntry::forFile("old.GLD", 0));
        result.problems.add("old", "");
        int walkStarts = 0;
        scanFolder(dir.path(), {c.convert, [&] { ++walkStarts; }}, result);
        EXPECT_EQ(walkStarts, 1);
        EXPECT_EQ(listingOf(result), c.listed);
        EXPECT_EQ(messagesOf(result.problems), c.problems);
        EXPECT_EQ(dir.files(), c.afterwards);
        std::set<std::string> notFiles = dir.names();
        for (const auto& file : c.afterwards) {
            notFiles.erase(file.first);
        }
        EXPECT_EQ(notFiles, c.notFiles);
    }
}

TEST(FolderScan, ListsInNameOrderWhateverTheOrderOnDisk) {
    // The names in the order the list must show them, as found and converted on the way:
    // a converted name may take another place ("x.MP2" before "x.RAG", "x.RED" after).
    const auto inOrder = [](std::vector<std::string> head, const std::vector<std::string>& tail) {
        for (int i = 0; i < 34; ++i) { // "K00.GLD", "k01.GLD", ...
            head.push_back((i % 2 ? "k" : "K") + std::to_string(i / 10) + std::to_string(i % 10) +
                           ".GLD");
        }
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const std::vector<std::string> asFound = sideBySide(
        inOrder({"0.GLD", "9.GLD", "a.b.GLD", "A.GLD", "a.GLD", "A.MP2", "A10.GLD", "a2.GLD",
                 "B.GLD", "b.GLD", "Ba.GLD", "bA.GLD"},
                {"m.MP1", "x.MP2", "x.RAG", "Z.GLD", "z.GLD", "[x.GLD", "_.GLD", "\xc3\xa9.GLD"}));
    const std::vector<std::string> converted = sideBySide(
        inOrder({"0.GLD", "9.GLD", "a.b.GLD", "A.GLD", "a.GLD", "A.RED", "A10.GLD", "a2.GLD",
                 "B.GLD", "b.GLD", "Ba.GLD", "bA.GLD"},
                {"m.GLD", "x.RAG", "x.RED", "Z.GLD", "z.GLD", "[x.GLD", "_.GLD", "\xc3\xa9.GLD"}));

    for (bool convert : {false, true}) {
        SCOPED_TRACE(convert ? "converted on the way" : "as found");
        std::vector<std::string> shuffled = asFound;
        std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(convert ? 7 : 11));
        TempDir dir;
        for (const std::string& name : shuffled) {
            dir.write(name, valid(""));
        }
        ScanResult result;
        scanFolder(dir.path(), {convert, {}}, result);
        std::vector<std::string> listed;
        for (const ListEntry& e : result.entries) {
            listed.push_back(e.fileName);
        }
        EXPECT_EQ(listed, convert ? converted : asFound);
        EXPECT_TRUE(result.problems.empty());
    }
}

TEST(FolderScan, ManyRenamesAreEachListedOnce) {
    const int kFiles = 1200;
    TempDir dir;
    std::set<std::string> expected;
    for (int i = 0; i < kFiles; ++i) {
        dir.write("N" + std::to_string(i) + ".MP2", valid(""));
        expected.insert("N" + std::to_string(i) + ".RED");
    }
    ScanResult result;
    scanFolder(dir.path() + "/", {true, {}}, result);
    std::set<std::string> listed;
    for (const ListEntry& e : result.entries) {
        EXPECT_EQ(e.kindCode, 0);
        listed.insert(e.displayText);
    }
    EXPECT_EQ(result.entries.size(), std::size_t{kFiles});
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(dir.names(), expected);
}

TEST(FolderScan, FolderThatCannotBeReadSaysWhyAndAnEmptyOneListsNothing) {
    TempDir dir;
    TempDir empty;
    FaultyFileSystem denied;
    denied.failOn(Call::ListFolder, std::errc::permission_denied);
    dir.write("X.GLD", valid(""));
    const struct {
        const char* what;
        std::string folder;
        FileSystem& fileSystem;
        std::error_condition why;
    } cases[] = {
        {"missing", dir / "gone", FileSystem::system(),
         std::make_error_condition(std::errc::no_such_file_or_directory)},
        {"a file", dir / "X.GLD", FileSystem::system(),
         std::make_error_condition(std::errc::not_a_directory)},
        {"empty", empty.path(), FileSystem::system(), {}},
        {"unreadable", dir.path(), denied, std::make_error_condition(std::errc::permission_denied)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScanResult result;
        result.folderError = std::make_error_code(std::errc::io_error); // from an earlier scan
        int walkStarts = 0;
        EXPECT_NO_THROW(scanFolder(c.folder, {true, [&] { ++walkStarts; }}, result, c.fileSystem));
        EXPECT_EQ(walkStarts, 0);
        EXPECT_TRUE(result.entries.empty());
        EXPECT_TRUE(result.problems.empty());
        EXPECT_EQ(static_cast<bool>(result.folderError), static_cast<bool>(c.why));
        EXPECT_TRUE(result.folderError == c.why) << result.folderError.message();
    }
    EXPECT_EQ(denied.fired(), 1);
}

TEST(FolderScan, ProgressCountsTheFilesTestedSoFar) {
    TempDir dir;
    for (const char* name : {"A.GLD", "B.GLD", "C.TXT", "D.MP1", "E.RED", "F.GRN"}) {
        dir.write(name, valid(name));
    }
    const struct {
        std::size_t interval;
        std::vector<std::pair<std::size_t, std::size_t>> calls; // tested, candidates
    } cases[] = {
        {2, {{2, 5}, {4, 5}}},
        {5, {{5, 5}}},
        {6, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.interval);
        std::vector<std::pair<std::size_t, std::size_t>> calls;
        ScanOptions options;
        options.progress = [&](std::size_t tested, std::size_t all) {
            calls.emplace_back(tested, all);
        };
        options.progressInterval = c.interval;
        ScanResult result;
        scanFolder(dir.path(), options, result);
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(result.entries.size(), std::size_t{5});
    }
}

// One candidate that cannot be opened once hid every file after it in name order (a
// name that became a link loop mid-scan listed a third of the folder); now every other
// file is listed and converted, and the unreadable one is said once, with the reason.
TEST(FolderScan, CandidateGoneOrUnopenableIsPassedOverAndTheRestListed) {
    const struct {
        const char* what;
        std::errc error;
        bool said; // with the reason
    } cases[] = {
        {"gone since the listing", std::errc::no_such_file_or_directory, false},
        {"access denied", std::errc::permission_denied, true},
        {"a link loop", std::errc::too_many_symbolic_link_levels, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        for (const char* name : {"R.MP1", "Q.GLD", "P.GLD", "O.MP1"}) {
            dir.write(name, valid(name));
        }
        FaultyFileSystem faulty;
        faulty.failOn(Call::ReadHead, c.error, 0, "Q.GLD");
        ScanResult result;
        EXPECT_EQ(errorOf([&] { scanFolder(dir.path(), {true, {}}, result, faulty); }), "");
        EXPECT_EQ(faulty.fired(), 1);
        std::vector<std::string> listed;
        for (const ListEntry& e : result.entries) {
            listed.push_back(e.fileName);
        }
        EXPECT_EQ(listed, (std::vector<std::string>{"O.GLD", "P.GLD", "R.GLD"}));
        EXPECT_EQ(dir.names(), (std::set<std::string>{"O.GLD", "P.GLD", "Q.GLD", "R.GLD"}));
        EXPECT_EQ(result.problems.text(), c.said ? "Cannot open file " + dir / "Q.GLD" + ": " +
                                                       describe(std::make_error_code(c.error))
                                                 : "");
    }
}

// The folder as the system lists it, but with the attribute words given by name: words
// that one platform's files never carry (on POSIX a lone read-only or hidden bit, on
// Windows under Wine a file without the archive bit).
class WordsFileSystem : public FaultyFileSystem {
public:
    explicit WordsFileSystem(std::map<std::string, unsigned> words) : words_(std::move(words)) {}
    std::error_code listFolder(const std::string& folder, std::vector<DirEntry>& entries) override {
        const std::error_code error = FaultyFileSystem::listFolder(folder, entries);
        for (DirEntry& entry : entries) {
            if (const auto word = words_.find(entry.name); word != words_.end()) {
                entry.attributes = word->second;
            }
        }
        return error;
    }

private:
    std::map<std::string, unsigned> words_;
};

TEST(FolderScan, PassesOverWhatCarriesOneAttributeAloneAndTriesEverythingElse) {
    TempDir dir;
    // Every one a valid file: only its word decides whether it is listed.
    const std::map<std::string, unsigned> words = {
        {"R1.GLD", ReadOnly},
        {"H2.GLD", Hidden},
        {"S4.GLD", System},
        {"V8.GLD", VolumeLabel},
        {"D16.GLD", Directory},
        {"A32.GLD", Archive},
        {"RA33.GLD", ReadOnly | Archive},
        {"HA34.GLD", Hidden | Archive},
        {"RH3.GLD", ReadOnly | Hidden},
        {"HS6.GLD", Hidden | System},
        {"N128.GLD", Normal},
    };
    for (const auto& word : words) {
        dir.write(word.first, valid(word.first));
    }
    WordsFileSystem listing(words);
    ScanResult result;
    scanFolder(dir.path(), {}, result, listing);
    std::vector<std::string> listed;
    for (const ListEntry& e : result.entries) {
        listed.push_back(e.fileName);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"A32.GLD", "HA34.GLD", "HS6.GLD", "N128.GLD",
                                                "RA33.GLD", "RH3.GLD"}));
}
