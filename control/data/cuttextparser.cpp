#include "cutbuilder.h"
#include "cutloader.h"
#include "cuttextlines.h"
#include "paralleltextparser.h"

#include <algorithm>
#include <new>
#include <thread>

namespace {

// A text smaller than this is read on one thread: starting more costs more than it saves.
constexpr std::size_t kBytesPerThread = std::size_t{4} << 20;
constexpr unsigned kMostThreads = 8;

// Hands the records of a sequential read to the builder.
struct BuilderSink {
    CutBuilder& builder;
    void add(const ReadState& state, float dx, float dy, float dz) {
        builder.add(state.record, dx, dy, dz);
    }
};

} // namespace

unsigned CutLoadThreads(std::size_t bytes) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t shares = std::max<std::size_t>(1, bytes / kBytesPerThread);
    return static_cast<unsigned>(std::min<std::size_t>({cores, shares, kMostThreads}));
}

LoadResult ParseCutText(std::span<const char> buffer, CutDataSet& out) {
    return ParseCutText(buffer, out, buffer.empty() ? 1 : CutLoadThreads(buffer.size() - 1));
}

LoadResult ParseCutText(std::span<const char> buffer, CutDataSet& out, unsigned threads,
                        LoadMonitor* monitor) {
    if (buffer.empty())
        return {LoadError::Empty};
    return ParseCutTextBytes(buffer.first(buffer.size() - 1), out, threads, monitor);
}

LoadResult ParseCutTextBytes(std::span<const char> bytes, CutDataSet& out, unsigned threads,
                             LoadMonitor* monitor) {
    const char* text = bytes.data();
    const char* end = text + bytes.size();
    try {
        if (threads > 1) {
            out = ParallelTextParser(threads, monitor).parse(text, end);
            return {};
        }
        CutBuilder builder(cuttext::countBlockLines(text, end));
        BuilderSink sink{builder};
        ReadState state;
        cuttext::forEachLine(
            text, end, [&](const char* line) { return cuttext::readLine(line, state, sink); });
        out = builder.take();
    } catch (const std::bad_alloc&) {
        return {LoadError::OutOfMemory};
    } catch (const PartedLoad::Cancelled&) {
        return {LoadError::Cancelled};
    }
    return {};
}
