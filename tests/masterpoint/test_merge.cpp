// Merge: the check pass, the proposed name, and the merged file on real folders, also
// when a call fails halfway.

#include "TempDir.h"
#include "masterpoint/LineList.h"
#include "masterpoint/Merge.h"
#include "support/FaultyFileSystem.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace mp;
using namespace std::string_literals;

// The separator that joinPath puts between a folder and a name, as a literal to join.
#ifdef _WIN32
#define SEP "\\"
#else
#define SEP "/"
#endif

namespace {

std::string crLfText(std::string_view bytes) {
    const LineList list = LineList::fromBytes(bytes);
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i) {
        text.append(list.line(i)).append("\r\n");
    }
    return text;
}

} // namespace

TEST(Merge, CheckPassComparesListedExtensionsExactly) {
    const struct {
        const char* name;
        std::vector<ListEntry> entries;
        MergeCheck::Outcome outcome;
        std::string first;
    } cases[] = {
        {"two colour files", {ticked("X.GLD", 0), ticked("Y.GLD", 0)}, MergeCheck::Ok, "X.GLD"},
        {"two numbered files", {ticked("X.MP1", 1), ticked("Y.MP1", 1)}, MergeCheck::Ok, "X.MP1"},
        {"numbered files of either case",
         {ticked("low.mp1", 1), ticked("Y.MP1", 1)},
         MergeCheck::Ok,
         "low.mp1"},
        {"converted and not",
         {ticked("X.GLD", 0), ticked("Y.MP1", 1)},
         MergeCheck::DifferentExtensions,
         "X.GLD"},
        {"letter case differs",
         {ticked("X.GLD", 0), ticked("Y.gld", 0)},
         MergeCheck::DifferentExtensions,
         "X.GLD"},
        {"first two of three differ",
         {ticked("X.GLD", 0), ticked("Y.RED", 0), ticked("Z.RED", 0)},
         MergeCheck::DifferentExtensions,
         "X.GLD"},
        {"unticked entries play no part",
         {ticked("W.RED", 0, false), ticked("X.GLD", 0), ticked("Y.RED", 0, false),
          ticked("Z.GLD", 0)},
         MergeCheck::Ok,
         "X.GLD"},
        {"one ticked",
         {ticked("X.GLD", 0, false), ticked("Y.GLD", 0)},
         MergeCheck::TooFewTicked,
         "Y.GLD"},
        {"none ticked", {ticked("X.GLD", 0, false)}, MergeCheck::TooFewTicked, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MergeCheck check = checkMerge(c.entries);
        EXPECT_EQ(check.outcome, c.outcome);
        EXPECT_EQ(check.first.fileName, c.first);
    }
}

TEST(Merge, ProposedNameIsClubNumberAndTheFirstEntrysExtension) {
    const struct {
        std::string folder;
        int club;
        ListEntry first;
        std::string name;
    } cases[] = {
        {"/mp", 612, ListEntry::forFile("X.GLD", 0), "/mp" SEP "Club612.GLD"},
        {"/mp", 612, ListEntry::forFile("X.MP2", 2), "/mp" SEP "Club612.MP2"},
        {"/mp", 612, ListEntry::forFile("low.mp1", 1), "/mp" SEP "Club612.MP1"},
        {"/mp", 612, ListEntry::forFile("a.b.mp4", 4), "/mp" SEP "Club612.MP4"},
        {"/mp", 612, ListEntry::forFile("club.gld", 0), "/mp" SEP "Club612.gld"},
        {"/mp/", 0, ListEntry::forFile("X.RED", 0), "/mp/" SEP "Club0.RED"},
        {"/mp", -5, ListEntry::forFile("X.RED", 0), "/mp" SEP "Club-5.RED"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(proposedMergeName(c.folder, c.club, c.first), c.name);
    }
}

TEST(Merge, OutputIsEveryInputLineWithCrLf) {
    const struct {
        const char* name;
        std::vector<std::string> inputs;
        std::string output;
        std::uint64_t lines;
    } cases[] = {
        {"crlf then lf without final end", {"A\r\nB\r\n", "C\nD"}, "A\r\nB\r\nC\r\nD\r\n", 4},
        {"lone cr, empty lines", {"A\rB", "\n\nC\n", "E"}, "A\r\nB\r\n\r\n\r\nC\r\nE\r\n", 6},
        {"headers and repeats pass through",
         {"HEADER\r\n1\r\n", "HEADER\r\n1\r\n"},
         "HEADER\r\n1\r\n"
         "HEADER\r\n1\r\n",
         4},
        {"empty inputs give an empty file", {"", "", ""}, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < c.inputs.size(); ++i) {
            paths.push_back(dir.write("in" + std::to_string(i), c.inputs[i]));
        }
        dir.write("out", "previous content");
        EXPECT_EQ(mergeFiles(paths, dir / "out"), c.lines);
        EXPECT_EQ(readAll(dir / "out"), c.output);
        EXPECT_EQ(dir.names().size(), c.inputs.size() + 1);
    }
}

TEST(Merge, TickedEntriesResolveInListOrderAndOutputMayBeAnInput) {
    TempDir dir;
    dir.write("X.MP1", "X1\r\n");
    dir.write("Y.MP1", "Y1\r\n");
    dir.write("Z.MP1", "Z1\r\n");
    const std::vector<ListEntry> entries = {ticked("Y.MP1", 1), ticked("Z.MP1", 1, false),
                                            ticked("X.MP1", 1)};
    const std::vector<std::string> paths = tickedPaths(entries, dir.path());
    EXPECT_EQ(paths, (std::vector<std::string>{dir / "Y.MP1", dir / "X.MP1"}));
    mergeFiles(paths, dir / "Y.MP1");
    EXPECT_EQ(dir.files(),
              (Files{{"X.MP1", "X1\r\n"}, {"Y.MP1", "Y1\r\nX1\r\n"}, {"Z.MP1", "Z1\r\n"}}));
}

// A name free when the user chose it, taken during the merge (the scoring program or a
// second copy of ours writing it): it was once replaced without a word. It is asked about
// again, and replaced only on yes.
TEST(Merge, NameTakenDuringTheMergeIsAskedAboutAgain) {
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "replace" : "keep");
        TempDir dir;
        dir.write("A.GLD", "A1\r\n");
        std::vector<std::string> asked;
        MergeQuestion question;
        question.ask = [](const std::string&) { return true; }; // "A1" is no record
        question.replace = false;                               // the name was free when chosen
        question.askReplace = [&](const std::string& name) {
            asked.push_back(name);
            return yes;
        };
        dir.write("out.GLD", "written meanwhile\r\n");
        const std::optional<std::uint64_t> lines =
            mergeFiles({dir / "A.GLD"}, dir / "out.GLD", FileSystem::system(), &question);
        EXPECT_EQ(asked, std::vector<std::string>{"out.GLD"});
        EXPECT_EQ(lines.has_value(), yes);
        EXPECT_EQ(dir.files(), (Files{{"A.GLD", "A1\r\n"},
                                      {"out.GLD", yes ? "A1\r\n" : "written meanwhile\r\n"}}));
    }
}

