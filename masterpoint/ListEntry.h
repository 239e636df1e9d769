#pragma once
// One row of the file list and how it resolves to a file on disk.

#include <string>

namespace mp {

struct ListEntry {
    std::string fileName;    // the real name of the file in the masterpoint folder, bytes
                             // as the folder listing gave them
    std::string displayText; // bytes, as listed
    int kindCode = 0;        // 0: a colour-extension file; 1..5: unconverted file of that kind
    bool ticked = false;

    // The entry of a file found by the scan: kind 0 lists the name as it stands, kind
    // n the name with its last extension turned to the kind's display suffix
    // ("a.b.mp2" -> "a.b.MP2(RED)").
    static ListEntry forFile(const std::string& fileName, int kindCode);
};

// The masterpoint folder given, the separator and the entry's file name, joined as
// plain text. Never looks at the disk.
std::string entryPath(const ListEntry& entry, const std::string& masterpointFolder);

// The extension that picks the viewer's layout and names a merge: the display text's
// extension for kind 0, the numbered extension ".MPn" for kind n.
std::string entryExtension(const ListEntry& entry);

} // namespace mp
