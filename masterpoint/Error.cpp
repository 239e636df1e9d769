#include "masterpoint/Error.h"

namespace mp {

Error Error::cannotOpenFile(const std::string& path) {
    return Error("Cannot open file " + path);
}

Error Error::cannotCreateFile(const std::string& path) {
    return Error("Cannot create file " + path);
}

} // namespace mp