TEST(Merge, FailureLeavesEveryFileAsItWas) {
    TempDir dir;
    const std::string a = dir.write("A.GLD", "A\n");
    const std::string out = dir.write("out.GLD", "keep me");
#ifdef _WIN32
    const std::string device = "NUL"; // a device, wherever it is named
#else
    const std::string device = dir / "fifo.GLD";
    ::mkfifo(device.c_str(), 0644);
#endif
    const std::set<std::string> before = dir.names();

    EXPECT_EQ(errorOf([&] {
                  mergeFiles({a, dir / "gone.GLD", dir / "gone2.GLD"}, out);
              }),
              "Cannot open file " + dir / "gone.GLD");
    EXPECT_EQ(errorOf([&] { mergeFiles({a, device}, out); }), "Cannot open file " + device);
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

TEST(Merge, FailedCallLeavesEveryFileAsItWasAndNoTemporary) {
    std::string big;
    while (big.size() < 600000) {
        big += "0123456001250\n";
    }
    const struct {
        const char* what;
        Call call;
        std::errc error;
        int after;
        std::string pathPart;
        std::string failedFile; // "out": not created; "in2": not opened; "read": not read
    } cases[] = {
        {"the temporary cannot be created", Call::CreateTemporary, std::errc::permission_denied, 0,
         "", "out"},
        {"a write fails in the middle", Call::Write, std::errc::no_space_on_device, 1, "", "out"},
        {"the sync at commit fails", Call::Sync, std::errc::io_error, 0, "", "out"},
        {"the rename into place fails", Call::Replace, std::errc::permission_denied, 0, "", "out"},
        {"an input cannot be opened", Call::OpenForReading, std::errc::permission_denied, 0,
         SEP "in2", "in2"},
        {"an input is gone when its turn comes", Call::OpenForReading,
         std::errc::no_such_file_or_directory, 1, SEP "in2", "in2"},
        {"a read fails mid-way through an input", Call::Read, std::errc::io_error, 3, "", "read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string in1 = dir.write("in1", "A\nB");
        const std::string in2 = dir.write("in2", big);
        const std::string out = dir.write("out", "keep me");
        const Files before = dir.files();
        FaultyFileSystem faulty;
        faulty.failOn(c.call, c.error, c.after, c.pathPart);
        const std::string message = c.failedFile == "out"    ? "Cannot create file " + out
                                    : c.failedFile == "read" ? "Cannot read file " + in2
                                                             : "Cannot open file " + in2;
        EXPECT_EQ(errorOf([&] { mergeFiles({in1, in2}, out, faulty); }), message);
        EXPECT_EQ(faulty.fired(), 1);
        EXPECT_TRUE(dir.files() == before);
        EXPECT_EQ(dir.names(), (std::set<std::string>{"in1", "in2", "out"}));
    }
}

// Changes the named file just after it is opened for the merge proper (its second
// opening: the first is the check that every input opens), as another program writing
// it would.
class ChangingFileSystem : public FaultyFileSystem {
public:
    // OnFatMidRead: rewritten at the same size after its first read, its time kept, on
    // a file system whose times are not trusted (FAT through FUSE keeps it on write).
    enum Change { CutShort, Emptied, Grown, RewrittenSameSize, ReplacedUnderItsName, OnFatMidRead };
    ChangingFileSystem(std::string path, Change change) : path_(std::move(path)), change_(change) {
        untrustedTimes = change == OnFatMidRead;
    }
    std::error_code openForReading(const std::string& path, FileHandle& file,
                                   FileStamp& stamp) override {
        const std::error_code error = FaultyFileSystem::openForReading(path, file, stamp);
        if (!error && path == path_ && ++opened_ == 2) {
            if (change_ == OnFatMidRead) {
                watched_ = file.native();
            } else {
                changed_ = change();
            }
        }
        return error;
    }
    std::error_code read(FileHandle& file, char* buffer, std::size_t size,
                         std::size_t& got) override {
        const std::error_code error = FaultyFileSystem::read(file, buffer, size, got);
        if (!changed_ && watched_ != FileHandle::kInvalid && file.native() == watched_) {
            const FileTime kept = modifiedTime(path_);
            changed_ = change() && setModifiedTime(path_, kept);
        }
        return error;
    }
    bool changed() const { return changed_; }

private:
    bool change() const {
        const std::string now = readAll(path_);
        const std::string other = "9999999000900\r\n8888888000800\r\n";
        switch (change_) {
        case CutShort:
            return rewrite(now.substr(0, 20));
        case Emptied:
            return rewrite("");
        case Grown:
            return rewrite(now + "7654321000100\r\n");
        case RewrittenSameSize:
        case OnFatMidRead:
            return rewrite(other.substr(0, now.size()));
        case ReplacedUnderItsName: {
            const std::string fresh = path_ + ".new";
            std::ofstream(fresh, std::ios::binary) << other.substr(0, now.size());
            if (std::rename(fresh.c_str(), path_.c_str()) == 0) {
                return true;
            }
            std::remove(fresh.c_str()); // Windows: a file open for reading keeps its name
            return false;
        }
        }
        return false;
    }
    // In place, as an editor that rewrites the file it opened would.
    bool rewrite(const std::string& bytes) const {
#ifdef _WIN32
        const HANDLE file = ::CreateFileW(testfs::wide(path_).c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return false;
        }
        DWORD written = 0;
        const bool done =
            ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            ::SetEndOfFile(file);
        ::CloseHandle(file);
        return done;
#else
        const int fd = ::open(path_.c_str(), O_WRONLY);
        const bool done =
            fd >= 0 &&
            ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
            ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
        ::close(fd);
        return done;
#endif
    }

    std::string path_;
    Change change_;
    int opened_ = 0;
    FileHandle::Native watched_ = FileHandle::kInvalid;
    bool changed_ = false;
};

TEST(Merge, InputThatChangesWhileMergedFailsWritingNothing) {
    const struct {
        const char* what;
        ChangingFileSystem::Change change;
    } cases[] = {
        {"cut short in the middle of a record", ChangingFileSystem::CutShort},
        {"emptied", ChangingFileSystem::Emptied},
        {"grown by a record", ChangingFileSystem::Grown},
        {"rewritten in place at the same size", ChangingFileSystem::RewrittenSameSize},
        {"replaced by another file under its name", ChangingFileSystem::ReplacedUnderItsName},
        // Once reported as good, stale or torn: the second read tells.
        {"rewritten mid-read where times are not trusted", ChangingFileSystem::OnFatMidRead},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string in1 = dir.write("in1", "0123456001250\r\n");
        const std::string in2 = dir.write("in2", "1111111000100\r\n2222222000200\r\n");
        // Written long ago: a rewrite now gives it another time, whatever the clock's grain.
        ASSERT_TRUE(setModifiedTime(in2, {1300000000, 0}));
        const std::string out = dir.write("out", "keep me");
        ChangingFileSystem changing(in2, c.change);
        const std::string error = errorOf([&] { mergeFiles({in1, in2}, out, changing); });
        EXPECT_EQ(dir.names(), (std::set<std::string>{"in1", "in2", "out"}));
#ifdef _WIN32
        // The file is read with writers refused: it cannot change under the merge.
        if (!changing.changed()) {
            EXPECT_EQ(error, "");
            EXPECT_EQ(readAll(out), "0123456001250\r\n1111111000100\r\n2222222000200\r\n");
            continue;
        }
#endif
        EXPECT_TRUE(changing.changed());
        EXPECT_EQ(error, "Cannot read file " + in2 + ": it changed while it was read");
        EXPECT_EQ(readAll(out), "keep me");
    }
}

// The same through the fault seam, at each look that can see the change: the open file
// at the end of its reading, and what its name holds then.
TEST(Merge, ChangeSeenAtEitherLookFailsThatInputWritingNothing) {
    const struct {
        const char* what;
        Call call;
        int after;
        std::string pathPart;
    } cases[] = {
        {"the second input's open file at its end", Call::StampOf, 1, ""},
        {"the second input's name at its end", Call::StampAt, 0, SEP "in2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string in1 = dir.write("in1", "0123456001250\r\n");
        const std::string in2 = dir.write("in2", "1111111000100\r\n");
        const std::string out = dir.write("out", "keep me");
        FaultyFileSystem faulty;
        faulty.changeOn(c.call, c.after, c.pathPart);
        EXPECT_EQ(errorOf([&] {
                      mergeFiles({in1, in2}, out, faulty);
                  }),
                  "Cannot read file " + in2 + ": it changed while it was read");
        EXPECT_EQ(faulty.fired(), 1);
        EXPECT_EQ(readAll(out), "keep me");
        EXPECT_EQ(dir.names(), (std::set<std::string>{"in1", "in2", "out"}));
    }
}

// A NUL would have cut the input short in silence: the merge names the file and the
// line, and writes nothing, wherever the NUL falls in the reads.
TEST(Merge, InputHoldingANulIsRefusedNamingItsLineWritingNothing) {
    std::string big;
    for (int i = 0; i < 100000; ++i) {
        big += "1234567" + std::to_string(100000 + i) + "\r\n";
    }
    const struct {
        const char* what;
        std::string second;
        int line;
    } cases[] = {
        {"in the first line", "\0"s + big, 1},
        {"after lone line ends", "A\nB\rC\r\n\0"s, 4},
        {"deep in a big file, past the first read",
         big +
             "1234567\0"
             "00100\r\n"s +
             big,
         100001},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string in1 = dir.write("in1", "0123456001250\r\n");
        const std::string in2 = dir.write("in2", c.second);
        const std::string out = dir.write("out", "keep me");
        EXPECT_EQ(errorOf([&] {
                      mergeFiles({in1, in2, in1}, out);
                  }),
                  "Cannot merge " + in2 + ": line " + std::to_string(c.line) + " holds a NUL byte");
        EXPECT_EQ(readAll(out), "keep me");
        EXPECT_EQ(dir.names(), (std::set<std::string>{"in1", "in2", "out"}));
    }
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
    const std::string tail = "tail\r" + big.substr(0, 1000);
    mergeFiles({dir.write("big1", big), dir.write("big2", tail)}, dir / "out");
    EXPECT_TRUE(readAll(dir / "out") == crLfText(big) + crLfText(tail));
}
