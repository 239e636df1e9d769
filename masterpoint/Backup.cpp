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

// Numbered copies of one file beyond this many are taken for a fault, not for a
// month's corrections.
constexpr int kMostNumberedCopies = 999;

} // namespace

BackupResult backUpTicked(const std::vector<ListEntry>& entries,
                          const std::string& masterpointFolder, const std::string& backupFolder,
                          FileSystem& fileSystem) {
    // Every file there would be its own copy: nothing would be backed up at all. Said
    // whatever is ticked, so that the caller never keeps such a folder as the backup's.
    if (isSameFolder(masterpointFolder, backupFolder, fileSystem)) {
        throw backupFolderIsMasterpointFolder();
    }
    BackupResult result;
    for (const ListEntry& entry : entries) {
        result.ticked += entry.ticked ? 1 : 0;
    }
    if (result.ticked == 0) {
        return result;
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
        // is safe as long as a copy there is the same. Looked at first, so that a
        // backup of files mostly backed up already copies only the new ones. A file
        // corrected since its last backup is kept beside the old copy, numbered.
        std::error_code error;
        bool there = false;
        for (int number = 1; number <= kMostNumberedCopies; ++number) {
            const std::string name =
                number == 1 ? entry.fileName : numberedName(entry.fileName, number);
            const std::string target = joinPath(backupFolder, name);
            if (!isPresent(target, fileSystem)) {
                error = copyNoReplace(from, target, fileSystem, false);
                if (!error && number > 1) {
                    result.besideOlder.push_back(name);
                }
                if (error != std::errc::file_exists) {
                    break; // copied, or failed for a reason of its own
                }
            }
            // The name is taken, by a copy or by something else.
            if (haveSameBytes(from, target, fileSystem)) {
                there = true;
                break;
            }
            error = std::make_error_code(std::errc::file_exists);
        }
        if (there) {
            ++result.alreadyThere;
            continue;
        }
        if (!error) {
            continue;
        }
        if (error == std::errc::file_exists) {
            result.problems.add("Not backed up " + entry.fileName + ": " +
                                    std::to_string(kMostNumberedCopies) +
                                    " different copies are already in the backup folder",
                                "copy " + from + " -> " + to + ": every numbered name taken");
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
