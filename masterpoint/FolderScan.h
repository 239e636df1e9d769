#pragma once
// Lists the masterpoint files of the masterpoint folder, renaming numbered extensions
// to colour extensions on the way when asked.

#include "masterpoint/FileSystem.h"
#include "masterpoint/ListEntry.h"
#include "masterpoint/Problems.h"

#include <cstddef>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace mp {

struct ScanOptions {
    // Rename every valid file of a numbered extension to its colour extension.
    bool convertExtensions = false;
    // Called once the folder has turned out to have entries, before the first file is
    // opened (the caller shows its busy cursor).
    std::function<void()> walkStarted;
    // Called after every progressInterval files tested, with how many have been tested
    // of how many candidates there are (the caller says how far the scan has come).
    std::function<void(std::size_t tested, std::size_t candidates)> progress{};
    std::size_t progressInterval = 1024;
};

struct ScanResult {
    std::vector<ListEntry> entries; // unticked, in name order (isBeforeInNameOrder)
    // Renames that failed or were left for later (those files are listed as found), and
    // the candidates that could not be read (not listed).
    Problems problems;
    std::error_code folderError; // why the folder could not be listed, when it could not
    FileStamp folderStamp;       // the folder's own, as it was listed (device and inode)
};

// Lists one entry per valid file of folder, whatever order the file system gives them
// in. A renamed file is listed under its new name; a file that could not be renamed
// (convertFile says why, a file still being written among them) under its own, with
// the reason in result.problems. A folder that cannot be read (gone, not a folder, no
// permission) lists nothing and gives the reason in result.folderError; a file gone
// since the listing is passed over. Any other candidate that cannot be opened is not
// listed and is added to result.problems ("Cannot open file <path>: <reason>"); every
// other file is still listed.
void scanFolder(const std::string& folder, const ScanOptions& options, ScanResult& result,
                FileSystem& fileSystem = FileSystem::system());

} // namespace mp
