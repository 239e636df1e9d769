#pragma once
// The per-user settings store: named text values grouped in sections. On Linux it
// is an INI file; on Windows a registry key below HKEY_CURRENT_USER. Every
// value is kept as text; integers as their decimal text, Booleans as "1" or "0".
//
// Every read first picks up what another running copy wrote; every write is on disk
// when it returns. A missing section or value reads as the default and is never an
// error; reading never creates a section. A value that is not plain text (an INI
// "@ByteArray(...)"/"@Variant(...)" value or an unquoted comma list; on Windows a
// non-text registry type) throws StoreError "Invalid data type for '<name>'".
// A write that fails throws "Failed to create key <section>" or
// "Failed to set data for '<name>'".

#include <QString>
#include <memory>
#include <stdexcept>
#include <string>

class QSettings;

// What reading or writing the store can fail with, whether the store is an INI file or
// the registry; the message is what the user is shown.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SettingsStore {
public:
    // Opens the store at location: an INI file path on Linux, a registry key
    // path on Windows. Opening reports nothing. A file of that name that is not a
    // regular file (a FIFO, a folder, a device) is never read: every read and write
    // then throws StoreError "Cannot open file <location>".
    explicit SettingsStore(const QString& location);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Where the store named keyName lives for the current user: on Linux
    // $XDG_CONFIG_HOME (when absolute; else the home folder's ".config", the home
    // taken from $HOME or else from the user database) + "/" + keyName + ".ini"; empty
    // when the user has no home but the root folder. On Windows
    // "HKEY_CURRENT_USER\\" + keyName.
    static QString defaultLocation(const QString& keyName);

    QString readString(const QString& section, const QString& ident, const QString& def) const;
    void writeString(const QString& section, const QString& ident, const QString& value);
    int readInteger(const QString& section, const QString& ident, int def) const;
    void writeInteger(const QString& section, const QString& ident, int value);
    bool readBool(const QString& section, const QString& ident, bool def) const;
    void writeBool(const QString& section, const QString& ident, bool value);

private:
    // Brings the cached values up to what is on disk now.
    void refresh() const;

    // The store, opened on first use; whoever calls it has checked that its file, if
    // any, is a regular file.
    QSettings& store() const;

    QString location_;
    mutable std::unique_ptr<QSettings> settings_;
    // What the file looked like just before the cache was last brought up to date; a
    // read that finds it so still can skip the store's own, slower look.
    struct FileStamp {
        bool exists = false;
        unsigned long long device = 0, inode = 0, size = 0;
        long long modifiedSec = 0, modifiedNsec = 0, changedSec = 0, changedNsec = 0;
        bool operator==(const FileStamp& other) const;
    };
    mutable bool stampKnown_ = false;
    mutable FileStamp stamp_;
};
