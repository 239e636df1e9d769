#include "masterpoint/Convert.h"

#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"
#include "masterpoint/RecentChange.h"

namespace mp {

ConvertResult convertTicked(const std::vector<ListEntry>& entries, const std::string& folder,
                            FileSystem& fileSystem) {
    ConvertResult result;
    for (const ListEntry& entry : entries) {
        if (!entry.ticked || kindByCode(entry.kindCode) == nullptr) {
            continue;
        }
        ++result.attempted;
        convertFile(joinPath(folder, std::string()), entry.fileName,
                    convertedName(entry.fileName, entry.kindCode), result.problems, fileSystem);
    }
    return result;
}

bool convertFile(const std::string& folderPrefix, const std::string& name,
                 const std::string& newName, Problems& problems, FileSystem& fileSystem) {
    const std::string from = folderPrefix + name;
    const std::string to = folderPrefix + newName;
    // A file the scoring program is still writing would go on growing under the old
    // name, beside the part renamed: it is left for the next look.
    FileStamp stamp;
    if (!fileSystem.stampAt(from, stamp) && changedInTheLastSecond(stamp)) {
        problems.add("Did not convert " + name +
                         " yet: it changed a moment ago and may still be being written",
                     "rename " + from + " -> " + to + ": modified less than a second ago");
        return false;
    }
    const std::error_code error = fileSystem.renameNoReplace(from, to);
    if (!error) {
        return true;
    }
    const std::string message =
        error == std::errc::file_exists
            ? "Could not convert " + name + ": " + newName + " already exists"
            : "Could not convert " + name + ": " + describe(error);
    problems.add(message, "rename " + from + " -> " + to + ": " + error.message());
    return false;
}

} // namespace mp
