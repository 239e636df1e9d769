#include "masterpoint/FileCopy.h"

#include "masterpoint/AtomicFile.h"
#include "masterpoint/ReadableFile.h"

namespace mp {

std::error_code copyNoReplace(const std::string& from, const std::string& to,
                              FileSystem& fileSystem, bool clearAbandoned) {
    ReadableFile in(fileSystem);
    if (const std::error_code error = in.open(from)) {
        return error;
    }
    AtomicFile out(to, fileSystem, TemporaryUse::Backup);
    if (const std::error_code error = out.open(from, clearAbandoned)) {
        return error;
    }
    // Whatever fails from here on, the temporary file goes with `out`.
    if (const std::error_code error = fileSystem.copyData(in.handle(), out.handle())) {
        return error;
    }
    if (const std::error_code error = in.checkUnchanged()) {
        return error;
    }
    fileSystem.copyTimeAndMode(in.handle(), out.handle()); // the copy stands without them
    return out.commitNew();
}

} // namespace mp
