#pragma once
// The distinct member numbers met in lines: characters 1-7 of a line count as a member
// number when all seven are ASCII digits, whatever follows them. A bitmap over the ten
// million possible numbers (1.25 MB, taken on the first number added) keeps adding a
// line one memory access, however many lines there are.

#include <cstdint>
#include <string_view>
#include <vector>

namespace mp {

class MemberSet {
public:
    // Adds the line's member number, if it has one; true when it was not there yet.
    bool add(std::string_view line);
    // How many distinct member numbers have been added.
    std::uint64_t size() const { return size_; }

private:
    std::vector<std::uint64_t> bits_;
    std::uint64_t size_ = 0;
};

} // namespace mp
