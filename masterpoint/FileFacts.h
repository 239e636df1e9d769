#pragma once
// What the file list says of an entry's file when asked: its size, when it was last
// changed and how many records (lines, by LineList's rules) it holds. Counted only when
// asked for, never by the scan, which reads no more than each file's first bytes.

#include "masterpoint/FileSystem.h"

#include <cstdint>
#include <string>

namespace mp {

struct FileFacts {
    std::uint64_t size = 0;           // bytes
    std::int64_t modifiedSeconds = 0; // since 1970-01-01 UTC
    std::uint64_t records = 0;        // lines, as the viewer shows them
};

// Reads the file at path once. Throws Error::cannotOpenFile(path) or
// Error::cannotReadFile(path) with the system's reason.
FileFacts readFileFacts(const std::string& path, FileSystem& fileSystem = FileSystem::system());

} // namespace mp
