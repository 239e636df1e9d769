#include "masterpoint/AtomicFile.h"

#include "masterpoint/FileName.h"
#include "masterpoint/TemporaryName.h"

namespace mp {

namespace {

// The folder part of a path with its separator, or empty for a bare name.
std::string folderOf(const std::string& path) {
    const std::size_t brk = path.find_last_of(kPathBreaks);
    return brk == std::string::npos ? std::string() : path.substr(0, brk + 1);
}

} // namespace

AtomicFile::AtomicFile(std::string finalPath, FileSystem& fileSystem, TemporaryUse use)
    : fileSystem_(fileSystem), use_(use), finalPath_(std::move(finalPath)),
      folder_(folderOf(finalPath_)) {}

AtomicFile::~AtomicFile() {
    discard();
}

std::error_code AtomicFile::open(const std::string& likePath, bool clearAbandoned) {
    discard();
    if (clearAbandoned) {
        removeAbandonedTemporaries(folder_, fileSystem_);
    }
    return fileSystem_.createTemporary(folder_, likePath.empty() ? finalPath_ : likePath, use_,
                                       handle_, tempPath_);
}

std::error_code AtomicFile::write(const char* data, std::size_t size) {
    if (!handle_.isOpen()) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    return fileSystem_.write(handle_, data, size);
}

std::error_code AtomicFile::commit() {
    return finish(true);
}

std::error_code AtomicFile::commitNew() {
    return finish(false);
}

std::error_code AtomicFile::finish(bool replacing) {
    // A named file that commitNew() kept may have been let go already (Windows lets it go
    // before its rename): it was synced then, and is still put in place by its name.
    if (!handle_.isOpen() && tempPath_.empty()) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    // Every byte must be on the disk before the file takes its name: a write that only
    // fails at the sync (a full disk on a network volume) must not put a short file in
    // place, nor replace a good one with it.
    std::error_code error = handle_.isOpen() ? fileSystem_.sync(handle_) : std::error_code();
    if (!error && replacing && tempPath_.empty()) {
        // A rename over the final name needs a name to rename from.
        for (int attempt = 0; attempt == 0 || (error == std::errc::file_exists && attempt < 100);
             ++attempt) {
            tempPath_ = folder_ + temporaryName(use_);
            error = fileSystem_.nameTemporary(handle_, tempPath_);
        }
        if (error) {
            tempPath_.clear();
        }
    }
    if (!error) {
        // The file stays open, and held, until it has its final name: another writer's
        // clean-up never takes it for abandoned in between.
        error = replacing ? fileSystem_.replace(handle_, tempPath_, finalPath_)
                          : fileSystem_.placeNew(handle_, tempPath_, finalPath_);
    }
    if (error == std::errc::file_exists && !replacing) {
        return error; // kept: the caller may still choose to replace what took the name
    }
    if (error) {
        discard();
        return error;
    }
    tempPath_.clear();
    if (handle_.isOpen()) {
        // The bytes reached the disk at the sync and the file is in place: the close can
        // no longer lose any of them, so its answer changes nothing.
        fileSystem_.close(handle_);
    }
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
