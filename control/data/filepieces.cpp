#include "filepieces.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

LoadResult failure(LoadError error, int systemError = 0) {
    return {error, 0, systemError};
}

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

LoadResult FilePieces::open(const std::string& path) {
    file_ = openForReading(path);
    if (!file_.fd.valid())
        return failure(LoadError::CannotOpen, file_.error);
    if (S_ISDIR(file_.info.st_mode))
        return failure(LoadError::CannotOpen, EISDIR);
    if (!file_.regular())
        return failure(LoadError::NotRegular);
    if (file_.info.st_size <= 0)
        return failure(LoadError::Empty);
    return {};
}

LoadResult FilePieces::read(std::size_t offset, char* target, std::size_t length) const {
    while (length > 0) {
        const ssize_t got = ::pread(file_.fd.get(), target, length, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failure(LoadError::Unreadable, errno);
        if (got == 0)
            return failure(LoadError::Changed);
        target += got;
        offset += static_cast<std::size_t>(got);
        length -= static_cast<std::size_t>(got);
    }
    return {};
}

LoadResult FilePieces::unchanged() const {
    struct stat now {};
    if (::fstat(file_.fd.get(), &now) != 0)
        return failure(LoadError::Unreadable, errno);
    const struct stat& before = file_.info;
    if (now.st_size != before.st_size || !sameTime(now.st_mtim, before.st_mtim) ||
        !sameTime(now.st_ctim, before.st_ctim))
        return failure(LoadError::Changed);
    return {};
}
