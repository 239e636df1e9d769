#include "masterpoint/ValidityTest.h"

#include "masterpoint/Error.h"

namespace mp {

bool isMasterpointFile(const std::string& path, Known known, FileSystem& fileSystem) {
    constexpr std::size_t kHead = 13;
    char head[kHead];
    std::size_t got = 0;
    if (const std::error_code error = fileSystem.readHead(path, head, kHead, known, got)) {
        throw Error::cannotOpenFile(path, error);
    }
    if (got < kHead) {
        return false; // shorter than 13 bytes, or unreadable: not valid
    }
    for (char c : head) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

} // namespace mp
