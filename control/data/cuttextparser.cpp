#include "cutdecoders.h"
#include "paralleltextparser.h"

#include <algorithm>
#include <new>
#include <optional>
#include <thread>

namespace {

// A text smaller than this is read on one thread: starting more costs more than it saves.
constexpr std::size_t kBytesPerThread = std::size_t{4} << 20;
constexpr unsigned kMostThreads = 8;

} // namespace

unsigned CutLoadThreads(std::size_t bytes) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t shares = std::max<std::size_t>(1, bytes / kBytesPerThread);
    return static_cast<unsigned>(std::min<std::size_t>({cores, shares, kMostThreads}));
}

LoadResult ParseTextBytes(std::span<const char> bytes, CutDataSet& out, unsigned threads,
                          LoadMonitor* monitor) {
    try {
        std::optional<CutDataSet> parsed = ParallelTextParser(std::max(threads, 1u), monitor)
                                               .parse(bytes.data(), bytes.data() + bytes.size());
        if (!parsed)
            return {LoadError::Cancelled};
        out = std::move(*parsed);
    } catch (const std::bad_alloc&) {
        return {LoadError::OutOfMemory};
    }
    return {};
}
