#pragma once
// An open file of the system: a descriptor on POSIX, a HANDLE on Windows. It closes
// itself, quietly, when it goes; FileSystem::close closes it and reports the close's
// own error.

#include <cstdint>
#include <utility>

namespace mp {

class FileHandle {
public:
    using Native = std::intptr_t;
    static constexpr Native kInvalid = -1;

    FileHandle() = default;
    explicit FileHandle(Native native) : native_(native) {}
    ~FileHandle() { reset(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : native_(other.release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    bool isOpen() const { return native_ != kInvalid; }
    Native native() const { return native_; }
    // Gives up the handle without closing it.
    Native release() { return std::exchange(native_, kInvalid); }
    // Closes the handle held, if any, ignoring the close's result, and holds native.
    void reset(Native native = kInvalid);

private:
    Native native_ = kInvalid;
};

} // namespace mp
