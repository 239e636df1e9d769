// The folder scan over real folders: what is listed, in which order, what is renamed
// and what is never opened.

#include "FakeSettings.h"
#include "TempDir.h"
#include "masterpoint/Error.h"
#include "masterpoint/FolderScan.h"
#include "masterpoint/Platform.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

using namespace mp;

namespace {

class RecordingListener : public ScanListener {
public:
    explicit RecordingListener(bool convert = false) : convert_(convert) {}

    void addEntry(const ListEntry& entry) override {
        EXPECT_EQ(walkStarts, 1) << "entry before the walk began";
        EXPECT_FALSE(entry.ticked);
        entries.push_back(entry);
    }
    bool convertExtensions() override { return convert_; }
    void walkStarted() override { ++walkStarts; }

    std::multiset<std::pair<std::string, int>> listed() const {
        std::multiset<std::pair<std::string, int>> set;
        for (const ListEntry& e : entries) {
            set.emplace(e.displayText, e.kindCode);
        }
        return set;
    }

    std::vector<ListEntry> entries;
    int walkStarts = 0;

private:
    bool convert_;
};

enum class Type { File, ReadOnlyFile, Folder, Fifo };

struct Item {
    std::string name;
    std::string bytes; // for files
    Type type = Type::File;
};

// Valid content that also tells the files apart.
std::string valid(const std::string& tag) {
    return "0123456001250" + tag + "\r\n";
}

void build(const TempDir& dir, const std::vector<Item>& items) {
    for (const Item& item : items) {
        const std::string path = dir / item.name;
        switch (item.type) {
        case Type::File:
        case Type::ReadOnlyFile:
            dir.write(item.name, item.bytes);
            if (item.type == Type::ReadOnlyFile) {
                ::chmod(path.c_str(), 0444);
            }
            break;
        case Type::Folder:
            dir.mkdir(item.name);
            break;
        case Type::Fifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
            break;
        }
    }
}

struct ScanCase {
    const char* name;
    std::vector<Item> items;
    bool convert;
    std::multiset<std::pair<std::string, int>> listed;
    std::map<std::string, std::string> afterwards; // every file's content, by name
};

} // namespace

TEST(FolderScan, ListsValidFilesAndConvertsWhenAsked) {
    const std::string shortFile = "12345678901";
    const std::vector<Item> example = {{"A.MP1", valid("A")},
                                       {"B.GLD", valid("B")},
                                       {"C.TXT", valid("C")},
                                       {"D.MP2", shortFile},
                                       {"e.mp3", valid("e")}};
    const ScanCase cases[] = {
        {"example, option off",
         example,
         false,
         {{"A.MP1(GLD)", 1}, {"B.GLD", 0}, {"e.MP3(GRN)", 3}},
         {{"A.MP1", valid("A")},
          {"B.GLD", valid("B")},
          {"C.TXT", valid("C")},
          {"D.MP2", shortFile},
          {"e.mp3", valid("e")}}},
        {"example, option on",
         example,
         true,
         {{"A.GLD", 0}, {"B.GLD", 0}, {"e.GRN", 0}},
         {{"A.GLD", valid("A")},
          {"B.GLD", valid("B")},
          {"C.TXT", valid("C")},
          {"D.MP2", shortFile},
          {"e.GRN", valid("e")}}},
        {"converted name already taken",
         {{"X.MP1", valid("1")}, {"X.GLD", valid("2")}},
         true,
         {{"X.GLD", 0}, {"X.GLD", 0}},
         {{"X.MP1", valid("1")}, {"X.GLD", valid("2")}}},
        {"several dots", {{"a.b.MP2", valid("")}}, true, {{"a.RED", 0}}, {{"a.RED", valid("")}}},
        {"read-only and hidden files",
         {{"X.MP1", valid(""), Type::ReadOnlyFile}, {".x.GLD", valid("")}},
         false,
         {{"X.MP1(GLD)", 1}, {".x.GLD", 0}},
         {{"X.MP1", valid("")}, {".x.GLD", valid("")}}},
        {"folders and FIFOs are passed over",
         {{"Y.MP1", "", Type::Folder}, {"Z.GLD", "", Type::Folder}, {"F.GLD", "", Type::Fifo}},
         true,
         {},
         {}},
        {"names as bytes, any letter case",
         {{"\xff\xfe.GLD", valid("")}, {"club.gar", valid("")}, {"Q.Mp4", valid("")}},
         false,
         {{"\xff\xfe.GLD", 0}, {"club.gar", 0}, {"Q.MP4(GAR)", 4}},
         {{"\xff\xfe.GLD", valid("")}, {"club.gar", valid("")}, {"Q.Mp4", valid("")}}},
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
        FakeSettings settings;
        settings.folder = dir.path();
        RecordingListener listener(c.convert);
        scanFolder(settings, listener);
        EXPECT_EQ(listener.walkStarts, 1);
        EXPECT_EQ(listener.listed(), c.listed);
        for (const auto& [name, bytes] : c.afterwards) {
            EXPECT_EQ(readAll(dir / name), bytes) << name;
        }
        std::set<std::string> names = dir.names();
        for (const Item& item : c.items) {
            if (item.type != Type::File && item.type != Type::ReadOnlyFile) {
                names.erase(item.name);
            }
        }
        EXPECT_EQ(names.size(), c.afterwards.size());
    }
}

