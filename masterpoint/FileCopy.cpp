#include "masterpoint/FileCopy.h"

namespace mp {

std::error_code copyNoReplace(const std::string& from, const std::string& to,
                              FileSystem& fileSystem) {
    FileHandle in;
    std::uint64_t size = 0;
    if (const std::error_code error = fileSystem.openForReading(from, in, size)) {
        return error;
    }
    FileHandle out;
    if (const std::error_code error = fileSystem.createNew(to, &in, out)) {
        return error;
    }
    // From here on the destination is ours: whatever fails, it goes.
    std::error_code error = fileSystem.copyData(in, out);
    if (!error) {
        fileSystem.copyModificationTime(in, out); // the copy stands without it
    }
    const std::error_code closed = fileSystem.close(out);
    if (!error) {
        error = closed;
    }
    if (error) {
        fileSystem.remove(to);
    }
    return error;
}

} // namespace mp
