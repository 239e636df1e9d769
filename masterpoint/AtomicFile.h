#pragma once
// A file written beside its final name and put in place only when complete. commit()
// replaces whatever has the final name in one step: a file, keeping its owner (where
// allowed) and permission bits, or a link, which is replaced itself and never followed.
// A file given up without commit() is removed and the final name is left as it was.

#include "masterpoint/FileSystem.h"

#include <string>

namespace mp {

class AtomicFile {
public:
    explicit AtomicFile(std::string finalPath, FileSystem& fileSystem = FileSystem::system());
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::error_code open(); // creates the temporary file
    std::error_code write(const char* data, std::size_t size);
    std::error_code commit(); // syncs, closes and renames over the final name
    void discard();

private:
    FileSystem& fileSystem_;
    std::string finalPath_;
    std::string tempPath_;
    FileHandle handle_;
};

} // namespace mp
