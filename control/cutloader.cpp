#include "cutloader.h"

#include "hugepages.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string withSystemError(const char* text, int systemError) {
    std::string reason = text;
    if (systemError != 0)
        reason.append(": ").append(std::strerror(systemError));
    return reason;
}

// Closes the descriptor when the read is over, however it ends.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

LoadResult failure(LoadError error, int systemError = 0) {
    return {error, 0, systemError};
}

// Reads exactly `size` bytes, however many calls it takes.
LoadResult readFully(int fd, char* target, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, target + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failure(LoadError::Unreadable, errno);
        if (got == 0)
            return failure(LoadError::Unreadable); // the file became shorter
        done += static_cast<std::size_t>(got);
    }
    return {};
}

} // namespace

std::string LoadResult::reason() const {
    switch (error) {
    case LoadError::None:
        return "no error";
    case LoadError::CannotOpen:
        return withSystemError("cannot open the file", systemError);
    case LoadError::Unreadable:
        return withSystemError("cannot read the whole file", systemError);
    case LoadError::Empty:
        return "the file is empty";
    case LoadError::TooShort:
        return "the file is shorter than its 12-byte header";
    case LoadError::Truncated:
        return "truncated entry at byte offset " + std::to_string(offset);
    case LoadError::OutOfMemory:
        return "out of memory";
    }
    return "unknown error";
}

LoadResult ReadWholeFile(const std::string& path, std::vector<char>& buffer) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return failure(LoadError::CannotOpen, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        return failure(LoadError::CannotOpen, errno);
    if (S_ISDIR(info.st_mode))
        return failure(LoadError::CannotOpen, EISDIR);
    if (info.st_size <= 0)
        return failure(LoadError::Empty);
    const auto size = static_cast<std::size_t>(info.st_size);
    std::vector<char> bytes;
    try {
        bytes.reserve(size + 1);
        adviseHugePages(bytes.data(), size + 1);
        bytes.resize(size + 1);
    } catch (const std::bad_alloc&) {
        return failure(LoadError::OutOfMemory);
    } catch (const std::length_error&) {
        return failure(LoadError::OutOfMemory);
    }
    if (LoadResult result = readFully(file.get(), bytes.data(), size); !result.ok())
        return result;
    bytes[size] = '\0';
    buffer = std::move(bytes);
    return {};
}

LoadResult ParseCutText(const std::string& path, CutDataSet& data) {
    std::vector<char> buffer;
    if (LoadResult result = ReadWholeFile(path, buffer); !result.ok())
        return result;
    return ParseCutText(std::span<char>(buffer), data);
}

LoadResult DecodeCutBinary(const std::string& path, CutDataSet& data) {
    std::vector<char> buffer;
    if (LoadResult result = ReadWholeFile(path, buffer); !result.ok())
        return result;
    return DecodeCutBinary(std::span<const char>(buffer), data);
}

LoadResult LoadCutFile(const std::string& path, bool text, CutDataSet& data) {
    return text ? ParseCutText(path, data) : DecodeCutBinary(path, data);
}
