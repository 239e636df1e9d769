#pragma once
// A fresh folder for one test, removed with everything in it afterwards, and the few
// file helpers the core tests share. They make the system's own calls, not the core's
// FileSystem, so that a test sees what is really on the disk. Paths are joined with the
// platform's separator, as the core joins them; on Windows they are UTF-8, as the core
// holds them.

#include "masterpoint/Error.h"
#include "masterpoint/FileName.h"
#include "masterpoint/FileSystem.h"
#include "masterpoint/ListEntry.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef _WIN32
namespace testfs {

// The path for the wide calls; a long one in the system's full form and with the
// prefix that lifts MAX_PATH.
inline std::wstring wide(const std::string& path) {
    const int size = static_cast<int>(path.size());
    std::wstring text(::MultiByteToWideChar(CP_UTF8, 0, path.data(), size, nullptr, 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, path.data(), size, &text[0], static_cast<int>(text.size()));
    if (text.size() < MAX_PATH - 12 || text.rfind(L"\\\\?\\", 0) == 0) {
        return text;
    }
    std::wstring full(::GetFullPathNameW(text.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(
        ::GetFullPathNameW(text.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr));
    return L"\\\\?\\" + full;
}

inline std::string utf8(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    std::string bytes(
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, &bytes[0], static_cast<int>(bytes.size()),
                          nullptr, nullptr);
    return bytes;
}

inline DWORD attributesOf(const std::string& path) {
    return ::GetFileAttributesW(wide(path).c_str());
}

// Every name in folder but "." and "..", with its attribute word.
inline std::map<std::string, DWORD> entriesOf(const std::string& folder) {
    std::map<std::string, DWORD> entries;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            entries[utf8(name)] = found.dwFileAttributes;
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return entries;
}

inline void removeTree(const std::string& folder) {
    for (const auto& [name, attributes] : entriesOf(folder)) {
        const std::string path = folder + "\\" + name;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            removeTree(path);
        } else {
            ::SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(wide(path).c_str());
        }
    }
    ::SetFileAttributesW(wide(folder).c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(wide(folder).c_str());
}

// FILETIME counts tenths of a microsecond from 1601.
constexpr std::int64_t kUnixEpoch = 116444736000000000;

} // namespace testfs
#endif

class TempDir {
public:
    TempDir() {
#ifdef _WIN32
        wchar_t base[MAX_PATH + 1];
        const DWORD size = ::GetTempPathW(MAX_PATH + 1, base);
        static unsigned made = 0;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::wstring folder = std::wstring(base, size) + L"mpcore-" +
                                        std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                        std::to_wstring(++made);
            if (::CreateDirectoryW(folder.c_str(), nullptr)) {
                path_ = testfs::utf8(folder);
                return;
            }
        }
        throw std::runtime_error("cannot make a temporary folder");
#else
        char pattern[] = "/tmp/mpcore-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
#endif
    }
    ~TempDir() {
#ifdef _WIN32
        testfs::removeTree(path_);
#else
        ::nftw(
            path_.c_str(),
            [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
            FTW_DEPTH | FTW_PHYS);
#endif
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const {
        return path_;
    }
    std::string operator/(const std::string& name) const {
        return path_ + mp::kSeparator + name;
    }

    // Writes bytes to the file name, made or emptied first, and dates it ten seconds
    // back: a file its writer is done with (commands leave one changed in the last second
    // alone). writeNow leaves it dated now, as a file still being written.
    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string p = writeNow(name, bytes);
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::last_write_time(fs::u8path(p),
                            fs::file_time_type::clock::now() - std::chrono::seconds(10), ignored);
        return p;
    }
    std::string writeNow(const std::string& name, const std::string& bytes) const {
        const std::string p = *this / name;
#ifdef _WIN32
        // Opened as it is rather than created afresh, which a hidden file refuses.
        const HANDLE file = ::CreateFileW(testfs::wide(p).c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ::SetEndOfFile(file);
            ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            ::CloseHandle(file);
        }
#else
        std::ofstream(p, std::ios::binary) << bytes;
#endif
        return p;
    }
    std::string mkdir(const std::string& name) const {
        const std::string p = *this / name;
#ifdef _WIN32
        ::CreateDirectoryW(testfs::wide(p).c_str(), nullptr);
#else
        ::mkdir(p.c_str(), 0755);
#endif
        return p;
    }

    // Every name in the folder but "." and "..".
    std::set<std::string> names() const {
        return namesIn(path_);
    }

    // Every regular file of the folder (or link to one) with its bytes. Folders, FIFOs
    // and dangling links are left out: names() has them.
    std::map<std::string, std::string> files() const;

    static std::set<std::string> namesIn(const std::string& folder) {
        std::set<std::string> names;
#ifdef _WIN32
        for (const auto& entry : testfs::entriesOf(folder)) {
            names.insert(entry.first);
        }
#else
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (const dirent* e = ::readdir(dir)) {
                const std::string n = e->d_name;
                if (n != "." && n != "..") {
                    names.insert(n);
                }
            }
            ::closedir(dir);
        }
#endif
        return names;
    }

private:
    std::string path_;
};

// The whole content of a file; "<missing>" when it cannot be read.
inline std::string readAll(const std::string& path) {
#ifdef _WIN32
    const HANDLE file = ::CreateFileW(testfs::wide(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    std::string bytes;
    char buffer[1 << 16];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    ::CloseHandle(file);
    return bytes;
#else
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
#endif
}

// A file's modification time, in seconds and nanoseconds since 1970.
struct FileTime {
    std::int64_t seconds = 0;
    long nanoseconds = 0;
    bool operator==(const FileTime& other) const {
        return seconds == other.seconds && nanoseconds == other.nanoseconds;
    }
};

// Sets a file's modification time, to the 100 ns that every platform keeps; true when
// it was set.
inline bool setModifiedTime(const std::string& path, FileTime time) {
#ifdef _WIN32
    const std::int64_t ticks =
        time.seconds * 10000000 + time.nanoseconds / 100 + testfs::kUnixEpoch;
    const FILETIME written{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    const HANDLE file = ::CreateFileW(testfs::wide(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool set = ::SetFileTime(file, nullptr, nullptr, &written);
    ::CloseHandle(file);
    return set;
#else
    const struct timespec times[2] = {{0, UTIME_OMIT}, {time.seconds, time.nanoseconds}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
#endif
}

inline FileTime modifiedTime(const std::string& path) {
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(testfs::wide(path).c_str(), GetFileExInfoStandard, &data)) {
        return {};
    }
    const std::int64_t ticks =
        (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) +
        data.ftLastWriteTime.dwLowDateTime - testfs::kUnixEpoch;
    return {ticks / 10000000, static_cast<long>(ticks % 10000000) * 100};
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return {};
    }
    return {st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
#endif
}

// Takes the right to write the file away from its owner: mode 0444, or the read-only
// attribute.
inline void makeReadOnly(const std::string& path) {
#ifdef _WIN32
    ::SetFileAttributesW(testfs::wide(path).c_str(),
                         testfs::attributesOf(path) | FILE_ATTRIBUTE_READONLY);
#else
    ::chmod(path.c_str(), 0444);
#endif
}

// Every file of a folder with its bytes, by name.
using Files = std::map<std::string, std::string>;

// The scan's entry of fileName, ticked as given.
inline mp::ListEntry ticked(const std::string& fileName, int kind, bool tick = true) {
    mp::ListEntry entry = mp::ListEntry::forFile(fileName, kind);
    entry.ticked = tick;
    return entry;
}

// Bytes that pass the validity test and also tell the files apart.
inline std::string valid(const std::string& tag) {
    return "0123456001250" + tag + "\r\n";
}

// The message of the mp::Error that fn throws; empty when it throws none.
template <typename Fn> std::string errorOf(Fn fn) {
    try {
        fn();
    } catch (const mp::Error& e) {
        return e.what();
    }
    return {};
}

// How a message words the reason for a file that is not there: the system's own text.
inline std::string missingFileReason() {
#ifdef _WIN32
    TempDir dir;
    mp::FileHandle file;
    mp::FileStamp stamp;
    return mp::describe(mp::FileSystem::system().openForReading(dir / "missing", file, stamp));
#else
    return "no such file or directory";
#endif
}

inline std::map<std::string, std::string> TempDir::files() const {
    std::map<std::string, std::string> files;
    for (const std::string& name : names()) {
#ifdef _WIN32
        const DWORD attributes = testfs::attributesOf(*this / name);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            files[name] = readAll(*this / name);
        }
#else
        struct stat st {};
        if (::stat((*this / name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            files[name] = readAll(*this / name);
        }
#endif
    }
    return files;
}
