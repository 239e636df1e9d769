#pragma once
// The names of our temporary files, and the clean-up of those that writers left behind.
// A name is ".mpmgr-merge-" or ".mpmgr-backup-", twelve random lower-case letters or
// digits, then ".partial": a pattern no person would choose for a file of their own, so
// that the clean-up never takes one of theirs for ours.

#include "masterpoint/FileSystem.h"

#include <string>

namespace mp {

// A fresh name of the pattern for use, without a folder.
std::string temporaryName(TemporaryUse use);

// Whether name is exactly of the pattern, for either use.
bool isTemporaryName(const std::string& name);
// Whether name is exactly of the pattern for a merge (AtomicFile's own use).
bool isMergeTemporaryName(const std::string& name);

// Removes from folder (ending in a separator, or empty for the current folder) the
// temporary files that writers left behind (FileSystem::removeAbandoned says which).
// Housekeeping: a folder that cannot be listed or a file that cannot go is left so.
void removeAbandonedTemporaries(const std::string& folder, FileSystem& fileSystem);

} // namespace mp
