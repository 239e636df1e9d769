#include "masterpoint/CommandErrors.h"

namespace mp {

Error nulByteInMergeInput(const std::string& path, std::uint64_t line) {
    return Error("Cannot merge " + path + ": line " + std::to_string(line) + " holds a NUL byte");
}

Error backupFolderIsMasterpointFolder() {
    return Error("The backup folder is the masterpoint folder: choose another folder");
}

} // namespace mp
