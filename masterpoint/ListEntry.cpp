#include "masterpoint/ListEntry.h"

#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"

namespace mp {

ListEntry ListEntry::forFile(const std::string& fileName, int kindCode) {
    return {fileName, displayName(fileName, kindCode), kindCode, false};
}

std::string entryPath(const ListEntry& entry, const std::string& masterpointFolder) {
    return joinPath(masterpointFolder, entry.fileName);
}

std::string entryExtension(const ListEntry& entry) {
    if (const FileKind* kind = kindByCode(entry.kindCode)) {
        return kind->numbered;
    }
    return extensionOf(entry.displayText);
}

} // namespace mp
