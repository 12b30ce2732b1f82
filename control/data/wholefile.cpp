#include "wholefile.h"

#include "filedescriptor.h"
#include "hugepages.h"
#include "runeach.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <new>
#include <stdexcept>
#include <sys/stat.h>

namespace {

LoadResult failure(LoadError error, int systemError = 0) {
    return {error, 0, systemError};
}

// The file coming in is the first share of a monitored load; the decoding follows.
constexpr int kReadPermille = 400;
constexpr std::size_t kPiece = std::size_t{32} << 20;

// Calls piece(offset, length) for the pieces of 32 MiB of `size` bytes until one fails, on
// `threads` threads, each taking the next piece not taken (one thread takes them in order). A
// monitor sees the share done before each piece and may stop the pieces not begun.
template <typename Piece>
LoadResult inPieces(std::size_t size, unsigned threads, LoadMonitor* monitor, Piece piece) {
    const std::size_t pieces = (size + kPiece - 1) / kPiece;
    std::atomic<std::size_t> done{0};
    std::atomic<bool> failed{false};
    std::vector<LoadResult> results(pieces);
    const auto takePiece = [&](std::size_t i) {
        if (failed)
            return;
        if (monitor) {
            if (monitor->cancelled) {
                results[i] = failure(LoadError::Cancelled);
                failed = true;
                return;
            }
            monitor->permille = static_cast<int>(kReadPermille * (done / 1024) / (size / 1024 + 1));
        }
        const std::size_t offset = i * kPiece;
        const std::size_t length = std::min(size - offset, kPiece);
        results[i] = piece(offset, length);
        if (results[i].ok())
            done += length;
        else
            failed = true;
    };
    try {
        runShared(pieces, threads, takePiece);
    } catch (const std::bad_alloc&) {
        return failure(LoadError::OutOfMemory);
    }
    for (const LoadResult& result : results)
        if (!result.ok())
            return result;
    return {};
}

// The checks before any byte is read: a regular file that is not empty.
LoadResult checkReadable(const OpenedFile& file) {
    if (!file.fd.valid())
        return failure(LoadError::CannotOpen, file.error);
    if (S_ISDIR(file.info.st_mode))
        return failure(LoadError::CannotOpen, EISDIR);
    if (!file.regular())
        return failure(LoadError::NotRegular);
    if (file.info.st_size <= 0)
        return failure(LoadError::Empty);
    return {};
}

// Reads the whole of `file`, however many calls it takes, into `buffer` with a zero byte after it.
LoadResult readInto(const OpenedFile& file, std::vector<char>& buffer, LoadMonitor* monitor) {
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
    const LoadResult result =
        inPieces(size, 1, monitor, [&](std::size_t offset, std::size_t length) -> LoadResult {
            const ssize_t got = readFully(file.fd.get(), bytes.data() + offset, length);
            if (got < 0)
                return failure(LoadError::Unreadable, errno);
            if (static_cast<std::size_t>(got) < length)
                return failure(LoadError::Unreadable); // the file became shorter
            return {};
        });
    if (!result.ok())
        return result;
    bytes[size] = '\0';
    buffer = std::move(bytes);
    return {};
}

} // namespace

LoadResult WholeFile::read(const std::string& path, std::vector<char>& buffer,
                           LoadMonitor* monitor) {
    const OpenedFile file = openForReading(path);
    if (LoadResult result = checkReadable(file); !result.ok())
        return result;
    return readInto(file, buffer, monitor);
}

LoadResult WholeFile::open(const std::string& path, LoadMonitor* monitor) {
    const OpenedFile file = openForReading(path);
    if (LoadResult result = checkReadable(file); !result.ok())
        return result;
    const auto size = static_cast<std::size_t>(file.info.st_size);
    if (!mapped_.map(file.fd.get(), size)) {
        if (LoadResult result = readInto(file, read_, monitor); !result.ok())
            return result;
        bytes_ = std::span<const char>(read_).first(size);
        return {};
    }
    if (LoadResult result = populate(file.fd.get(), size, monitor); !result.ok())
        return result;
    bytes_ = std::span<const char>(mapped_.data(), size);
    return {};
}

// Brings every page in now, so that an error of the device or a file cut short since it was
// opened shows as a failed read here, not as a fault in the decoder.
LoadResult WholeFile::populate(int fd, std::size_t size, LoadMonitor* monitor) {
    if (LoadResult result = inPieces(size, CutLoadThreads(size), monitor,
                                     [&](std::size_t offset, std::size_t length) {
                                         return mapped_.populate(offset, length)
                                                    ? LoadResult{}
                                                    : failure(LoadError::Unreadable);
                                     });
        !result.ok())
        return result;
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return failure(LoadError::Unreadable, errno);
    if (static_cast<std::size_t>(now.st_size) < size)
        return failure(LoadError::Unreadable);
    return {};
}
