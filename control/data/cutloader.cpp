#include "cutloader.h"

#include "cutdecoders.h"
#include "piecedbinaryload.h"
#include "piecedtextload.h"

#include <cstring>

namespace {

std::string withSystemError(const char* text, int systemError) {
    std::string reason = text;
    if (systemError != 0)
        reason.append(": ").append(std::strerror(systemError));
    return reason;
}

} // namespace

std::optional<CutFormat> CutFormatOfName(std::string_view path) {
    const auto endsWith = [path](std::string_view ending) {
        if (path.size() < ending.size())
            return false;
        for (std::size_t i = 0; i < ending.size(); ++i) {
            char c = path[path.size() - ending.size() + i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            if (c != ending[i])
                return false;
        }
        return true;
    };
    if (endsWith(".txt"))
        return CutFormat::Text;
    if (endsWith(".bin"))
        return CutFormat::Binary;
    return std::nullopt;
}

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

LoadResult LoadCutBytes(std::span<const char> bytes, CutFormat format, CutDataSet& out,
                        const LoadOptions& options) {
    if (bytes.empty())
        return {LoadError::Empty};
    const unsigned threads = options.threads ? options.threads : CutLoadThreads(bytes.size());
    return format == CutFormat::Text ? ParseTextBytes(bytes, out, threads, options.monitor)
                                     : DecodeBinaryBytes(bytes, out, threads, options.monitor);
}

LoadResult LoadCutFile(const std::string& path, CutFormat format, CutDataSet& out,
                       const LoadOptions& options) {
    FilePieces file;
    if (LoadResult result = file.open(path); !result.ok())
        return result;
    const unsigned threads = options.threads ? options.threads : CutLoadThreads(file.size());
    if (format == CutFormat::Text)
        return PiecedTextLoad(threads, options.monitor).load(file, out);
    return PiecedBinaryLoad(threads, options.monitor).load(file, out);
}
