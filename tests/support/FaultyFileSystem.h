#pragma once
// The system's file system with chosen calls made to fail, so that a test can show what
// a command leaves behind when the disk fills up or a rename is refused halfway.
//
//   FaultyFileSystem fs;
//   fs.failOn(Call::Write, std::errc::no_space_on_device, 1); // the second write fails
//   fs.failOn(Call::CreateNew, std::errc::permission_denied, 0, "CLUB.GLD");
//
// Each armed fault fires once: on the matching call that follows `after` matching calls
// that went through. A call with paths matches when one of them contains pathPart (any
// call when pathPart is empty); a call without a path (Read, Write, CopyData, Sync,
// Close) matches by count alone. A failing CopyData first copies a few bytes, so that
// the destination really holds part of the file. A failing Close still closes.

#include "masterpoint/FileSystem.h"

#include <string>
#include <system_error>
#include <vector>

enum class Call {
    ListFolder,
    ReadHead,
    OpenForReading,
    Read,
    CreateNew,
    CreateTemporary,
    NameTemporary,
    RemoveAbandoned,
    Write,
    CopyData,
    Sync,
    Close,
    RenameNoReplace,
    Replace,
    Remove,
};

class FaultyFileSystem : public mp::FileSystem {
public:
    void failOn(Call call, std::errc error, int after = 0, std::string pathPart = {}) {
        faults_.push_back({call, std::make_error_code(error), after, std::move(pathPart)});
    }
    // How many armed faults have fired: a test checks its fault was reached.
    int fired() const { return fired_; }

    std::error_code listFolder(const std::string& folder,
                               std::vector<mp::DirEntry>& entries) override {
        if (const std::error_code error = injected(Call::ListFolder, folder)) {
            return error;
        }
        return real_.listFolder(folder, entries);
    }
    std::error_code readHead(const std::string& path, char* buffer, std::size_t size,
                             mp::Known known, std::size_t& got) override {
        got = 0;
        if (const std::error_code error = injected(Call::ReadHead, path)) {
            return error;
        }
        return real_.readHead(path, buffer, size, known, got);
    }
    std::error_code openForReading(const std::string& path, mp::FileHandle& file,
                                   std::uint64_t& size) override {
        if (const std::error_code error = injected(Call::OpenForReading, path)) {
            return error;
        }
        return real_.openForReading(path, file, size);
    }
    std::error_code read(mp::FileHandle& file, char* buffer, std::size_t size,
                         std::size_t& got) override {
        got = 0;
        if (const std::error_code error = injected(Call::Read)) {
            return error;
        }
        return real_.read(file, buffer, size, got);
    }
    std::error_code createNew(const std::string& path, const mp::FileHandle* modeOf,
                              mp::FileHandle& file) override {
        if (const std::error_code error = injected(Call::CreateNew, path)) {
            return error;
        }
        return real_.createNew(path, modeOf, file);
    }
    std::error_code createTemporary(const std::string& folder, const std::string& likePath,
                                    mp::FileHandle& file, std::string& path) override {
        if (const std::error_code error = injected(Call::CreateTemporary, likePath)) {
            return error;
        }
        return real_.createTemporary(folder, likePath, file, path);
    }
    std::error_code nameTemporary(mp::FileHandle& file, const std::string& folder,
                                  std::string& path) override {
        if (const std::error_code error = injected(Call::NameTemporary, folder)) {
            return error;
        }
        return real_.nameTemporary(file, folder, path);
    }
    std::error_code removeAbandoned(const std::string& path) override {
        if (const std::error_code error = injected(Call::RemoveAbandoned, path)) {
            return error;
        }
        return real_.removeAbandoned(path);
    }
    std::error_code write(mp::FileHandle& file, const char* data, std::size_t size) override {
        if (const std::error_code error = injected(Call::Write)) {
            return error;
        }
        return real_.write(file, data, size);
    }
    std::error_code copyData(mp::FileHandle& from, mp::FileHandle& to) override {
        if (const std::error_code error = injected(Call::CopyData)) {
            char some[4];
            std::size_t got = 0;
            if (!real_.read(from, some, sizeof some, got) && got > 0) {
                real_.write(to, some, got);
            }
            return error;
        }
        return real_.copyData(from, to);
    }
    void copyModificationTime(mp::FileHandle& from, mp::FileHandle& to) override {
        real_.copyModificationTime(from, to);
    }
    std::error_code sync(mp::FileHandle& file) override {
        if (const std::error_code error = injected(Call::Sync)) {
            return error;
        }
        return real_.sync(file);
    }
    std::error_code close(mp::FileHandle& file) override {
        const std::error_code error = injected(Call::Close);
        const std::error_code closed = real_.close(file);
        return error ? error : closed;
    }
    std::error_code renameNoReplace(const std::string& from, const std::string& to) override {
        if (const std::error_code error = injected(Call::RenameNoReplace, from, to)) {
            return error;
        }
        return real_.renameNoReplace(from, to);
    }
    std::error_code replace(const std::string& from, const std::string& to) override {
        if (const std::error_code error = injected(Call::Replace, from, to)) {
            return error;
        }
        return real_.replace(from, to);
    }
    std::error_code remove(const std::string& path) override {
        if (const std::error_code error = injected(Call::Remove, path)) {
            return error;
        }
        return real_.remove(path);
    }

private:
    struct Fault {
        Call call;
        std::error_code error;
        int after;
        std::string pathPart;
        bool done = false;
    };

    std::error_code injected(Call call, const std::string& path = {},
                             const std::string& other = {}) {
        for (Fault& fault : faults_) {
            if (fault.done || fault.call != call) {
                continue;
            }
            if (!fault.pathPart.empty() && path.find(fault.pathPart) == std::string::npos &&
                other.find(fault.pathPart) == std::string::npos) {
                continue;
            }
            if (fault.after > 0) {
                --fault.after;
                continue;
            }
            fault.done = true;
            ++fired_;
            return fault.error;
        }
        return {};
    }

    mp::FileSystem& real_ = mp::FileSystem::system();
    std::vector<Fault> faults_;
    int fired_ = 0;
};
