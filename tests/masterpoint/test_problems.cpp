// The problems of a command told in one message box: the first ones, then how many more.

#include "masterpoint/Problems.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace mp;

TEST(Problems, TextShowsTheFirstMessagesThenHowManyMore) {
    const struct {
        const char* what;
        int count;
        std::size_t maxLines;
    } cases[] = {
        {"none", 0, 20},
        {"fewer than the limit", 3, 20},
        {"as many as the limit", 20, 20},
        {"more", 25, 20},
        {"one over a small limit", 3, 2},
        // Fails while text() puts a line break before the count when no message is shown.
        {"a limit of one", 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Problems problems;
        for (int i = 0; i < c.count; ++i) {
            problems.add("problem " + std::to_string(i), "detail " + std::to_string(i));
        }
        const std::string text = problems.text(c.maxLines);
        std::vector<std::string> lines;
        std::istringstream stream(text);
        for (std::string line; std::getline(stream, line);) {
            EXPECT_FALSE(line.empty()) << "an empty line in \"" << text << '"';
            lines.push_back(line);
        }
        // The messages shown come first, in order.
        std::size_t shown = 0;
        while (shown < lines.size() && lines[shown] == "problem " + std::to_string(shown)) {
            ++shown;
        }
        if (static_cast<std::size_t>(c.count) <= c.maxLines) {
            EXPECT_EQ(shown, static_cast<std::size_t>(c.count));
            EXPECT_EQ(lines.size(), shown);
        } else {
            EXPECT_GE(shown + 1, c.maxLines); // the last line may make way for the count
            EXPECT_LE(shown, c.maxLines);
            EXPECT_EQ(lines.size(), shown + 1);
            EXPECT_EQ(lines.back(), "and " + std::to_string(c.count - shown) + " more");
        }
    }
}
