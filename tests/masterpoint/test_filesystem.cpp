// The system's file system and what is built on it: listing, renames and copies that
// never replace, files written beside their name, and reading regular files only. What
// only Windows does is in test_windows.cpp.

#include "TempDir.h"
#include "masterpoint/AtomicFile.h"
#include "masterpoint/ChangedWhileRead.h"
#include "masterpoint/FileCopy.h"
#include "masterpoint/FileSystem.h"
#include "masterpoint/ReadableFile.h"
#include "masterpoint/TemporaryName.h"
#include "support/FaultyFileSystem.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <thread>
#ifndef _WIN32
#include <csignal>
#include <functional>
#include <sys/file.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace mp;

#ifdef __linux__
// Run once before the next lock is taken, when set: a test's way in between two system
// calls made inside one file system call.
static std::function<void()> beforeNextLock;

extern "C" int flock(int fd, int operation) noexcept {
    if (beforeNextLock) {
        std::exchange(beforeNextLock, nullptr)();
    }
    return static_cast<int>(::syscall(SYS_flock, fd, operation));
}
#endif

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

// Where neither an exclusive rename nor hard links exist (the core tests run again with
// tests/support/nolinks_preload.c for that), a copy whose name another program takes
// after it was looked up free must not replace that file when it is named.
TEST(RenameNoReplace, WithoutLinksANameTakenMeanwhileIsNotReplaced) {
    if (std::getenv("MPMGR_NO_LINKS") == nullptr) {
        GTEST_SKIP() << "only with the preloaded file system that has no links";
    }
    TempDir dir;
    FileHandle file;
    std::string temporary;
    ASSERT_FALSE(
        fs().createTemporary(dir / "", dir / "copy", TemporaryUse::Backup, file, temporary));
    ASSERT_FALSE(temporary.empty()) << "an unnamed file: the preload is not in effect";
    ASSERT_FALSE(fs().write(file, "ours", 4));
    dir.write("copy", "theirs");
    EXPECT_EQ(fs().placeNew(file, temporary, dir / "copy"), std::errc::file_exists);
    fs().close(file);
    EXPECT_EQ(readAll(dir / "copy"), "theirs");
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

// A backup keeps who may read and write the file. Fails when the mode goes through
// open(), whose mask takes group and other write away ("group writes": 644).
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
    for (Call call : {Call::CopyData, Call::Sync, Call::PlaceNew}) {
        FaultyFileSystem faulty;
        faulty.failOn(call, std::errc::io_error);
        EXPECT_EQ(copyNoReplace(dir / "src", dir / "c5", faulty), std::errc::io_error);
        EXPECT_EQ(faulty.fired(), 1);
    }
    FaultyFileSystem changing;
    changing.changeOn(Call::StampOf); // the source, after its bytes were copied
    EXPECT_EQ(copyNoReplace(dir / "src", dir / "c6", changing), changedWhileRead());
    EXPECT_EQ(changing.fired(), 1);
    std::set<std::string> names = {"folder", "src"};
#ifndef _WIN32
    ::mkfifo((dir / "fifo").c_str(), 0644);
    EXPECT_TRUE(copyNoReplace(dir / "fifo", dir / "c7")); // must not hang
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

// Long enough ago for a temporary file to count as abandoned.
const FileTime kTwoHoursAgo = {static_cast<std::int64_t>(std::time(nullptr)) - 7200, 0};

TEST(AtomicFile, OpenRemovesOnlyOurAbandonedTemporaries) {
    const std::string ours = ".mpmgr-merge-0123456789ab.partial";
    const struct {
        const char* what;
        std::string name;
        bool old;
        bool removed;
    } cases[] = {
        {"a merge's, untouched for two hours", ours, true, true},
        {"a backup's, untouched for two hours", ".mpmgr-backup-zz9zz9zz9zz9.partial", true, true},
    // A merge killed between naming its whole file and the rename left it for an
    // hour; its writer holds it from before it has a name, so unheld it is left over.
#ifdef _WIN32
        {"a merge's, held by no one, a moment ago", ".mpmgr-merge-aaaaaaaaaaaa.partial", false,
         false},
#else
        {"a merge's, held by no one, a moment ago", ".mpmgr-merge-aaaaaaaaaaaa.partial", false,
         true},
#endif
        {"a backup's, written a moment ago", ".mpmgr-backup-aaaaaaaaaaaa.partial", false, false},
        // A user's own files, however like ours, and however old.
        {"the short form of old", ".mpmgr-abc123", true, false},
        {"a word", ".mpmgr-Budget", true, false},
        {"eleven characters", ".mpmgr-merge-0123456789a.partial", true, false},
        {"thirteen characters", ".mpmgr-merge-0123456789abc.partial", true, false},
        // (Names apart from ours but for case would be ours on Windows.)
        {"capitals", ".mpmgr-merge-CCCCCCCCCCCC.partial", true, false},
        {"an underscore", ".mpmgr-merge-0123456789_b.partial", true, false},
        {"no ending", ".mpmgr-merge-0123456789ab", true, false},
        {"another ending", ".mpmgr-merge-0123456789ab.part", true, false},
        {"something after", ours + ".bak", true, false},
        {"something before", "x" + ours, true, false},
        {"another use", ".mpmgr-copy-0123456789ab.partial", true, false},
        {"another case", ".MPMGR-MERGE-dddddddddddd.partial", true, false},
    };
    TempDir dir;
    std::set<std::string> expected = {"out"};
    for (const auto& c : cases) {
        const std::string path = dir.write(c.name, c.what);
        if (c.old) {
            ASSERT_TRUE(setModifiedTime(path, kTwoHoursAgo)) << c.name;
        }
        if (!c.removed) {
            expected.insert(c.name);
        }
    }
    AtomicFile file(dir / "out");
    ASSERT_FALSE(file.open());
    ASSERT_FALSE(file.write("merged", 6));
    ASSERT_FALSE(file.commit());
    EXPECT_EQ(dir.names(), expected);
    EXPECT_EQ(readAll(dir / "out"), "merged");
}

TEST(RemoveAbandoned, LeavesWhatIsHeldLinkedForeignOrNotAFile) {
    TempDir dir;
    struct Case {
        const char* what;
        std::string name;
    };
    std::vector<Case> cases;
    const auto old = [&](const std::string& name) {
        EXPECT_TRUE(setModifiedTime(dir / name, kTwoHoursAgo)) << name;
    };
    dir.write(".mpmgr-merge-held00000000.partial", "still being written");
    old(".mpmgr-merge-held00000000.partial");
    const HeldFile writing(dir / ".mpmgr-merge-held00000000.partial");
    cases.push_back({"held by its writer", ".mpmgr-merge-held00000000.partial"});
    // The hold that the writer takes itself, when it makes the file.
    FileHandle made;
    std::string madePath;
    ASSERT_FALSE(fs().createTemporary(dir / "", "", TemporaryUse::Merge, made, madePath));
    if (madePath.empty()) {
        madePath = dir / ".mpmgr-merge-made00000000.partial";
        ASSERT_FALSE(fs().nameTemporary(made, madePath));
    }
    const std::string madeName = madePath.substr(madePath.find_last_of(kPathBreaks) + 1);
    old(madeName);
    cases.push_back({"held by the writer that made it", madeName});
    dir.mkdir(".mpmgr-merge-folder000000.partial");
    cases.push_back({"a folder", ".mpmgr-merge-folder000000.partial"});
#ifndef _WIN32
    dir.write("target", "pointed at");
    old("target");
    ::symlink("target", (dir / ".mpmgr-merge-link00000000.partial").c_str());
    cases.push_back({"a link", ".mpmgr-merge-link00000000.partial"});
    if (::geteuid() == 0) {
        const std::string foreign = dir.write(".mpmgr-merge-other0000000.partial", "theirs");
        ASSERT_EQ(::chown(foreign.c_str(), 12345, 12345), 0);
        old(".mpmgr-merge-other0000000.partial");
        cases.push_back({"another user's", ".mpmgr-merge-other0000000.partial"});
    }
#endif
    const std::set<std::string> before = dir.names();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(fs().removeAbandoned(dir / c.name));
    }
    removeAbandonedTemporaries(dir / "", fs());
    EXPECT_EQ(dir.names(), before);
#ifndef _WIN32
    EXPECT_EQ(readAll(dir / "target"), "pointed at");
#endif
}

