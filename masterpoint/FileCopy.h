#pragma once
// A copy that never replaces a file and is never seen half made.

#include "masterpoint/FileSystem.h"

#include <string>

namespace mp {

// Copies a regular file's bytes, permission bits and modification time to a new file:
// written beside its name, synced, and only then given the name, which fails with
// file_exists when the name is taken (also by a link). A copy killed or failing at any
// point leaves no file under the name. A source that changed while it was copied fails
// with changedWhileRead() and leaves no copy. clearAbandoned as for AtomicFile::open.
std::error_code copyNoReplace(const std::string& from, const std::string& to,
                              FileSystem& fileSystem = FileSystem::system(),
                              bool clearAbandoned = true);

} // namespace mp
