#include "folderlock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FolderLock::FolderLock(const std::string& folder)
    : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0) {
        return;
    }
    int locked;
    do {
        locked = ::flock(fd_, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

// Keeps errno, which tells the writer's caller why a write under the lock failed.
FolderLock::~FolderLock() {
    if (fd_ >= 0) {
        const int reason = errno;
        ::close(fd_);
        errno = reason;
    }
}
