#include "wholefile.h"

#include "runeach.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <stdexcept>

namespace {

LoadResult failure(LoadError error) {
    return {error, 0, 0};
}

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
            monitor->permille = static_cast<int>(LoadMonitor::kWholeFileReadEnds * (done / 1024) /
                                                 (size / 1024 + 1));
        }
        const std::size_t offset = i * kPiece;
        const std::size_t length = std::min(size - offset, kPiece);
        results[i] = piece(offset, length);
        if (!results[i].ok()) {
            failed = true;
            return;
        }
        done += length;
        if (monitor && monitor->read)
            monitor->read();
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

} // namespace

LoadResult WholeFile::read(const FilePieces& file, LoadedArray<char>& buffer,
                           LoadMonitor* monitor) {
    const std::size_t size = file.size();
    LoadedArray<char> bytes;
    try {
        bytes.reserve(size);
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return failure(LoadError::OutOfMemory);
    } catch (const std::length_error&) {
        return failure(LoadError::OutOfMemory);
    }
    if (LoadResult result = inPieces(size, CutLoadThreads(size), monitor,
                                     [&](std::size_t offset, std::size_t length) {
                                         return file.read(offset, bytes.data() + offset, length);
                                     });
        !result.ok())
        return result;
    if (LoadResult result = file.unchanged(); !result.ok())
        return result;
    buffer = std::move(bytes);
    return {};
}
