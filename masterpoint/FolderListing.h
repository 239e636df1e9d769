#pragma once
// One look at a folder as the list follows it: the names that could be masterpoint
// files (a numbered or colour extension, any letter case) with their stamps, read from
// the folder's names and stats alone: no file is opened.

#include "masterpoint/FileSystem.h"

#include <string>
#include <system_error>
#include <vector>

namespace mp {

struct ListedFile {
    std::string name;     // bytes as the folder gave them
    int numberedKind = 0; // 1..5 for a numbered extension, 0 for a colour extension
    FileStamp stamp;
};

// Fills files with the candidates of folder (a path ending in its separator), sorted by
// their bytes. Folders, FIFOs, devices and our own temporaries are left out; so is a
// file gone between the listing and its stat. The error is the folder's own: it is not
// there, or cannot be read.
std::error_code listCandidates(const std::string& folderPrefix, std::vector<ListedFile>& files,
                               FileSystem& fileSystem = FileSystem::system());

} // namespace mp
