// Backup on real folders: copies by the real name that never replace, a copy already
// there judged by its bytes, and what a failed copy leaves and says.

#include "TempDir.h"
#include "masterpoint/Backup.h"
#include "support/FaultyFileSystem.h"

#include <ctime>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#endif

// The separator that joinPath puts between a folder and a name, as a literal to join.
#ifdef _WIN32
#define SEP "\\"
#else
#define SEP "/"
#endif

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
    EXPECT_EQ(result.problems.text(), missing);
    EXPECT_EQ(result.besideOlder, std::vector<std::string>{"Z (2).GLD"});
    EXPECT_EQ(backupDir.files(),
              (Files{{"X.MP3", "x3"}, {"Y.GLD", "y"}, {"Z (2).GLD", "new z"}, {"Z.GLD", "old z"}}));
    EXPECT_EQ(mpDir.files(), mpFiles);
    EXPECT_EQ(modifiedTime(backupDir / "X.MP3").seconds, 1300000000);
}

// Every file there would be its own copy and nothing would be backed up: refused before
// anything is copied, however the folder is reached.
TEST(Backup, TheMasterpointFolderItselfIsRefused) {
    TempDir root;
    const std::string mp = root.mkdir("mp");
    root.mkdir("mp" SEP "sub");
    root.mkdir("other");
    root.write("mp" SEP "A.GLD", valid("a"));
    struct Case {
        const char* what;
        std::string backupFolder;
        bool refused;
    };
    std::vector<Case> cases = {
        {"the same path", mp, true},
        {"with a separator after it", mp + SEP, true},
        {"through a folder inside it", mp + SEP "sub" SEP "..", true},
        {"another folder", root / "other", false},
        {"a folder inside it", mp + SEP "sub", false},
    };
#ifndef _WIN32
    ::symlink(mp.c_str(), (root / "link").c_str());
    cases.push_back({"through a link", root / "link", true});
    // Another spelling of the name, or a bind view, with file numbers of its own (FUSE).
    struct OwnNumbers : FaultyFileSystem {
        std::error_code stampAt(const std::string& path, FileStamp& stamp) override {
            const std::error_code error = FaultyFileSystem::stampAt(path, stamp);
            stamp.file += path.find("link") != std::string::npos ? 1 : 0;
            return error;
        }
    } ownNumbers;
    EXPECT_NE(errorOf([&] { backUpTicked({ticked("A.GLD", 0)}, mp, root / "link", ownNumbers); }),
              "");
#endif
    const Files before = root.files();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<ListEntry> entries = {ticked("A.GLD", 0)};
        const std::string error = errorOf([&] { backUpTicked(entries, mp, c.backupFolder); });
        EXPECT_EQ(error, c.refused ? "The backup folder is the masterpoint folder: choose another "
                                     "folder"
                                   : "");
        EXPECT_EQ(TempDir::namesIn(mp), (std::set<std::string>{"A.GLD", "sub"}));
        // Refused with nothing ticked too, so that it is never kept as the backup folder.
        EXPECT_EQ(errorOf([&] { backUpTicked({ticked("A.GLD", 0, false)}, mp, c.backupFolder); }),
                  error);
    }
}

