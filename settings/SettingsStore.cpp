#include "settings/SettingsStore.h"

#include "masterpoint/WholeNumber.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QSysInfo>
#include <QThread>
#include <QVariant>
#include <cstdint>
#include <limits>

#ifndef _WIN32
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString keyOf(const QString& section, const QString& ident) {
    return section + QLatin1Char('/') + ident;
}

constexpr qint64 kForeignLockMs = 1000;

[[noreturn]] void fail(const QString& message) {
    throw StoreError(message.toStdString());
}

std::unique_ptr<QSettings> openStore(const QString& location) {
#ifdef _WIN32
    auto settings = std::make_unique<QSettings>(location, QSettings::NativeFormat);
#else
    auto settings = std::make_unique<QSettings>(location, QSettings::IniFormat);
#endif
    return settings;
}

// Throws when something other than a regular file (or a link to one) has the store's
// name: reading a FIFO would wait for a writer for ever, and a folder or device is no
// settings file either. A name that does not exist yet is fine.
void requireRegularFile(const QString& location) {
#ifndef _WIN32
    struct stat st {};
    if (::stat(QFile::encodeName(location).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        fail(QStringLiteral("Cannot open file %1").arg(location));
#else
    Q_UNUSED(location);
#endif
}

// The store takes a lock file beside its file for each read or write, and waits while
// another holds it. A lock left by a program on this machine the store sees through (its
// process is gone); one left by another machine (a home folder shared or copied) it takes
// for stale only after 30 s, and so did every write. A writer holds the lock only for the
// instant of its write, so another machine's lock that stays for a second is left over:
// it is removed, after a wait of at most that second for a writer really at work.
void clearForeignLock(const QString& location) {
#ifndef _WIN32
    const QString path = QFileInfo(location).absoluteFilePath() + QStringLiteral(".lock");
    QLockFile lock(path);
    qint64 pid = 0;
    QString host, application;
    for (int waited = 0; lock.getLockInfo(&pid, &host, &application); waited += 50) {
        if (host.isEmpty() || host == QSysInfo::machineHostName())
            return; // this machine's: the store asks whether its process is there
        const qint64 age = QFileInfo(path).lastModified().msecsTo(QDateTime::currentDateTime());
        if (age > kForeignLockMs || age < -kForeignLockMs || waited >= kForeignLockMs) {
            lock.removeStaleLockFile();
            return;
        }
        QThread::msleep(50);
    }
#else
    Q_UNUSED(location);
#endif
}

} // namespace

SettingsStore::SettingsStore(const QString& location) : location_(location) {}

QSettings& SettingsStore::store() const {
    // Opened on first use. The store reads its file as it opens, so every way here has
    // checked first that the file is a regular file (refresh, writeString).
    if (!settings_)
        settings_ = openStore(location_);
    return *settings_;
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::defaultLocation(const QString& keyName) {
#ifdef _WIN32
    return QStringLiteral("HKEY_CURRENT_USER\\") + keyName;
#else
    // Only an absolute folder counts: a relative one would move with the working folder.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(base)) {
        QString home = qEnvironmentVariable("HOME");
        if (!QDir::isAbsolutePath(home)) {
            // Started without a home in its environment (from a service, or `env -i`):
            // the user's home as the system records it, never the root folder.
            const struct passwd* user = ::getpwuid(::getuid());
            home = user != nullptr && user->pw_dir != nullptr ? QFile::decodeName(user->pw_dir)
                                                              : QString();
        }
        if (!QDir::isAbsolutePath(home) || QDir::cleanPath(home) == QDir::rootPath())
            return QString(); // nowhere of the user's own: every write fails
        base = home + QStringLiteral("/.config");
    }
    return base + QLatin1Char('/') + keyName + QStringLiteral(".ini");
#endif
}

bool SettingsStore::FileStamp::operator==(const FileStamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           size == other.size && modifiedSec == other.modifiedSec &&
           modifiedNsec == other.modifiedNsec && changedSec == other.changedSec &&
           changedNsec == other.changedNsec;
}

void SettingsStore::refresh() const {
#ifdef _WIN32
    store().sync();
#else
    // Another running copy may have rewritten the file since our last look. The store
    // would find out with two look-ups and more work besides; a command reads several
    // values, each when it needs it, so one stat decides whether it need look at all,
    // and also refuses a file that is not a regular file. The stamp is taken before the
    // sync: a write that lands in between makes the next read look again.
    FileStamp now;
    struct stat st {};
    if (::stat(QFile::encodeName(location_).constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            fail(QStringLiteral("Cannot open file %1").arg(location_));
        now.exists = true;
        now.device = st.st_dev;
        now.inode = st.st_ino;
        now.size = static_cast<unsigned long long>(st.st_size);
        now.modifiedSec = st.st_mtim.tv_sec;
        now.modifiedNsec = st.st_mtim.tv_nsec;
        now.changedSec = st.st_ctim.tv_sec;
        now.changedNsec = st.st_ctim.tv_nsec;
    }
    if (stampKnown_ && now == stamp_) {
        return;
    }
    clearForeignLock(location_);
    store().sync();
    stamp_ = now;
    stampKnown_ = true;
#endif
}

QString SettingsStore::readString(const QString& section, const QString& ident,
                                  const QString& def) const {
    refresh();
    const QString key = keyOf(section, ident);
    if (!store().contains(key))
        return def;
    const QVariant value = store().value(key);
    // QSettings turns "@ByteArray(...)", "@Variant(...)" and unquoted comma lists into
    // other types; only text is ours.
    if (value.typeId() != QMetaType::QString)
        fail(QStringLiteral("Invalid data type for '%1'").arg(ident));
    return value.toString();
}

void SettingsStore::writeString(const QString& section, const QString& ident,
                                const QString& value) {
    requireRegularFile(location_);
#ifndef _WIN32
    // The file's folder stands for the section key: a folder that cannot be made is
    // told apart from a file that cannot be written.
    const QString folder = QFileInfo(location_).absolutePath();
    if (!QDir().mkpath(folder))
        fail(QStringLiteral("Failed to create key %1").arg(section));
#endif
    // QSettings keeps the first error it ever met, so a failure seen by an earlier
    // read or write would make every later write look failed; start each write clean.
    if (store().status() != QSettings::NoError)
        settings_ = openStore(location_);
    store().setValue(keyOf(section, ident), value);
    clearForeignLock(location_);
    store().sync();
    stampKnown_ = false;
    // A FormatError only says that lines of the old file could not be parsed; the file
    // has been written anew all the same. Only an access error means nothing was stored.
    if (store().status() == QSettings::AccessError)
        fail(QStringLiteral("Failed to set data for '%1'").arg(ident));
}

int SettingsStore::readInteger(const QString& section, const QString& ident, int def) const {
    const QString text = readString(section, ident, QString());
    // A missing value and one that is not a whole number both give the default; the
    // empty text cannot convert, so it needs no case of its own.
    std::int64_t number = 0;
    const std::string bytes = text.toStdString();
    if (!mp::parseWholeNumber(bytes, number))
        return def;
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return def;
    return static_cast<int>(number);
}

void SettingsStore::writeInteger(const QString& section, const QString& ident, int value) {
    writeString(section, ident, QString::number(value));
}

bool SettingsStore::readBool(const QString& section, const QString& ident, bool def) const {
    return readInteger(section, ident, def ? 1 : 0) != 0;
}

void SettingsStore::writeBool(const QString& section, const QString& ident, bool value) {
    writeString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}
