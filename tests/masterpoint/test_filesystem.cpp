// The system's file system and what is built on it: listing, renames and copies that
// never replace, files written beside their name, and reading regular files only. What
// only Windows does is in test_windows.cpp.

#include "TempDir.h"
#include "masterpoint/AtomicFile.h"
#include "masterpoint/FileCopy.h"
#include "masterpoint/FileSystem.h"
#include "masterpoint/ReadableFile.h"
#include "support/FaultyFileSystem.h"

#include <cstdio>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <csignal>
#include <sys/file.h>
#include <sys/wait.h>
#endif

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

#ifdef _WIN32
// A device, wherever it is named.
const std::string kDevice = "NUL";
#else
const std::string kDevice = "/dev/null";

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
#endif

} // namespace

TEST(ListFolder, AttributeWordPerKindOfEntry) {
#ifdef _WIN32
    GTEST_SKIP() << "the word is the system's own on Windows: test_windows.cpp checks it";
#else
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
#endif
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
    std::set<std::string> others;
#ifndef _WIN32
    ::symlink("nowhere", (dir / "link").c_str());
    EXPECT_EQ(fs().renameNoReplace(dir / "a", dir / "link"), std::errc::file_exists);
    others.insert("link");
#endif
    EXPECT_EQ(fs().renameNoReplace(dir / "a", dir / "b"), std::errc::file_exists);
    EXPECT_EQ(fs().renameNoReplace(dir / "missing", dir / "c"),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(dir.files(), (std::map<std::string, std::string>{{"a", "A"}, {"b", "B"}}));
    EXPECT_FALSE(fs().renameNoReplace(dir / "a", dir / "c"));
    EXPECT_EQ(dir.files(), (std::map<std::string, std::string>{{"b", "B"}, {"c", "A"}}));
    others.insert({"b", "c"});
    EXPECT_EQ(dir.names(), others);
}

TEST(CopyNoReplace, CopiesBytesAndTimeOntoAFreeNameOnly) {
    TempDir dir;
    std::string big(3 << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 7 + i / 4096);
    }
    const std::string source = dir.write("src", big);
    // To the 100 ns that every platform keeps.
    const FileTime time = {1200000000, 123456700};
    ASSERT_TRUE(setModifiedTime(source, time));

    ASSERT_FALSE(copyNoReplace(source, dir / "copy"));
    EXPECT_TRUE(readAll(dir / "copy") == big);
    const FileTime copied = modifiedTime(dir / "copy");
    EXPECT_EQ(copied.seconds, time.seconds);
    EXPECT_EQ(copied.nanoseconds, time.nanoseconds);

    dir.write("old", "old");
    std::set<std::string> names = {"copy", "old", "src"};
#ifndef _WIN32
    ::symlink("target", (dir / "link").c_str());
    EXPECT_EQ(copyNoReplace(source, dir / "link"), std::errc::file_exists);
    names.insert("link");
#endif
    EXPECT_EQ(copyNoReplace(source, dir / "old"), std::errc::file_exists);
    EXPECT_EQ(readAll(dir / "old"), "old");
    EXPECT_EQ(dir.names(), names);
}

// A backup keeps who may read and write the file. Fails while createNew hands the mode
// to open(), whose mask takes group and other write away ("group writes": 644).
TEST(CopyNoReplace, KeepsThePermissionBitsOfTheSourceWhateverTheMask) {
#ifdef _WIN32
    GTEST_SKIP() << "no permission bits on Windows: test_windows.cpp checks the attributes";
#else
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
#endif
}

