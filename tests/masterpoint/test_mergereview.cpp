// The look a merge takes at its inputs before it puts its output in place: lines the
// receiving side would reject sent on in silence, and a merged file merged again, so
// that members' points stand twice.

#include "TempDir.h"
#include "masterpoint/Merge.h"
#include "masterpoint/MergeReview.h"

#include <gtest/gtest.h>

using namespace mp;

namespace {

std::string records(int from, int count) {
    std::string text;
    for (int i = from; i < from + count; ++i) {
        text += std::to_string(1000000 + i) + "000125\r\n";
    }
    return text;
}

std::string lfOnly(std::string text) {
    std::string out;
    for (const char ch : text) {
        if (ch != '\r') {
            out += ch;
        }
    }
    return out;
}

} // namespace

TEST(MergeReview, SaysWhatTheInputsWouldSendOnAndCancelWritesNothing) {
    const std::string a = records(0, 40);
    const std::string b = records(100, 30);
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> inputs; // name, bytes
        std::string existingOutput;                              // empty: none there
        std::vector<std::string> said;                           // lines of the question
    } cases[] = {
        {"clean inputs ask nothing", {{"A.GLD", a}, {"B.GLD", b}}, "", {}},
        {"a shifted line and a letter in the points",
         {{"A.GLD", records(0, 1) + " 1000001000125\r\n" + "1000002000A25\r\n"}, {"B.GLD", b}},
         "",
         {"A.GLD: line 2 out of format; line 3 not counted"}},
        {"more than three lines of a kind",
         {{"A.GLD", "x\r\n\r\n" + records(0, 2) + "\r\n\r\n\r\n"}, {"B.GLD", b}},
         "",
         {"A.GLD: lines 1, 2, 5 and 2 more not counted"}},
        {"a file still being written",
         {{"A.GLD", a}, {"B.GLD", records(100, 2) + "1000100000"}},
         "",
         {"B.GLD: line 3 out of format; the last line (3) has no line end: the file may still be "
          "being written"}},
        // A torn record once went on with a whole line end: its CR was taken for one.
        {"a file still being written, its last CR LF half there",
         {{"A.GLD", a}, {"B.GLD", records(100, 2) + "1000100000123\r"}},
         "",
         {"B.GLD: the last line (3) ends with a CR alone where the others end with CR LF: the "
          "file may still be being written"}},
        {"an earlier merge ticked with its files",
         {{"A.GLD", a}, {"B.GLD", b}, {"Club1.GLD", a + b}},
         "",
         {"Club1.GLD already holds every line of A.GLD: its points would be counted twice",
          "Club1.GLD already holds every line of B.GLD: its points would be counted twice"}},
        {"the merged file listed first, its line ends rewritten",
         {{"0.GLD", a + b}, {"A.GLD", lfOnly(a)}},
         "",
         {"0.GLD already holds every line of A.GLD: its points would be counted twice"}},
        {"the file to be replaced holds an input",
         {{"A.GLD", a}, {"B.GLD", b}},
         records(500, 3) + a,
         {"out.GLD, which the merge replaces, already holds every line of A.GLD: its points may "
          "have been sent on before"}},
        {"two-figure files: an earlier merge",
         {{"A.GAR", "1000001000100000200\r\n1000002000100000200\r\n"},
          {"M.GAR", "1000001000100000200\r\n1000002000100000200\r\n1000003000100000X00\r\n"}},
         "",
         {"M.GAR: line 3 out of format; line 3 not counted",
          "M.GAR already holds every line of A.GAR: its points would be counted twice"}},
        {"the same lines under two names",
         {{"A.GLD", a}, {"B.GLD", a}},
         "",
         {"A.GLD and B.GLD hold the same lines: their points would be counted twice"}},
#ifndef _WIN32
        {"one file ticked twice, through a link",
         {{"A.GLD", a}, {"L.GLD", "->A.GLD"}},
         "",
         {"A.GLD and L.GLD hold the same lines: their points would be counted twice"}},
#endif
        {"an input that is the start of another",
         {{"A.GLD", a}, {"B.GLD", a.substr(0, 150)}},
         "",
         {"A.GLD already holds every line of B.GLD: its points would be counted twice"}},
        {"the start of an input ticked first",
         {{"A.GLD", a.substr(0, 150)}, {"B.GLD", a}},
         "",
         {"B.GLD already holds every line of A.GLD: its points would be counted twice"}},
    };
    for (const auto& c : cases) {
        for (const bool goOn : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (goOn ? ", merged anyway" : ", cancelled"));
            TempDir dir;
            std::vector<std::string> paths;
            for (const auto& [name, bytes] : c.inputs) {
                if (bytes.rfind("->", 0) == 0) {
#ifndef _WIN32
                    ASSERT_EQ(::symlink((dir / bytes.substr(2)).c_str(), (dir / name).c_str()), 0);
#endif
                } else {
                    dir.write(name, bytes);
                }
                paths.push_back(dir / name);
            }
            if (!c.existingOutput.empty()) {
                dir.write("out.GLD", c.existingOutput);
            }
            std::vector<std::string> asked;
            MergeQuestion question;
            question.twoFigures = c.inputs[0].first.find(".GAR") != std::string::npos;
            question.ask = [&](const std::string& text) {
                asked.push_back(text);
                return goOn;
            };
            const Files before = dir.files();
            const std::optional<std::uint64_t> lines =
                mergeFiles(paths, dir / "out.GLD", FileSystem::system(), &question);
            std::string expected;
            for (const std::string& line : c.said) {
                expected += "\n" + line;
            }
            ASSERT_EQ(asked.size(), c.said.empty() ? 0u : 1u);
            if (!c.said.empty()) {
                EXPECT_EQ(asked[0],
                          "Look at what this merge would write into out.GLD:\n" + expected);
            }
            const bool written = c.said.empty() || goOn;
            EXPECT_EQ(lines.has_value(), written);
            if (!written) {
                EXPECT_TRUE(dir.files() == before); // no output, no temporary
            }
        }
    }
}

