#include "masterpoint/Backup.h"

#include "masterpoint/FileCopy.h"
#include "masterpoint/FileName.h"
#include "masterpoint/ReadableFile.h"

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

} // namespace

BackupResult backUpTicked(const std::vector<ListEntry>& entries,
                          const std::string& masterpointFolder, const std::string& backupFolder,
                          FileSystem& fileSystem) {
    BackupResult result;
    for (const ListEntry& entry : entries) {
        if (!entry.ticked) {
            continue;
        }
        ++result.ticked;
        const std::string from = entryPath(entry, masterpointFolder);
        const std::string to = entryPath(entry, backupFolder);
        const std::error_code error = copyNoReplace(from, to, fileSystem);
        if (!error) {
            continue;
        }
        if (error == std::errc::file_exists) {
            // Backed up before (or the backup folder is the masterpoint folder): the file
            // is safe as long as the copy there is the same.
            if (!haveSameBytes(from, to, fileSystem)) {
                result.problems.add("Not backed up " + entry.fileName +
                                        ": a different copy is already in the backup folder",
                                    "copy " + from + " -> " + to +
                                        ": destination exists with other content");
            }
            continue;
        }
        result.problems.add("Could not back up " + entry.fileName + ": " + describe(error),
                            "copy " + from + " -> " + to + ": " + error.message());
    }
    return result;
}

} // namespace mp
