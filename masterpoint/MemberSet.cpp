#include "masterpoint/MemberSet.h"

namespace mp {

namespace {

constexpr std::size_t kMemberLength = 7;
constexpr std::uint32_t kMemberNumbers = 10000000;

} // namespace

bool MemberSet::add(std::string_view line) {
    if (line.size() < kMemberLength) {
        return false;
    }
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < kMemberLength; ++i) {
        const unsigned digit = static_cast<unsigned char>(line[i]) - unsigned{'0'};
        if (digit > 9) {
            return false;
        }
        number = number * 10 + digit;
    }
    if (bits_.empty()) {
        bits_.assign(kMemberNumbers / 64 + 1, 0);
    }
    std::uint64_t& word = bits_[number / 64];
    const std::uint64_t bit = std::uint64_t{1} << (number % 64);
    if ((word & bit) != 0) {
        return false;
    }
    word |= bit;
    ++size_;
    return true;
}

} // namespace mp
