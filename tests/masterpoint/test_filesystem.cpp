// The POSIX file system and what is built on it: listing, renames and copies that never
// replace, files written beside their name, and reading regular files only.

#include "TempDir.h"
#include "masterpoint/AtomicFile.h"
#include "masterpoint/FileCopy.h"
#include "masterpoint/FileSystem.h"
#include "masterpoint/ReadableFile.h"
#include "support/FaultyFileSystem.h"

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>

using namespace mp;

namespace {

FileSystem& fs() {
    return FileSystem::system();
}

std::map<std::string, unsigned> listed(const std::string& folder) {
    std::vector<DirEntry> entries;
    EXPECT_FALSE(fs().listFolder(folder, entries));
    std::map<std::string, unsigned> seen;
    for (const DirEntry& entry : entries) {
        EXPECT_TRUE(seen.emplace(entry.name, entry.attributes).second) << "twice: " << entry.name;
    }
    return seen;
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode;
}

std::string octal(mode_t mode) {
    char text[16];
    std::snprintf(text, sizeof text, "%o", static_cast<unsigned>(mode));
    return text;
}

} // namespace

TEST(ListFolder, AttributeWordPerKindOfEntry) {
    TempDir dir;
    dir.write("a.GLD", "x");
    ::chmod(dir.write("ro.GLD", "x").c_str(), 0444);
    dir.write(".h.GLD", "x");
    dir.mkdir("d.MP1");
    ::mkfifo((dir / "f.GLD").c_str(), 0644);
    ::symlink("nowhere", (dir / "dangling").c_str());
    ::symlink("a.GLD", (dir / "tofile").c_str());
    ::symlink("d.MP1", (dir / "todir").c_str());
    // A read-only file keeps the word of any regular file: the scan takes both alike.
    const std::map<std::string, unsigned> expected = {
        {"a.GLD", 32}, {"ro.GLD", 32},  {".h.GLD", 34}, {"d.MP1", 16},
        {"f.GLD", 4},  {"dangling", 4}, {"tofile", 32}, {"todir", 16},
    };
    EXPECT_EQ(listed(dir.path()), expected);
}

TEST(ListFolder, EmptyFolderListsNothingAndAMissingOneFails) {
    TempDir dir;
    EXPECT_TRUE(listed(dir.path()).empty());
    std::vector<DirEntry> entries;
    EXPECT_EQ(fs().listFolder(dir / "gone", entries), std::errc::no_such_file_or_directory);
    EXPECT_EQ(fs().listFolder(dir.write("file", "x"), entries), std::errc::not_a_directory);
    EXPECT_TRUE(entries.empty());
}

TEST(RenameNoReplace, MovesOnlyOntoAFreeName) {
    TempDir dir;
    dir.write("a", "A");
    dir.write("b", "B");
    ::symlink("nowhere", (dir / "link").c_str());
    EXPECT_EQ(fs().renameNoReplace(dir / "a", dir / "b"), std::errc::file_exists);
    EXPECT_EQ(fs().renameNoReplace(dir / "a", dir / "link"), std::errc::file_exists);
    EXPECT_EQ(fs().renameNoReplace(dir / "missing", dir / "c"),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(dir.files(), (std::map<std::string, std::string>{{"a", "A"}, {"b", "B"}}));
    EXPECT_FALSE(fs().renameNoReplace(dir / "a", dir / "c"));
    EXPECT_EQ(dir.files(), (std::map<std::string, std::string>{{"b", "B"}, {"c", "A"}}));
    EXPECT_EQ(dir.names(), (std::set<std::string>{"b", "c", "link"}));
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

    ASSERT_FALSE(copyNoReplace(source, dir / "copy"));
    EXPECT_TRUE(readAll(dir / "copy") == big);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "copy").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, times[1].tv_sec);
    EXPECT_EQ(st.st_mtim.tv_nsec, times[1].tv_nsec);

    dir.write("old", "old");
    ::symlink("target", (dir / "link").c_str());
    EXPECT_EQ(copyNoReplace(source, dir / "old"), std::errc::file_exists);
    EXPECT_EQ(copyNoReplace(source, dir / "link"), std::errc::file_exists);
    EXPECT_EQ(readAll(dir / "old"), "old");
    EXPECT_EQ(dir.names(), (std::set<std::string>{"copy", "link", "old", "src"}));
}

