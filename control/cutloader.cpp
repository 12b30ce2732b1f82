#include "cutloader.h"

#include "filedescriptor.h"
#include "hugepages.h"

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

// Reads exactly `size` bytes, however many calls it takes.
LoadResult readExactly(int fd, char* target, std::size_t size) {
    const ssize_t got = readFully(fd, target, size);
    if (got < 0)
        return failure(LoadError::Unreadable, errno);
    if (static_cast<std::size_t>(got) < size)
        return failure(LoadError::Unreadable); // the file became shorter
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
    }
    return "unknown error";
}

LoadResult ReadWholeFile(const std::string& path, std::vector<char>& buffer) {
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
    if (LoadResult result = readExactly(file.fd.get(), bytes.data(), size); !result.ok())
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
