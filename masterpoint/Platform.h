#pragma once
// The few file-system calls the core needs, one source per platform. Paths are byte
// strings. Nothing here ever replaces an existing file by accident.

#include <cstdint>
#include <memory>
#include <string>

namespace mp::platform {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// folder + separator + name, as plain text: nothing added or removed.
std::string joinPath(const std::string& folder, const std::string& name);

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
    unsigned attributes = 0; // see Attribute; on POSIX: a directory is 16; a regular
                             // file 32, +1 when not writable, +2 when named ".*";
                             // anything else (FIFO, socket, device, dangling link) 4
};

// Walks the entries of one folder, "." and ".." included, in the file system's order.
class FolderEnumeration {
public:
    // How much of a regular file's attribute word to find out.
    enum class Detail {
        Full,          // every bit
        NoReadOnlyBit, // the read-only bit left out: no look-up per plain file
    };

    explicit FolderEnumeration(Detail detail = Detail::Full);
    ~FolderEnumeration();
    FolderEnumeration(const FolderEnumeration&) = delete;
    FolderEnumeration& operator=(const FolderEnumeration&) = delete;

    // Opens the folder and gives its first entry; false when it cannot be read or has
    // no entries.
    bool first(const std::string& folder, DirEntry& entry);
    // The next entry; false when there are no more.
    bool next(DirEntry& entry);
    void close();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Renames a file; fails (returns false) when the destination exists, also when it
// appears between any check and the call.
bool renameNoReplace(const std::string& from, const std::string& to);

// Copies a file's bytes and modification time to a new file; fails when the
// destination exists. A copy that fails part-way leaves no destination behind.
bool copyNoReplace(const std::string& from, const std::string& to);

// What a caller already knows of a path before it is opened.
enum class Known {
    Nothing,
    // The folder listing has just given it as a regular file, or as a link to one.
    RegularFile,
};

// Reads the first bytes of a regular file into buffer: the count read, which is less
// than size only when the file is shorter or a read fails, or -1 when the path cannot
// be opened as a regular file. Never blocks; a FIFO, socket, device or folder is never
// opened unless it was swapped in after the caller learnt otherwise, and then it is
// read as far as it gives bytes without waiting. Cheaper than a ReadableFile when only
// the head is wanted.
long long readFileHead(const std::string& path, char* buffer, std::size_t size,
                       Known known = Known::Nothing);

// A file opened for reading. Opening never blocks: a FIFO, socket, device or folder
// is refused as a file that cannot be opened.
class ReadableFile {
public:
    ReadableFile() = default;
    ~ReadableFile();
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;
    ReadableFile(ReadableFile&& other) noexcept;
    ReadableFile& operator=(ReadableFile&& other) noexcept;

    // False when the path cannot be opened as a regular file.
    bool open(const std::string& path);
    bool isOpen() const;
    // Reads up to size bytes; the count read, 0 at the end, -1 on an error.
    long long read(char* buffer, std::size_t size);
    // The file's size at opening, in bytes.
    std::uint64_t size() const;
    void close();

private:
    long long handle_ = -1;
    std::uint64_t size_ = 0;
};

// A file written beside its final name and put in place only when complete.
// commit() replaces any existing file of that name in one step, keeping its owner (where
// allowed) and permission bits; a link is followed and the file it names replaced. A
// file destroyed without commit() is removed and the final name is left as it was.
class AtomicFile {
public:
    explicit AtomicFile(std::string finalPath);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open();                                    // creates the temporary file
    bool write(const char* data, std::size_t size); // false on any write error
    bool commit();                                  // flushes, syncs and renames over
    void discard();

private:
    std::string finalPath_;
    std::string tempPath_;
    long long handle_ = -1;
};

} // namespace mp::platform