// A backup keeps who may read and write the file. Fails while createNew hands the mode
// to open(), whose mask takes group and other write away ("group writes": 644).
TEST(CopyNoReplace, KeepsThePermissionBitsOfTheSourceWhateverTheMask) {
    TempDir dir;
    const mode_t mask = ::umask(022);
    const struct {
        const char* what;
        mode_t mode;
    } cases[] = {
        {"owner only", 0600}, {"group reads", 0640}, {"group writes", 0664}, {"all write", 0666}};
    for (const auto& [what, mode] : cases) {
        SCOPED_TRACE(what);
        const std::string source = dir.write("src", "x");
        ::chmod(source.c_str(), mode);
        ::unlink((dir / "copy").c_str());
        EXPECT_FALSE(copyNoReplace(source, dir / "copy"));
        EXPECT_EQ(octal(modeOf(dir / "copy") & 0777), octal(mode));
    }
    ::umask(mask);
}

TEST(CopyNoReplace, FailureLeavesNoDestination) {
    TempDir dir;
    ::mkfifo((dir / "fifo").c_str(), 0644);
    dir.mkdir("folder");
    dir.write("src", "data");
    EXPECT_TRUE(copyNoReplace(dir / "missing", dir / "c1"));
    EXPECT_TRUE(copyNoReplace(dir / "fifo", dir / "c2")); // must not hang
    EXPECT_TRUE(copyNoReplace(dir / "folder", dir / "c3"));
    EXPECT_TRUE(copyNoReplace(dir / "src", dir / "nofolder/c4"));
    for (Call call : {Call::CopyData, Call::Close}) {
        FaultyFileSystem faulty;
        faulty.failOn(call, std::errc::io_error);
        EXPECT_EQ(copyNoReplace(dir / "src", dir / "c5", faulty), std::errc::io_error);
        EXPECT_EQ(faulty.fired(), 1);
    }
    EXPECT_EQ(dir.names(), (std::set<std::string>{"fifo", "folder", "src"}));
}

TEST(AtomicFile, CommitReplacesKeepingTheModeAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.write("out", "old content");
    ::chmod(path.c_str(), 0640);
    {
        AtomicFile file(path);
        ASSERT_FALSE(file.open());
        EXPECT_FALSE(file.write("new", 3));
        EXPECT_EQ(readAll(path), "old content");
        EXPECT_FALSE(file.commit());
    }
    EXPECT_EQ(readAll(path), "new");
    EXPECT_EQ(modeOf(path) & 07777, 0640u);
    EXPECT_EQ(dir.names(), std::set<std::string>{"out"});
}

TEST(AtomicFile, NewFileGetsTheUsualModeAndALinkIsReplacedNotFollowed) {
    TempDir dir;
    const mode_t mask = ::umask(022);
    {
        AtomicFile file(dir / "new");
        EXPECT_FALSE(file.open());
        EXPECT_FALSE(file.commit());
    }
    EXPECT_EQ(modeOf(dir / "new"), S_IFREG | 0644u);
    EXPECT_EQ(readAll(dir / "new"), "");

    ::chmod(dir.write("target", "old").c_str(), 0600);
    ::symlink("target", (dir / "link").c_str());
    AtomicFile linked(dir / "link");
    ASSERT_FALSE(linked.open());
    ASSERT_FALSE(linked.write("via link", 8));
    ASSERT_FALSE(linked.commit());
    ::umask(mask);
    EXPECT_EQ(readAll(dir / "target"), "old");
    EXPECT_EQ(modeOf(dir / "target"), S_IFREG | 0600u);
    // A new file of the usual mode: the link lends nothing of what it points to.
    EXPECT_EQ(modeOf(dir / "link"), S_IFREG | 0644u);
    EXPECT_EQ(readAll(dir / "link"), "via link");
    EXPECT_EQ(dir.names(), (std::set<std::string>{"link", "new", "target"}));
}

