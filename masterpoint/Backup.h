#pragma once
// The Backup command once the caller has asked its questions: copies into the backup
// folder that never replace a file there.

#include "masterpoint/FileSystem.h"
#include "masterpoint/ListEntry.h"
#include "masterpoint/Problems.h"

#include <string>
#include <vector>

namespace mp {

struct BackupResult {
    int ticked = 0;       // ticked entries
    int alreadyThere = 0; // of them, files whose identical copy was there already
    // Of the files copied, the names of those kept beside an older, different copy.
    std::vector<std::string> besideOlder;
    Problems problems; // the files that are not safe in the backup folder
};

// Copies the file of each ticked entry from masterpointFolder into backupFolder under
// its own name, keeping its modification time (copyNoReplace: never seen half made). A
// copy already there is never replaced: when it holds the same bytes the file counts as
// backed up; else the file is copied under the first name numberedName(name, 2), (3) …
// that is free, unless one of those already holds the same bytes (backed up before).
// Whatever else has such a name (a folder, a link to nowhere) is passed over. A file
// that changed while it was copied gets no copy. Any failure is recorded and the walk goes on.
// Throws, before anything is copied, backupFolderIsMasterpointFolder() when the two folders are
// one, however reached, even with nothing ticked.
BackupResult backUpTicked(const std::vector<ListEntry>& entries,
                          const std::string& masterpointFolder, const std::string& backupFolder,
                          FileSystem& fileSystem = FileSystem::system());

} // namespace mp