TEST(CopyNoReplace, FailureLeavesNoDestination) {
    TempDir dir;
    dir.mkdir("folder");
    dir.write("src", "data");
    EXPECT_TRUE(copyNoReplace(dir / "missing", dir / "c1"));
    EXPECT_TRUE(copyNoReplace(kDevice, dir / "c2"));
    EXPECT_TRUE(copyNoReplace(dir / "folder", dir / "c3"));
    EXPECT_TRUE(copyNoReplace(dir / "src", dir / "nofolder/c4"));
    for (Call call : {Call::CopyData, Call::Close}) {
        FaultyFileSystem faulty;
        faulty.failOn(call, std::errc::io_error);
        EXPECT_EQ(copyNoReplace(dir / "src", dir / "c5", faulty), std::errc::io_error);
        EXPECT_EQ(faulty.fired(), 1);
    }
    std::set<std::string> names = {"folder", "src"};
#ifndef _WIN32
    ::mkfifo((dir / "fifo").c_str(), 0644);
    EXPECT_TRUE(copyNoReplace(dir / "fifo", dir / "c6")); // must not hang
    names.insert("fifo");
#endif
    EXPECT_EQ(dir.names(), names);
}

TEST(AtomicFile, CommitReplacesKeepingTheModeAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.write("out", "old content");
#ifndef _WIN32
    ::chmod(path.c_str(), 0640);
#endif
    {
        AtomicFile file(path);
        ASSERT_FALSE(file.open());
        EXPECT_FALSE(file.write("new", 3));
        EXPECT_EQ(readAll(path), "old content");
        EXPECT_FALSE(file.commit());
    }
    EXPECT_EQ(readAll(path), "new");
#ifndef _WIN32
    EXPECT_EQ(modeOf(path) & 07777, 0640u);
#endif
    EXPECT_EQ(dir.names(), std::set<std::string>{"out"});
}

