#include "masterpoint/Convert.h"

#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"

namespace mp {

ConvertResult convertTicked(const std::vector<ListEntry>& entries, const std::string& folder,
                            FileSystem& fileSystem) {
    ConvertResult result;
    for (const ListEntry& entry : entries) {
        if (!entry.ticked || kindByCode(entry.kindCode) == nullptr) {
            continue;
        }
        ++result.attempted;
        const std::string newName = convertedName(entry.fileName, entry.kindCode);
        const std::string from = entryPath(entry, folder);
        const std::string to = joinPath(folder, newName);
        if (const std::error_code error = fileSystem.renameNoReplace(from, to)) {
            result.problems.add(conversionFailure(entry.fileName, newName, error),
                                "rename " + from + " -> " + to + ": " + error.message());
        }
    }
    return result;
}

std::string conversionFailure(const std::string& name, const std::string& newName,
                              std::error_code error) {
    if (error == std::errc::file_exists) {
        return "Could not convert " + name + ": " + newName + " already exists";
    }
    return "Could not convert " + name + ": " + describe(error);
}

} // namespace mp
