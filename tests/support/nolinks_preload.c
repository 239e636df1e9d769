// Preloaded into the core tests to make any folder behave as FAT mounted through FUSE:
// no rename that refuses an existing name (renameat2 gives EINVAL), no hard links (link
// and linkat give EPERM) and no unnamed files (O_TMPFILE gives EOPNOTSUPP). Linux only.
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <sys/syscall.h>
#include <unistd.h>

int renameat2(int olddirfd, const char* oldpath, int newdirfd, const char* newpath,
              unsigned int flags) {
    (void)olddirfd, (void)oldpath, (void)newdirfd, (void)newpath, (void)flags;
    errno = EINVAL;
    return -1;
}

int link(const char* oldpath, const char* newpath) {
    (void)oldpath, (void)newpath;
    errno = EPERM;
    return -1;
}

int linkat(int olddirfd, const char* oldpath, int newdirfd, const char* newpath, int flags) {
    (void)olddirfd, (void)oldpath, (void)newdirfd, (void)newpath, (void)flags;
    errno = EPERM;
    return -1;
}

// Every other open goes straight to the system call, as glibc's own open does.
static int openWithout(int dirfd, const char* path, int flags, va_list args) {
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(args, int) : 0;
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return (int)syscall(SYS_openat, dirfd, path, flags, mode);
}

#define OPEN_WITHOUT_TMPFILE(name)                                                                 \
    int name(const char* path, int flags, ...) {                                                   \
        va_list args;                                                                              \
        va_start(args, flags);                                                                     \
        const int fd = openWithout(AT_FDCWD, path, flags, args);                                   \
        va_end(args);                                                                              \
        return fd;                                                                                 \
    }
OPEN_WITHOUT_TMPFILE(open)
OPEN_WITHOUT_TMPFILE(open64)
