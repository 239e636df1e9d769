#include "masterpoint/ReadableFile.h"

namespace mp {

std::error_code ReadableFile::open(const std::string& path) {
    handle_.reset();
    return fileSystem_->openForReading(path, handle_, size_);
}

std::error_code ReadableFile::read(char* buffer, std::size_t size, std::size_t& got) {
    if (!handle_.isOpen()) {
        got = 0;
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    return fileSystem_->read(handle_, buffer, size, got);
}

} // namespace mp
