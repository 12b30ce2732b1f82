#include "programlinescan.h"

#include "programtext.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

// The first bytes of a line under way, kept from one piece to the next.
class LineHead {
public:
    explicit LineHead(std::size_t most) : most_(most) { bytes_.reserve(most); }

    void clear() { bytes_.clear(); }
    void append(const char* data, std::size_t length) {
        bytes_.append(data, std::min(length, most_ - std::min(most_, bytes_.size())));
    }
    // The first bytes of a line of `length` bytes, the line end left out.
    std::string_view of(std::uint64_t length) const {
        return std::string_view(bytes_).substr(0, std::min<std::uint64_t>(length, most_));
    }

private:
    std::size_t most_;
    std::string bytes_;
};

} // namespace

int ProgramLineScan::open(const std::string& path) {
    const LoadResult opened = file_.open(path);
    size_ = 0;
    switch (opened.error) {
    case LoadError::None:
        size_ = file_.size();
        return 0;
    case LoadError::Empty:
        return 0;
    case LoadError::NotRegular:
        return ProgramText::kNotRegular;
    default:
        return opened.systemError != 0 ? opened.systemError : EIO;
    }
}

int ProgramLineScan::run(std::uint64_t start, std::uint64_t number, std::size_t headBytes,
                         const Visitor& visit, const std::atomic<bool>* stop) const {
    try {
        return scan(start, number, headBytes, visit, stop);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

// Each piece is searched for line ends with memchr; the head of a line that goes on past the
// piece is kept for the line's end in a later one.
int ProgramLineScan::scan(std::uint64_t start, std::uint64_t number, std::size_t headBytes,
                          const Visitor& visit, const std::atomic<bool>* stop) const {
    const auto piece = std::make_unique<char[]>(kPieceBytes);
    LineHead head(headBytes);
    std::uint64_t lineStart = start;
    char last = '\0'; // the byte before the piece
    for (std::uint64_t at = start; at < size_;) {
        if (stop && stop->load(std::memory_order_relaxed))
            return ECANCELED;
        const auto length =
            static_cast<std::size_t>(std::min<std::uint64_t>(kPieceBytes, size_ - at));
        const LoadResult got = file_.read(at, piece.get(), length);
        if (got.error == LoadError::Changed)
            return 0;
        if (!got.ok())
            return got.systemError != 0 ? got.systemError : EIO;
        const char* const data = piece.get();
        std::size_t from = 0;
        while (const auto* end =
                   static_cast<const char*>(std::memchr(data + from, '\n', length - from))) {
            const auto offset = static_cast<std::size_t>(end - data);
            const std::size_t begin =
                lineStart >= at ? static_cast<std::size_t>(lineStart - at) : 0;
            head.append(data + begin, offset - begin);
            const std::uint64_t raw = at + offset - lineStart;
            const bool cr = raw > 0 && (offset > 0 ? data[offset - 1] : last) == '\r';
            const ScannedLine line{number, lineStart, raw - cr, cr, head.of(raw - cr)};
            if (!visit(line))
                return 0;
            head.clear();
            ++number;
            lineStart = at + offset + 1;
            from = offset + 1;
        }
        if (lineStart < at + length) {
            const std::size_t begin =
                lineStart >= at ? static_cast<std::size_t>(lineStart - at) : 0;
            head.append(data + begin, length - begin);
        }
        last = data[length - 1];
        at += length;
    }
    if (lineStart < size_) {
        const std::uint64_t raw = size_ - lineStart;
        const bool cr = last == '\r';
        visit(ScannedLine{number, lineStart, raw - cr, cr, head.of(raw - cr)});
    }
    return 0;
}

std::string ProgramLineScan::read(std::uint64_t offset, std::size_t length) const {
    if (offset >= size_)
        return {};
    std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset)),
                      '\0');
    if (!file_.read(offset, bytes.data(), bytes.size()).ok())
        return {};
    return bytes;
}
