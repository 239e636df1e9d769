// What the file system does only on Windows: names that differ only in case are one
// file, a file being read refuses writers, the attribute word is the system's own, names
// outside the code page and paths beyond MAX_PATH reach their files, and the reasons
// come back as readable text.

#ifdef _WIN32

#include "TempDir.h"
#include "masterpoint/Backup.h"
#include "masterpoint/Convert.h"
#include "masterpoint/FileCopy.h"
#include "masterpoint/FolderScan.h"
#include "masterpoint/LineList.h"
#include "masterpoint/Merge.h"
#include "masterpoint/ReadableFile.h"
#include "masterpoint/ValidityTest.h"
#include "support/FaultyFileSystem.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>

using namespace mp;

namespace {

FileSystem& fs() {
    return FileSystem::system();
}

void setAttributes(const std::string& path, DWORD word) {
    ASSERT_TRUE(::SetFileAttributesW(testfs::wide(path).c_str(), word)) << path;
}

// A file held open by another program, as it asked: what it may do, what it lets others do.
class HeldFile {
public:
    HeldFile(const std::string& path, DWORD access, DWORD share)
        : handle_(::CreateFileW(testfs::wide(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)),
          error_(isOpen() ? 0 : ::GetLastError()) {}
    ~HeldFile() {
        if (isOpen()) {
            ::CloseHandle(handle_);
        }
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    DWORD error() const { return error_; }

private:
    HANDLE handle_;
    DWORD error_;
};

std::vector<std::string> fileNames(const ScanResult& result) {
    std::vector<std::string> names;
    for (const ListEntry& e : result.entries) {
        names.push_back(e.fileName);
    }
    return names;
}

} // namespace

TEST(WindowsNames, ThoseThatDifferOnlyInCaseAreOneFile) {
    TempDir dir;
    dir.write("club.gld", valid("first"));
    dir.write("CLUB.GLD", valid("second"));
    dir.write("x.mp1", valid("x"));
    // One file, under the name it was made with, holding what was written last.
    EXPECT_EQ(dir.files(), (Files{{"club.gld", valid("second")}, {"x.mp1", valid("x")}}));

    std::size_t got = 0;
    char head[13];
    EXPECT_FALSE(fs().readHead(dir / "Club.Gld", head, sizeof head, Known::Nothing, got));
    EXPECT_EQ(got, sizeof head);
    EXPECT_EQ(copyNoReplace(dir / "x.mp1", dir / "CLUB.GLD"), std::errc::file_exists);
    EXPECT_EQ(fs().renameNoReplace(dir / "x.mp1", dir / "CLUB.GLD"), std::errc::file_exists);
    EXPECT_EQ(dir.files(), (Files{{"club.gld", valid("second")}, {"x.mp1", valid("x")}}));
}

TEST(WindowsNames, EveryCommandFindsTheOneFileWhateverTheCaseAsked) {
    TempDir mpDir, backupDir;
    mpDir.write("club.gld", valid("c"));
    mpDir.write("club.mp1", valid("m"));
    mpDir.write("CLUB.MP2", valid("2"));
    mpDir.write("Club.RED", valid("r"));
    backupDir.write("CLUB.GLD", valid("c")); // backed up before, in another case

    ScanResult scan;
    scanFolder(mpDir.path(), {}, scan);
    EXPECT_EQ(fileNames(scan),
              (std::vector<std::string>{"club.gld", "club.mp1", "CLUB.MP2", "Club.RED"}));

    const BackupResult backup = backUpTicked({ticked("club.gld", 0), ticked("club.mp1", 1)},
                                             mpDir.path(), backupDir.path());
    EXPECT_TRUE(backup.problems.empty()) << backup.problems.text();
    EXPECT_EQ(backupDir.files(), (Files{{"CLUB.GLD", valid("c")}, {"club.mp1", valid("m")}}));

    // club.mp1 would become club.GLD and CLUB.MP2 CLUB.RED: both names are taken.
    const ConvertResult convert =
        convertTicked({ticked("club.mp1", 1), ticked("CLUB.MP2", 2)}, mpDir.path());
    EXPECT_EQ(convert.problems.text(), "Could not convert club.mp1: club.GLD already exists\n"
                                       "Could not convert CLUB.MP2: CLUB.RED already exists");

    // A merge into an input named in another case replaces that input.
    mergeFiles({mpDir / "club.gld", mpDir / "Club.RED"}, mpDir / "CLUB.GLD");
    EXPECT_EQ(readAll(mpDir / "club.gld"), valid("c") + valid("r"));
    EXPECT_EQ(mpDir.names().size(), 4u);
}

TEST(WindowsSharing, AFileBeingReadRefusesWritersAndTheValidityTestLetsThemWrite) {
    const struct {
        const char* what;
        DWORD access, share; // of the program that holds the file open
        bool headRead;       // the validity test, which lets others read and write
        bool read;           // a file read whole, which refuses writers
    } cases[] = {
        {"a reader that lets others read", GENERIC_READ, FILE_SHARE_READ, true, true},
        {"a writer that lets others read and write", GENERIC_WRITE,
         FILE_SHARE_READ | FILE_SHARE_WRITE, true, false},
        {"a writer that lets others read", GENERIC_WRITE, FILE_SHARE_READ, true, false},
        {"a reader that lets no one in", GENERIC_READ, 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string path = dir.write("X.GLD", valid("x"));
        const HeldFile other(path, c.access, c.share);
        ASSERT_TRUE(other.isOpen());
        EXPECT_EQ(errorOf([&] { EXPECT_TRUE(isMasterpointFile(path)); }),
                  c.headRead ? "" : "Cannot open file " + path);
        ScanResult scan;
        scanFolder(dir.path(), {}, scan);
        EXPECT_EQ(scan.problems.empty(), c.headRead); // said, and the scan goes on
        ReadableFile file;
        const std::error_code error = file.open(path);
        EXPECT_EQ(!error, c.read) << error.message();
        if (error) {
            EXPECT_EQ(error, std::errc::device_or_resource_busy) << error.message();
        }
    }

    // While the file is read, a writer is refused and a reader let in.
    TempDir dir;
    const std::string path = dir.write("X.GLD", valid("x"));
    {
        ReadableFile file;
        ASSERT_FALSE(file.open(path));
        EXPECT_EQ(HeldFile(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE).error(),
                  DWORD{ERROR_SHARING_VIOLATION});
        EXPECT_TRUE(HeldFile(path, GENERIC_READ, FILE_SHARE_READ).isOpen());
    }
    EXPECT_TRUE(HeldFile(path, GENERIC_WRITE, FILE_SHARE_READ).isOpen());
}

TEST(WindowsAttributes, TheListingGivesTheSystemsOwnWord) {
    TempDir dir;
    const struct {
        std::string name;
        DWORD set; // 0: a plain new file or folder
        bool folder;
    } entries[] = {
        {"plain.GLD", 0, false},
        {"ro.GLD", FILE_ATTRIBUTE_READONLY, false},
        {"hidden.GLD", FILE_ATTRIBUTE_HIDDEN, false},
        {"system.GLD", FILE_ATTRIBUTE_SYSTEM, false},
        {"both.GLD", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false},
        {"normal.GLD", FILE_ATTRIBUTE_NORMAL, false},
        {"d.MP1", 0, true},
        {"hd.MP1", FILE_ATTRIBUTE_HIDDEN, true},
    };
    for (const auto& e : entries) {
        const std::string path = e.folder ? dir.mkdir(e.name) : dir.write(e.name, valid(e.name));
        if (e.set != 0) {
            setAttributes(path, e.set);
        }
    }
    const std::map<std::string, DWORD> words = testfs::entriesOf(dir.path());
    std::vector<DirEntry> listed;
    ASSERT_FALSE(fs().listFolder(dir.path(), listed));
    ASSERT_EQ(listed.size(), std::size(entries));
    for (const DirEntry& entry : listed) {
        SCOPED_TRACE(entry.name);
        ASSERT_EQ(words.count(entry.name), 1u);
        EXPECT_EQ(entry.attributes, words.at(entry.name));
    }
    for (const auto& e : entries) {
        SCOPED_TRACE(e.name);
        const DWORD word = words.at(e.name);
        EXPECT_EQ(word & e.set & ~DWORD{FILE_ATTRIBUTE_NORMAL},
                  e.set & ~DWORD{FILE_ATTRIBUTE_NORMAL});
        EXPECT_EQ((word & FILE_ATTRIBUTE_DIRECTORY) != 0, e.folder);
    }
}

TEST(WindowsAttributes, AFolderWithAFurtherAttributeIsSaidAndAPlainOneIsPassedOver) {
    const struct {
        const char* what;
        DWORD set;
        std::string thrown; // the name in the message, if any
        std::vector<std::string> listed;
    } cases[] = {
        {"a plain folder", 0, "", {"A.GLD", "Z.GLD"}},
        {"a hidden folder", FILE_ATTRIBUTE_HIDDEN, "Y.MP1", {"A.GLD", "Z.GLD"}},
        {"a system folder", FILE_ATTRIBUTE_SYSTEM, "Y.MP1", {"A.GLD", "Z.GLD"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.write("A.GLD", valid("A"));
        const std::string folder = dir.mkdir("Y.MP1");
        if (c.set != 0) {
            setAttributes(folder, c.set);
        }
        dir.write("Z.GLD", valid("Z"));
        ScanResult result;
        scanFolder(dir.path(), {true, {}}, result);
        // Said once, with its reason, and the files after it still listed.
        EXPECT_EQ(result.problems.size(), c.thrown.empty() ? 0u : 1u);
        EXPECT_TRUE(c.thrown.empty() || result.problems.text().rfind(
                                            "Cannot open file " + dir / c.thrown + ": ", 0) == 0);
        EXPECT_EQ(fileNames(result), c.listed);
    }
}

TEST(WindowsAttributes, ACopyKeepsThemAndAReplacementTakesThoseOfTheFileItReplaces) {
    TempDir dir;
    const std::string source = dir.write("src.GLD", valid("s"));
    setAttributes(source, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_FALSE(copyNoReplace(source, dir / "copy.GLD"));
    EXPECT_EQ(testfs::attributesOf(dir / "copy.GLD") &
                  (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN});
    EXPECT_EQ(readAll(dir / "copy.GLD"), valid("s"));
    // A copy that fails is removed, read-only as it was made.
    FaultyFileSystem faulty;
    faulty.failOn(Call::CopyData, std::errc::no_space_on_device);
    EXPECT_EQ(copyNoReplace(source, dir / "failed.GLD", faulty), std::errc::no_space_on_device);
    EXPECT_EQ(faulty.fired(), 1);
    EXPECT_EQ(dir.names(), (std::set<std::string>{"copy.GLD", "src.GLD"}));

    const std::string hidden = dir.write("out.GLD", "old");
    setAttributes(hidden, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    mergeFiles({dir / "copy.GLD"}, hidden);
    EXPECT_EQ(readAll(hidden), valid("s"));
    EXPECT_NE(testfs::attributesOf(hidden) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(dir.names(), (std::set<std::string>{"copy.GLD", "out.GLD", "src.GLD"}));
}

TEST(WindowsPaths, NamesOutsideTheCodePageReachTheirFiles) {
    // Greek, Cyrillic and a snowman: no ANSI code page holds all three.
    const std::string greek = "\xce\x94\xce\xb5\xce\xbb\xcf\x84\xce\xb1.MP1"; // Delta...
    const std::string cyrillic = "\xd0\x9a\xd0\xbb\xd1\x83\xd0\xb1.GLD";      // Klub
    const std::string snowman = "\xe2\x98\x83.GLD";
    TempDir mpDir, backupDir;
    mpDir.write(greek, valid("g"));
    mpDir.write(cyrillic, valid("c"));
    mpDir.write(snowman, "not a masterpoint file");
    ScanResult scan;
    scanFolder(mpDir.path(), {true, {}}, scan);
    const std::string converted = "\xce\x94\xce\xb5\xce\xbb\xcf\x84\xce\xb1.GLD";
    EXPECT_EQ(fileNames(scan), (std::vector<std::string>{converted, cyrillic}));
    EXPECT_TRUE(scan.problems.empty()) << scan.problems.text();
    // As the system holds them: the names were not squeezed through a code page.
    EXPECT_EQ(mpDir.names(), (std::set<std::string>{converted, cyrillic, snowman}));

    for (ListEntry& entry : scan.entries) {
        entry.ticked = true;
    }
    const BackupResult backup = backUpTicked(scan.entries, mpDir.path(), backupDir.path());
    EXPECT_TRUE(backup.problems.empty()) << backup.problems.text();
    EXPECT_EQ(backupDir.files(), (Files{{converted, valid("g")}, {cyrillic, valid("c")}}));
    mergeFiles(tickedPaths(scan.entries, mpDir.path()), mpDir / snowman);
    EXPECT_EQ(readAll(mpDir / snowman), valid("g") + valid("c"));
    LineList lines;
    lines.loadFromFile(mpDir / cyrillic);
    EXPECT_EQ(lines.size(), 1u);

    // Bytes that are no UTF-8 name no file; they are refused with a reason.
    char head[13];
    std::size_t got = 0;
    const std::error_code error =
        fs().readHead(mpDir / "\xff\xfe.GLD", head, sizeof head, Known::Nothing, got);
    EXPECT_TRUE(error);
    EXPECT_FALSE(describe(error).empty());
}

TEST(WindowsPaths, ALoneSurrogateInANameComesBackAsItWent) {
    TempDir dir;
    // Only the wide calls can make such a name: it is no Unicode text.
    const std::wstring name = std::wstring(1, wchar_t(0xD800)) + L"x.GLD";
    const HANDLE file =
        ::CreateFileW(testfs::wide(dir.path()).append(L"\\").append(name).c_str(), GENERIC_WRITE, 0,
                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        GTEST_SKIP() << "this file system takes no lone surrogate in a name";
    }
    const std::string bytes = valid("s");
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    ScanResult scan;
    scanFolder(dir.path(), {}, scan);
    ASSERT_EQ(fileNames(scan), std::vector<std::string>{"\xed\xa0\x80x.GLD"});
    EXPECT_FALSE(copyNoReplace(dir / scan.entries[0].fileName, dir / "copy.GLD"));
    EXPECT_EQ(readAll(dir / "copy.GLD"), bytes);
}

TEST(WindowsPaths, PathsBeyondMaxPathWorkForEveryCommand) {
    TempDir top;
    // Four folders of 80 characters: every path below them is past MAX_PATH.
    std::string folder = top.path();
    for (char c : {'a', 'b', 'c', 'd'}) {
        folder += "\\" + std::string(80, c);
        ASSERT_TRUE(::CreateDirectoryW(testfs::wide(folder).c_str(), nullptr)) << folder.size();
    }
    ASSERT_GT(folder.size(), std::size_t{MAX_PATH});
    const std::string backup = folder + "\\backup";
    ASSERT_TRUE(::CreateDirectoryW(testfs::wide(backup).c_str(), nullptr));
    for (const char* name : {"A.MP1", "B.GLD"}) {
        const HANDLE file = ::CreateFileW(testfs::wide(folder + "\\" + name).c_str(), GENERIC_WRITE,
                                          0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const std::string bytes = valid(name);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        FILETIME then{}; // long ago: a file its writer is done with
        then.dwHighDateTime = 0x01d00000;
        ::SetFileTime(file, nullptr, nullptr, &then);
        ::CloseHandle(file);
    }
    // Given with forward slashes and a ".." part, as a user might type it.
    std::string typed = folder + "\\backup\\..";
    std::replace(typed.begin(), typed.end(), '\\', '/');

    ScanResult scan;
    scanFolder(typed, {true, {}}, scan);
    EXPECT_EQ(fileNames(scan), (std::vector<std::string>{"A.GLD", "B.GLD"}));
    EXPECT_TRUE(scan.problems.empty()) << scan.problems.text();
    for (ListEntry& entry : scan.entries) {
        entry.ticked = true;
    }
    const BackupResult copies = backUpTicked(scan.entries, typed, backup);
    EXPECT_TRUE(copies.problems.empty()) << copies.problems.text();
    EXPECT_EQ(TempDir::namesIn(backup), (std::set<std::string>{"A.GLD", "B.GLD"}));
    mergeFiles(tickedPaths(scan.entries, typed), typed + "/B.GLD");
    EXPECT_EQ(readAll(folder + "\\B.GLD"), valid("A.MP1") + valid("B.GLD"));
    EXPECT_EQ(TempDir::namesIn(folder), (std::set<std::string>{"A.GLD", "B.GLD", "backup"}));
}

TEST(WindowsErrors, ReasonsReadAsWordsAndCompareAsTheCoreExpects) {
    TempDir dir;
    dir.write("a", "a");
    dir.write("b", "b");
    const std::string held = dir.write("held", "h");
    const HeldFile other(held, GENERIC_READ, 0);
    FileHandle file;
    FileStamp size;
    const struct {
        const char* what;
        std::error_code error;
        std::errc means;
    } cases[] = {
        {"a missing file", fs().openForReading(dir / "missing", file, size),
         std::errc::no_such_file_or_directory},
        {"a missing folder", fs().remove(dir / "missing\\x"), std::errc::no_such_file_or_directory},
        {"a name taken", fs().renameNoReplace(dir / "a", dir / "b"), std::errc::file_exists},
        {"a file in use", fs().openForReading(held, file, size),
         std::errc::device_or_resource_busy},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.error, c.means) << c.error.message();
        const std::string text = describe(c.error);
        ASSERT_FALSE(text.empty());
        EXPECT_FALSE(text.front() >= 'A' && text.front() <= 'Z') << text;
        EXPECT_EQ(std::string(".\r\n ").find(text.back()), std::string::npos) << text;
        // Words, not the number that stands in when the system has none.
        EXPECT_NE(c.error.message(), "error " + std::to_string(c.error.value()));
    }
}

#endif
