// The file system on POSIX systems.

#include "masterpoint/FileSystem.h"
#include "masterpoint/TemporaryName.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/vfs.h>
#endif

namespace mp {

void FileHandle::reset(Native native) {
    if (native_ != kInvalid) {
        ::close(static_cast<int>(native_));
    }
    native_ = native;
}

namespace {

std::error_code lastError() {
    return {errno, std::system_category()};
}

int fdOf(const FileHandle& file) {
    return static_cast<int>(file.native());
}

std::error_code notARegularFile(const struct stat& st) {
    return std::make_error_code(S_ISDIR(st.st_mode) ? std::errc::is_a_directory
                                                    : std::errc::invalid_argument);
}

// Looks path up, through a link or not, and refuses anything but a regular file: what
// is looked at before it is opened is never a device or FIFO that an open could hang on.
std::error_code lookUpRegular(const std::string& path, bool throughLink, struct stat& st) {
    if ((throughLink ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) {
        return lastError();
    }
    return S_ISREG(st.st_mode) ? std::error_code() : notARegularFile(st);
}

// Opens a regular file for reading without ever blocking: a FIFO, socket, device or
// folder is refused (looked up first so that a device is never even opened, fstat after
// so that a swap between the two calls is caught).
std::error_code openRegular(const std::string& path, FileHandle& file, struct stat& st) {
    if (const std::error_code error = lookUpRegular(path, true, st)) {
        return error;
    }
    FileHandle opened(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!opened.isOpen()) {
        return lastError();
    }
    if (::fstat(fdOf(opened), &st) != 0) {
        return lastError();
    }
    if (!S_ISREG(st.st_mode)) {
        return notARegularFile(st);
    }
    file = std::move(opened);
    return {};
}

std::error_code readSome(int fd, char* buffer, std::size_t size, std::size_t& got) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0) {
            got = static_cast<std::size_t>(n);
            return {};
        }
        if (errno != EINTR) {
            got = 0;
            return lastError();
        }
    }
}

std::error_code writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return lastError();
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return {};
}

// The attribute word from a full look-up: a link counts as what it points to.
unsigned lookedUpAttributes(int dirFd, const char* name) {
    struct stat st {};
    if (::fstatat(dirFd, name, &st, 0) != 0) {
        return System; // a dangling link, or gone since it was listed
    }
    if (S_ISDIR(st.st_mode)) {
        return Directory;
    }
    if (!S_ISREG(st.st_mode)) {
        return System; // never to be opened: a FIFO would hang the reader
    }
    return name[0] == '.' ? Archive | Hidden : unsigned{Archive};
}

// The same word with as few calls as the entry allows: the type that the listing gives
// spares the look-up for every folder and plain file. A scan of a big folder spends
// most of its time in calls per entry. Links and unknown types take the full look-up.
unsigned attributesOf(int dirFd, const dirent* found) {
    const char* name = found->d_name;
#ifdef _DIRENT_HAVE_D_TYPE
    switch (found->d_type) {
    case DT_DIR:
        return Directory;
    case DT_FIFO:
    case DT_SOCK:
    case DT_CHR:
    case DT_BLK:
        return System;
    case DT_REG:
        return name[0] == '.' ? Archive | Hidden : unsigned{Archive};
    default:
        break;
    }
#endif
    return lookedUpAttributes(dirFd, name);
}

void syncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    FileHandle dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.isOpen()) {
        ::fsync(fdOf(dir));
    }
}

FileStamp stampFrom(const struct stat& st) {
    FileStamp stamp;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.file = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modifiedSeconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    return stamp;
}

// Whether an error of link() says that the file system makes no hard links at all.
bool meansNoHardLinks(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS;
}

mode_t usualMode() {
    const mode_t mask = ::umask(0); // the mask can only be read by setting it
    ::umask(mask);
    return 0666 & ~mask;
}

