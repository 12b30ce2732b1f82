#include "piecedtextload.h"

#include "cuttextlines.h"
#include "hugepages.h"
#include "runeach.h"

#include <algorithm>
#include <cstring>
#include <new>

PiecedTextLoad::PiecedTextLoad(unsigned threads, LoadMonitor* monitor, std::size_t stretchBytes)
    : threads_(std::max(threads, 1u)), monitor_(monitor), stretchBytes_(stretchBytes),
      pieces_(threads_ > 1 ? threads_ * kPiecesPerThread : 1) {}

LoadResult PiecedTextLoad::load(const FilePieces& file, CutDataSet& out) {
    try {
        ParallelTextParser parser(threads_, monitor_);
        if (LoadResult result = readStretches(file, parser); !result.ok())
            return result;
        if (LoadResult result = file.unchanged(); !result.ok())
            return result;
        out = parser.finish();
    } catch (const std::bad_alloc&) {
        return {LoadError::OutOfMemory};
    }
    return {};
}

// Every stretch read and decoded in turn. A stretch without a line feed is kept whole for the
// next one: a line longer than a stretch is read on until its end.
LoadResult PiecedTextLoad::readStretches(const FilePieces& file, ParallelTextParser& parser) {
    const std::size_t size = file.size();
    std::size_t slots = 0;
    for (std::size_t offset = 0; offset < size;) {
        if (monitor_ && monitor_->cancelled)
            return {LoadError::Cancelled};
        // The kept line and the stretch share the buffer, which grows only for a line longer
        // than half a stretch.
        const std::size_t room = kept_ < stretchBytes_ / 2 ? stretchBytes_ - kept_ : stretchBytes_;
        const std::size_t length = std::min(room, size - offset);
        if (LoadResult result = fill(file, offset, length); !result.ok())
            return result;
        offset += length;
        const char* text = buffer_.data();
        const char* filled = text + kept_ + length;
        const char* end = filled;
        if (offset < size) {
            const void* feed = ::memrchr(text + kept_, '\n', length);
            if (!feed) {
                kept_ += length;
                continue;
            }
            end = static_cast<const char*>(feed) + 1;
        }
        for (const Piece& piece : pieces_)
            slots += piece.slots;
        if (!parser.read(linesOf(end), expectedRecords(slots, offset - (filled - end), size)))
            return {LoadError::Cancelled};
        kept_ = static_cast<std::size_t>(filled - end);
        std::memmove(buffer_.data(), end, kept_);
    }
    return {};
}

// Reads `length` bytes from `offset` after the kept line, in pieces on the threads, each counting
// the block lines of its piece; the kept line is the first piece's start and one more block line.
LoadResult PiecedTextLoad::fill(const FilePieces& file, std::size_t offset, std::size_t length) {
    if (buffer_.capacity() < kept_ + length) {
        buffer_.reserve(kept_ + length);
        adviseHugePages(buffer_.data(), buffer_.capacity());
    }
    buffer_.resize(kept_ + length);
    const std::size_t count = pieces_.size();
    runShared(count, threads_, [&](std::size_t k) {
        Piece& piece = pieces_[k];
        piece.begin = kept_ + length * k / count;
        piece.end = kept_ + length * (k + 1) / count;
        piece.result = file.read(offset + piece.begin - kept_, buffer_.data() + piece.begin,
                                 piece.end - piece.begin);
        piece.slots =
            cuttext::countBlockLines(buffer_.data() + piece.begin, buffer_.data() + piece.end);
        if (monitor_ && monitor_->read && piece.result.ok())
            monitor_->read();
    });
    pieces_[0].begin = 0;
    pieces_[0].slots += kept_ > 0 ? 1 : 0;
    for (const Piece& piece : pieces_)
        if (!piece.result.ok())
            return piece.result;
    return {};
}

// The pieces moved to the line starts at or after them, up to `end`: a piece's lines are those
// that start within it, so its block lines are at most those it counted.
std::vector<ParallelTextParser::Lines> PiecedTextLoad::linesOf(const char* end) const {
    const char* text = buffer_.data();
    std::vector<ParallelTextParser::Lines> lines;
    lines.reserve(pieces_.size());
    const char* begin = text;
    for (std::size_t k = 0; k < pieces_.size(); ++k) {
        const char* next =
            k + 1 < pieces_.size()
                ? ParallelTextParser::lineStartFrom(text, text + pieces_[k + 1].begin, end)
                : end;
        next = std::max(next, begin);
        lines.push_back({begin, next, pieces_[k].slots});
        begin = next;
    }
    return lines;
}

// The records of the whole file as the block lines counted so far in its first `decoded` bytes
// foretell them, with an eighth more, so that the arrays grow once.
std::size_t PiecedTextLoad::expectedRecords(std::size_t slots, std::size_t decoded,
                                            std::size_t size) const {
    const double share =
        static_cast<double>(size) / static_cast<double>(std::max<std::size_t>(decoded, 1));
    return static_cast<std::size_t>(static_cast<double>(slots) * share * 1.125);
}
