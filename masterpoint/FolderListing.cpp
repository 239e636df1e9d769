#include "masterpoint/FolderListing.h"

#include "masterpoint/FileKind.h"
#include "masterpoint/TemporaryName.h"

#include <algorithm>

namespace mp {

std::error_code listCandidates(const std::string& folderPrefix, std::vector<ListedFile>& files,
                               FileSystem& fileSystem, const std::vector<ListedFile>* before,
                               const std::function<Stamp(const std::string&)>& stamp) {
    files.clear();
    std::vector<DirEntry> entries;
    // An empty prefix is the current folder, as a joined path would be.
    if (const std::error_code error =
            fileSystem.listFolder(folderPrefix.empty() ? "." : folderPrefix, entries)) {
        return error;
    }
    std::string path = folderPrefix;
    for (DirEntry& entry : entries) {
        // Only regular files (and links to them) are ever listed; the scan's finer rule
        // on attribute words is kept by the validity test, which refuses the rest.
        if ((entry.attributes & (Directory | System | VolumeLabel)) != 0 ||
            isTemporaryName(entry.name)) {
            continue;
        }
        const std::size_t dot = entry.name.rfind('.');
        if (dot == std::string::npos || entry.name.size() - dot != 4) {
            continue; // every masterpoint extension is four characters
        }
        char upper[5] = {};
        for (std::size_t i = 0; i < 4; ++i) {
            const char c = entry.name[dot + i];
            upper[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        }
        const int numbered = kindOfNumberedExtension(upper);
        if (numbered == 0 && kindOfColourExtension(upper) == 0) {
            continue;
        }
        ListedFile file;
        file.name = std::move(entry.name);
        file.numberedKind = numbered;
        file.entryId = entry.entryId;
        files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end(),
              [](const ListedFile& a, const ListedFile& b) { return a.name < b.name; });
    // Both in name order: the last look is walked beside this one.
    auto old = before ? before->begin() : std::vector<ListedFile>::const_iterator();
    const auto oldEnd = before ? before->end() : old;
    std::size_t kept = 0;
    for (ListedFile& file : files) {
        while (old != oldEnd && old->name < file.name) {
            ++old;
        }
        const Stamp which = stamp ? stamp(file.name) : Stamp::IfNew;
        const bool same = old != oldEnd && old->name == file.name && file.entryId != 0 &&
                          old->entryId == file.entryId;
        if (which != Stamp::Always && same) {
            file.stamp = old->stamp;
            file.stamped = old->stamped;
        } else if (which == Stamp::Never && file.entryId != 0) {
            // Its entry id tells it from another file under the name until it is stat'ed;
            // without one (Windows) it is stat'ed now.
            file.stamped = false;
        } else {
            path.resize(folderPrefix.size());
            path.append(file.name);
            if (fileSystem.stampAt(path, file.stamp)) {
                continue; // gone since the listing, or a link to nothing
            }
        }
        if (&files[kept] != &file) {
            files[kept] = std::move(file);
        }
        ++kept;
    }
    files.resize(kept);
    return {};
}

} // namespace mp