TEST(AtomicFile, NewFileGetsTheUsualModeAndALinkIsReplacedNotFollowed) {
#ifdef _WIN32
    GTEST_SKIP() << "no mode bits on Windows, and links need a privilege there";
#else
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
#endif
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

// Keeps a file open the way a writer keeps its temporary file, as another process would.
class HeldFile {
public:
    explicit HeldFile(const std::string& path) {
#ifdef _WIN32
        handle_ = ::CreateFileW(testfs::wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
#else
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        EXPECT_EQ(::flock(fd_, LOCK_EX | LOCK_NB), 0);
#endif
    }
    ~HeldFile() {
#ifdef _WIN32
        ::CloseHandle(handle_);
#else
        ::close(fd_);
#endif
    }

private:
#ifdef _WIN32
    HANDLE handle_;
#else
    int fd_;
#endif
};

TEST(AtomicFile, OpenRemovesTheTemporariesOfWritersThatAreGoneAndNothingElse) {
    TempDir dir;
    dir.write(".mpmgr-AbC123", "left by a killed merge");
    dir.write(".mpmgr-zz9zz9", "another");
    const std::set<std::string> kept = {
        ".mpmgr-abc12",   // too short
        ".mpmgr-abc1234", // too long
        ".mpmgr-ab_123",  // not a letter or digit
        "x.mpmgr-abc123", ".MPMGR-qrs456", "in-use-note", ".mpmgr-dir123",
    };
    for (const std::string& name : kept) {
        if (name == ".mpmgr-dir123") {
            dir.mkdir(name);
        } else {
            dir.write(name, "not ours to remove");
        }
    }
    std::set<std::string> expected = kept;
    expected.insert({"out", ".mpmgr-held12"});
#ifndef _WIN32
    dir.write("target", "pointed at");
    ::symlink("target", (dir / ".mpmgr-lnk123").c_str());
    expected.insert({"target", ".mpmgr-lnk123"});
#endif
    const HeldFile writing(dir.write(".mpmgr-held12", "still being written"));
    AtomicFile file(dir / "out");
    ASSERT_FALSE(file.open());
    ASSERT_FALSE(file.write("merged", 6));
    ASSERT_FALSE(file.commit());
    EXPECT_EQ(dir.names(), expected);
    EXPECT_EQ(readAll(dir / "out"), "merged");
#ifndef _WIN32
    EXPECT_EQ(readAll(dir / "target"), "pointed at");
#endif
}

#ifdef __linux__
// Whether the folder's file system makes files without a name.
bool offersUnnamedFiles(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

// A merge killed while it writes: where unnamed files are offered nothing shows in the
// folder at all; elsewhere what it left goes at the next write into the folder.
TEST(AtomicFile, AKilledWriterLeavesNothingBehindTheNextWrite) {
    TempDir dir;
    dir.write("out", "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AtomicFile file(dir / "out");
        const std::string chunk(1 << 20, 'x');
        if (!file.open() && !file.write(chunk.data(), chunk.size())) {
            ::kill(::getpid(), SIGKILL);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    if (offersUnnamedFiles(dir.path())) {
        EXPECT_EQ(dir.files(), (Files{{"out", "old"}}));
    } else {
        EXPECT_EQ(dir.names().size(), 2u);
    }
    AtomicFile next(dir / "out");
    ASSERT_FALSE(next.open());
    ASSERT_FALSE(next.write("new", 3));
    ASSERT_FALSE(next.commit());
    EXPECT_EQ(dir.files(), (Files{{"out", "new"}}));
}

TEST(AtomicFile, AFileThatCannotBeNamedLeavesTheOldOneAndNothingElse) {
    TempDir dir;
    if (!offersUnnamedFiles(dir.path())) {
        GTEST_SKIP() << "every temporary file is named from the start here";
    }
    dir.write("out", "old");
    FaultyFileSystem faulty;
    faulty.failOn(Call::NameTemporary, std::errc::no_space_on_device);
    {
        AtomicFile file(dir / "out", faulty);
        ASSERT_FALSE(file.open());
        ASSERT_FALSE(file.write("new", 3));
        EXPECT_EQ(file.commit(), std::errc::no_space_on_device);
    }
    EXPECT_EQ(faulty.fired(), 1);
    EXPECT_EQ(dir.files(), (Files{{"out", "old"}}));
}
#endif

TEST(ReadableFile, RegularFilesOnly) {
    TempDir dir;
    ReadableFile file;
#ifndef _WIN32
    ::mkfifo((dir / "fifo").c_str(), 0644);
    EXPECT_TRUE(file.open(dir / "fifo"));
#endif
    EXPECT_EQ(file.open(dir.mkdir("folder")), std::errc::is_a_directory);
    EXPECT_TRUE(file.open(kDevice));
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
    dir.write("long", "1234567890123456");
    dir.write("short", "12345");
    dir.write("empty", "");
    struct Case {
        const char* what;
        std::string path;
        bool fails;
        std::string bytes;
    };
    std::vector<Case> cases = {
        {"a folder", dir.mkdir("folder"), true, ""},
        {"a device", kDevice, true, ""},
        {"a missing file", dir / "missing", true, ""},
        {"a longer file gives what was asked", dir / "long", false, "1234567890123"},
        {"a shorter file gives what it has", dir / "short", false, "12345"},
        {"an empty file", dir / "empty", false, ""},
    };
#ifndef _WIN32
    ::mkfifo((dir / "fifo").c_str(), 0644);
    ::symlink("long", (dir / "link").c_str());
    cases.push_back({"a FIFO is never opened", dir / "fifo", true, ""});
    cases.push_back({"a link counts as its file", dir / "link", false, "1234567890123"});
#endif
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
    char buffer[13];
    std::size_t got = 99;
#ifndef _WIN32
    ::mkfifo((dir / "X.GLD").c_str(), 0644);
    // Taken for a regular file, it is opened, but reading finds nothing and returns.
    EXPECT_FALSE(fs().readHead(dir / "X.GLD", buffer, sizeof buffer, Known::RegularFile, got));
    EXPECT_EQ(got, 0u);
#endif
    // The scan passes over a file gone since the listing by this very reason.
    EXPECT_EQ(fs().readHead(dir / "gone", buffer, sizeof buffer, Known::RegularFile, got),
              std::errc::no_such_file_or_directory);
}
