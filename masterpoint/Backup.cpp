#include "masterpoint/Backup.h"

#include "masterpoint/ChangedWhileRead.h"
#include "masterpoint/CommandErrors.h"
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

// What holds a name in the backup folder. A link is never a copy, wherever it points:
// one to the file itself would keep nothing if the file were lost.
enum class Holder { Nothing, SameCopy, OtherCopy, SomethingElse };

Holder holderOf(const std::string& from, const std::string& target, FileSystem& fileSystem) {
    EntryType type = EntryType::Other;
    if (fileSystem.typeAt(target, type)) {
        // Free, or not to be told: then the naming fails with the reason.
        return Holder::Nothing;
    }
    if (type != EntryType::RegularFile) {
        return Holder::SomethingElse;
    }
    return haveSameBytes(from, target, fileSystem) ? Holder::SameCopy : Holder::OtherCopy;
}

// Whether the two folders are one, however each is reached (a link, "..", another
// spelling); false when either cannot be looked up, and the copies then fail on their own.
bool isSameFolder(const std::string& a, const std::string& b, FileSystem& fileSystem) {
    FileStamp first;
    FileStamp second;
    if (fileSystem.stampAt(a, first) || fileSystem.stampAt(b, second)) {
        return false;
    }
    if (first.isSameFileAs(second)) {
        return true;
    }
    // Some file systems give each spelling of a name its own identity (FUSE, where /MP
    // and /mp are one folder, and bind views): a file made in one and found in the other
    // tells. A folder that cannot be written here fails the copies on its own.
    const std::string folder = joinPath(b, std::string());
    FileHandle marker;
    std::string path;
    if (fileSystem.createTemporary(folder, std::string(), TemporaryUse::Backup, marker, path)) {
        return false;
    }
    if (path.empty()) {
        path = folder + temporaryName(TemporaryUse::Backup);
        if (fileSystem.nameTemporary(marker, path)) {
            return false;
        }
    }
    FileStamp found;
    const bool same = !fileSystem.stampAt(joinPath(a, path.substr(folder.size())), found);
    marker.reset(); // Windows removes no open file
    fileSystem.remove(path);
    return same;
}

// Numbered copies of one file beyond this many are taken for a fault, not for a
// month's corrections.
constexpr int kMostNumberedCopies = 999;

// Copies written before they are made durable together: as many as the files that
// the process may hold open allow (two each, and room for the rest of the program), as
// each sync of the file system, the dearest step, also waits on every other program's
// writes there. More buys nothing.
std::size_t copiesAtOnce(FileSystem& fileSystem) {
    constexpr std::size_t kKeptFree = 64;
    constexpr std::size_t kMost = 16384;
    const std::size_t open = fileSystem.mostOpenFiles();
    const std::size_t fit = open > kKeptFree + 4 ? (open - kKeptFree) / 2 : 2;
    return fit < kMost ? fit : kMost;
}

std::string nameFor(const std::string& fileName, int number) {
    return number == 1 ? fileName : numberedName(fileName, number);
}

// One file on its way into the backup folder.
struct Copy {
    explicit Copy(FileSystem& fileSystem) : in(fileSystem) {}
    const ListEntry* entry = nullptr;
    std::string from;
    int number = 1;                   // of the name it is to take
    Holder ownName = Holder::Nothing; // what held the file's own name when looked at
    ReadableFile in;
    FileHandle out;
    std::string temporary; // its name until it has its own; empty when it has none
};

class BatchedBackup {
public:
    BatchedBackup(const std::string& masterpointFolder, const std::string& backupFolder,
                  FileSystem& fileSystem, BackupResult& result)
        : masterpointFolder_(masterpointFolder), backupFolder_(backupFolder),
          folder_(joinPath(backupFolder, std::string())), fileSystem_(fileSystem), result_(result),
          copiesAtOnce_(copiesAtOnce(fileSystem)) {}
    BatchedBackup(const BatchedBackup&) = delete;
    BatchedBackup& operator=(const BatchedBackup&) = delete;
    ~BatchedBackup() {
        for (std::unique_ptr<Copy>& copy : batch_) {
            drop(*copy);
        }
    }

    // Backed up before, or by another copy of the program at this moment: the file is
    // safe as long as a copy there is the same. Looked at first, so that a backup of
    // files mostly backed up already copies only the new ones. A file corrected since
    // its last backup is kept beside the old copy, numbered.
    void add(const ListEntry& entry) {
        auto copy = std::make_unique<Copy>(fileSystem_);
        copy->entry = &entry;
        copy->from = entryPath(entry, masterpointFolder_);
        copy->number = freeNumber(*copy, 1);
        if (copy->number == 0) {
            ++result_.alreadyThere;
            return;
        }
        if (copy->number > kMostNumberedCopies) {
            fail(*copy, std::make_error_code(std::errc::file_exists));
            return;
        }
        if (const std::error_code error = write(*copy)) {
            fail(*copy, error);
            return;
        }
        batch_.push_back(std::move(copy));
        if (batch_.size() >= copiesAtOnce_) {
            flush();
        }
    }

