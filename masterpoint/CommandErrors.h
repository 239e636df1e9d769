#pragma once
// Errors that end a command for a reason of its own rather than a file's.

#include "masterpoint/Error.h"

#include <cstdint>
#include <string>

namespace mp {

// "Cannot merge <path>: line N holds a NUL byte": a merge would have to drop the rest
// of that line, or pass on a byte the scoring program never writes.
Error nulByteInMergeInput(const std::string& path, std::uint64_t line);

// "The backup folder is the masterpoint folder: choose another folder".
Error backupFolderIsMasterpointFolder();

} // namespace mp
