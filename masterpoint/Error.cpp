#include "masterpoint/Error.h"

namespace mp {

Error Error::cannotOpenFile(const std::string& path, std::error_code reason) {
    return Error("Cannot open file " + path, reason);
}

Error Error::cannotReadFile(const std::string& path, std::error_code reason) {
    return Error("Cannot read file " + path, reason);
}

Error Error::changedWhileRead(const std::string& path) {
    return Error("Cannot read file " + path + ": it changed while it was read");
}

Error Error::cannotCreateFile(const std::string& path, std::error_code reason) {
    return Error("Cannot create file " + path, reason);
}

} // namespace mp
