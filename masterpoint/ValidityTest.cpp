#include "masterpoint/ValidityTest.h"

#include "masterpoint/Error.h"
#include "masterpoint/Platform.h"
#include "masterpoint/Settings.h"

namespace mp {

bool isMasterpointFile(const Settings& settings, const std::string& name) {
    return isMasterpointFileAt(platform::joinPath(settings.masterpointFolder(), name));
}

bool isMasterpointFileAt(const std::string& path) {
    platform::ReadableFile file;
    if (!file.open(path)) {
        throw Error::cannotOpenFile(path);
    }
    constexpr std::size_t kHead = 13;
    char head[kHead];
    std::size_t got = 0;
    while (got < kHead) {
        const long long n = file.read(head + got, kHead - got);
        if (n <= 0) {
            return false; // shorter than 13 bytes, or unreadable: not valid
        }
        got += static_cast<std::size_t>(n);
    }
    for (char c : head) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

} // namespace mp
