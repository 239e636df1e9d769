// The POSIX file-system calls: joining, enumeration attributes, renames and copies that
// never replace, and files written beside their name.

#include "TempDir.h"
#include "masterpoint/Platform.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>

using namespace mp::platform;

TEST(Platform, JoinPathAddsOneSeparatorAndNothingElse) {
    EXPECT_EQ(joinPath("x", "n"), "x/n");
    EXPECT_EQ(joinPath("x/", "n"), "x//n");
    EXPECT_EQ(joinPath("", "n"), "/n");
    EXPECT_EQ(joinPath("x", ""), "x/");
}

namespace {

// One entry of every kind the attribute word tells apart.
void makeOneOfEachKind(const TempDir& dir) {
    dir.write("a.GLD", "x");
    ::chmod(dir.write("ro.GLD", "x").c_str(), 0444);
    dir.write(".h.GLD", "x");
    ::chmod(dir.write(".rh", "x").c_str(), 0444);
    dir.mkdir("d.MP1");
    ::mkfifo((dir / "f.GLD").c_str(), 0644);
    ::symlink("nowhere", (dir / "dangling").c_str());
    ::symlink("a.GLD", (dir / "tofile").c_str());
    ::symlink("ro.GLD", (dir / "toreadonly").c_str());
    ::symlink("d.MP1", (dir / "todir").c_str());
}

std::map<std::string, unsigned> wordsSeen(const TempDir& dir, FolderEnumeration::Detail detail) {
    std::map<std::string, unsigned> seen;
    FolderEnumeration enumeration(detail);
    DirEntry entry;
    EXPECT_TRUE(enumeration.first(dir.path(), entry));
    do {
        EXPECT_TRUE(seen.emplace(entry.name, entry.attributes).second) << "twice: " << entry.name;
    } while (enumeration.next(entry));
    EXPECT_FALSE(enumeration.next(entry));
    return seen;
}

} // namespace

TEST(FolderEnumeration, AttributeWordPerKindOfEntry) {
    TempDir dir;
    makeOneOfEachKind(dir);
    const std::map<std::string, unsigned> expected = {
        {".", 16},       {"..", 16},     {"a.GLD", 32},      {"ro.GLD", 33},
        {".h.GLD", 34},  {".rh", 35},    {"d.MP1", 16},      {"f.GLD", 4},
        {"dangling", 4}, {"tofile", 32}, {"toreadonly", 33}, {"todir", 16},
    };
    EXPECT_EQ(wordsSeen(dir, FolderEnumeration::Detail::Full), expected);
}

TEST(FolderEnumeration, WithoutTheReadOnlyBitEveryOtherBitStays) {
    TempDir dir;
    makeOneOfEachKind(dir);
    const std::map<std::string, unsigned> expected = {
        {".", 16},       {"..", 16},     {"a.GLD", 32},      {"ro.GLD", 32},
        {".h.GLD", 34},  {".rh", 34},    {"d.MP1", 16},      {"f.GLD", 4},
        {"dangling", 4}, {"tofile", 32}, {"toreadonly", 32}, {"todir", 16},
    };
    EXPECT_EQ(wordsSeen(dir, FolderEnumeration::Detail::NoReadOnlyBit), expected);
}

TEST(FolderEnumeration, EmptyFolderHasItsTwoEntriesAndMissingFolderNone) {
    TempDir dir;
    FolderEnumeration enumeration;
    DirEntry entry;
    int count = 0;
    for (bool more = enumeration.first(dir.path(), entry); more; more = enumeration.next(entry)) {
        ++count;
    }
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(enumeration.first(dir / "gone", entry));
    EXPECT_FALSE(enumeration.first(dir.write("file", "x"), entry));
}

TEST(RenameNoReplace, MovesOnlyOntoAFreeName) {
    TempDir dir;
    dir.write("a", "A");
    dir.write("b", "B");
    EXPECT_FALSE(renameNoReplace(dir / "a", dir / "b"));
    EXPECT_EQ(readAll(dir / "a"), "A");
    EXPECT_EQ(readAll(dir / "b"), "B");
    EXPECT_FALSE(renameNoReplace(dir / "missing", dir / "c"));
    EXPECT_TRUE(renameNoReplace(dir / "a", dir / "c"));
    EXPECT_EQ(dir.names(), (std::set<std::string>{"b", "c"}));
    EXPECT_EQ(readAll(dir / "c"), "A");
}

TEST(CopyNoReplace, CopiesBytesAndTimeOntoAFreeNameOnly) {
    TempDir dir;
    std::string big(3 << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 7 + i / 4096);
    }
    const std::string source = dir.write("src", big);
    const struct timespec times[2] = {{1000000000, 0}, {1200000000, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, source.c_str(), times, 0), 0);

    ASSERT_TRUE(copyNoReplace(source, dir / "copy"));
    EXPECT_EQ(readAll(dir / "copy"), big);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "copy").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, times[1].tv_sec);
    EXPECT_EQ(st.st_mtim.tv_nsec, times[1].tv_nsec);

    dir.write("old", "old");
    EXPECT_FALSE(copyNoReplace(source, dir / "old"));
    EXPECT_EQ(readAll(dir / "old"), "old");
}

