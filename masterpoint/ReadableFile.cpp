#include "masterpoint/ReadableFile.h"

#include "masterpoint/ChangedWhileRead.h"

namespace mp {

std::error_code ReadableFile::open(const std::string& path) {
    handle_.reset();
    path_ = path;
    stamp_ = FileStamp();
    return fileSystem_->openForReading(path, handle_, stamp_);
}

std::error_code ReadableFile::read(char* buffer, std::size_t size, std::size_t& got) {
    if (!handle_.isOpen()) {
        got = 0;
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    return fileSystem_->read(handle_, buffer, size, got);
}

std::error_code ReadableFile::checkUnchanged() {
    if (!handle_.isOpen()) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    // The open file tells a rewrite in place; the path tells a new file renamed over the
    // old one, which leaves the open one as it was.
    FileStamp now;
    if (const std::error_code error = fileSystem_->stampOf(handle_, now)) {
        return error;
    }
    FileStamp named;
    if (const std::error_code error = fileSystem_->stampAt(path_, named)) {
        return error == std::errc::no_such_file_or_directory ? changedWhileRead() : error;
    }
    return now == stamp_ && named == stamp_ ? std::error_code() : changedWhileRead();
}

} // namespace mp
