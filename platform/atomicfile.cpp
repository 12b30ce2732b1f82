#include "atomicfile.h"

#include "filedescriptor.h"
#include "filepath.h"
#include "temporaryfiles.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<BeforeRenameHook> beforeRenameHook{nullptr};

// Creates a file that did not exist before, beside `target`; -1 when the folder refuses.
int createTemporaryBeside(const std::string& target, std::string& temporaryPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = temporaryPathBeside(target, ::getpid(), counter++);
        const int fd =
            openRetrying(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Flushes the folder so that the rename itself survives a power cut. Best effort: some file
// systems do not allow it, and the new content is already complete either way.
void syncFolder(const std::string& folder) {
    FileDescriptor dir(openRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) {
        ::fsync(dir.get());
    }
}

// Gives the new file the old one's owner and group as far as the process may: root gives both,
// an owner a group it belongs to; otherwise the new file stays the writer's. Returns whether the
// new file has at least the old group.
bool takeOverOwner(int fd, const struct stat& old) {
    return ::fchown(fd, old.st_uid, old.st_gid) == 0 ||
           ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

// Removes the temporary file of a failed replacement; errno keeps the reason of the failure.
bool dropTemporary(const std::string& temporaryPath) {
    const int reason = errno;
    ::unlink(temporaryPath.c_str());
    errno = reason;
    return false;
}

bool fillTemporary(int fd, const std::string& target, std::string_view content) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        takeOverOwner(fd, st);
        if (::fchmod(fd, st.st_mode & 07777) != 0) {
            return false;
        }
    }
    return writeFully(fd, content) && ::fsync(fd) == 0;
}

// Fills the temporary file and closes it; false with errno at the first step that failed.
bool completeTemporary(FileDescriptor& temporary, const std::string& target,
                       std::string_view content) {
    const bool filled = fillTemporary(temporary.get(), target, content);
    const int reason = errno;
    const bool closed = temporary.close();
    if (!filled) {
        errno = reason;
    }
    return filled && closed;
}

// A rename would replace a file that a plain write may not change: one the process lacks write
// permission for, or one without any write permission at all, which root could otherwise write.
bool isWriteProtected(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        return errno != ENOENT;
    }
    if ((st.st_mode & 0222) == 0) {
        errno = EACCES;
        return true;
    }
    return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0;
}

} // namespace

FileReadStatus readWholeFile(const std::string& path, std::string& out) {
    const OpenedFile file = openForReading(path);
    if (!file.fd.valid()) {
        errno = file.error;
        return file.error == ENOENT ? FileReadStatus::Missing : FileReadStatus::Failed;
    }
    if (!file.regular()) {
        errno = S_ISDIR(file.info.st_mode) ? EISDIR : EINVAL;
        return FileReadStatus::Failed;
    }
    // One byte more than the size, so that the end shows without growing; a file that grew
    // since fstat is read to its new end.
    std::size_t used = 0;
    out.resize(static_cast<std::size_t>(file.info.st_size) + 1);
    for (;;) {
        const ssize_t n = readFully(file.fd.get(), out.data() + used, out.size() - used);
        if (n < 0) {
            return FileReadStatus::Failed;
        }
        used += static_cast<std::size_t>(n);
        if (used < out.size()) {
            out.resize(used);
            return FileReadStatus::Ok;
        }
        out.resize(out.size() * 2);
    }
}

bool replaceFileAtomically(const std::string& path, std::string_view content) {
    const std::string target = linkTarget(path);
    if (target.empty()) {
        errno = ELOOP;
        return false;
    }
    if (isWriteProtected(target)) {
        return false;
    }
    removeStaleTemporaries(target);
    std::string temporaryPath;
    FileDescriptor temporary(createTemporaryBeside(target, temporaryPath));
    if (!temporary.valid()) {
        return false;
    }
    if (!completeTemporary(temporary, target, content)) {
        return dropTemporary(temporaryPath);
    }
    if (const BeforeRenameHook hook = beforeRenameHook.load()) {
        hook(temporaryPath);
    }
    if (::rename(temporaryPath.c_str(), target.c_str()) != 0) {
        return dropTemporary(temporaryPath);
    }
    syncFolder(folderOf(target));
    return true;
}

void setBeforeRenameHook(BeforeRenameHook hook) {
    beforeRenameHook.store(hook);
}
