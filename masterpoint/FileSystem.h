#pragma once
// The file-system calls the core makes, behind one interface: the system's own in
// normal use (FileSystem::system(), one source per platform), a wrapper that fails
// chosen calls in tests. Paths are byte strings. Every failure hands up the system's
// error code, so that whoever tells the user can say why.
//
// The calls are small on purpose: what a command makes of them (a copy that leaves no
// half-written file, a file put in place only when complete) is written once, above
// this interface, and holds whatever the calls below it do.

#include "masterpoint/FileHandle.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

namespace mp {

// File attribute bits as the scan understands them.
enum Attribute : unsigned {
    ReadOnly = 1,
    Hidden = 2,
    System = 4,
    VolumeLabel = 8,
    Directory = 16,
    Archive = 32,
    Normal = 128,
};

struct DirEntry {
    std::string name;        // bytes as the file system gives them
    unsigned attributes = 0; // see Attribute; on POSIX: a directory is 16, a regular file
                             // 32 (+2 when named ".*"); anything else (FIFO, socket,
                             // device, dangling link) is 4; a link counts as its target
    // What the listing gives to tell one file under the name from another: the inode on
    // POSIX (a link's own); 0 where it gives none.
    std::uint64_t entryId = 0;
};

// What tells one version of a file from another: which file it is (device and inode,
// or volume and file index), its size and its modification time. A file rewritten in
// place changes its size or time; one put in its place under the name changes identity.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0; // since 1970-01-01 UTC, as std::chrono::system_clock
    std::int64_t modifiedNanoseconds = 0;

