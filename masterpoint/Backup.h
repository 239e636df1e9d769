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
    int copied = 0;       // of them, files copied by this backup
    int alreadyThere = 0; // of them, files whose identical copy was there already
    // Of the files copied, the names of those kept beside an older, different copy, and
    // of those whose own name was taken by a folder, a link or another such entry.
    std::vector<std::string> besideOlder;
    std::vector<std::string> besideOther;
    // The files that are not safe in the backup folder, one problem each, and at most
    // one more when the names of the copies may not last (the folder sync failed).
    Problems problems;
};

// Copies the file of each ticked entry from masterpointFolder into backupFolder under
// its own name, keeping its modification time. A copy already there is never replaced:
// when it is a regular file (not a link) with the same bytes the file counts as backed
// up; else the file is copied under the first name numberedName(name, 2), (3) … that is
// free, unless one of those already holds the same bytes (backed up before). Whatever
// else has such a name (a folder, a link, a link to nowhere) is passed over. A file that
// changed while it was copied gets no copy. Any failure is recorded and the walk goes on.
//
// Never seen half made, also when killed at any point: the copies are written to
// temporary files in the backup folder, made durable together, then each given its
// name without replacing anything, and the folder synced once. A file under a final
// name is always whole; a file whose copy failed at any step has none.
//
// Throws, before anything is copied, backupFolderIsMasterpointFolder() when the two
// folders are one, however reached (a link, "..", another spelling of the name, a bind
// view), even with nothing ticked: told by the file's identity or, where the file system
// gives each spelling its own, by a file made in the backup folder and found in the
// masterpoint folder.
BackupResult backUpTicked(const std::vector<ListEntry>& entries,
                          const std::string& masterpointFolder, const std::string& backupFolder,
                          FileSystem& fileSystem = FileSystem::system());

} // namespace mp
