#pragma once
// A copy that never replaces a file.

#include "masterpoint/FileSystem.h"

#include <string>

namespace mp {

// Copies a regular file's bytes, permission bits and modification time to a new file;
// fails when the destination exists, also as a link. A copy that fails part-way is
// removed, so no partial copy is ever left behind.
std::error_code copyNoReplace(const std::string& from, const std::string& to,
                              FileSystem& fileSystem = FileSystem::system());

} // namespace mp