    bool isSameFileAs(const FileStamp& other) const {
        return device == other.device && file == other.file;
    }
    bool operator==(const FileStamp& other) const {
        return isSameFileAs(other) && size == other.size &&
               modifiedSeconds == other.modifiedSeconds &&
               modifiedNanoseconds == other.modifiedNanoseconds;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// What a temporary file is for; its name says it (TemporaryName.h).
enum class TemporaryUse { Merge, Backup };

// What a name is, looked at without following a link.
enum class EntryType { RegularFile, Folder, Link, Other };

// What a caller already knows of a path before it is opened.
enum class Known {
    Nothing,
    // The folder listing has just given it as a regular file, or as a link to one.
    RegularFile,
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The platform's own file system.
    static FileSystem& system();

    // Every entry of folder but "." and "..", in the file system's order.
    virtual std::error_code listFolder(const std::string& folder,
                                       std::vector<DirEntry>& entries) = 0;
    // What path names itself: a link is a Link, wherever it points.
    virtual std::error_code typeAt(const std::string& path, EntryType& type) = 0;

    // Reads the first bytes of a regular file: got is the count read, less than size
    // only when the file is shorter or a read fails. Never blocks: a FIFO, socket,
    // device or folder is refused (an error), unless it was swapped in after the caller
    // learnt otherwise, and then it is read as far as it gives bytes without waiting.
    virtual std::error_code readHead(const std::string& path, char* buffer, std::size_t size,
                                     Known known, std::size_t& got) = 0;

    // Opens a regular file for reading, never blocking; anything else is refused.
    // stamp is the open file's at opening.
    virtual std::error_code openForReading(const std::string& path, FileHandle& file,
                                           FileStamp& stamp) = 0;
    // Reads up to size bytes; got is 0 at the end of the file.
    virtual std::error_code read(FileHandle& file, char* buffer, std::size_t size,
                                 std::size_t& got) = 0;
    // The stamp of an open file.
    virtual std::error_code stampOf(FileHandle& file, FileStamp& stamp) = 0;
    // The stamp of what path names now, through links; a folder has one too.
    virtual std::error_code stampAt(const std::string& path, FileStamp& stamp) = 0;
    // Whether the file system of an open file moves its modification time on every write,
    // so that a stamp tells a rewrite in place. Not where the type says otherwise: FAT and
    // exFAT (two-second times, and through FUSE often none at all on write), FUSE and
    // SMB file systems, whose times are whatever their server keeps.
    virtual bool timesAreTrusted(FileHandle& file);

    // Creates a temporary file in folder (which ends in a separator or is empty), for
    // writing. It has the owner (where allowed) and the permission bits of the regular
    // file at likePath, else the usual ones. Where the system offers it the file has no
    // name until it is put in place, and path is empty: a writer killed before then
    // leaves nothing behind. Otherwise path is its name, temporaryName(use). Either way
    // the writer holds the file for as long as it is open, so that removeAbandoned()
    // leaves it alone.
    virtual std::error_code createTemporary(const std::string& folder, const std::string& likePath,
                                            TemporaryUse use, FileHandle& file,
                                            std::string& path) = 0;
    // Gives a temporary file that has no name the name path, never replacing anything:
    // file_exists when the name is taken.
    virtual std::error_code nameTemporary(FileHandle& file, const std::string& path) = 0;
    // Removes a temporary file (a name of the form isTemporaryName) that a writer left
    // behind: a regular file (of the user's own, on POSIX), held by no writer and not modified for
    // kAbandonedAfterSeconds. Anything else is left alone, with an error. Where the file
    // system takes no locks the age alone decides. On POSIX, where it takes them, a
    // merge's temporary (isMergeTemporaryName) held by no writer goes whatever its age:
    // its writer holds it from before it has a name.
    virtual std::error_code removeAbandoned(const std::string& path) = 0;
    virtual std::error_code write(FileHandle& file, const char* data, std::size_t size) = 0;
    // Appends the rest of from to to, in the kernel where the system can.
    virtual std::error_code copyData(FileHandle& from, FileHandle& to) = 0;
    // Gives to the modification time and the permission bits (on Windows the
    // attributes) of from, where the file system allows.
    virtual void copyTimeAndMode(FileHandle& from, FileHandle& to) = 0;
    virtual std::error_code sync(FileHandle& file) = 0;
    // Makes the bytes of every open file of files durable, all in one: the whole file
    // system they are on synced at once where the system offers it (syncfs), else each
    // file's data in turn. All the files are on one file system. An error says that a
    // write of one of them, or of another file there, may be lost; sync() tells which.
    virtual std::error_code syncAll(const std::vector<FileHandle*>& files) = 0;
    // How many files the process may hold open at once; on POSIX the soft limit is
    // first raised to the hard one, which a program that holds no more files than it
    // needs may do (the GUI waits with poll, not select).
    virtual std::size_t mostOpenFiles() = 0;
    // Closes the file: the close's own error, which may be the last write's.
    virtual std::error_code close(FileHandle& file) = 0;

    // Renames a file; fails when the destination exists, also when it appears between
    // any check and the call. Where the file system offers neither a rename that refuses
    // an existing name nor hard links (FAT through FUSE, say), the name is first taken
    // by an empty file made exclusively, which the plain rename then replaces: a file
    // that another program makes under the name meanwhile makes the reservation fail,
    // and is never replaced. (Killed between the two calls, the writer leaves that
    // empty file under the name.)
    virtual std::error_code renameNoReplace(const std::string& from, const std::string& to) = 0;
    // Renames the complete temporary file from, still open as file, over to, replacing
    // a file or link there in one step (never what a link points to), and makes the
    // change durable. The writer keeps its hold on the file until it is in place where
    // the system renames open files (POSIX); Windows lets it go just before.
    virtual std::error_code replace(FileHandle& file, const std::string& from,
                                    const std::string& to) = 0;
    // Puts the complete temporary file (named from, or unnamed when from is empty), still
    // open as file, in place as to without ever replacing anything (file_exists when the
    // name is taken), and makes the change durable. The hold as for replace().
    virtual std::error_code placeNew(FileHandle& file, const std::string& from,
                                     const std::string& to) = 0;
    // As placeNew, but the new name is not yet durable: syncFolder() makes the names of
    // many such files durable at once. file stays open (on Windows it is opened again
    // under its new name, for its attributes only).
    virtual std::error_code placeNewUnsynced(FileHandle& file, const std::string& from,
                                             const std::string& to) = 0;
    // Makes the names given in folder durable, and the times and attributes given to
    // its files since they were synced (the whole file system where the system offers
    // it, else the folder itself).
    virtual std::error_code syncFolder(const std::string& folder) = 0;
    virtual std::error_code remove(const std::string& path) = 0;
};

// How long a temporary file must have been left untouched before it is taken for
// abandoned: a writer at work touches its file far more often.
constexpr std::int64_t kAbandonedAfterSeconds = 60 * 60;

// The reason in plain words, for a message: "permission denied".
std::string describe(std::error_code error);

} // namespace mp
