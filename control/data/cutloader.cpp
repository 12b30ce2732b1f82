#include "cutloader.h"

#include "piecedtextload.h"
#include "wholefile.h"

#include <cstring>

namespace {

std::string withSystemError(const char* text, int systemError) {
    std::string reason = text;
    if (systemError != 0)
        reason.append(": ").append(std::strerror(systemError));
    return reason;
}

// The file at `path` read whole, its bytes decoded by `decode` on the loaders' threads.
template <typename Decode>
LoadResult decodeWholeFile(const FilePieces& file, CutDataSet& data, LoadMonitor* monitor,
                           Decode decode) {
    LoadedArray<char> buffer;
    if (LoadResult result = WholeFile::read(file, buffer, monitor); !result.ok())
        return result;
    const auto bytes = std::span<const char>(buffer).first(file.size());
    return decode(bytes, data, CutLoadThreads(bytes.size()), monitor);
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
    case LoadError::Changed:
        return "the file changed while it was read";
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

LoadResult ReadWholeFile(const std::string& path, LoadedArray<char>& buffer, LoadMonitor* monitor) {
    return WholeFile::read(path, buffer, monitor);
}

LoadResult ParseCutText(const std::string& path, CutDataSet& data, LoadMonitor* monitor) {
    FilePieces file;
    if (LoadResult result = file.open(path); !result.ok())
        return result;
    if (const unsigned threads = CutLoadThreads(file.size()); threads > 1)
        return PiecedTextLoad(threads, monitor).load(file, data);
    return decodeWholeFile(file, data, monitor, ParseCutTextBytes);
}

LoadResult DecodeCutBinary(const std::string& path, CutDataSet& data, LoadMonitor* monitor) {
    FilePieces file;
    if (LoadResult result = file.open(path); !result.ok())
        return result;
    return decodeWholeFile(file, data, monitor, DecodeCutBinaryBytes);
}

LoadResult LoadCutFile(const std::string& path, bool text, CutDataSet& data, LoadMonitor* monitor) {
    return text ? ParseCutText(path, data, monitor) : DecodeCutBinary(path, data, monitor);
}
