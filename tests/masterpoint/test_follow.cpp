// The list following its folder over a real folder: what is listed when, what is opened
// again, and what is said.

#include "TempDir.h"
#include "masterpoint/FolderFollower.h"
#include "masterpoint/FolderScan.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

using namespace mp;

namespace {

std::int64_t wallNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// One look in a line: "+added -removed old>new converted problems:N waiting".
std::string text(const FollowResult& r) {
    std::string out;
    const auto add = [&out](const std::string& part) { out += (out.empty() ? "" : " ") + part; };
    for (const ListEntry& e : r.added)
        add("+" + e.displayText);
    for (const std::string& name : r.removed)
        add("-" + name);
    for (const auto& [from, to] : r.renamed)
        add(from + ">" + to);
    if (!r.converted.empty())
        add("converted");
    if (!r.problems.empty())
        add("problems:" + std::to_string(r.problems.size()));
    if (r.lookAgainIn)
        add("waiting");
    return out;
}

struct Step {
    std::function<void(const TempDir&)> change;
    std::int64_t lookAfterNs; // from the moment of the change
    bool convert;
    bool settleNow;
    const char* expected;
};

struct Case {
    const char* name;
    std::vector<Step> steps;
};

const std::string kValid = "1234567001250\r\n";
constexpr std::int64_t kLater = 2'000'000'000; // every file settled by then

// Guards a file still being written listed, a file that is no longer a masterpoint file
// kept, a failed conversion said at every look, our own rename taken for a change, and a
// rename losing what the entry carried.
TEST(FolderFollower, ListsWhatHasSettled) {
    const auto write = [](const char* name, std::string bytes) {
        return [name, bytes](const TempDir& dir) { dir.writeNow(name, bytes); };
    };
    // Written a while ago, as a file is once it has settled: Convert leaves a file
    // written in the last second by the clock, whatever time the look is given.
    const auto written = [](const char* name, std::string bytes) {
        return [name, bytes](const TempDir& dir) { dir.write(name, bytes); };
    };
    const std::vector<Case> cases = {
        {"still being written",
         {{write("B.GLD", kValid), 0, false, false, "waiting"},
          {nullptr, kLater, false, false, "+B.GLD"}}},
        {"no longer a masterpoint file",
         {{write("A.GLD", "a note\r\n"), kLater, false, true, "-A.GLD"}}},
        {"a conversion that fails, said once",
         {{write("X.MP1", kValid), kLater, true, false, "+X.MP1(GLD) problems:1"},
          {nullptr, kLater, true, false, ""}}},
        {"converted on arrival, our rename not seen again",
         {{written("Y.mp1", kValid), kLater, true, false, "+Y.GLD converted"},
          {nullptr, kLater, true, true, ""}}},
        {"renamed",
         {{[](const TempDir& dir) {
               std::rename((dir / "A.GLD").c_str(), (dir / "Z.GLD").c_str());
           },
           kLater, false, false, "+Z.GLD -A.GLD A.GLD>Z.GLD"}}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("A.GLD", kValid);
        dir.write("X.GLD", kValid);
        ScanResult scanned;
        scanFolder(dir.path(), {}, scanned);
        FolderFollower follower;
        follower.start(dir.path(), scanned.entries, wallNow());
        for (const Step& step : c.steps) {
            if (step.change)
                step.change(dir);
            const FollowResult result =
                follower.look(wallNow() + step.lookAfterNs, step.convert, step.settleNow);
            EXPECT_EQ(text(result), step.expected) << c.name;
        }
    }
}

} // namespace
