#pragma once
// The Convert command once the caller has asked its questions: numbered extensions
// turned to colour extensions on disk.

#include "masterpoint/FileSystem.h"
#include "masterpoint/ListEntry.h"
#include "masterpoint/Problems.h"

#include <string>
#include <system_error>
#include <vector>

namespace mp {

struct ConvertResult {
    int attempted = 0; // ticked entries of kind 1..5
    Problems problems; // the renames that failed
};

// Renames the file of each ticked entry of kind 1..5 in folder to its converted name
// (convertedName), never replacing a file. A rename that fails is recorded and the
// walk goes on.
ConvertResult convertTicked(const std::vector<ListEntry>& entries, const std::string& folder,
                            FileSystem& fileSystem = FileSystem::system());

// Renames the file name in folder (a path that ends in its separator, or any prefix that
// a name completes to a path) to newName, never replacing a file. A rename that fails is
// added to problems ("Could not convert X.MP1: X.GLD already exists", with the paths and
// the system's reason for the log) and the answer is false. A file changed in the last
// second (changedInTheLastSecond) is not renamed, and said so: it may still be being
// written.
bool convertFile(const std::string& folderPrefix, const std::string& name,
                 const std::string& newName, Problems& problems,
                 FileSystem& fileSystem = FileSystem::system());

} // namespace mp
