#pragma once
// The system's file system with chosen calls made to fail, so that a test can show what
// a command leaves behind when the disk fills up or a rename is refused halfway.
//
//   FaultyFileSystem fs;
//   fs.failOn(Call::Write, std::errc::no_space_on_device, 1); // the second write fails
//   fs.failOn(Call::PlaceNew, std::errc::permission_denied, 0, "CLUB.GLD");
//   fs.changeOn(Call::StampOf); // the next open file looks rewritten since it was opened
//
// Each armed fault fires once: on the matching call that follows `after` matching calls
// that went through. A call with paths matches when one of them contains pathPart (any
// call when pathPart is empty); a call without a path (Read, StampOf, Write, CopyData,
// Sync, SyncAll, Close) matches by count alone. A failing CopyData first copies a few bytes, so
// that the destination really holds part of the file. A failing Close still closes. A
// change (changeOn) makes a stamp look-up succeed with a later modification time, as
// when another program writes the file.

#include "masterpoint/FileSystem.h"

#include <string>
#include <system_error>
#include <vector>

enum class Call {
    ListFolder,
    ReadHead,
    OpenForReading,
    Read,
    StampOf,
    StampAt,
    CreateTemporary,
    NameTemporary,
    RemoveAbandoned,
    Write,
    CopyData,
    Sync,
    Close,
    RenameNoReplace,
    Replace,
    PlaceNew, // matched on the final name, with or without the folder's sync
    Remove,
    TypeAt,
    SyncAll,
    SyncFolder,
    // The call that gives a new copy its name, as the tests of the windows know it.
    CreateNew = PlaceNew,
};

class FaultyFileSystem : public mp::FileSystem {
public:
    void failOn(Call call, std::errc error, int after = 0, std::string pathPart = {}) {
        faults_.push_back({call, std::make_error_code(error), after, std::move(pathPart)});
    }
    void changeOn(Call call, int after = 0, std::string pathPart = {}) {
        faults_.push_back({call, {}, after, std::move(pathPart), true});
    }
    // How many armed faults have fired: a test checks its fault was reached.
    int fired() const { return fired_; }
    // Makes every file look as if on FAT: its times are not to be trusted.
    bool untrustedTimes = false;
    bool timesAreTrusted(mp::FileHandle& file) override {
        return !untrustedTimes && real_.timesAreTrusted(file);
    }

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
                                   mp::FileStamp& stamp) override {
        if (const std::error_code error = injected(Call::OpenForReading, path)) {
            return error;
        }
        return real_.openForReading(path, file, stamp);
    }
    std::error_code read(mp::FileHandle& file, char* buffer, std::size_t size,
                         std::size_t& got) override {
        got = 0;
        if (const std::error_code error = injected(Call::Read)) {
            return error;
        }
        return real_.read(file, buffer, size, got);
    }
    std::error_code stampOf(mp::FileHandle& file, mp::FileStamp& stamp) override {
        return stamped(Call::StampOf, {}, stamp, real_.stampOf(file, stamp));
    }
    std::error_code stampAt(const std::string& path, mp::FileStamp& stamp) override {
        return stamped(Call::StampAt, path, stamp, real_.stampAt(path, stamp));
    }
    std::error_code typeAt(const std::string& path, mp::EntryType& type) override {
        if (const std::error_code error = injected(Call::TypeAt, path)) {
            return error;
        }
        return real_.typeAt(path, type);
    }
    std::error_code createTemporary(const std::string& folder, const std::string& likePath,
                                    mp::TemporaryUse use, mp::FileHandle& file,
                                    std::string& path) override {
        if (const std::error_code error = injected(Call::CreateTemporary, likePath, folder)) {
            return error;
        }
        return real_.createTemporary(folder, likePath, use, file, path);
    }
    std::error_code nameTemporary(mp::FileHandle& file, const std::string& path) override {
        if (const std::error_code error = injected(Call::NameTemporary, path)) {
            return error;
        }
        return real_.nameTemporary(file, path);
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
    void copyTimeAndMode(mp::FileHandle& from, mp::FileHandle& to) override {
        real_.copyTimeAndMode(from, to);
    }
    std::error_code sync(mp::FileHandle& file) override {
        if (const std::error_code error = injected(Call::Sync)) {
            return error;
        }
        return real_.sync(file);
    }
    std::error_code syncAll(const std::vector<mp::FileHandle*>& files) override {
        if (const std::error_code error = injected(Call::SyncAll)) {
            return error;
        }
        return real_.syncAll(files);
    }
    // As few as a backup takes: its copies then go in batches of two.
    std::size_t mostOpenFiles() override { return 0; }
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
    std::error_code replace(mp::FileHandle& file, const std::string& from,
                            const std::string& to) override {
        if (const std::error_code error = injected(Call::Replace, from, to)) {
            return error;
        }
        return real_.replace(file, from, to);
    }
    std::error_code placeNew(mp::FileHandle& file, const std::string& from,
                             const std::string& to) override {
        if (const std::error_code error = injected(Call::PlaceNew, to)) {
            return error;
        }
        return real_.placeNew(file, from, to);
    }
    std::error_code placeNewUnsynced(mp::FileHandle& file, const std::string& from,
                                     const std::string& to) override {
        if (const std::error_code error = injected(Call::PlaceNew, to)) {
            return error;
        }
        return real_.placeNewUnsynced(file, from, to);
    }
    std::error_code syncFolder(const std::string& folder) override {
        if (const std::error_code error = injected(Call::SyncFolder, folder)) {
            return error;
        }
        return real_.syncFolder(folder);
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
        bool change = false;
        bool done = false;
    };

    std::error_code stamped(Call call, const std::string& path, mp::FileStamp& stamp,
                            std::error_code looked) {
        if (const std::error_code error = injected(call, path)) {
            return error;
        }
        if (!looked && fires(call, path, {}, true)) {
            stamp.modifiedSeconds += 1;
        }
        return looked;
    }

    std::error_code injected(Call call, const std::string& path = {},
                             const std::string& other = {}) {
        return fires(call, path, other, false) ? lastFired_ : std::error_code();
    }

    bool fires(Call call, const std::string& path, const std::string& other, bool change) {
        for (Fault& fault : faults_) {
            if (fault.done || fault.call != call || fault.change != change) {
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
            lastFired_ = fault.error;
            return true;
        }
        return false;
    }

    mp::FileSystem& real_ = mp::FileSystem::system();
    std::vector<Fault> faults_;
    int fired_ = 0;
    std::error_code lastFired_;
};
