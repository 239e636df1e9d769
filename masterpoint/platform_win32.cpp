// The file system on Windows, through the wide-character API. The core holds paths as
// UTF-8; they become UTF-16 here, at the call, so that a name outside the user's code
// page still reaches its file, and names found in a folder come back the same way.

#include "masterpoint/FileName.h"
#include "masterpoint/FileSystem.h"
#include "masterpoint/TemporaryName.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace mp {

void FileHandle::reset(Native native) {
    if (native_ != kInvalid) {
        ::CloseHandle(reinterpret_cast<HANDLE>(native_));
    }
    native_ = native;
}

namespace {

// The system's error numbers, told in UTF-8 as every other text of the core is (the
// standard library's system category speaks the ANSI code page), and compared with
// the portable conditions (file_exists, no_such_file_or_directory, ...) exactly as the
// standard library's system category compares them.
class WindowsCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "windows"; }

    std::error_condition default_error_condition(int code) const noexcept override {
        return std::system_category().default_error_condition(code);
    }

    std::string message(int code) const override;
};

const std::error_category& windowsCategory() {
    static const WindowsCategory category;
    return category;
}

std::error_code systemError(DWORD code) {
    return {static_cast<int>(code), windowsCategory()};
}

std::error_code lastError() {
    return systemError(::GetLastError());
}

HANDLE handleOf(const FileHandle& file) {
    return reinterpret_cast<HANDLE>(file.native());
}

FileHandle::Native nativeOf(HANDLE handle) {
    return reinterpret_cast<FileHandle::Native>(handle);
}

// UTF-16 to UTF-8. A lone surrogate, which a name on NTFS may hold, is written as the
// three bytes that UTF-8 would give its number, and toWide reads it back: every name a
// listing gives reaches its file again.
std::string toUtf8(const wchar_t* wide, std::size_t size) {
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        auto code = static_cast<std::uint32_t>(static_cast<std::uint16_t>(wide[i]));
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < size) {
            const auto low = static_cast<std::uint32_t>(static_cast<std::uint16_t>(wide[i + 1]));
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | (code >> 6));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            text += static_cast<char>(0xE0 | (code >> 12));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (code >> 18));
            text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return text;
}

// UTF-8 to UTF-16; false for bytes that are not such text, and for a NUL, which would
// cut the path short and name another file.
bool toWide(const std::string& text, std::wstring& wide) {
    wide.clear();
    wide.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    while (p < end) {
        const unsigned lead = *p;
        if (lead == 0) {
            return false;
        }
        if (lead < 0x80) {
            wide += static_cast<wchar_t>(lead);
            ++p;
            continue;
        }
        // The count of bytes that follow the lead, and the least number that needs them.
        int more = 0;
        std::uint32_t least = 0;
        if ((lead & 0xE0) == 0xC0) {
            more = 1;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            more = 2;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            more = 3;
            least = 0x10000;
        } else {
            return false;
        }
        std::uint32_t code = lead & (0x3Fu >> more);
        if (end - p <= more) {
            return false;
        }
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < least || code > 0x10FFFF) {
            return false;
        }
        p += more + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            wide += static_cast<wchar_t>(0xD800 + (code >> 10));
            wide += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(code);
        }
    }
    return true;
}

std::string WindowsCategory::message(int code) const {
    wchar_t* buffer = nullptr;
    const DWORD size = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (size == 0 || buffer == nullptr) {
        return "error " + std::to_string(static_cast<unsigned long>(code));
    }
    std::string text = toUtf8(buffer, size);
    ::LocalFree(buffer);
    // The system's sentence ends in a full stop and a line break; strerror's do not.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' ||
                             text.back() == '.')) {
        text.pop_back();
    }
    return text;
}