#ifdef __linux__
// Guards the clean-up's second look at the name: a file put there after the old one was
// found abandoned (another writer's live temporary) must not be the one removed.
TEST(RemoveAbandoned, LeavesAFilePutUnderTheNameWhileItLooked) {
    TempDir dir;
    const std::string name = dir.write(".mpmgr-merge-swap00000000.partial", "abandoned");
    ASSERT_TRUE(setModifiedTime(name, kTwoHoursAgo));
    const std::string live = dir.write("live", "another writer's");
    beforeNextLock = [&] { ASSERT_EQ(std::rename(live.c_str(), name.c_str()), 0); };
    EXPECT_TRUE(fs().removeAbandoned(name));
    EXPECT_FALSE(beforeNextLock) << "no lock was taken: the file was never swapped";
    EXPECT_EQ(readAll(name), "another writer's");
}
#endif

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
        // Named, and left until it has aged past any writer still at work.
        ASSERT_EQ(dir.names().size(), 2u);
        for (const std::string& name : dir.names()) {
            EXPECT_TRUE(name == "out" || isTemporaryName(name)) << name;
            ASSERT_TRUE(setModifiedTime(dir / name, kTwoHoursAgo));
        }
    }
    AtomicFile next(dir / "out");
    ASSERT_FALSE(next.open());
    ASSERT_FALSE(next.write("new", 3));
    ASSERT_FALSE(next.commit());
    EXPECT_EQ(dir.files(), (Files{{"out", "new"}}));
}

