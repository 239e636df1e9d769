#include "masterpoint/Error.h"

#include "masterpoint/ChangedWhileRead.h"

namespace mp {

Error Error::cannotOpenFile(const std::string& path, std::error_code reason) {
    return Error("Cannot open file " + path, reason);
}

Error Error::cannotReadFile(const std::string& path, std::error_code reason) {
    return Error("Cannot read file " + path, reason);
}

Error Error::changedWhileRead(const std::string& path) {
    // The reason is the message's own end, so it is not given again as a reason.
    return Error("Cannot read file " + path + ": " + mp::changedWhileRead().message());
}

Error Error::cannotCreateFile(const std::string& path, std::error_code reason) {
    return Error("Cannot create file " + path, reason);
}

} // namespace mp