// The path as the wide calls take it. A path near MAX_PATH or past it is made whole by
// the system (separators, "." and "..", the current folder) and given the \\?\ prefix,
// which lifts the limit; a shorter one is passed as it stands, so that it means exactly
// what it means to every other program.
std::error_code widePath(const std::string& path, std::wstring& wide) {
    if (!toWide(path, wide)) {
        return systemError(ERROR_INVALID_NAME);
    }
    // CreateDirectoryW's limit, the lowest of the calls made on these paths.
    constexpr std::size_t kLongPath = MAX_PATH - 12;
    if (wide.size() < kLongPath || wide.rfind(L"\\\\?\\", 0) == 0 ||
        wide.rfind(L"\\\\.\\", 0) == 0) {
        return {};
    }
    std::wstring full(wide.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
        if (n == 0) {
            return lastError();
        }
        if (n < full.size()) {
            full.resize(n);
            break;
        }
        full.resize(n); // too short: n is the size that is needed
    }
    if (full.rfind(L"\\\\?\\", 0) == 0 || full.rfind(L"\\\\.\\", 0) == 0) {
        wide = std::move(full);
    } else if (full.rfind(L"\\\\", 0) == 0) {
        wide = L"\\\\?\\UNC\\" + full.substr(2); // \\server\share\...
    } else {
        wide = L"\\\\?\\" + full;
    }
    return {};
}

bool isPathBreak(char c) {
    return std::strchr(kPathBreaks, c) != nullptr;
}

// The attributes of the entry at path, and its name as the system takes it.
std::error_code attributesAt(const std::string& path, std::wstring& wide, DWORD& attributes) {
    if (const std::error_code error = widePath(path, wide)) {
        return error;
    }
    attributes = ::GetFileAttributesW(wide.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? lastError() : std::error_code();
}

// Why a folder could not be searched. The search's own error says little: a folder that
// is not there, a file in its place (the directory-name error, or under Wine the
// invalid-name one) or a drive root without entries all fail the first search. So the
// folder itself is asked, and a file in its place is said as POSIX says it.
std::error_code whyNotListed(std::string folder, DWORD searchError) {
    while (folder.size() > 1 && isPathBreak(folder.back()) && folder[folder.size() - 2] != ':') {
        folder.pop_back();
    }
    std::wstring wide;
    DWORD attributes = 0;
    if (const std::error_code error = attributesAt(folder, wide, attributes)) {
        return error;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return std::make_error_code(std::errc::not_a_directory);
    }
    return searchError == ERROR_FILE_NOT_FOUND ? std::error_code() : systemError(searchError);
}

// Opens a file for reading; a folder (is_a_directory, as on POSIX), a device or a pipe
// (invalid_argument) is refused. share says what others may do while it is open.
std::error_code openRegular(const std::string& path, DWORD share, FileHandle& file) {
    std::wstring wide;
    if (const std::error_code error = widePath(path, wide)) {
        return error;
    }
    FileHandle opened(nativeOf(::CreateFileW(wide.c_str(), GENERIC_READ, share, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
    if (!opened.isOpen()) {
        const DWORD error = ::GetLastError();
        // A folder cannot be opened as a file: the call says only that access is denied.
        if (error == ERROR_ACCESS_DENIED) {
            const DWORD attributes = ::GetFileAttributesW(wide.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                return std::make_error_code(std::errc::is_a_directory);
            }
        }
        return systemError(error);
    }
    // NUL, CON, COM1 and the like open as devices wherever they are named.
    if (::GetFileType(handleOf(opened)) != FILE_TYPE_DISK) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    file = std::move(opened);
    return {};
}

// One call moves at most this much: the calls count bytes in a DWORD.
constexpr std::size_t kMostPerCall = std::size_t{1} << 30;

std::error_code readSome(HANDLE file, char* buffer, std::size_t size, std::size_t& got) {
    DWORD n = 0;
    const auto ask = static_cast<DWORD>(size < kMostPerCall ? size : kMostPerCall);
    if (!::ReadFile(file, buffer, ask, &n, nullptr)) {
        got = 0;
        const DWORD error = ::GetLastError();
        return error == ERROR_HANDLE_EOF ? std::error_code() : systemError(error);
    }
    got = n;
    return {};
}

std::error_code writeAll(HANDLE file, const char* data, std::size_t size) {
    while (size > 0) {
        DWORD n = 0;
        const auto give = static_cast<DWORD>(size < kMostPerCall ? size : kMostPerCall);
        if (!::WriteFile(file, data, give, &n, nullptr)) {
            return lastError();
        }
        data += n;
        size -= n;
    }
    return {};
}

// The attributes a new file takes from the one it copies or replaces. A replacement
// does not take read-only: Windows refuses to replace a read-only file in any case, and
// the temporary file must stay removable.
constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                    FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr DWORD kLentAttributes = kCopiedAttributes & ~DWORD{FILE_ATTRIBUTE_READONLY};

DWORD creationAttributes(DWORD attributes) {
    return attributes != 0 ? attributes : DWORD{FILE_ATTRIBUTE_NORMAL};
}

std::int64_t ticksOf(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) |
                                     time.dwLowDateTime);
}

std::error_code stampFrom(HANDLE file, FileStamp& stamp) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info)) {
        return lastError();
    }
    stamp.device = info.dwVolumeSerialNumber;
    stamp.file = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    stamp.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    // In the 100 ns ticks that the system counts, from 1601; the stamp counts from 1970,
    // as the wall clock of the standard library does.
    constexpr std::int64_t kTicksTo1970 = 116444736000000000;
    const std::int64_t ticks = ticksOf(info.ftLastWriteTime) - kTicksTo1970;
    stamp.modifiedSeconds = ticks / 10000000;
    stamp.modifiedNanoseconds = ticks % 10000000 * 100;
    return {};
}

