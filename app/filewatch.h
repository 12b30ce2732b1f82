#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QtGlobal>

#include <optional>

// What identifies one version of a file on disk: its inode, size, and modification and change
// times (a change of its permissions changes the latter). A file replaced by delete and rename is
// another version even with the same size and times.
struct FileVersion {
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = -1;
    qint64 changedNs = -1;
    bool operator==(const FileVersion&) const = default;

    // The version of the file at `path` now; nothing when there is none.
    static std::optional<FileVersion> of(const QString& path);
};

// Watches one file on disk for a version other than the one that was read. The file and its
// folder are watched, so that a file replaced by delete and rename, or gone and back, is seen;
// a file that is back is watched again. Every change starts the settling wait anew, and only a
// file that stayed the same for the whole wait is reported: changed() when it differs from the
// version read, gone() when there is none. A change of another file in the folder reports
// nothing.
class FileWatch : public QObject {
    Q_OBJECT
public:
    // How long a file must stay unchanged before its change is reported.
    static constexpr int kSettleMs = 500;

    explicit FileWatch(int settleMs = kSettleMs);

    // The file is `path` from now on (empty: none); it and its folder are watched while
    // `listening`, else nothing is.
    void watch(const QString& path, bool listening = true);
    // The file was read at `version` (none: not read): a later version is a change.
    void setRead(const std::optional<FileVersion>& version) { mRead = version; }
    // As setRead(), and a wait under way ends by comparing the file with `version`.
    void resetTo(const std::optional<FileVersion>& version);
    const std::optional<FileVersion>& read() const { return mRead; }
    // Starts the wait when the file now differs from the version read.
    void waitIfChangedSinceRead();
    void stopWaiting() { mWait.stop(); }
    // While held, the end of a wait reports nothing and does not start another; the holder looks
    // again with waitIfChangedSinceRead() once it lets go.
    void hold(bool held) { mHeld = held; }

signals:
    void changed();
    void gone();

private:
    void seeChange();
    void waitEnded();
    bool stillSettling();

    QFileSystemWatcher mWatcher;
    QTimer mWait;
    QString mPath;
    bool mHeld = false;
    std::optional<FileVersion> mRead;
    // The file's version when last looked at.
    std::optional<FileVersion> mSeen;
};
