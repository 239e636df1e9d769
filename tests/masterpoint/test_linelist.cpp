// Splitting text into lines, in memory, from a file and streamed chunk by chunk.

#include "TempDir.h"
#include "masterpoint/Error.h"
#include "masterpoint/LineList.h"
#include "support/FaultyFileSystem.h"

#include <gtest/gtest.h>
#include <vector>

using namespace mp;
using namespace std::string_literals;

namespace {

struct SplitCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

const SplitCase kCases[] = {
    {"crlf", "A\r\nB\r\n", {"A", "B"}},
    {"lone cr", "A\rB\r", {"A", "B"}},
    {"lone lf", "A\nB\n", {"A", "B"}},
    {"mixed", "A\r\nB\rC\nD", {"A", "B", "C", "D"}},
    {"cr cr lf", "A\r\r\nB", {"A", "", "B"}},
    {"lf cr", "A\n\rB", {"A", "", "B"}},
    {"no final end", "A", {"A"}},
    {"empty", "", {}},
    {"only an end", "\r\n", {""}},
    {"empty lines inside", "A\n\n\r\n\rB\n", {"A", "", "", "", "B"}},
    {"bytes kept", " 12 \t\xff\xfe\x01 \n", {" 12 \t\xff\xfe\x01 "}},
};

// A NUL is a byte of its line for LineList; the rewriter stops at it, having passed on
// the lines before it and what its own held before it, and names that line.
struct NulCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
    std::string rewritten;
    std::uint64_t line;
};

const NulCase kNulCases[] = {
    {"inside a line", "A\r\nB\0C\r\nD"s, {"A", "B\0C"s, "D"}, "A\r\nB\r\n", 2},
    {"starting a line", "A\r\n\0B"s, {"A", "\0B"s}, "A\r\n", 2},
    {"first byte", "\0A\r\n"s, {"\0A"s}, "", 1},
    {"after a lone cr", "A\r\0"s, {"A", "\0"s}, "A\r\n", 2},
    {"after lone lfs and crs",
     "A\nB\rC\r\n\n\0\n"s,
     {"A", "B", "C", "", "\0"s},
     "A\r\nB\r\nC\r\n\r\n",
     5},
    {"last byte",
     "1234567001250\r\n1234567\0"s,
     {"1234567001250", "1234567\0"s},
     "1234567001250\r\n1234567\r\n",
     2},
};

std::string crLfJoined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line + "\r\n";
    }
    return out;
}

std::string rewrite(const std::vector<std::string_view>& chunks) {
    CrLfRewriter rewriter;
    std::string out;
    for (std::string_view chunk : chunks) {
        if (!rewriter.feed(chunk, out)) {
            break;
        }
    }
    rewriter.finish(out);
    return out;
}

std::vector<std::string> linesOf(const LineList& list) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.size(); ++i) {
        lines.emplace_back(list.line(i));
    }
    return lines;
}

} // namespace

TEST(LineList, SplitsBytesAndFilesAlike) {
    TempDir dir;
    for (const SplitCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(linesOf(LineList::fromBytes(c.bytes)), c.lines);

        LineList fromFile = LineList::fromBytes("old\nlines\n");
        fromFile.loadFromFile(dir.write("in", c.bytes));
        EXPECT_EQ(linesOf(fromFile), c.lines);
    }
}

TEST(CrLfRewriter, SameResultHoweverTheInputIsCut) {
    for (const SplitCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string expected = crLfJoined(c.lines);
        const std::string_view all = c.bytes;
        EXPECT_EQ(rewrite({all}), expected);
        for (std::size_t cut = 0; cut <= all.size(); ++cut) {
            EXPECT_EQ(rewrite({all.substr(0, cut), all.substr(cut)}), expected) << "cut " << cut;
        }
        std::vector<std::string_view> bytes;
        for (std::size_t i = 0; i < all.size(); ++i) {
            bytes.push_back(all.substr(i, 1));
        }
        EXPECT_EQ(rewrite(bytes), expected);
    }
}

TEST(CrLfRewriter, CrEndingOneChunkAndLfStartingTheNextAreOneLineEnd) {
    CrLfRewriter rewriter;
    std::string out;
    EXPECT_TRUE(rewriter.feed("A\r", out));
    EXPECT_TRUE(rewriter.feed("", out));
    EXPECT_TRUE(rewriter.feed("\nB", out));
    rewriter.finish(out);
    EXPECT_EQ(out, "A\r\nB\r\n");
}

TEST(LineList, NulIsAByteOfItsLineAndHidesNothingAfterIt) {
    TempDir dir;
    for (const NulCase& c : kNulCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(linesOf(LineList::fromBytes(c.bytes)), c.lines);
        LineList fromFile;
        fromFile.loadFromFile(dir.write("in", c.bytes));
        EXPECT_EQ(linesOf(fromFile), c.lines);
    }
}

TEST(CrLfRewriter, NulStopsTheInputAtTheLineThatHoldsItHoweverCut) {
    for (const NulCase& c : kNulCases) {
        SCOPED_TRACE(c.name);
        const std::string_view all = c.bytes;
        for (std::size_t cut = 0; cut <= all.size(); ++cut) {
            CrLfRewriter rewriter;
            std::string out;
            const bool more = rewriter.feed(all.substr(0, cut), out);
            EXPECT_FALSE(more && rewriter.feed(all.substr(cut), out)) << "cut " << cut;
            EXPECT_EQ(rewriter.lineNumber(), c.line) << "cut " << cut;
            rewriter.finish(out);
            EXPECT_EQ(out, c.rewritten) << "cut " << cut;
        }
    }
}

TEST(CrLfRewriter, NulStopsTheInputAndFinishStartsAfresh) {
    CrLfRewriter rewriter;
    std::string out;
    EXPECT_FALSE(rewriter.feed("A\0B"s, out));
    EXPECT_FALSE(rewriter.feed("C\n", out));
    rewriter.finish(out);
    EXPECT_TRUE(rewriter.feed("D", out));
    rewriter.finish(out);
    EXPECT_EQ(out, "A\r\nD\r\n");
}

TEST(LineList, FileThatCannotBeOpenedOrReadThrowsWithItsPath) {
    TempDir dir;
#ifdef _WIN32
    const std::string device = "NUL"; // a device, wherever it is named
#else
    const std::string device = dir / "fifo.GLD";
    ASSERT_EQ(::mkfifo(device.c_str(), 0644), 0);
#endif
    const std::string file = dir.write("file.GLD", "0123456001250\r\n");
    FaultyFileSystem unreadable;
    unreadable.failOn(Call::Read, std::errc::io_error);
    const struct {
        std::string path;
        FileSystem& fileSystem;
        std::string message;
    } cases[] = {
        {dir / "missing.GLD", FileSystem::system(), "Cannot open file "},
        {dir.mkdir("folder.GLD"), FileSystem::system(), "Cannot open file "},
        {device, FileSystem::system(), "Cannot open file "},
        {file, unreadable, "Cannot read file "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        LineList list;
        EXPECT_EQ(errorOf([&] { list.loadFromFile(c.path, c.fileSystem); }), c.message + c.path);
    }
    EXPECT_EQ(unreadable.fired(), 1);
}