// Telling repeats must not cost memory without bound: where it would, fewer repeats are
// said, never one that is not there.
TEST(MergeReview, MemoryBoundSaysLessNeverWhatIsNotThere) {
    std::string holder;
    for (int i = 0; i < 300; ++i) {
        holder += "1234567000100\n";
    }
    const struct {
        const char* what;
        std::string needle;
        bool secondLook; // the holder's filter lets every first line of the needle through
        bool held;
        bool unchecked;
    } cases[] = {
        {"a short run of the holder's one line", std::string("1234567000100\n") + "1234567000100\n",
         true, true, false},
        {"a long run: too many partial matches at once",
         [] {
             std::string text;
             for (int i = 0; i < 100; ++i) {
                 text += "1234567000100\n";
             }
             return text;
         }(),
         true, false, true},
        {"a run the holder does not end with", holder.substr(0, 14 * 5) + "7654321000100\n", false,
         false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // The holder first, so that it is matched on the second look.
        MergeReview review(false, holder.size() + c.needle.size(), 16);
        for (const std::string* input : {static_cast<const std::string*>(&holder), &c.needle}) {
            review.beginInput(input->size());
            review.readInput(*input);
            review.endInput();
        }
        ASSERT_EQ(review.needsSecondLook(0), c.secondLook);
        review.beginHolder(0);
        // In small pieces, so that lines are split across them.
        for (std::size_t at = 0; at < holder.size(); at += 5) {
            review.readHolder(std::string_view(holder).substr(at, 5));
        }
        review.endHolder();
        EXPECT_EQ(!review.held().empty(), c.held);
        EXPECT_EQ(review.repeatsUnchecked(), c.unchecked);
    }
}