class WindowsFileSystem : public FileSystem {
public:
    std::error_code listFolder(const std::string& folder, std::vector<DirEntry>& entries) override {
        entries.clear();
        if (folder.empty()) {
            return std::make_error_code(std::errc::no_such_file_or_directory);
        }
        std::string pattern = folder;
        if (!isPathBreak(pattern.back())) {
            pattern += kSeparator;
        }
        pattern += '*';
        std::wstring wide;
        if (const std::error_code error = widePath(pattern, wide)) {
            return error;
        }
        WIN32_FIND_DATAW found;
        const HANDLE search =
            ::FindFirstFileExW(wide.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                               nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (search == INVALID_HANDLE_VALUE) {
            return whyNotListed(folder, ::GetLastError());
        }
        const std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> closer(search, ::FindClose);
        do {
            const wchar_t* name = found.cFileName;
            if (name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'))) {
                continue;
            }
            // The system's own word, whole: the scan tells "only this attribute" from
            // "this and more".
            entries.push_back({toUtf8(name, std::wcslen(name)), found.dwFileAttributes});
        } while (::FindNextFileW(search, &found));
        const DWORD error = ::GetLastError();
        return error == ERROR_NO_MORE_FILES ? std::error_code() : systemError(error);
    }

    std::error_code readHead(const std::string& path, char* buffer, std::size_t size,
                             Known /*known*/, std::size_t& got) override {
        got = 0;
        // No FIFO can stand in a folder here, so what the caller knows spares nothing.
        // Other programs may go on reading and writing the file meanwhile.
        FileHandle file;
        if (const std::error_code error =
                openRegular(path, FILE_SHARE_READ | FILE_SHARE_WRITE, file)) {
            return error;
        }
        while (got < size) {
            std::size_t n = 0;
            if (readSome(handleOf(file), buffer + got, size - got, n) || n == 0) {
                break; // short or unreadable: the caller sees fewer bytes
            }
            got += n;
        }
        return {};
    }

    std::error_code openForReading(const std::string& path, FileHandle& file,
                                   FileStamp& stamp) override {
        stamp = FileStamp();
        // Other readers are let in; a writer is refused for as long as the file is open,
        // so that what is read is one version of it.
        FileHandle opened;
        if (const std::error_code error = openRegular(path, FILE_SHARE_READ, opened)) {
            return error;
        }
        if (const std::error_code error = stampFrom(handleOf(opened), stamp)) {
            return error;
        }
        file = std::move(opened);
        return {};
    }

    std::error_code read(FileHandle& file, char* buffer, std::size_t size,
                         std::size_t& got) override {
        return readSome(handleOf(file), buffer, size, got);
    }

    std::error_code stampOf(FileHandle& file, FileStamp& stamp) override {
        return stampFrom(handleOf(file), stamp);
    }

    std::error_code stampAt(const std::string& path, FileStamp& stamp) override {
        std::wstring wide;
        if (const std::error_code error = widePath(path, wide)) {
            return error;
        }
        // Only the attributes are asked for, so that no one's sharing refuses it; a
        // folder opens with the backup flag.
        FileHandle file(
            nativeOf(::CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
        if (!file.isOpen()) {
            return lastError();
        }
        return stampFrom(handleOf(file), stamp);
    }

    std::error_code typeAt(const std::string& path, EntryType& type) override {
        std::wstring wide;
        DWORD attributes = 0;
        if (const std::error_code error = attributesAt(path, wide, attributes)) {
            return error;
        }
        type = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? EntryType::Link
               : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0   ? EntryType::Folder
               : (attributes & FILE_ATTRIBUTE_DEVICE) != 0      ? EntryType::Other
                                                                : EntryType::RegularFile;
        return {};
    }

    std::error_code createTemporary(const std::string& folder, const std::string& likePath,
                                    TemporaryUse use, FileHandle& file,
                                    std::string& path) override {
        // The file takes the attributes of the regular file it will replace; a link or a
        // folder lends nothing.
        DWORD attributes = 0;
        std::wstring like;
        DWORD found = 0;
        const bool lends = !attributesAt(likePath, like, found) &&
                           (found & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                                     FILE_ATTRIBUTE_DEVICE)) == 0;
        if (lends) {
            attributes = found & kLentAttributes;
        }
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string candidate = folder + temporaryName(use);
            std::wstring wide;
            if (const std::error_code error = widePath(candidate, wide)) {
                return error;
            }
            file.reset(nativeOf(::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                              creationAttributes(attributes), nullptr)));
            if (file.isOpen()) {
                path = std::move(candidate);
                return {};
            }
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
                return systemError(error);
            }
        }
        return systemError(ERROR_FILE_EXISTS);
    }

    std::error_code nameTemporary(FileHandle&, const std::string&) override {
        // Every temporary file here is made with its name.
        return std::make_error_code(std::errc::operation_not_supported);
    }

    std::error_code removeAbandoned(const std::string& path) override {
        std::wstring wide;
        if (const std::error_code error = widePath(path, wide)) {
            return error;
        }
        WIN32_FILE_ATTRIBUTE_DATA found{};
        if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &found)) {
            return lastError();
        }
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                                       FILE_ATTRIBUTE_DEVICE)) != 0) {
            return std::make_error_code(std::errc::invalid_argument);
        }
        // A writer at work touches its file; one idle for so long is gone or stuck.
        FILETIME now{};
        ::GetSystemTimeAsFileTime(&now);
        if (ticksOf(now) - ticksOf(found.ftLastWriteTime) <
            kAbandonedAfterSeconds * std::int64_t{10000000}) {
            return std::make_error_code(std::errc::device_or_resource_busy);
        }
        // A writer opens its temporary file sharing nothing, so the system refuses to
        // delete it for as long as the writer has it open. (Who owns the file is not
        // asked: on NTFS that is often the Administrators group rather than the user.)
        return ::DeleteFileW(wide.c_str()) ? std::error_code() : lastError();
    }

    std::error_code write(FileHandle& file, const char* data, std::size_t size) override {
        return writeAll(handleOf(file), data, size);
    }

    std::error_code copyData(FileHandle& from, FileHandle& to) override {
        constexpr std::size_t kBuffer = std::size_t{1} << 18;
        const std::unique_ptr<char[]> buffer(new char[kBuffer]);
        for (;;) {
            std::size_t n = 0;
            if (const std::error_code error = readSome(handleOf(from), buffer.get(), kBuffer, n)) {
                return error;
            }
            if (n == 0) {
                return {};
            }
            if (const std::error_code error = writeAll(handleOf(to), buffer.get(), n)) {
                return error;
            }
        }
    }

    void copyTimeAndMode(FileHandle& from, FileHandle& to) override {
        // A copy keeps its source's attributes, read-only and hidden among them.
        FILE_BASIC_INFO source{};
        if (::GetFileInformationByHandleEx(handleOf(from), FileBasicInfo, &source, sizeof source)) {
            FILE_BASIC_INFO copied{}; // a time of 0 is left as it is
            copied.LastWriteTime = source.LastWriteTime;
            copied.FileAttributes = creationAttributes(source.FileAttributes & kCopiedAttributes);
            ::SetFileInformationByHandle(handleOf(to), FileBasicInfo, &copied, sizeof copied);
        }
    }

    std::error_code sync(FileHandle& file) override {
        return ::FlushFileBuffers(handleOf(file)) ? std::error_code() : lastError();
    }

    std::error_code syncAll(const std::vector<FileHandle*>& files) override {
        // No call flushes a whole volume without the administrator's rights: each file
        // in turn, once all are written.
        std::error_code first;
        for (FileHandle* file : files) {
            if (!::FlushFileBuffers(handleOf(*file)) && !first) {
                first = lastError();
            }
        }
        return first;
    }

    std::size_t mostOpenFiles() override {
        return std::size_t{1} << 14; // handles are bounded by memory alone
    }

    std::error_code close(FileHandle& file) override {
        return ::CloseHandle(reinterpret_cast<HANDLE>(file.release())) ? std::error_code()
                                                                       : lastError();
    }

    std::error_code renameNoReplace(const std::string& from, const std::string& to) override {
        return move(from, to, MOVEFILE_WRITE_THROUGH);
    }

    std::error_code replace(FileHandle& file, const std::string& from,
                            const std::string& to) override {
        // An open file that shares nothing cannot be renamed: the writer lets it go just
        // before. Its clean-up by another writer waits for the file to be an hour old.
        file.reset();
        return move(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }

    std::error_code placeNew(FileHandle& file, const std::string& from,
                             const std::string& to) override {
        file.reset(); // as for replace()
        return renameNoReplace(from, to);
    }

    std::error_code placeNewUnsynced(FileHandle& file, const std::string& from,
                                     const std::string& to) override {
        // The rename is written through, as the folder cannot be synced here.
        if (const std::error_code error = placeNew(file, from, to)) {
            return error;
        }
        // Opened again for its time and attributes, which come once it has its name.
        std::wstring wide;
        if (!widePath(to, wide)) {
            file.reset(
                nativeOf(::CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr)));
        }
        return {};
    }

    std::error_code syncFolder(const std::string& /*folder*/) override {
        return {}; // every rename into it was written through
    }

    std::error_code remove(const std::string& path) override {
        std::wstring wide;
        if (const std::error_code error = widePath(path, wide)) {
            return error;
        }
        if (::DeleteFileW(wide.c_str())) {
            return {};
        }
        const std::error_code error = lastError();
        // Only our own files are removed: a copy that failed may have been made
        // read-only after its source, which the system will not delete as it is.
        const DWORD attributes = ::GetFileAttributesW(wide.c_str());
        if (error.value() != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES ||
            (attributes & FILE_ATTRIBUTE_READONLY) == 0 ||
            !::SetFileAttributesW(wide.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY})) {
            return error;
        }
        if (::DeleteFileW(wide.c_str())) {
            return {};
        }
        const std::error_code again = lastError();
        ::SetFileAttributesW(wide.c_str(), attributes);
        return again;
    }

private:
    // Without MOVEFILE_REPLACE_EXISTING the system refuses an existing name itself, in
    // one step, whatever its letter case. A rename within the folder replaces a link
    // itself rather than what it points to; write-through returns only once the change
    // is on the disk.
    static std::error_code move(const std::string& from, const std::string& to, DWORD how) {
        std::wstring wideFrom;
        std::wstring wideTo;
        if (const std::error_code error = widePaths(from, to, wideFrom, wideTo)) {
            return error;
        }
        return ::MoveFileExW(wideFrom.c_str(), wideTo.c_str(), how) ? std::error_code()
                                                                    : lastError();
    }

    static std::error_code widePaths(const std::string& from, const std::string& to,
                                     std::wstring& wideFrom, std::wstring& wideTo) {
        if (const std::error_code error = widePath(from, wideFrom)) {
            return error;
        }
        return widePath(to, wideTo);
    }
};

} // namespace

FileSystem& FileSystem::system() {
    static WindowsFileSystem fileSystem;
    return fileSystem;
}

} // namespace mp