    // Names the copies still waiting, then makes every name durable at once.
    void finish() {
        flush();
        if (named_ == 0) {
            return;
        }
        if (const std::error_code error = fileSystem_.syncFolder(folder_)) {
            result_.problems.add("The copies made may be lost if the power fails: the backup "
                                 "folder could not be synced: " +
                                     describe(error),
                                 "sync " + backupFolder_ + ": " + error.message());
        }
    }

private:
    // The first number from first whose name is free; 0 when one of the names holds the
    // same bytes, one past the most when every name is taken.
    int freeNumber(Copy& copy, int first) {
        for (int number = first; number <= kMostNumberedCopies; ++number) {
            const Holder holder =
                holderOf(copy.from, joinPath(backupFolder_, nameFor(copy.entry->fileName, number)),
                         fileSystem_);
            if (number == 1) {
                copy.ownName = holder;
            }
            if (holder == Holder::Nothing) {
                return number;
            }
            if (holder == Holder::SameCopy) {
                return 0;
            }
        }
        return kMostNumberedCopies + 1;
    }

    // The bytes into a temporary file beside their name, not yet synced.
    std::error_code write(Copy& copy) {
        if (const std::error_code error = copy.in.open(copy.from)) {
            return error;
        }
        if (const std::error_code error = fileSystem_.createTemporary(
                folder_, copy.from, TemporaryUse::Backup, copy.out, copy.temporary)) {
            return error;
        }
        // Where the times cannot be trusted a rewrite at the same size leaves the stamp as
        // it was: the bytes then go through read(), so that checkUnchanged reads the
        // source again and compares what it finds with what was copied.
        if (const std::error_code error = copy.in.confirmsBytes()
                                              ? copyThroughReads(copy)
                                              : fileSystem_.copyData(copy.in.handle(), copy.out)) {
            return error;
        }
        return copy.in.checkUnchanged();
    }

    std::error_code copyThroughReads(Copy& copy) {
        std::vector<char> buffer(std::size_t{1} << 20);
        for (;;) {
            std::size_t got = 0;
            if (const std::error_code error = copy.in.read(buffer.data(), buffer.size(), got)) {
                return error;
            }
            if (got == 0) {
                return {};
            }
            if (const std::error_code error = fileSystem_.write(copy.out, buffer.data(), got)) {
                return error;
            }
        }
    }

    // Every copy of the batch durable, then named. A sync of them all that fails says
    // only that some write was lost: each file's own sync then tells which.
    void flush() {
        std::vector<FileHandle*> files;
        for (const std::unique_ptr<Copy>& copy : batch_) {
            files.push_back(&copy->out);
        }
        const bool allSynced = !fileSystem_.syncAll(files);
        for (std::unique_ptr<Copy>& copy : batch_) {
            const std::error_code error =
                allSynced ? std::error_code() : fileSystem_.sync(copy->out);
            if (error) {
                fail(*copy, error);
            } else {
                place(*copy);
            }
        }
        batch_.clear();
    }

    // Gives the complete, durable copy its name, never replacing anything: a name taken
    // since it was looked at (by another copy of the program, say) is looked at again.
    void place(Copy& copy) {
        for (;;) {
            const std::string name = nameFor(copy.entry->fileName, copy.number);
            const std::error_code error = fileSystem_.placeNewUnsynced(
                copy.out, copy.temporary, joinPath(backupFolder_, name));
            if (!error) {
                copy.temporary.clear();
                // Only now: a temporary file with its source's old time would look
                // abandoned to another backup's clean-up where locks are not kept.
                fileSystem_.copyTimeAndMode(copy.in.handle(), copy.out);
                copy.out.reset();
                ++result_.copied;
                ++named_;
                if (copy.number > 1) {
                    (copy.ownName == Holder::OtherCopy ? result_.besideOlder : result_.besideOther)
                        .push_back(name);
                }
                return;
            }
            if (error != std::errc::file_exists) {
                fail(copy, error);
                return;
            }
            copy.number = freeNumber(copy, copy.number);
            if (copy.number == 0) {
                ++result_.alreadyThere;
                drop(copy);
                return;
            }
            if (copy.number > kMostNumberedCopies) {
                fail(copy, error);
                return;
            }
        }
    }

    void drop(Copy& copy) {
        copy.out.reset();
        if (!copy.temporary.empty()) {
            fileSystem_.remove(copy.temporary);
            copy.temporary.clear();
        }
    }

    void fail(Copy& copy, std::error_code error) {
        drop(copy);
        const std::string& name = copy.entry->fileName;
        const std::string detail =
            "copy " + copy.from + " -> " + joinPath(backupFolder_, name) + ": ";
        if (error == std::errc::file_exists) {
            result_.problems.add("Not backed up " + name + ": " +
                                     std::to_string(kMostNumberedCopies) +
                                     " different copies are already in the backup folder",
                                 detail + "every numbered name taken");
        } else if (error == changedWhileRead()) {
            result_.problems.add(Error::changedWhileRead(copy.from).what(),
                                 detail + "source changed while copied");
        } else {
            result_.problems.add("Could not back up " + name + ": " + describe(error),
                                 detail + error.message());
        }
    }

    const std::string& masterpointFolder_;
    const std::string& backupFolder_;
    const std::string folder_; // with its separator, for temporary files
    FileSystem& fileSystem_;
    BackupResult& result_;
    const std::size_t copiesAtOnce_;
    std::vector<std::unique_ptr<Copy>> batch_;
    int named_ = 0;
};

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
    BatchedBackup backup(masterpointFolder, backupFolder, fileSystem, result);
    for (const ListEntry& entry : entries) {
        if (entry.ticked) {
            backup.add(entry);
        }
    }
    backup.finish();
    return result;
}

} // namespace mp
