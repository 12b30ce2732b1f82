#include "piecedbinaryload.h"

#include "binarystretchdecoder.h"
#include "cutbinaryscan.h"
#include "runeach.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

using cutbinary::kHeaderSize;

PiecedBinaryLoad::PiecedBinaryLoad(unsigned threads, LoadMonitor* monitor, std::size_t stretchBytes)
    : threads_(std::max(threads, 1u)), monitor_(monitor), stretchBytes_(stretchBytes) {}

// The buffer holds the header's 12 bytes, the start of an entry carried over from the stretch
// before, and the stretch. A truncated entry's offset in the buffer is turned into the file's.
LoadResult PiecedBinaryLoad::load(const FilePieces& file, CutDataSet& out) {
    const std::size_t size = file.size();
    if (size < kHeaderSize)
        return {LoadError::TooShort};
    try {
        buffer_.reserve(kHeaderSize + stretchBytes_ + 64);
        BinaryStretchDecoder decoder(threads_, monitor_);
        std::size_t kept = 0;
        for (std::size_t offset = 0; offset < size;) {
            if (monitor_ && monitor_->cancelled)
                return {LoadError::Cancelled};
            const std::size_t at = offset == 0 ? 0 : kHeaderSize + kept;
            const std::size_t length =
                std::min(size - offset, offset == 0 ? kHeaderSize + stretchBytes_ : stretchBytes_);
            if (LoadResult result = fill(file, offset, at, length); !result.ok())
                return result;
            offset += length;
            const std::size_t filled = at + length;
            const auto stretch = std::span<const unsigned char>(
                reinterpret_cast<const unsigned char*>(buffer_.data()), filled);
            const BinaryStretchDecoder::Stretch decoded = decoder.decode(
                stretch,
                offset == size ? 1.0 : static_cast<double>(offset) / static_cast<double>(size));
            if (decoded.result.error == LoadError::Truncated)
                return {LoadError::Truncated, decoded.result.offset + (offset - filled)};
            if (!decoded.result.ok())
                return decoded.result;
            if (decoded.dataEnded)
                break;
            kept = filled - decoded.end;
            std::memmove(buffer_.data() + kHeaderSize, buffer_.data() + decoded.end, kept);
        }
        if (LoadResult result = file.unchanged(); !result.ok())
            return result;
        out = decoder.finish();
    } catch (const std::bad_alloc&) {
        return {LoadError::OutOfMemory};
    }
    return {};
}

// Reads `length` bytes of the file from `offset` into the buffer at `at`, in pieces on the threads.
LoadResult PiecedBinaryLoad::fill(const FilePieces& file, std::size_t offset, std::size_t at,
                                  std::size_t length) {
    buffer_.resize(at + length);
    const std::size_t count = threads_ > 1 ? threads_ * kPiecesPerThread : 1;
    std::vector<LoadResult> results(count);
    runShared(count, threads_, [&](std::size_t k) {
        const std::size_t begin = length * k / count;
        const std::size_t end = length * (k + 1) / count;
        results[k] = file.read(offset + begin, buffer_.data() + at + begin, end - begin);
        if (monitor_ && monitor_->read && results[k].ok())
            monitor_->read();
    });
    for (const LoadResult& result : results)
        if (!result.ok())
            return result;
    return {};
}
