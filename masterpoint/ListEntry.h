#pragma once
// One row of the file list and how it resolves to a file on disk.

#include <string>

namespace mp {

class Settings;

struct ListEntry {
    std::string displayText; // bytes, as listed
    int kindCode = 0;        // 0: a colour-extension file; 1..5: unconverted file of that kind
    bool ticked = false;
};

// The file name on disk: the display text for kind 0; otherwise the display text's
// part after its last path break (see kPathBreaks) up to and including its first ".",
// then "MP" and the kind code ("CLUB0612.MP2(RED)" -> "CLUB0612.MP2").
std::string entryFileName(const ListEntry& entry);

// The masterpoint folder read now, the separator and the entry's file name, joined
// as plain text. Never looks at the disk.
std::string entryPath(const ListEntry& entry, const Settings& settings);

// The extension that picks the viewer's layout: the display text's extension for
// kind 0, ".MPn" for kind n.
std::string entryExtension(const ListEntry& entry);

} // namespace mp
