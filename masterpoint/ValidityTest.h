#pragma once
// Whether a file in the masterpoint folder is a masterpoint file: its first 13 bytes
// can be read and are all ASCII digits.

#include <string>

namespace mp {

class Settings;

// Tests the file name in the masterpoint folder read now from settings. Throws
// Error::cannotOpenFile(path) when the file cannot be opened; never blocks on a FIFO.
bool isMasterpointFile(const Settings& settings, const std::string& name);

// The same test on a full path.
bool isMasterpointFileAt(const std::string& path);

// The test on a name that the folder listing has just given as a regular file (or a
// link to one): the type is not asked again before the file is opened.
bool isListedMasterpointFile(const Settings& settings, const std::string& name);

} // namespace mp
