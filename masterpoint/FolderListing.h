#pragma once
// One look at a folder as the list follows it: the names that could be masterpoint
// files (a numbered or colour extension, any letter case) with their stamps, read from
// the folder's names and stats alone: no file is opened. Given the last look, a name
// whose folder entry is the same file as then keeps its stamp without a stat, so that a
// look at a large folder costs little more than reading its names.

#include "masterpoint/FileSystem.h"

#include <cstdint>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace mp {

struct ListedFile {
    std::string name;     // bytes as the folder gave them
    int numberedKind = 0; // 1..5 for a numbered extension, 0 for a colour extension
    FileStamp stamp;
    bool stamped = true;       // false: stamp not read (a file just listed by a scan)
    std::uint64_t entryId = 0; // DirEntry::entryId
};

// Which files of a look are stat'ed.
enum class Stamp {
    Always, // whatever the last look says
    IfNew,  // unless the last look has the same folder entry (name and entry id)
    Never,  // as IfNew, but left unstamped where the last look gives no stamp (where the
            // listing gives entry ids)
};

// Fills files with the candidates of folder (a path ending in its separator), sorted by
// their bytes. Folders, FIFOs, devices and our own temporaries are left out; so is a
// file gone between the listing and its stat. The error is the folder's own: it is not
// there, or cannot be read.
//
// stamp(name) says which files are stat'ed (IfNew when not given); the others take
// their stamps from before, the last look, sorted as files is. A file written to in place
// keeps its folder entry, and is seen changed only when stat'ed.
std::error_code listCandidates(const std::string& folderPrefix, std::vector<ListedFile>& files,
                               FileSystem& fileSystem = FileSystem::system(),
                               const std::vector<ListedFile>* before = nullptr,
                               const std::function<Stamp(const std::string&)>& stamp = {});

} // namespace mp
