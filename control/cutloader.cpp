#include "cutloader.h"

#include "filedescriptor.h"
#include "hugepages.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>
#include <sys/stat.h>

namespace {

std::string withSystemError(const char* text, int systemError) {
    std::string reason = text;
    if (systemError != 0)
        reason.append(": ").append(std::strerror(systemError));
    return reason;
}

LoadResult failure(LoadError error, int systemError = 0) {
    return {error, 0, systemError};
}

// The read is the first share of a monitored load; the text parsing follows.
constexpr int kReadPermille = 400;
constexpr std::size_t kReadPiece = std::size_t{32} << 20;

// Reads exactly `size` bytes, however many calls it takes; a monitor sees pieces of 32 MiB.
LoadResult readExactly(int fd, char* target, std::size_t size, LoadMonitor* monitor) {
    for (std::size_t done = 0; done < size;) {
        if (monitor) {
            if (monitor->cancelled)
                return failure(LoadError::Cancelled);
            monitor->permille = static_cast<int>(kReadPermille * (done / 1024) / (size / 1024 + 1));
        }
        const std::size_t piece = std::min(size - done, kReadPiece);
        const ssize_t got = readFully(fd, target + done, piece);
        if (got < 0)
            return failure(LoadError::Unreadable, errno);
        if (static_cast<std::size_t>(got) < piece)
            return failure(LoadError::Unreadable); // the file became shorter
        done += piece;
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
    case LoadError::NotRegular:
        return "not a regular file";
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
    case LoadError::Cancelled:
        return "the load was cancelled";
    }
    return "unknown error";
}

LoadResult ReadWholeFile(const std::string& path, std::vector<char>& buffer, LoadMonitor* monitor) {
    const OpenedFile file = openForReading(path);
    if (!file.fd.valid())
        return failure(LoadError::CannotOpen, file.error);
    if (S_ISDIR(file.info.st_mode))
        return failure(LoadError::CannotOpen, EISDIR);
    if (!file.regular())
        return failure(LoadError::NotRegular);
    if (file.info.st_size <= 0)
        return failure(LoadError::Empty);
    const auto size = static_cast<std::size_t>(file.info.st_size);
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
    if (LoadResult result = readExactly(file.fd.get(), bytes.data(), size, monitor); !result.ok())
        return result;
    bytes[size] = '\0';
    buffer = std::move(bytes);
    return {};
}

LoadResult ParseCutText(const std::string& path, CutDataSet& data, LoadMonitor* monitor) {
    std::vector<char> buffer;
    if (LoadResult result = ReadWholeFile(path, buffer, monitor); !result.ok())
        return result;
    return ParseCutText(std::span<char>(buffer), data, CutTextThreads(buffer.size() - 1), monitor);
}

LoadResult DecodeCutBinary(const std::string& path, CutDataSet& data, LoadMonitor* monitor) {
    std::vector<char> buffer;
    if (LoadResult result = ReadWholeFile(path, buffer, monitor); !result.ok())
        return result;
    return DecodeCutBinary(std::span<const char>(buffer), data);
}

LoadResult LoadCutFile(const std::string& path, bool text, CutDataSet& data, LoadMonitor* monitor) {
    return text ? ParseCutText(path, data, monitor) : DecodeCutBinary(path, data, monitor);
}
