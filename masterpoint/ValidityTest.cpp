#include "masterpoint/ValidityTest.h"

#include "masterpoint/Error.h"
#include "masterpoint/Platform.h"
#include "masterpoint/Settings.h"

namespace mp {

namespace {

bool headIsThirteenDigits(const std::string& path, platform::Known known) {
    constexpr std::size_t kHead = 13;
    char head[kHead];
    const long long got = platform::readFileHead(path, head, kHead, known);
    if (got < 0) {
        throw Error::cannotOpenFile(path);
    }
    if (got < static_cast<long long>(kHead)) {
        return false; // shorter than 13 bytes, or unreadable: not valid
    }
    for (char c : head) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

} // namespace

bool isMasterpointFile(const Settings& settings, const std::string& name) {
    return isMasterpointFileAt(platform::joinPath(settings.masterpointFolder(), name));
}

bool isMasterpointFileAt(const std::string& path) {
    return headIsThirteenDigits(path, platform::Known::Nothing);
}

bool isListedMasterpointFile(const Settings& settings, const std::string& name) {
    return headIsThirteenDigits(platform::joinPath(settings.masterpointFolder(), name),
                                platform::Known::RegularFile);
}

} // namespace mp
