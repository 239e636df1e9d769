#include "masterpoint/RecentChange.h"

#include <chrono>

namespace mp {

bool changedInTheLastSecond(const FileStamp& stamp, std::int64_t nowSeconds,
                            std::int64_t nowNanoseconds) {
    // In nanoseconds from the file's time to now; both sides fit 64 bits until 2262.
    const std::int64_t age = (nowSeconds - stamp.modifiedSeconds) * 1000000000 +
                             (nowNanoseconds - stamp.modifiedNanoseconds);
    return age < kSettledAfterNanoseconds && age > -kSettledAfterNanoseconds;
}

bool changedInTheLastSecond(const FileStamp& stamp) {
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    // Stamps count from 1970 on every platform, as the system clock does.
    return changedInTheLastSecond(stamp, now / 1000000000, now % 1000000000);
}

} // namespace mp
