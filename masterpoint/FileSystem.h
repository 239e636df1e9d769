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
};

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

    // Reads the first bytes of a regular file: got is the count read, less than size
    // only when the file is shorter or a read fails. Never blocks: a FIFO, socket,
    // device or folder is refused (an error), unless it was swapped in after the caller
    // learnt otherwise, and then it is read as far as it gives bytes without waiting.
    virtual std::error_code readHead(const std::string& path, char* buffer, std::size_t size,
                                     Known known, std::size_t& got) = 0;

    // Opens a regular file for reading, never blocking; anything else is refused.
    // size is the file's size at opening.
    virtual std::error_code openForReading(const std::string& path, FileHandle& file,
                                           std::uint64_t& size) = 0;
    // Reads up to size bytes; got is 0 at the end of the file.
    virtual std::error_code read(FileHandle& file, char* buffer, std::size_t size,
                                 std::size_t& got) = 0;

    // Creates a new file for writing; fails when the name exists, also as a link. The
    // permission bits are those of modeOf when given, else the usual ones.
    virtual std::error_code createNew(const std::string& path, const FileHandle* modeOf,
                                      FileHandle& file) = 0;
    // Creates a temporary file in folder (which ends in a separator or is empty), for
    // writing. It has the owner (where allowed) and the permission bits of the regular
    // file at likePath, else the usual ones. Where the system offers it the file has no
    // name until nameTemporary() gives it one, and path is empty: a writer killed before
    // then leaves nothing behind. Otherwise path is its name, ".mpmgr-" and six letters
    // or digits. Either way the file is held for as long as it is open, so that
    // removeAbandoned() can tell it from one whose writer is gone.
    virtual std::error_code createTemporary(const std::string& folder, const std::string& likePath,
                                            FileHandle& file, std::string& path) = 0;
    // Gives a temporary file that has no name one of the named form in folder, so that
    // replace() can put it in place. For a file that is complete, just before that.
    virtual std::error_code nameTemporary(FileHandle& file, const std::string& folder,
                                          std::string& path) = 0;
    // Removes a temporary file left behind by a writer that is gone (killed, or its
    // machine stopped). A file still held by a writer, a link or anything but a regular
    // file is left alone, with an error.
    virtual std::error_code removeAbandoned(const std::string& path) = 0;
    virtual std::error_code write(FileHandle& file, const char* data, std::size_t size) = 0;
    // Appends the rest of from to to, in the kernel where the system can.
    virtual std::error_code copyData(FileHandle& from, FileHandle& to) = 0;
    // Gives to the modification time of from, where the file system allows.
    virtual void copyModificationTime(FileHandle& from, FileHandle& to) = 0;
    virtual std::error_code sync(FileHandle& file) = 0;
    // Closes the file: the close's own error, which may be the last write's.
    virtual std::error_code close(FileHandle& file) = 0;

    // Renames a file; fails when the destination exists, also when it appears between
    // any check and the call.
    virtual std::error_code renameNoReplace(const std::string& from, const std::string& to) = 0;
    // Renames a file over to, replacing a file or link there in one step (never what a
    // link points to), and makes the change durable.
    virtual std::error_code replace(const std::string& from, const std::string& to) = 0;
    virtual std::error_code remove(const std::string& path) = 0;
};

// The reason in plain words, for a message: "permission denied".
std::string describe(std::error_code error);

} // namespace mp
