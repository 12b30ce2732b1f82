#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>

// The low-level file layer under both whole-file readers (the data loader and the settings
// reader) and the settings writer: a descriptor that closes itself, and the calls that a signal
// may interrupt, retried.

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

    // Closes now and reports whether the close succeeded (a late write error shows here).
    bool close();

private:
    int fd_;
};

// open() again as long as a signal interrupts it.
int openRetrying(const char* path, int flags, mode_t mode = 0);

// A file opened for reading, with its status. The open does not block, so that a named pipe or
// a device in place of a file cannot stall the caller; only a regular file should be read.
struct OpenedFile {
    FileDescriptor fd;
    struct stat info {};
    int error = 0; // errno of the failed open or fstat, 0 when `fd` is open

    bool regular() const { return fd.valid() && S_ISREG(info.st_mode); }
};

OpenedFile openForReading(const std::string& path);

// Reads until `size` bytes have arrived or the file ends, however many calls it takes and
// whatever signals interrupt them: the number of bytes read, or -1 with errno set.
ssize_t readFully(int fd, char* target, std::size_t size);

// Writes all of `content`, however many calls it takes and whatever signals interrupt them;
// false with errno set when a write fails.
bool writeFully(int fd, std::string_view content);
