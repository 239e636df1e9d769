#include "masterpoint/AtomicFile.h"

#include "masterpoint/FileName.h"

namespace mp {

namespace {

// The folder part of a path with its separator, or empty for a bare name.
std::string folderOf(const std::string& path) {
    const std::size_t brk = path.find_last_of(kPathBreaks);
    return brk == std::string::npos ? std::string() : path.substr(0, brk + 1);
}

// ".mpmgr-" and six letters or digits: the names the file systems give temporary files.
bool isTemporaryName(const std::string& name) {
    static const std::string kPrefix = ".mpmgr-";
    if (name.size() != kPrefix.size() + 6 || name.compare(0, kPrefix.size(), kPrefix) != 0) {
        return false;
    }
    for (std::size_t i = kPrefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

} // namespace

AtomicFile::AtomicFile(std::string finalPath, FileSystem& fileSystem)
    : fileSystem_(fileSystem), finalPath_(std::move(finalPath)), folder_(folderOf(finalPath_)) {}

AtomicFile::~AtomicFile() {
    discard();
}

std::error_code AtomicFile::open() {
    discard();
    removeAbandonedTemporaries();
    return fileSystem_.createTemporary(folder_, finalPath_, handle_, tempPath_);
}

// Housekeeping on the way: a folder that cannot be listed, or a file that cannot be
// removed, leaves the write to succeed or fail on its own.
void AtomicFile::removeAbandonedTemporaries() {
    std::vector<DirEntry> entries;
    if (fileSystem_.listFolder(folder_.empty() ? std::string(".") : folder_, entries)) {
        return;
    }
    for (const DirEntry& entry : entries) {
        if ((entry.attributes & Directory) == 0 && isTemporaryName(entry.name)) {
            fileSystem_.removeAbandoned(folder_ + entry.name);
        }
    }
}

std::error_code AtomicFile::write(const char* data, std::size_t size) {
    if (!handle_.isOpen()) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    return fileSystem_.write(handle_, data, size);
}

std::error_code AtomicFile::commit() {
    if (!handle_.isOpen()) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    // Every step must have worked before the old file is given up: a write that only
    // failed at the sync or the close (a full disk on a network volume) must not
    // replace it with a short one.
    std::error_code error = fileSystem_.sync(handle_);
    if (!error && tempPath_.empty()) {
        error = fileSystem_.nameTemporary(handle_, folder_, tempPath_);
    }
    const std::error_code closed = fileSystem_.close(handle_);
    if (!error) {
        error = closed;
    }
    if (!error) {
        error = fileSystem_.replace(tempPath_, finalPath_);
    }
    if (error) {
        discard();
        return error;
    }
    tempPath_.clear();
    return {};
}

void AtomicFile::discard() {
    handle_.reset();
    if (!tempPath_.empty()) {
        fileSystem_.remove(tempPath_);
        tempPath_.clear();
    }
}

} // namespace mp
