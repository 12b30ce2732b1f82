#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

class QFileSystemWatcher;
class QTimer;

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

// Makes `watcher` watch `path` and its folder instead of what it watched, so that a file replaced
// by delete and rename, or gone and back, is seen; nothing for an empty path.
void WatchFileAndFolder(QFileSystemWatcher& watcher, const QString& path);
// After `watcher` told of a change: `seen` takes the file's version now and the wait for it to
// settle starts anew; a file that is back is watched again (a deleted file drops out of the
// watcher).
void SeeFileChange(QFileSystemWatcher& watcher, const QString& path,
                   std::optional<FileVersion>& seen, QTimer& wait);
// At the end of the wait: true when the file at `path` is no longer the version `seen`, which then
// takes the new version, and the wait starts again; false when it has settled at `seen`.
bool StillSettling(const QString& path, std::optional<FileVersion>& seen, QTimer& wait);
