#include "filewatch.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

std::optional<FileVersion> FileVersion::of(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileVersion{status.st_ino, status.st_size,
                       status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec,
                       status.st_ctim.tv_sec * 1'000'000'000LL + status.st_ctim.tv_nsec};
}

FileWatch::FileWatch(int settleMs) {
    mWait.setSingleShot(true);
    mWait.setInterval(settleMs);
    connect(&mWatcher, &QFileSystemWatcher::fileChanged, this, &FileWatch::seeChange);
    connect(&mWatcher, &QFileSystemWatcher::directoryChanged, this, &FileWatch::seeChange);
    connect(&mWait, &QTimer::timeout, this, &FileWatch::waitEnded);
}

void FileWatch::watch(const QString& path, bool listening) {
    mPath = path;
    const QStringList watched = mWatcher.files() + mWatcher.directories();
    if (!watched.isEmpty())
        mWatcher.removePaths(watched);
    if (path.isEmpty() || !listening)
        return;
    mWatcher.addPath(QFileInfo(path).absolutePath());
    if (QFileInfo::exists(path))
        mWatcher.addPath(path);
}

void FileWatch::resetTo(const std::optional<FileVersion>& version) {
    mRead = version;
    mSeen = version;
}

void FileWatch::waitIfChangedSinceRead() {
    mSeen = FileVersion::of(mPath);
    if (mSeen && mSeen != mRead)
        mWait.start();
}

// The file's version now is noted and the wait starts anew; a file that is back is watched
// again (a deleted file drops out of the watcher).
void FileWatch::seeChange() {
    if (mPath.isEmpty())
        return;
    mSeen = FileVersion::of(mPath);
    if (mSeen && !mWatcher.files().contains(mPath))
        mWatcher.addPath(mPath);
    mWait.start();
}

void FileWatch::waitEnded() {
    if (mPath.isEmpty() || mHeld || stillSettling())
        return;
    if (!mSeen)
        emit gone();
    else if (mSeen != mRead)
        emit changed();
}

// True when the file is no longer the version last seen, which it then notes, and the wait
// starts again.
bool FileWatch::stillSettling() {
    const std::optional<FileVersion> now = FileVersion::of(mPath);
    if (now == mSeen)
        return false;
    mSeen = now;
    mWait.start();
    return true;
}