// A corrected file must still be backed up: a different copy there is kept, and the
// new one goes beside it; only an identical copy counts as there already.
TEST(Backup, ACopyAlreadyThereCountsOnlyWithTheSameBytes) {
    std::string big(300000, 'x');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>('0' + i % 10);
    }
    const struct {
        const char* what;
        std::string file, copy;
        bool same;
    } cases[] = {
        {"same bytes", valid("c"), valid("c"), true},
        {"both empty", "", "", true},
        {"same bytes, many chunks", big, big, true},
        {"same size, other bytes", valid("c"), valid("d"), false},
        {"the copy is longer", valid("c"), valid("c") + "x", false},
        {"the copy is a prefix", valid("c"), valid(""), false},
        {"the copy is empty", valid("c"), "", false},
        {"the last byte of many chunks differs", big, big.substr(0, big.size() - 1) + "x", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir mpDir, backupDir;
        mpDir.write("CLUB.GLD", c.file);
        backupDir.write("CLUB.GLD", c.copy);
        const BackupResult result =
            backUpTicked({ticked("CLUB.GLD", 0)}, mpDir.path(), backupDir.path());
        EXPECT_EQ(result.problems.text(), "");
        EXPECT_EQ(result.alreadyThere, c.same ? 1 : 0);
        Files expected{{"CLUB.GLD", c.copy}};
        if (!c.same) {
            expected["CLUB (2).GLD"] = c.file;
        }
        EXPECT_TRUE(backupDir.files() == expected);
        EXPECT_TRUE(mpDir.files() == (Files{{"CLUB.GLD", c.file}}));
    }
}

