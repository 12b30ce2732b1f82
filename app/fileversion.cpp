#include "fileversion.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <sys/stat.h>

std::optional<FileVersion> FileVersion::of(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileVersion{status.st_ino, status.st_size,
                       status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec,
                       status.st_ctim.tv_sec * 1'000'000'000LL + status.st_ctim.tv_nsec};
}

void WatchFileAndFolder(QFileSystemWatcher& watcher, const QString& path) {
    const QStringList watched = watcher.files() + watcher.directories();
    if (!watched.isEmpty())
        watcher.removePaths(watched);
    if (path.isEmpty())
        return;
    watcher.addPath(QFileInfo(path).absolutePath());
    if (QFileInfo::exists(path))
        watcher.addPath(path);
}

void SeeFileChange(QFileSystemWatcher& watcher, const QString& path,
                   std::optional<FileVersion>& seen, QTimer& wait) {
    seen = FileVersion::of(path);
    if (!path.isEmpty() && seen && !watcher.files().contains(path))
        watcher.addPath(path);
    wait.start();
}

bool StillSettling(const QString& path, std::optional<FileVersion>& seen, QTimer& wait) {
    const std::optional<FileVersion> now = FileVersion::of(path);
    if (now == seen)
        return false;
    seen = now;
    wait.start();
    return true;
}
