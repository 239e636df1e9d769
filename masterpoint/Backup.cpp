#include "masterpoint/Backup.h"

#include "masterpoint/ChangedWhileRead.h"
#include "masterpoint/CommandErrors.h"
#include "masterpoint/FileCopy.h"
#include "masterpoint/FileName.h"
#include "masterpoint/ReadableFile.h"
#include "masterpoint/TemporaryName.h"

#include <cstring>
#include <memory>

namespace mp {

namespace {

// Whether two files hold the same bytes; false when either cannot be read.
bool haveSameBytes(const std::string& a, const std::string& b, FileSystem& fileSystem) {
    ReadableFile first(fileSystem);
    ReadableFile second(fileSystem);
    if (first.open(a) || second.open(b) || first.size() != second.size()) {
        return false;
    }
    constexpr std::size_t kChunk = std::size_t{1} << 16;
    const std::unique_ptr<char[]> x(new char[kChunk]);
    const std::unique_ptr<char[]> y(new char[kChunk]);
    for (;;) {
        std::size_t gotX = 0;
        if (first.read(x.get(), kChunk, gotX)) {
            return false;
        }
        // The second file is read to the same length, however its reads come back.
        std::size_t gotY = 0;
        while (gotY < gotX) {
            std::size_t n = 0;
            if (second.read(y.get() + gotY, gotX - gotY, n) || n == 0) {
                return false;
            }
            gotY += n;
        }
        if (std::memcmp(x.get(), y.get(), gotX) != 0) {
            return false;
        }
        if (gotX == 0) {
            std::size_t more = 0;
            char extra;
            return !second.read(&extra, 1, more) && more == 0;
        }
    }
}

// Whether a file or folder has the name. When that cannot be told, the copy is tried and
// fails with the reason; a link to nowhere is found there too.
bool isPresent(const std::string& path, FileSystem& fileSystem) {
    FileStamp stamp;
    return !fileSystem.stampAt(path, stamp);
}

// Whether the two folders are one, however each is reached (a link, "..", another
// spelling); false when either cannot be looked up, and the copies then fail on their own.
bool isSameFolder(const std::string& a, const std::string& b, FileSystem& fileSystem) {
    FileStamp first;
    FileStamp second;
    return !fileSystem.stampAt(a, first) && !fileSystem.stampAt(b, second) &&
           first.isSameFileAs(second);
}

} // namespace

BackupResult backUpTicked(const std::vector<ListEntry>& entries,
                          const std::string& masterpointFolder, const std::string& backupFolder,
                          FileSystem& fileSystem) {
    BackupResult result;
    for (const ListEntry& entry : entries) {
        result.ticked += entry.ticked ? 1 : 0;
    }
    if (result.ticked == 0) {
        return result;
    }
    // Every file there would be its own copy: nothing would be backed up at all.
    if (isSameFolder(masterpointFolder, backupFolder, fileSystem)) {
        throw backupFolderIsMasterpointFolder();
    }
    // Once for the folder, where the copies go, not once a file.
    removeAbandonedTemporaries(joinPath(backupFolder, std::string()), fileSystem);
    for (const ListEntry& entry : entries) {
        if (!entry.ticked) {
            continue;
        }
        const std::string from = entryPath(entry, masterpointFolder);
        const std::string to = entryPath(entry, backupFolder);
        // Backed up before, or by another copy of the program at this moment: the file
        // is safe as long as the copy there is the same. Looked at first, so that a
        // backup of files mostly backed up already copies only the new ones.
        std::error_code error = std::make_error_code(std::errc::file_exists);
        if (!isPresent(to, fileSystem)) {
            error = copyNoReplace(from, to, fileSystem, false);
        }
        if (!error) {
            continue;
        }
        if (error == std::errc::file_exists) {
            if (haveSameBytes(from, to, fileSystem)) {
                ++result.alreadyThere;
            } else {
                result.problems.add("Not backed up " + entry.fileName +
                                        ": a different copy is already in the backup folder",
                                    "copy " + from + " -> " + to +
                                        ": destination exists with other content");
            }
            continue;
        }
        if (error == changedWhileRead()) {
            result.problems.add(Error::changedWhileRead(from).what(),
                                "copy " + from + " -> " + to + ": source changed while copied");
            continue;
        }
        result.problems.add("Could not back up " + entry.fileName + ": " + describe(error),
                            "copy " + from + " -> " + to + ": " + error.message());
    }
    return result;
}

} // namespace mp
