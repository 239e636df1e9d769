#include "masterpoint/Platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>

namespace mp::platform {

namespace {

// Opens a regular file for reading without ever blocking: a FIFO, socket, device or
// folder is refused (stat first so that a device is never even opened, fstat after
// so that a swap between the two calls is caught). Returns -1 on refusal.
int openRegular(const std::string& path, struct stat& st) {
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

long long readSome(int fd, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0 || errno != EINTR) {
            return n;
        }
    }
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool copyBytes(int in, int out) {
#ifdef __linux__
    // In-kernel copy where the file systems allow it; anything it cannot do is left to
    // the plain loop below, which carries on from the same offsets. Once bytes have
    // gone this way its end of file is the file's end: the loop would only read it
    // again. Nothing copied yet may also mean a file system that copies nothing, so
    // then the loop makes sure.
    bool copied = false;
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, std::size_t{1} << 30, 0);
        if (n > 0) {
            copied = true;
            continue;
        }
        if (n == 0) {
            if (copied) {
                return true;
            }
            break;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != ENOSYS && errno != EXDEV && errno != EINVAL && errno != EOPNOTSUPP &&
            errno != EBADF) {
            return false;
        }
        break;
    }
#endif
    // Left uninitialised: a backup of many small files passes here for each empty one.
    constexpr std::size_t kBuffer = std::size_t{1} << 18;
    const std::unique_ptr<char[]> buffer(new char[kBuffer]);
    for (;;) {
        const long long n = readSome(in, buffer.get(), kBuffer);
        if (n == 0) {
            return true;
        }
        if (n < 0 || !writeAll(out, buffer.get(), static_cast<std::size_t>(n))) {
            return false;
        }
    }
}

// What the attribute words of one folder's entries depend on besides the entries.
struct FolderFacts {
    bool readOnlyBit = true;     // whether the read-only bit is wanted at all
    bool asRoot = false;         // root may write any file its volume lets it write
    bool readOnlyVolume = false; // the folder's volume is mounted read-only
};

// The attribute word from a full look-up: a link counts as what it points to.
unsigned lookedUpAttributes(int dirFd, const char* name, bool readOnlyBit) {
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
    unsigned attributes = Archive;
    // Read-only for this user, or for everyone (which root's access check would miss).
    if (readOnlyBit &&
        ((st.st_mode & 0222) == 0 || ::faccessat(dirFd, name, W_OK, AT_EACCESS) != 0)) {
        attributes |= ReadOnly;
    }
    if (name[0] == '.') {
        attributes |= Hidden;
    }
    return attributes;
}

// The same word with as few calls as the entry allows. A scan of a big folder spends
// most of its time in calls per entry, and the plain look-up above makes two for every
// file: the type that the folder listing already gives spares all of them for a folder
// and one of them for a plain file. Links and unknown types take the full look-up.
unsigned attributesOf(int dirFd, const dirent* found, const FolderFacts& facts) {
    const char* name = found->d_name;
#ifdef _DIRENT_HAVE_D_TYPE
    const unsigned hidden = name[0] == '.' ? unsigned{Hidden} : 0u;
    switch (found->d_type) {
    case DT_DIR:
        return Directory;
    case DT_FIFO:
    case DT_SOCK:
    case DT_CHR:
    case DT_BLK:
        return System;
    case DT_REG:
        if (!facts.readOnlyBit) {
            return Archive | hidden;
        }
        if (!facts.asRoot) {
            // The access check alone: a file without any write bit fails it for anyone
            // but root.
            if (::faccessat(dirFd, name, W_OK, AT_EACCESS) == 0) {
                return Archive | hidden;
            }
            return errno == ENOENT ? System : Archive | ReadOnly | hidden;
        }
#ifdef STATX_ATTR_IMMUTABLE
        {
            // Root's access check passes unless the volume is read-only or the file
            // immutable; the mode bits say the rest. One call gives both.
            struct statx sx {};
            if (::statx(dirFd, name, 0, STATX_TYPE | STATX_MODE, &sx) != 0) {
                return System; // gone since it was listed
            }
            if (!S_ISREG(sx.stx_mode)) {
                return lookedUpAttributes(dirFd, name, true); // replaced since it was listed
            }
            const bool immutable = (sx.stx_attributes_mask & STATX_ATTR_IMMUTABLE) != 0 &&
                                   (sx.stx_attributes & STATX_ATTR_IMMUTABLE) != 0;
            const bool readOnly = (sx.stx_mode & 0222) == 0 || facts.readOnlyVolume || immutable;
            return Archive | hidden | (readOnly ? unsigned{ReadOnly} : 0u);
        }
#endif
        break;
    default:
        break;
    }
#endif
    return lookedUpAttributes(dirFd, name, facts.readOnlyBit);
}

void syncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::string joinPath(const std::string& folder, const std::string& name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path += folder;
    path += kSeparator;
    path += name;
    return path;
}

// ---- FolderEnumeration

struct FolderEnumeration::Impl {
    DIR* dir = nullptr;
    FolderFacts facts;
};

FolderEnumeration::FolderEnumeration(Detail detail) : impl_(std::make_unique<Impl>()) {
    impl_->facts.readOnlyBit = detail == Detail::Full;
}
FolderEnumeration::~FolderEnumeration() {
    close();
}

