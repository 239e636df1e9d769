#pragma once
// Whether a file is a masterpoint file: its first 13 bytes can be read and are all
// ASCII digits.

#include "masterpoint/FileSystem.h"

#include <string>

namespace mp {

// Tests the file at path. known says what the caller has just learnt of it (a folder
// listing's word that it is a regular file spares asking again). Throws
// Error::cannotOpenFile(path) when the file cannot be opened; never blocks on a FIFO.
bool isMasterpointFile(const std::string& path, Known known = Known::Nothing,
                       FileSystem& fileSystem = FileSystem::system());

} // namespace mp
