#pragma once
// A file written beside its final name and put in place only when complete. commit()
// replaces whatever has the final name in one step: a file, keeping its owner (where
// allowed) and permission bits, or a link, which is replaced itself and never followed.
// A file given up without commit() is removed and the final name is left as it was.
//
// Where the system can, the file has no name until commit(), so a writer that is killed
// leaves nothing in the folder. Where it cannot, open() first removes the temporary files
// that writers killed earlier left in the folder, leaving those still being written.

#include "masterpoint/FileSystem.h"

#include <string>

namespace mp {

class AtomicFile {
public:
    explicit AtomicFile(std::string finalPath, FileSystem& fileSystem = FileSystem::system());
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::error_code open(); // creates the temporary file, after clearing abandoned ones
    std::error_code write(const char* data, std::size_t size);
    std::error_code commit(); // syncs, closes and renames over the final name
    void discard();

private:
    FileSystem& fileSystem_;
    void removeAbandonedTemporaries();

    std::string finalPath_;
    std::string folder_;
    std::string tempPath_; // empty while the file has no name
    FileHandle handle_;
};

} // namespace mp
