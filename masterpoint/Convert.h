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

// The user's line for a rename of name to newName that failed:
// "Could not convert X.MP1: X.GLD already exists".
std::string conversionFailure(const std::string& name, const std::string& newName,
                              std::error_code error);

} // namespace mp
