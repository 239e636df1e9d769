#include "masterpoint/ReadableFile.h"

#include "masterpoint/ChangedWhileRead.h"

namespace mp {

std::error_code ReadableFile::open(const std::string& path) {
    handle_.reset();
    path_ = path;
    stamp_ = FileStamp();
    sum_ = 0;
    read_ = 0;
    const std::error_code error = fileSystem_->openForReading(path, handle_, stamp_);
    confirm_ = !error && !fileSystem_->timesAreTrusted(handle_);
    return error;
}

std::error_code ReadableFile::read(char* buffer, std::size_t size, std::size_t& got) {
    if (!handle_.isOpen()) {
        got = 0;
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    const std::error_code error = fileSystem_->read(handle_, buffer, size, got);
    if (confirm_ && !error) {
        sum_ = checksum(sum_, buffer, got);
        read_ += got;
    }
    return error;
}

std::uint64_t ReadableFile::checksum(std::uint64_t sum, const char* bytes, std::size_t size) {
    // FNV-1a over the bytes: a rewrite that a second read sees differently is told
    // apart beyond any practical doubt; nothing here is chosen by an adversary.
    for (std::size_t i = 0; i < size; ++i) {
        sum = (sum ^ static_cast<unsigned char>(bytes[i])) * 0x100000001b3ULL;
    }
    return sum;
}

std::error_code ReadableFile::confirmByRereading() {
    // Only bytes that went through read() were summed; a file copied in the kernel is
    // not confirmed this way.
    if (read_ != stamp_.size) {
        return {};
    }
    FileHandle again;
    FileStamp stamp;
    if (const std::error_code error = fileSystem_->openForReading(path_, again, stamp)) {
        return error == std::errc::no_such_file_or_directory ? changedWhileRead() : error;
    }
    std::uint64_t sum = 0;
    std::uint64_t total = 0;
    char buffer[1 << 16];
    for (;;) {
        std::size_t got = 0;
        if (const std::error_code error = fileSystem_->read(again, buffer, sizeof buffer, got)) {
            return error;
        }
        if (got == 0) {
            break;
        }
        sum = checksum(sum, buffer, got);
        total += got;
    }
    return total == read_ && sum == sum_ ? std::error_code() : changedWhileRead();
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
    if (now != stamp_ || named != stamp_) {
        return changedWhileRead();
    }
    return confirm_ ? confirmByRereading() : std::error_code();
}

} // namespace mp
