#pragma once
// Whether a file may still be being written: it was modified less than a second ago (or
// is dated less than a second ahead, as a clock a little ahead of ours dates it). The
// scoring program writes a file in one go, so one left alone for a second is complete.
// A command that would rename a file, or take it for final, leaves such a file for its
// next look.
//
// The rule rests on the file's modification time; where the file system does not move
// it on every write (FileSystem::timesAreTrusted), a file written then looks older.

#include "masterpoint/FileSystem.h"

#include <cstdint>

namespace mp {

constexpr std::int64_t kSettledAfterNanoseconds = 1000 * 1000 * 1000;

// As of the moment now (seconds and nanoseconds since 1970, as the stamps count).
bool changedInTheLastSecond(const FileStamp& stamp, std::int64_t nowSeconds,
                            std::int64_t nowNanoseconds);
// As of the system clock's now.
bool changedInTheLastSecond(const FileStamp& stamp);

} // namespace mp