// Each writer's clean-up lists the folder while the other is putting its file in place:
// a finished temporary is neither removed under its writer nor left behind.
TEST(AtomicFile, TwoWritersRacingIntoOneFolderNeverFail) {
    TempDir dir;
    constexpr int kWrites = 2000;
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = ::fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            int failed = 0;
            const std::string out = dir / ("out" + std::to_string(w));
            for (int i = 0; i < kWrites; ++i) {
                AtomicFile file(out);
                const std::string text = std::to_string(i);
                failed += file.open() || file.write(text.data(), text.size()) || file.commit();
            }
            ::_exit(failed > 100 ? 100 : failed);
        }
    }
    for (const pid_t writer : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "failed writes";
    }
    const std::string last = std::to_string(kWrites - 1);
    EXPECT_EQ(dir.files(), (Files{{"out0", last}, {"out1", last}}));
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

// A file rewritten at the same size within one second differs from before only in the
// fraction of its time.
TEST(ReadableFile, ARewriteWithinTheSecondIsSeen) {
    TempDir dir;
    const std::string path = dir.write("f", "12345");
    ASSERT_TRUE(setModifiedTime(path, {1300000000, 100}));
    ReadableFile file;
    ASSERT_FALSE(file.open(path));
    ASSERT_TRUE(setModifiedTime(path, {1300000000, 200}));
    EXPECT_EQ(file.checkUnchanged(), changedWhileRead());
}

#ifndef _WIN32
// A FIFO put under the name between the look-up and the open is refused by a look at
// what was opened: read, it would pass for an empty file.
TEST(ReadableFile, AFifoSwappedInAfterTheLookUpIsRefused) {
    TempDir dir;
    const std::string name = dir / "f";
    dir.write("file", "12345");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    std::atomic<bool> done{false};
    std::thread swapper([&] {
        for (int i = 0; !done; ++i) {
            const std::string from = dir / (i % 2 ? "file" : "fifo");
            ::link(from.c_str(), (dir / "next").c_str());
            ::rename((dir / "next").c_str(), name.c_str());
        }
    });
    int opened = 0;
    for (int i = 0; i < 20000 && opened >= 0; ++i) {
        ReadableFile file;
        char buffer[8];
        std::size_t got = 0;
        if (!file.open(name) && !file.read(buffer, 8, got)) {
            opened = got == 5 ? opened + 1 : -1;
        }
    }
    done = true;
    swapper.join();
    EXPECT_GT(opened, 0) << "a FIFO was opened as a file";
}
#endif

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
