#pragma once
// Tells when the list's folder, or one of the files of the open viewers, may have
// changed: the platform's change notifications (QFileSystemWatcher: inotify on Linux,
// change notifications on Windows), so that nothing runs while nothing changes. A burst
// of changes gives one lookNow(), a moment after the first. Where the folder cannot be
// watched (no notifications there, the watch limit reached) or is not there (a drive
// pulled out), it is looked at every kPollSeconds instead, until it can be watched;
// watchFailed() says the first of these once for each folder. lookAgainIn() asks for
// one look later, for a file waiting to settle: the one timer runs only then.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QFileSystemWatcher;

class FolderWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollSeconds = 5;

    explicit FolderWatcher(QObject* parent = nullptr);

    // Watches folder (empty: nothing) and files (paths); the same again changes nothing.
    void watch(const QString& folder, const QStringList& files);
    // One lookNow() after ms at the latest.
    void lookAgainIn(int ms);
    // Whether the folder is looked at every kPollSeconds rather than watched.
    bool isPolling() const { return poll_.isActive(); }

signals:
    void lookNow();
    // The folder is there but gives no notifications: it is looked at every
    // kPollSeconds.
    void watchFailed(const QString& folder);

private:
    void changed();
    void watchFolder();

    QFileSystemWatcher* watcher_;
    QTimer soon_; // single shot: the next look
    QTimer poll_; // only while the folder cannot be watched
    QString folder_;
    QStringList files_;
    QString toldOf_; // the folder watchFailed() was last said of
};
