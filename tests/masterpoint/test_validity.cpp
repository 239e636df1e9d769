// Whether a file is a masterpoint file: its first 13 bytes are ASCII digits.

#include "TempDir.h"
#include "masterpoint/Error.h"
#include "masterpoint/ValidityTest.h"
#include "support/FaultyFileSystem.h"

#include <gtest/gtest.h>

using namespace mp;
using namespace std::string_literals;

TEST(ValidityTest, FirstThirteenBytesMustBeDigits) {
    const struct {
        const char* name;
        std::string bytes;
        bool valid;
    } cases[] = {
        {"13 digits", "1234567890123", true},
        {"13 digits and more", "1234567890123 not digits\r\n\0"s, true},
        {"12 digits", "123456789012", false},
        {"12 digits and a line end", "123456789012\n", false},
        {"empty", "", false},
        {"space first", " 234567890123", false},
        {"space 13th", "123456789012 ", false},
        {"letter inside", "12345678901a3", false},
        {"nul inside",
         "123456\0"
         "890123"s,
         false},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "1234567890123",
         false},
        {"byte above digits", "123456789012:", false},
        {"byte below digits", "/234567890123", false},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("X.GLD", c.bytes);
        EXPECT_EQ(isMasterpointFile(dir / "X.GLD"), c.valid);
        EXPECT_EQ(isMasterpointFile(dir / "X.GLD", Known::RegularFile), c.valid);
    }
}

TEST(ValidityTest, NameThatIsNotUtf8) {
#ifdef _WIN32
    GTEST_SKIP() << "names are UTF-16 on Windows: test_windows.cpp has names outside the code page";
#endif
    TempDir dir;
    EXPECT_TRUE(isMasterpointFile(dir.write("\xff\xfe.GLD", "0000001000100\r\n")));
}

TEST(ValidityTest, UnopenableFileThrowsWithThePathAndTheReason) {
    TempDir dir;
#ifdef _WIN32
    const std::string device = "NUL"; // a device, wherever it is named
#else
    const std::string device = dir / "fifo.GLD";
    ASSERT_EQ(::mkfifo(device.c_str(), 0644), 0); // must not hang
#endif
    dir.mkdir("folder.MP1");
    const std::string valid = dir.write("valid.GLD", "1234567890123");
    FaultyFileSystem denied;
    denied.failOn(Call::ReadHead, std::errc::permission_denied);
    const struct {
        std::string path;
        int reason; // the system's error number; 0 for any
        FileSystem& fileSystem;
    } cases[] = {
        {dir / "missing.GLD", ENOENT, FileSystem::system()},
        {dir.path() + "//folder.MP1", 0, FileSystem::system()},
        {device, 0, FileSystem::system()},
        {valid, EACCES, denied},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            isMasterpointFile(c.path, Known::Nothing, c.fileSystem);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file " + c.path);
            EXPECT_TRUE(e.reason());
            if (c.reason != 0) {
                EXPECT_EQ(e.reason(), std::error_condition(c.reason, std::generic_category()));
            }
        }
    }
}

TEST(ValidityTest, FileWithoutReadPermission) {
#ifdef _WIN32
    GTEST_SKIP() << "no mode bits on Windows: test_windows.cpp locks the file instead";
#else
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    TempDir dir;
    const std::string path = dir.write("locked.GLD", "1234567890123");
    ::chmod(path.c_str(), 0);
    EXPECT_THROW(isMasterpointFile(path), Error);
#endif
}