TEST(CopyNoReplace, FailureLeavesNoDestination) {
    TempDir dir;
    ::mkfifo((dir / "fifo").c_str(), 0644);
    dir.mkdir("folder");
    dir.write("src", "data");
    EXPECT_FALSE(copyNoReplace(dir / "missing", dir / "c1"));
    EXPECT_FALSE(copyNoReplace(dir / "fifo", dir / "c2")); // must not hang
    EXPECT_FALSE(copyNoReplace(dir / "folder", dir / "c3"));
    EXPECT_FALSE(copyNoReplace(dir / "src", dir / "nofolder/c4"));
    EXPECT_EQ(dir.names(), (std::set<std::string>{"fifo", "folder", "src"}));
}

TEST(AtomicFile, CommitReplacesKeepingTheModeAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.write("out", "old content");
    ::chmod(path.c_str(), 0640);
    {
        AtomicFile file(path);
        ASSERT_TRUE(file.open());
        EXPECT_TRUE(file.write("new", 3));
        EXPECT_EQ(readAll(path), "old content");
        EXPECT_TRUE(file.commit());
    }
    EXPECT_EQ(readAll(path), "new");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.names(), std::set<std::string>{"out"});
}

TEST(AtomicFile, NewFileGetsTheUsualModeAndLinkedFileIsWrittenThrough) {
    TempDir dir;
    const mode_t mask = ::umask(022);
    {
        AtomicFile file(dir / "new");
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.commit());
    }
    ::umask(mask);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "new").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    EXPECT_EQ(st.st_size, 0);

    dir.write("target", "old");
    ::symlink("target", (dir / "link").c_str());
    AtomicFile linked(dir / "link");
    ASSERT_TRUE(linked.open());
    ASSERT_TRUE(linked.write("via link", 8));
    ASSERT_TRUE(linked.commit());
    EXPECT_EQ(readAll(dir / "target"), "via link");
    ASSERT_EQ(::lstat((dir / "link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(AtomicFile, WithoutCommitTheOldFileStaysAndTheTemporaryGoes) {
    TempDir dir;
    const std::string path = dir.write("out", "old");
    {
        AtomicFile file(path);
        ASSERT_TRUE(file.open());
        file.write("partial", 7);
    }
    EXPECT_EQ(readAll(path), "old");
    EXPECT_EQ(dir.names(), std::set<std::string>{"out"});

    AtomicFile nowhere(dir / "missing/out");
    EXPECT_FALSE(nowhere.open());
    AtomicFile ontoFolder(dir.mkdir("folder"));
    ASSERT_TRUE(ontoFolder.open());
    EXPECT_FALSE(ontoFolder.commit());
    EXPECT_EQ(dir.names(), (std::set<std::string>{"folder", "out"}));
}

TEST(ReadableFile, RegularFilesOnly) {
    TempDir dir;
    ::mkfifo((dir / "fifo").c_str(), 0644);
    ReadableFile file;
    EXPECT_FALSE(file.open(dir / "fifo"));
    EXPECT_FALSE(file.open(dir.mkdir("folder")));
    EXPECT_FALSE(file.open("/dev/null"));
    ASSERT_TRUE(file.open(dir.write("f", "12345")));
    EXPECT_EQ(file.size(), 5u);
    char buffer[8];
    EXPECT_EQ(file.read(buffer, sizeof buffer), 5);
    EXPECT_EQ(file.read(buffer, sizeof buffer), 0);
    ReadableFile moved(std::move(file));
    EXPECT_TRUE(moved.isOpen());
    EXPECT_FALSE(file.isOpen());
}

TEST(ReadFileHead, RegularFilesOnlyAndNeverMoreThanAsked) {
    TempDir dir;
    ::mkfifo((dir / "fifo").c_str(), 0644);
    dir.write("long", "1234567890123456");
    dir.write("short", "12345");
    dir.write("empty", "");
    ::symlink("long", (dir / "link").c_str());
    struct Case {
        const char* what;
        std::string path;
        long long count;
        std::string bytes;
    };
    const Case cases[] = {
        {"a FIFO is never opened", dir / "fifo", -1, ""},
        {"a folder", dir.mkdir("folder"), -1, ""},
        {"a device", "/dev/null", -1, ""},
        {"a missing file", dir / "missing", -1, ""},
        {"a longer file gives what was asked", dir / "long", 13, "1234567890123"},
        {"a shorter file gives what it has", dir / "short", 5, "12345"},
        {"an empty file", dir / "empty", 0, ""},
        {"a link counts as its file", dir / "link", 13, "1234567890123"},
    };
    for (const Case& c : cases) {
        char buffer[13] = {};
        EXPECT_EQ(readFileHead(c.path, buffer, sizeof buffer), c.count) << c.what;
        if (c.count > 0) {
            EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(c.count)), c.bytes) << c.what;
        }
    }
}

TEST(ReadFileHead, FifoSwappedInAfterTheListingNeverBlocks) {
    TempDir dir;
    ::mkfifo((dir / "X.GLD").c_str(), 0644);
    char buffer[13];
    // Taken for a regular file, it is opened, but reading finds nothing and returns.
    EXPECT_EQ(readFileHead(dir / "X.GLD", buffer, sizeof buffer, Known::RegularFile), 0);
    EXPECT_EQ(readFileHead(dir / "long-gone", buffer, sizeof buffer, Known::RegularFile), -1);
}