// The numbered copy never replaces anything, is never made twice for one version, and
// keeps the extension, so that it is still a masterpoint file.
TEST(Backup, ADifferentCopyIsKeptBesideUnderTheFirstFreeNumber) {
    const std::string longName = std::string(246, 'n') + "\xc3\xa9.GLD"; // 252 bytes
    const struct {
        const char* what;
        std::string name;
        Files there;                      // in the backup folder beforehand
        std::vector<std::string> folders; // folders there beforehand
        std::string beside;               // the copy's name; empty when one was there already
    } cases[] = {
        {"(2) taken by another version",
         "C.GLD",
         {{"C.GLD", "old"}, {"C (2).GLD", "older"}},
         {},
         "C (3).GLD"},
        {"a folder under the (2) name", "C.GLD", {{"C.GLD", "old"}}, {"C (2).GLD"}, "C (3).GLD"},
        {"this version already under (3)",
         "C.GLD",
         {{"C.GLD", "old"}, {"C (2).GLD", "older"}, {"C (3).GLD", "new"}},
         {},
         ""},
        {"a name without extension", "CLUB", {{"CLUB", "old"}}, {}, "CLUB (2)"},
        {"the last dot begins the extension", "a.b.GLD", {{"a.b.GLD", "old"}}, {}, "a.b (2).GLD"},
        {"a name too long for the number",
         longName,
         {{longName, "old"}},
         {},
         std::string(246, 'n') + " (2).GLD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir mpDir, backupDir;
        mpDir.write(c.name, "new");
        for (const auto& [name, bytes] : c.there) {
            backupDir.write(name, bytes);
        }
        for (const std::string& folder : c.folders) {
            backupDir.mkdir(folder);
        }
        const BackupResult result =
            backUpTicked({ticked(c.name, 0)}, mpDir.path(), backupDir.path());
        EXPECT_EQ(result.problems.text(), "");
        EXPECT_EQ(result.alreadyThere, c.beside.empty() ? 1 : 0);
        Files expected = c.there;
        if (!c.beside.empty()) {
            EXPECT_EQ(result.besideOlder, std::vector<std::string>{c.beside});
            expected[c.beside] = "new";
        }
        EXPECT_TRUE(backupDir.files() == expected);
        // Backing up again keeps one copy of each version.
        EXPECT_EQ(backUpTicked({ticked(c.name, 0)}, mpDir.path(), backupDir.path()).alreadyThere,
                  1);
        EXPECT_TRUE(backupDir.files() == expected);
    }
}

#ifndef _WIN32
// Only a regular file is a copy: a link (even to the file itself, which would keep
// nothing if the file were lost), a link to nowhere or a folder under the name is
// something else, and the copy goes beside it.
TEST(Backup, ANameHeldByALinkOrFolderIsNoCopy) {
    TempDir mpDir, backupDir;
    const std::string source = mpDir.write("C.GLD", valid("c"));
    ::symlink(source.c_str(), (backupDir / "C.GLD").c_str());
    ::symlink("nowhere", (backupDir / "D.GLD").c_str());
    mpDir.write("D.GLD", valid("d"));
    backupDir.mkdir("E.GLD");
    mpDir.write("E.GLD", valid("e"));
    const BackupResult result =
        backUpTicked({ticked("C.GLD", 0), ticked("D.GLD", 0), ticked("E.GLD", 0)}, mpDir.path(),
                     backupDir.path());
    EXPECT_EQ(result.problems.text(), "");
    EXPECT_EQ(result.alreadyThere, 0);
    EXPECT_EQ(result.besideOther,
              (std::vector<std::string>{"C (2).GLD", "D (2).GLD", "E (2).GLD"}));
    EXPECT_EQ(readAll(backupDir / "C (2).GLD"), valid("c"));
}

// A copy waiting for its name carries its own time, not its source's: with its source's
// it would look an hour old to another backup's clean-up where locks are not kept.
TEST(Backup, ACopyWaitingForItsNameNeverLooksAbandoned) {
    struct Watching : FaultyFileSystem {
        std::int64_t oldest = INT64_MAX;
        std::error_code placeNewUnsynced(FileHandle& file, const std::string& from,
                                         const std::string& to) override {
            FileStamp stamp;
            stampOf(file, stamp);
            oldest = std::min(oldest, stamp.modifiedSeconds);
            return FaultyFileSystem::placeNewUnsynced(file, from, to);
        }
    } watching;
    TempDir mpDir, backupDir;
    ASSERT_TRUE(setModifiedTime(mpDir.write("C.GLD", valid("c")), {1300000000, 0}));
    backUpTicked({ticked("C.GLD", 0)}, mpDir.path(), backupDir.path(), watching);
    EXPECT_GT(watching.oldest, std::time(nullptr) - kAbandonedAfterSeconds);
}
#endif

TEST(Backup, FailedCopyLeavesNoFileSaysWhyAndTheWalkGoesOn) {
    const struct {
        const char* what;
        Call call;
        std::errc error;
        int after;
        std::string pathPart;
        std::string problem;
        bool changed = false; // the file looks rewritten at this call rather than failing
    } cases[] = {
        {"the copy cannot be made", Call::CreateTemporary, std::errc::permission_denied, 0,
         SEP "CLUB.GLD", "Could not back up CLUB.GLD: permission denied"},
        {"the copy cannot be named", Call::PlaceNew, std::errc::permission_denied, 0,
         SEP "CLUB.GLD", "Could not back up CLUB.GLD: permission denied"},
        {"the file cannot be opened", Call::OpenForReading, std::errc::permission_denied, 0,
         "CLUB.GLD", "Could not back up CLUB.GLD: permission denied"},
        {"the disk fills after the first bytes", Call::CopyData, std::errc::no_space_on_device, 1,
         "", "Could not back up CLUB.GLD: no space left on device"},
        // The sync of them all fails: each file's own sync tells which write was lost.
        {"the sync reports a lost write", Call::Sync, std::errc::io_error, 1, "",
         "Could not back up CLUB.GLD: input/output error"},
        {"the names may not last", Call::SyncFolder, std::errc::io_error, 0, "",
         "The copies made may be lost if the power fails: the backup folder could not be synced: "
         "input/output error"},
        // The open sources are stamped after their bytes are copied.
        {"the file is rewritten while copied",
         Call::StampOf,
         {},
         1,
         "",
         "Cannot read file <mp>" SEP "CLUB.GLD: it changed while it was read",
         true},
        {"another file takes its name while copied",
         Call::StampAt,
         {},
         0,
         SEP "CLUB.GLD",
         "Cannot read file <mp>" SEP "CLUB.GLD: it changed while it was read",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir mpDir, backupDir;
        for (const char* name : {"A.GLD", "CLUB.GLD", "Z.GLD"}) {
            mpDir.write(name, valid(name));
        }
        const Files mpFiles = mpDir.files();
        FaultyFileSystem faulty;
        if (c.changed) {
            faulty.changeOn(c.call, c.after, c.pathPart);
        } else {
            faulty.failOn(c.call, c.error, c.after, c.pathPart);
        }
        if (c.call == Call::Sync) {
            faulty.failOn(Call::SyncAll, std::errc::io_error);
        }
        const BackupResult result =
            backUpTicked({ticked("A.GLD", 0), ticked("CLUB.GLD", 0), ticked("Z.GLD", 0)},
                         mpDir.path(), backupDir.path(), faulty);
        EXPECT_EQ(faulty.fired(), c.call == Call::Sync ? 2 : 1);
        EXPECT_EQ(result.ticked, 3);
        std::string problem = c.problem;
        if (problem.find("<mp>") != std::string::npos) {
            problem.replace(problem.find("<mp>"), 4, mpDir.path());
        }
        EXPECT_EQ(result.problems.text(), problem);
        Files copies{{"A.GLD", valid("A.GLD")}, {"Z.GLD", valid("Z.GLD")}};
        if (c.call == Call::SyncFolder) {
            copies["CLUB.GLD"] = valid("CLUB.GLD"); // all copied, each whole
        }
        EXPECT_EQ(backupDir.files(), copies);
        EXPECT_EQ(backupDir.names().size(), copies.size());
        EXPECT_EQ(mpDir.files(), mpFiles);
    }
}

namespace {

// A file system whose times are not trusted (FAT through FUSE keeps a file's time on
// write), where the source is rewritten at the same size, its time kept, just after its
// bytes begin to be copied.
class RewrittenOnFat : public FaultyFileSystem {
public:
    explicit RewrittenOnFat(std::string path) : path_(std::move(path)) { untrustedTimes = true; }
    std::error_code read(FileHandle& file, char* buffer, std::size_t size,
                         std::size_t& got) override {
        const std::error_code error = FaultyFileSystem::read(file, buffer, size, got);
        rewrite();
        return error;
    }
    std::error_code copyData(FileHandle& from, FileHandle& to) override {
        const std::error_code error = FaultyFileSystem::copyData(from, to);
        rewrite();
        return error;
    }
    bool rewritten = false;

private:
    void rewrite() {
        if (rewritten) {
            return;
        }
        rewritten = true;
        const FileTime kept = modifiedTime(path_);
        const std::string other(readAll(path_).size(), '9');
        std::FILE* file = std::fopen(path_.c_str(), "r+b");
        ASSERT_NE(file, nullptr);
        std::fwrite(other.data(), 1, other.size(), file);
        std::fclose(file);
        ASSERT_TRUE(setModifiedTime(path_, kept));
    }
    std::string path_;
};

} // namespace

// Guards a copy stale or torn by a rewrite during Backup reported as good where the
// file's time does not move on write: the stamps alone cannot tell.
TEST(Backup, ARewriteWhereTimesAreNotTrustedIsSeen) {
#ifdef _WIN32
    GTEST_SKIP() << "the source is read with writers refused: it cannot change under Backup";
#endif
    TempDir mpDir, backupDir;
    const std::string source = mpDir.write("CLUB.GLD", valid("club"));
    ASSERT_TRUE(setModifiedTime(source, {1300000000, 0}));
    RewrittenOnFat fat(source);
    const BackupResult result =
        backUpTicked({ticked("CLUB.GLD", 0)}, mpDir.path(), backupDir.path(), fat);
    EXPECT_TRUE(fat.rewritten);
    EXPECT_EQ(result.problems.text(),
              "Cannot read file " + source + ": it changed while it was read");
    EXPECT_TRUE(backupDir.names().empty());
}

#ifndef _WIN32
namespace {

// The system's file system, but the process is killed at one chosen step of a backup,
// after `after` such steps went through, as a power cut or a kill -9 would end it.
class KillingFileSystem : public FaultyFileSystem {
public:
    KillingFileSystem(Call at, int after) : at_(at), after_(after) {}
    std::error_code copyData(FileHandle& from, FileHandle& to) override {
        if (at_ == Call::CopyData) {
            char part[4096];
            std::size_t got = 0;
            read(from, part, sizeof part, got);
            write(to, part, got);
            die();
        }
        return FaultyFileSystem::copyData(from, to);
    }
    std::error_code syncAll(const std::vector<FileHandle*>& files) override {
        dieAt(Call::SyncAll);
        return FaultyFileSystem::syncAll(files);
    }
    std::error_code placeNewUnsynced(FileHandle& file, const std::string& from,
                                     const std::string& to) override {
        dieAt(Call::PlaceNew);
        return FaultyFileSystem::placeNewUnsynced(file, from, to);
    }
    std::error_code syncFolder(const std::string& folder) override {
        dieAt(Call::SyncFolder);
        return FaultyFileSystem::syncFolder(folder);
    }

private:
    void dieAt(Call call) {
        if (call == at_ && after_-- == 0) {
            die();
        }
    }
    static void die() { ::kill(::getpid(), SIGKILL); }
    Call at_;
    int after_;
};

std::string bigRecords(int seed) {
    std::string text;
    for (int i = 0; text.size() < (2u << 20); ++i) {
        text += std::to_string(1000000 + (i + seed) % 9000000) + "000100\r\n";
    }
    return text;
}

} // namespace

// Killed at any step: each copy under its name is whole or not there, and the next
// Backup completes them without a false warning.
TEST(Backup, KilledAtAnyStepLeavesTheWholeCopyOrNone) {
    const struct {
        const char* what;
        Call at;
        int after;
        std::size_t copied;
    } cases[] = {
        {"while the bytes are copied", Call::CopyData, 0, 0},
        {"before the shared sync", Call::SyncAll, 0, 0},
        {"before the first copy is named", Call::PlaceNew, 0, 0},
        {"between two namings", Call::PlaceNew, 1, 1},
        {"before the folder sync", Call::SyncFolder, 0, 3},
    };
    TempDir mpDir;
    std::vector<ListEntry> entries;
    for (int i = 0; i < 3; ++i) {
        mpDir.write("CLUB" + std::to_string(i) + ".GLD", bigRecords(i));
        entries.push_back(ticked("CLUB" + std::to_string(i) + ".GLD", 0));
    }
    const Files whole = mpDir.files();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir backupDir;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            KillingFileSystem killing(c.at, c.after);
            backUpTicked(entries, mpDir.path(), backupDir.path(), killing);
            ::_exit(1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        const Files files = backupDir.files();
        EXPECT_EQ(files.size(), c.copied);
        for (const auto& [name, bytes] : files) {
            EXPECT_TRUE(whole.count(name) == 1 && whole.at(name) == bytes) << name;
        }
        const BackupResult again = backUpTicked(entries, mpDir.path(), backupDir.path());
        EXPECT_EQ(again.problems.text(), "");
        EXPECT_TRUE(backupDir.files() == whole);
    }
}

// Two copies of the program backing up the same files into one folder at once: each
// finds the other's copies whole, so neither warns.
TEST(Backup, TwoAtOnceGiveNoFalseWarning) {
    TempDir mpDir;
    std::vector<ListEntry> entries;
    for (int i = 0; i < 20; ++i) {
        const std::string name = "F" + std::to_string(i) + ".GLD";
        mpDir.write(name, valid(name) + std::string(static_cast<std::size_t>(i) * 5000, '1'));
        entries.push_back(ticked(name, 0));
    }
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TempDir backupDir;
        pid_t children[2];
        for (pid_t& child : children) {
            child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                const BackupResult result = backUpTicked(entries, mpDir.path(), backupDir.path());
                ::_exit(result.problems.empty() ? 0 : 1);
            }
        }
        for (const pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a warning was given";
        }
        EXPECT_TRUE(backupDir.files() == mpDir.files());
    }
}
#endif