TEST(FolderScan, ListOrderIsEnumerationOrder) {
    TempDir dir;
    for (int i = 0; i < 40; ++i) {
        dir.write("F" + std::to_string(i) + (i % 3 ? ".GLD" : ".TXT"), valid(""));
    }
    std::vector<std::string> expected;
    platform::FolderEnumeration enumeration;
    platform::DirEntry entry;
    for (bool more = enumeration.first(dir.path(), entry); more; more = enumeration.next(entry)) {
        if (entry.name.size() > 4 && entry.name.compare(entry.name.size() - 4, 4, ".GLD") == 0) {
            expected.push_back(entry.name);
        }
    }
    FakeSettings settings;
    settings.folder = dir.path();
    RecordingListener listener;
    scanFolder(settings, listener);
    std::vector<std::string> listed;
    for (const ListEntry& e : listener.entries) {
        listed.push_back(e.displayText);
    }
    EXPECT_EQ(listed.size(), 26u);
    EXPECT_EQ(listed, expected);
}

TEST(FolderScan, RenamedFileIsListedOnceEvenIfTheWalkMeetsItAgain) {
    // Enough files that the walk reads the folder in several batches, so that names
    // made by its own renames can come up in a later batch.
    const int kFiles = 1200;
    TempDir dir;
    std::multiset<std::pair<std::string, int>> expected;
    for (int i = 0; i < kFiles; ++i) {
        dir.write("N" + std::to_string(i) + ".MP2", valid(""));
        expected.emplace("N" + std::to_string(i) + ".RED", 0);
    }
    FakeSettings settings;
    settings.folder = dir.path() + "/";
    RecordingListener listener(true);
    scanFolder(settings, listener);
    EXPECT_EQ(listener.listed(), expected);
    EXPECT_EQ(dir.names().size(), std::size_t{kFiles});
}

TEST(FolderScan, FolderThatCannotBeReadListsNothingQuietly) {
    TempDir dir;
    for (const std::string& folder : {dir / "gone", dir.write("file.GLD", valid(""))}) {
        FakeSettings settings;
        settings.folder = folder;
        RecordingListener listener(true);
        EXPECT_NO_THROW(scanFolder(settings, listener));
        EXPECT_EQ(listener.walkStarts, 0);
        EXPECT_TRUE(listener.entries.empty());
    }
}

TEST(FolderScan, CandidateThatCannotBeOpenedStopsTheScanKeepingEarlierEntries) {
    TempDir dir;
    dir.write("P.GLD", valid("P"));
    dir.write("Q.GLD", valid("Q"));
    // The folder is moved away after the walk and the first candidate's test.
    const std::string moved = dir / "moved";
    FakeSettings settings;
    settings.folderOnRead = [&](int read) { return read < 2 ? dir.path() : moved; };
    RecordingListener listener;
    std::string message;
    try {
        scanFolder(settings, listener);
    } catch (const Error& e) {
        message = e.what();
    }
    ASSERT_EQ(listener.entries.size(), 1u);
    const std::string first = listener.entries[0].displayText;
    const std::string second = first == "P.GLD" ? "Q.GLD" : "P.GLD";
    EXPECT_EQ(message, "Cannot open file " + moved + "/" + second);
}
