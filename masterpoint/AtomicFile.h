#pragma once
// A file written beside its final name and put in place only when complete and synced:
// commit() replaces whatever has the final name in one step (a file, keeping its owner
// where allowed and its permission bits, or a link, which is replaced itself and never
// followed); commitNew() puts it in place only when the name is free, and never replaces
// anything. A file given up without either is removed and the final name is left as it
// was.
//
// Where the system can, the file has no name until it is put in place, so a writer that
// is killed leaves nothing in the folder. Where it cannot, the file is named
// temporaryName(use) until then, and open() first removes the temporary files that
// writers left behind in the folder (TemporaryName.h), leaving those still being written.

#include "masterpoint/FileSystem.h"

#include <string>

namespace mp {

class AtomicFile {
public:
    explicit AtomicFile(std::string finalPath, FileSystem& fileSystem = FileSystem::system(),
                        TemporaryUse use = TemporaryUse::Merge);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file, like likePath (the final name when empty: see
    // FileSystem::createTemporary), after clearing abandoned ones unless told not to (a
    // caller writing many files into one folder clears it once).
    std::error_code open(const std::string& likePath = {}, bool clearAbandoned = true);
    std::error_code write(const char* data, std::size_t size);
    // The open file, for calls that fill it or set its attributes.
    FileHandle& handle() { return handle_; }
    std::error_code commit(); // syncs and renames over the final name
    // Syncs and puts in place only as a new name: file_exists when the name is taken,
    // and the complete file is then kept, so that commit() may still replace what has it.
    std::error_code commitNew();
    void discard();

private:
    std::error_code finish(bool replacing);

    FileSystem& fileSystem_;
    TemporaryUse use_;
    std::string finalPath_;
    std::string folder_;
    std::string tempPath_; // empty while the file has no name
    FileHandle handle_;
};

} // namespace mp
