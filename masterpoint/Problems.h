#pragma once
// What a command could not do, file by file, kept until the command has done all it
// could and then told to the user once. Each problem has a line for the user
// ("Could not back up CLUB.GLD: permission denied") and the detail for the log (paths
// and the system's own words).

#include <cstddef>
#include <string>
#include <vector>

namespace mp {

struct Problem {
    std::string message; // one line for the user
    std::string detail;  // for the log
};

class Problems {
public:
    void add(std::string message, std::string detail);
    bool empty() const { return problems_.empty(); }
    std::size_t size() const { return problems_.size(); }
    const std::vector<Problem>& all() const { return problems_; }

    // The messages one per line, at most maxLines lines in all: when there are more
    // problems, the last line is "and N more".
    std::string text(std::size_t maxLines = 20) const;

private:
    std::vector<Problem> problems_;
};

} // namespace mp
