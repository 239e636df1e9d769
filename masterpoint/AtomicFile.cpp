#include "masterpoint/AtomicFile.h"

#include "masterpoint/FileName.h"

namespace mp {

namespace {

// The folder part of a path with its separator, or empty for a bare name.
std::string folderOf(const std::string& path) {
    const std::size_t brk = path.find_last_of(kPathBreaks);
    return brk == std::string::npos ? std::string() : path.substr(0, brk + 1);
}

} // namespace

AtomicFile::AtomicFile(std::string finalPath, FileSystem& fileSystem)
    : fileSystem_(fileSystem), finalPath_(std::move(finalPath)) {}

AtomicFile::~AtomicFile() {
    discard();
}

std::error_code AtomicFile::open() {
    discard();
    return fileSystem_.createTemporary(folderOf(finalPath_), finalPath_, handle_, tempPath_);
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
