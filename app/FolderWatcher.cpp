#include "app/FolderWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

namespace {

// A copy of many files, or a file written in many steps, gives many notifications:
// looked at once, this long after the first.
constexpr int kGatherMs = 50;

} // namespace

FolderWatcher::FolderWatcher(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)) {
    soon_.setSingleShot(true);
    poll_.setInterval(kPollSeconds * 1000);
    connect(&soon_, &QTimer::timeout, this, &FolderWatcher::lookNow);
    connect(&poll_, &QTimer::timeout, this, [this] {
        watchFolder();
        emit lookNow();
    });
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &FolderWatcher::changed);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
        // A file replaced under its name drops its watch: it is watched again.
        if (!watcher_->files().contains(path) && QFileInfo::exists(path))
            watcher_->addPath(path);
        changed();
    });
}

void FolderWatcher::watch(const QString& folder, const QStringList& files) {
    if (folder != folder_) {
        folder_ = folder;
        const QStringList watched = watcher_->directories();
        if (!watched.isEmpty())
            watcher_->removePaths(watched);
        poll_.stop();
        watchFolder();
    }
    if (files != files_) {
        files_ = files;
        const QStringList watched = watcher_->files();
        if (!watched.isEmpty())
            watcher_->removePaths(watched);
        for (const QString& file : files_)
            watcher_->addPath(file); // a file not there is looked at with the folder
    }
}

void FolderWatcher::watchFolder() {
    if (folder_.isEmpty()) {
        poll_.stop();
        return;
    }
    // The folder above too: a watch follows its folder when that is renamed away, and
    // says nothing of it; the folder above sees it go, and come back.
    const QString above = QFileInfo(folder_).absolutePath();
    if (above != folder_ && !watcher_->directories().contains(above) && QFileInfo(above).isDir())
        watcher_->addPath(above);
    if (watcher_->directories().contains(folder_) || watcher_->addPath(folder_)) {
        poll_.stop();
        return;
    }
    // Not there (the list says so itself), or there but not to be watched.
    if (QFileInfo(folder_).isDir() && toldOf_ != folder_) {
        toldOf_ = folder_;
        emit watchFailed(folder_);
    }
    if (!poll_.isActive())
        poll_.start();
}

void FolderWatcher::changed() {
    // The folder gone (or renamed away, its watch gone with it): looked at by polling,
    // and watched again, once it is back.
    if (!folder_.isEmpty() && !QFileInfo(folder_).isDir()) {
        if (watcher_->directories().contains(folder_))
            watcher_->removePath(folder_);
        watchFolder();
    } else if (!folder_.isEmpty() && !watcher_->directories().contains(folder_)) {
        watchFolder();
    }
    lookAgainIn(kGatherMs);
}

void FolderWatcher::lookAgainIn(int ms) {
    if (!soon_.isActive() || soon_.remainingTime() > ms)
        soon_.start(ms);
}