bool FolderEnumeration::first(const std::string& folder, DirEntry& entry) {
    close();
    impl_->dir = ::opendir(folder.c_str());
    if (impl_->dir == nullptr) {
        return false;
    }
    struct statvfs volume {};
    impl_->facts.asRoot = ::geteuid() == 0;
    impl_->facts.readOnlyVolume =
        ::fstatvfs(::dirfd(impl_->dir), &volume) == 0 && (volume.f_flag & ST_RDONLY) != 0;
    return next(entry);
}

bool FolderEnumeration::next(DirEntry& entry) {
    if (impl_->dir == nullptr) {
        return false;
    }
    const dirent* found = ::readdir(impl_->dir);
    if (found == nullptr) {
        return false;
    }
    entry.name = found->d_name;
    entry.attributes = attributesOf(::dirfd(impl_->dir), found, impl_->facts);
    return true;
}

void FolderEnumeration::close() {
    if (impl_->dir != nullptr) {
        ::closedir(impl_->dir);
        impl_->dir = nullptr;
    }
}

// ---- rename and copy

bool renameNoReplace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return false;
    }
#endif
    // Without an exclusive rename: link() refuses an existing destination.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    if (::unlink(from.c_str()) != 0) {
        ::unlink(to.c_str());
        return false;
    }
    return true;
}

bool copyNoReplace(const std::string& from, const std::string& to) {
    struct stat st {};
    const int in = openRegular(from, st);
    if (in < 0) {
        return false;
    }
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = copyBytes(in, out);
    if (ok) {
        // The time is kept where the file system allows; the copy stands without it.
        const struct timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
        ::futimens(out, times);
    }
    ok = (::close(out) == 0) && ok;
    ::close(in);
    if (!ok) {
        ::unlink(to.c_str());
    }
    return ok;
}

// ---- reading

long long readFileHead(const std::string& path, char* buffer, std::size_t size, Known known) {
    // The stat keeps devices and FIFOs closed. After a folder listing has said the same
    // a moment ago it is spared: asking again would narrow, not close, the window in
    // which the entry could be swapped, and O_NONBLOCK keeps even a FIFO swapped in from
    // blocking the read. A scan calls this for every candidate of a folder. For the same
    // reason there is no fstat after the open: only a whole-file reader needs one.
    if (known != Known::RegularFile) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            return -1;
        }
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return -1;
    }
    std::size_t got = 0;
    while (got < size) {
        const long long n = readSome(fd, buffer + got, size - got);
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return static_cast<long long>(got);
}

// ---- ReadableFile

ReadableFile::~ReadableFile() {
    close();
}

ReadableFile::ReadableFile(ReadableFile&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), size_(other.size_) {}

ReadableFile& ReadableFile::operator=(ReadableFile&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, -1);
        size_ = other.size_;
    }
    return *this;
}

bool ReadableFile::open(const std::string& path) {
    close();
    struct stat st {};
    const int fd = openRegular(path, st);
    if (fd < 0) {
        return false;
    }
    handle_ = fd;
    size_ = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool ReadableFile::isOpen() const {
    return handle_ >= 0;
}

long long ReadableFile::read(char* buffer, std::size_t size) {
    return handle_ < 0 ? -1 : readSome(static_cast<int>(handle_), buffer, size);
}

std::uint64_t ReadableFile::size() const {
    return size_;
}

void ReadableFile::close() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
        size_ = 0;
    }
}

// ---- AtomicFile

AtomicFile::AtomicFile(std::string finalPath) : finalPath_(std::move(finalPath)) {}
AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::open() {
    discard();
    // Through a link, the file it names is the one replaced, as writing in place would.
    struct stat st {};
    if (::lstat(finalPath_.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(finalPath_.c_str(), nullptr)) {
            finalPath_ = real;
            ::free(real);
        }
    }
    // A short fixed name, so that a final name near the length limit still gets one.
    const std::size_t slash = finalPath_.rfind('/');
    std::string pattern =
        (slash == std::string::npos ? std::string() : finalPath_.substr(0, slash + 1)) +
        ".mpmgr-XXXXXX";
    const int fd = ::mkostemp(&pattern[0], O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    handle_ = fd;
    tempPath_ = pattern;
    // mkostemp gives 0600; the result gets the old file's owner and mode, else the usual
    // mode. Only root may give a file away: for anyone else it stays the writer's own.
    if (::stat(finalPath_.c_str(), &st) == 0) {
        [[maybe_unused]] const int owned = ::fchown(fd, st.st_uid, st.st_gid);
        ::fchmod(fd, st.st_mode & 0777);
    } else {
        const mode_t mask = ::umask(0); // the mask can only be read by setting it
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    return true;
}

bool AtomicFile::write(const char* data, std::size_t size) {
    return handle_ >= 0 && writeAll(static_cast<int>(handle_), data, size);
}

bool AtomicFile::commit() {
    if (handle_ < 0) {
        return false;
    }
    const int fd = static_cast<int>(std::exchange(handle_, -1));
    const bool synced = ::fsync(fd) == 0;
    if (::close(fd) != 0 || !synced || ::rename(tempPath_.c_str(), finalPath_.c_str()) != 0) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
        return false;
    }
    tempPath_.clear();
    syncFolderOf(finalPath_);
    return true;
}

void AtomicFile::discard() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}

} // namespace mp::platform