class PosixFileSystem : public FileSystem {
public:
    std::error_code listFolder(const std::string& folder, std::vector<DirEntry>& entries) override {
        entries.clear();
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
        if (!dir) {
            return lastError();
        }
        for (;;) {
            errno = 0;
            const dirent* found = ::readdir(dir.get());
            if (found == nullptr) {
                return errno == 0 ? std::error_code() : lastError();
            }
            const char* name = found->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
                continue;
            }
            entries.push_back({name, attributesOf(::dirfd(dir.get()), found),
                               static_cast<std::uint64_t>(found->d_ino)});
        }
    }

    std::error_code readHead(const std::string& path, char* buffer, std::size_t size, Known known,
                             std::size_t& got) override {
        got = 0;
        // The stat keeps devices and FIFOs closed. After a folder listing has said the
        // same a moment ago it is spared: asking again would narrow, not close, the
        // window in which the entry could be swapped, and O_NONBLOCK keeps even a FIFO
        // swapped in from blocking the read. A scan calls this for every candidate.
        if (known != Known::RegularFile) {
            struct stat st {};
            if (const std::error_code error = lookUpRegular(path, true, st)) {
                return error;
            }
        }
        FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        if (!file.isOpen()) {
            return lastError();
        }
        while (got < size) {
            std::size_t n = 0;
            if (readSome(fdOf(file), buffer + got, size - got, n) || n == 0) {
                break; // short or unreadable: the caller sees fewer bytes
            }
            got += n;
        }
        return {};
    }

    std::error_code openForReading(const std::string& path, FileHandle& file,
                                   FileStamp& stamp) override {
        struct stat st {};
        const std::error_code error = openRegular(path, file, st);
        stamp = error ? FileStamp() : stampFrom(st);
        return error;
    }

    std::error_code read(FileHandle& file, char* buffer, std::size_t size,
                         std::size_t& got) override {
        return readSome(fdOf(file), buffer, size, got);
    }

    std::error_code stampOf(FileHandle& file, FileStamp& stamp) override {
        struct stat st {};
        if (::fstat(fdOf(file), &st) != 0) {
            return lastError();
        }
        stamp = stampFrom(st);
        return {};
    }

    bool timesAreTrusted(FileHandle& file) override {
#ifdef __linux__
        struct statfs fs {};
        if (::fstatfs(fdOf(file), &fs) != 0) {
            return false; // cannot tell: the bytes are confirmed another way
        }
        switch (static_cast<unsigned long>(fs.f_type)) {
        case 0x4d44UL:     // FAT (msdos, vfat)
        case 0x2011BAB0UL: // exFAT
        case 0x65735546UL: // FUSE (FAT, exFAT, NTFS and the rest through a server)
        case 0x517BUL:     // SMB
        case 0xFF534D42UL: // CIFS
        case 0xFE534D42UL: // SMB2
            return false;
        default:
            return true;
        }
#else
        (void)file;
        return true;
#endif
    }

    std::error_code stampAt(const std::string& path, FileStamp& stamp) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            return lastError();
        }
        stamp = stampFrom(st);
        return {};
    }

    std::error_code typeAt(const std::string& path, EntryType& type) override {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            return lastError();
        }
        type = S_ISLNK(st.st_mode)   ? EntryType::Link
               : S_ISDIR(st.st_mode) ? EntryType::Folder
               : S_ISREG(st.st_mode) ? EntryType::RegularFile
                                     : EntryType::Other;
        return {};
    }

    std::error_code createTemporary(const std::string& folder, const std::string& likePath,
                                    TemporaryUse use, FileHandle& file,
                                    std::string& path) override {
        path.clear();
#ifdef O_TMPFILE
        // An unnamed file where the file system makes them, as long as /proc is there
        // to name it once it is complete.
        if (::access("/proc/self/fd", X_OK) == 0) {
            file.reset(::open(folder.empty() ? "." : folder.c_str(),
                              O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        }
#endif
        // The lock goes with the writer: once it is released, by the close after the
        // file is in place or by the writer's end however it came, the file is known to
        // be abandoned. Where the file system takes no locks the age alone tells.
        if (file.isOpen()) {
            ::flock(fdOf(file), LOCK_EX | LOCK_NB);
        }
        for (int attempt = 0; !file.isOpen(); ++attempt) {
            std::string candidate = folder + temporaryName(use);
            file.reset(::open(candidate.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
            if (!file.isOpen()) {
                if (errno != EEXIST || attempt == 100) {
                    return lastError();
                }
                continue;
            }
            // A named file has no lock for an instant after it is made, in which another
            // writer's clean-up may take it for abandoned: the name must still be ours
            // once it is locked, else a fresh name is made.
            struct stat mine {};
            struct stat named {};
            const bool locked = ::flock(fdOf(file), LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
            if (!locked || ::fstat(fdOf(file), &mine) != 0 ||
                ::lstat(candidate.c_str(), &named) != 0 || mine.st_ino != named.st_ino ||
                mine.st_dev != named.st_dev) {
                file.reset();
                continue;
            }
            path = std::move(candidate);
        }
        // The file gets the owner and mode of the one it will replace, else the usual
        // mode. Only root may give a file away: for anyone else it stays the writer's
        // own. A link is replaced, not what it points to, so it lends nothing.
        struct stat st {};
        if (::lstat(likePath.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            [[maybe_unused]] const int owned = ::fchown(fdOf(file), st.st_uid, st.st_gid);
            ::fchmod(fdOf(file), st.st_mode & 0777);
        } else {
            ::fchmod(fdOf(file), usualMode());
        }
        return {};
    }

    std::error_code nameTemporary(FileHandle& file, const std::string& path) override {
        // Linked through /proc, which any user may do; the link keeps the lock, and
        // refuses a name that is taken.
        const std::string self = "/proc/self/fd/" + std::to_string(fdOf(file));
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0
                   ? std::error_code()
                   : lastError();
    }

    std::error_code removeAbandoned(const std::string& path) override {
        struct stat named {};
        if (const std::error_code error = lookUpRegular(path, false, named)) {
            return error;
        }
        // Someone else's file is theirs to remove, even under one of our names.
        if (named.st_uid != ::geteuid()) {
            return std::make_error_code(std::errc::operation_not_permitted);
        }
        // A writer at work touches its file; one idle for so long is gone or stuck.
        const bool aged = std::time(nullptr) - named.st_mtim.tv_sec >= kAbandonedAfterSeconds;
        // A merge's writer holds its file's lock from before the file has a name until it
        // is in place (createTemporary), so where locks are taken a merge's temporary that
        // no one holds is abandoned at once: a merge killed between naming its complete
        // file and renaming it over the output left a whole copy under such a name.
        const std::size_t slash = path.rfind('/');
        const bool heldWhileNamed =
            isMergeTemporaryName(slash == std::string::npos ? path : path.substr(slash + 1));
        if (!aged && !heldWhileNamed) {
            return std::make_error_code(std::errc::device_or_resource_busy);
        }
        FileHandle file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat held {};
        if (!file.isOpen() || ::fstat(fdOf(file), &held) != 0) {
            return lastError();
        }
        if (::flock(fdOf(file), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) {
                return lastError(); // its writer is still at work
            }
            // The file system takes no locks: the age alone decides.
            if (!aged) {
                return std::make_error_code(std::errc::device_or_resource_busy);
            }
        }
        // The name must still be the file that was found unheld.
        if (::lstat(path.c_str(), &named) != 0) {
            return lastError();
        }
        if (named.st_dev != held.st_dev || named.st_ino != held.st_ino) {
            return std::make_error_code(std::errc::device_or_resource_busy);
        }
        return ::unlink(path.c_str()) == 0 ? std::error_code() : lastError();
    }

    std::error_code write(FileHandle& file, const char* data, std::size_t size) override {
        return writeAll(fdOf(file), data, size);
    }

    std::error_code copyData(FileHandle& from, FileHandle& to) override {
        const int in = fdOf(from);
        const int out = fdOf(to);
#ifdef __linux__
        // In-kernel copy where the file systems allow it; anything it cannot do is left
        // to the plain loop below, which carries on from the same offsets. Once bytes
        // have gone this way its end of file is the file's end. Nothing copied yet may
        // also mean a file system that copies nothing, so then the loop makes sure.
        bool copied = false;
        for (;;) {
            const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, std::size_t{1} << 30, 0);
            if (n > 0) {
                copied = true;
                continue;
            }
            if (n == 0) {
                if (copied) {
                    return {};
                }
                break;
            }
            if (errno == EINTR) {
                continue;
            }
            if (errno != ENOSYS && errno != EXDEV && errno != EINVAL && errno != EOPNOTSUPP &&
                errno != EBADF) {
                return lastError();
            }
            break;
        }
#endif
        // Left uninitialised: a backup of many small files passes here for each empty one.
        constexpr std::size_t kBuffer = std::size_t{1} << 18;
        const std::unique_ptr<char[]> buffer(new char[kBuffer]);
        for (;;) {
            std::size_t n = 0;
            if (const std::error_code error = readSome(in, buffer.get(), kBuffer, n)) {
                return error;
            }
            if (n == 0) {
                return {};
            }
            if (const std::error_code error = writeAll(out, buffer.get(), n)) {
                return error;
            }
        }
    }

    void copyTimeAndMode(FileHandle& from, FileHandle& to) override {
        struct stat st {};
        if (::fstat(fdOf(from), &st) == 0) {
            const struct timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
            ::futimens(fdOf(to), times);
            ::fchmod(fdOf(to), st.st_mode & 0777);
        }
    }

    std::error_code sync(FileHandle& file) override {
        return ::fsync(fdOf(file)) == 0 ? std::error_code() : lastError();
    }

    std::error_code syncAll(const std::vector<FileHandle*>& files) override {
        if (files.empty()) {
            return {};
        }
#ifdef __linux__
        // One flush of the file system's journal for them all: a sync of each file
        // made a backup of many small files wait on the disk once a file. A write-back
        // error of any file there since the first was opened is reported (Linux 5.8
        // and later).
        if (::syncfs(fdOf(*files.front())) == 0) {
            return {};
        }
        if (errno != ENOSYS) {
            return lastError();
        }
#endif
        std::error_code first;
        for (FileHandle* file : files) {
            if (::fdatasync(fdOf(*file)) != 0 && !first) {
                first = lastError();
            }
        }
        return first;
    }

    std::size_t mostOpenFiles() override {
        struct rlimit limit {};
        if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
            return 1024;
        }
        if (limit.rlim_cur < limit.rlim_max) {
            struct rlimit raised = limit;
            raised.rlim_cur = limit.rlim_max;
            if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) {
                limit = raised;
            }
        }
        return limit.rlim_cur == RLIM_INFINITY ? std::size_t{1} << 20
                                               : static_cast<std::size_t>(limit.rlim_cur);
    }

    std::error_code close(FileHandle& file) override {
        // The descriptor is gone whatever close answers; retrying could close another's.
        return ::close(static_cast<int>(file.release())) == 0 ? std::error_code() : lastError();
    }

    std::error_code renameNoReplace(const std::string& from, const std::string& to) override {
#ifdef RENAME_NOREPLACE
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            return {};
        }
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
            return lastError();
        }
#endif
        // Without an exclusive rename: link() refuses an existing destination.
        if (::link(from.c_str(), to.c_str()) == 0) {
            if (::unlink(from.c_str()) != 0) {
                const std::error_code error = lastError();
                ::unlink(to.c_str());
                return error;
            }
            return {};
        }
        if (!meansNoHardLinks(errno)) {
            return lastError();
        }
        // Without either (FAT through FUSE): the name is taken first by an empty file
        // made exclusively, and the rename replaces only that. A name looked up free
        // and then renamed onto would replace a file made by another program between
        // the two calls; a name taken makes the reservation fail instead.
        FileHandle reserved(
            ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!reserved.isOpen()) {
            return lastError();
        }
        reserved.reset();
        if (::rename(from.c_str(), to.c_str()) != 0) {
            const std::error_code error = lastError();
            ::unlink(to.c_str());
            return error;
        }
        return {};
    }

    std::error_code replace(FileHandle& /*file*/, const std::string& from,
                            const std::string& to) override {
        // The file stays open, and locked, through the rename.
        if (::rename(from.c_str(), to.c_str()) != 0) {
            return lastError();
        }
        // The file is in place by now: a folder that cannot be synced does not undo
        // that, and reporting it as a failure would say the file was not written.
        syncFolderOf(to);
        return {};
    }

    std::error_code placeNew(FileHandle& file, const std::string& from,
                             const std::string& to) override {
        const std::error_code error = placeNewUnsynced(file, from, to);
        if (!error) {
            syncFolderOf(to); // as for replace()
        }
        return error;
    }

    std::error_code placeNewUnsynced(FileHandle& file, const std::string& from,
                                     const std::string& to) override {
        return from.empty() ? nameTemporary(file, to) : renameNoReplace(from, to);
    }

    std::error_code syncFolder(const std::string& folder) override {
        // The folder's own sync: on a journalling file system it carries the times
        // given to its files since with it, and it waits on no other program's writes.
        FileHandle dir(
            ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!dir.isOpen()) {
            return lastError();
        }
        return ::fsync(fdOf(dir)) == 0 ? std::error_code() : lastError();
    }

    std::error_code remove(const std::string& path) override {
        return ::unlink(path.c_str()) == 0 ? std::error_code() : lastError();
    }
};

} // namespace

FileSystem& FileSystem::system() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

} // namespace mp