TEST(AtomicFile, WithoutCommitTheOldFileStaysAndTheTemporaryGoes) {
    TempDir dir;
    const std::string path = dir.write("out", "old");
    {
        AtomicFile file(path);
        ASSERT_FALSE(file.open());
        file.write("partial", 7);
    }
    EXPECT_EQ(dir.files(), (std::map<std::string, std::string>{{"out", "old"}}));

    AtomicFile nowhere(dir / "missing/out");
    EXPECT_EQ(nowhere.open(), std::errc::no_such_file_or_directory);
    AtomicFile ontoFolder(dir.mkdir("folder"));
    ASSERT_FALSE(ontoFolder.open());
    EXPECT_TRUE(ontoFolder.commit());
    EXPECT_EQ(dir.names(), (std::set<std::string>{"folder", "out"}));
    EXPECT_TRUE(TempDir::namesIn(dir / "folder").empty());
}

TEST(ReadableFile, RegularFilesOnly) {
    TempDir dir;
    ::mkfifo((dir / "fifo").c_str(), 0644);
    ReadableFile file;
    EXPECT_TRUE(file.open(dir / "fifo"));
    EXPECT_EQ(file.open(dir.mkdir("folder")), std::errc::is_a_directory);
    EXPECT_TRUE(file.open("/dev/null"));
    EXPECT_EQ(file.open(dir / "missing"), std::errc::no_such_file_or_directory);
    ASSERT_FALSE(file.open(dir.write("f", "12345")));
    EXPECT_EQ(file.size(), 5u);
    char buffer[8];
    std::size_t got = 0;
    EXPECT_FALSE(file.read(buffer, sizeof buffer, got));
    EXPECT_EQ(std::string(buffer, got), "12345");
    EXPECT_FALSE(file.read(buffer, sizeof buffer, got));
    EXPECT_EQ(got, 0u);
}

TEST(ReadHead, RegularFilesOnlyAndNeverMoreThanAsked) {
    TempDir dir;
    ::mkfifo((dir / "fifo").c_str(), 0644);
    dir.write("long", "1234567890123456");
    dir.write("short", "12345");
    dir.write("empty", "");
    ::symlink("long", (dir / "link").c_str());
    struct Case {
        const char* what;
        std::string path;
        bool fails;
        std::string bytes;
    };
    const Case cases[] = {
        {"a FIFO is never opened", dir / "fifo", true, ""},
        {"a folder", dir.mkdir("folder"), true, ""},
        {"a device", "/dev/null", true, ""},
        {"a missing file", dir / "missing", true, ""},
        {"a longer file gives what was asked", dir / "long", false, "1234567890123"},
        {"a shorter file gives what it has", dir / "short", false, "12345"},
        {"an empty file", dir / "empty", false, ""},
        {"a link counts as its file", dir / "link", false, "1234567890123"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        char buffer[13] = {};
        std::size_t got = 99;
        EXPECT_EQ(bool(fs().readHead(c.path, buffer, sizeof buffer, Known::Nothing, got)), c.fails);
        EXPECT_EQ(std::string(buffer, got), c.bytes);
    }
}

TEST(ReadHead, FifoSwappedInAfterTheListingNeverBlocksAndAFileGoneSaysSo) {
    TempDir dir;
    ::mkfifo((dir / "X.GLD").c_str(), 0644);
    char buffer[13];
    std::size_t got = 99;
    // Taken for a regular file, it is opened, but reading finds nothing and returns.
    EXPECT_FALSE(fs().readHead(dir / "X.GLD", buffer, sizeof buffer, Known::RegularFile, got));
    EXPECT_EQ(got, 0u);
    // The scan passes over a file gone since the listing by this very reason.
    EXPECT_EQ(fs().readHead(dir / "gone", buffer, sizeof buffer, Known::RegularFile, got),
              std::errc::no_such_file_or_directory);
}
