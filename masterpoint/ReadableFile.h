#pragma once
// A regular file opened for reading through a FileSystem. Opening never blocks: a
// FIFO, socket, device or folder is refused as a file that cannot be opened.

#include "masterpoint/FileSystem.h"

#include <cstdint>
#include <string>

namespace mp {

class ReadableFile {
public:
    explicit ReadableFile(FileSystem& fileSystem = FileSystem::system())
        : fileSystem_(&fileSystem) {}

    std::error_code open(const std::string& path);
    // Reads up to size bytes; got is 0 at the end.
    std::error_code read(char* buffer, std::size_t size, std::size_t& got);
    // The file's size at opening, in bytes.
    std::uint64_t size() const { return stamp_.size; }
    // The open file, for calls that copy from it.
    FileHandle& handle() { return handle_; }
    // Whether checkUnchanged confirms the bytes by reading them again: the file's times
    // cannot be trusted, so bytes copied past read() (in the kernel) go unconfirmed.
    bool confirmsBytes() const { return confirm_; }

    // Whether the file is as it was at opening: its size and modification time, and the
    // file that its path names. Where the file system's times cannot be trusted
    // (FileSystem::timesAreTrusted) and every byte was read through read(), the bytes
    // are also confirmed: the file is read again and its checksum compared with that of
    // what was read. changedWhileRead() when not; the look-up's own error when it cannot
    // tell.
    std::error_code checkUnchanged();

private:
    // The checksum of bytes, following on from sum.
    static std::uint64_t checksum(std::uint64_t sum, const char* bytes, std::size_t size);
    std::error_code confirmByRereading();

    FileSystem* fileSystem_;
    FileHandle handle_;
    std::string path_;
    FileStamp stamp_;
    bool confirm_ = false; // the times cannot be trusted: the bytes are summed as read
    std::uint64_t sum_ = 0;
    std::uint64_t read_ = 0;
};

} // namespace mp
