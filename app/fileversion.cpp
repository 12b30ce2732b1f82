#include "fileversion.h"

#include <QFile>

#include <sys/stat.h>

std::optional<FileVersion> FileVersion::of(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileVersion{status.st_ino, status.st_size,
                       status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec,
                       status.st_ctim.tv_sec * 1'000'000'000LL + status.st_ctim.tv_nsec};
}
