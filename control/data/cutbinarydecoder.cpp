#include "cutbinaryentry.h"
#include "cutbinaryscan.h"
#include "cutdecoders.h"
#include "partedload.h"
#include "runeach.h"

#include <algorithm>
#include <new>
#include <optional>
#include <vector>

namespace {

using namespace cutbinary;

// Decodes entries first..last - 1 of part k, starting at `p`; the first part begins with the
// header's record.
void decodePart(PartedLoad& load, std::size_t k, const unsigned char* bytes, const EntryCut& from,
                std::size_t last) {
    if (load.stopped())
        return;
    PartedLoad::Part& part = load.part(k);
    PartedLoad::Sink sink(part, load.data());
    if (k == 0) {
        part.state = startState(bytes);
        sink.add(part.state, 0.0f, 0.0f, 0.0f);
    }
    const unsigned char* p = bytes + from.offset;
    std::uint32_t steps = 0;
    std::uint32_t counted = 0;
    for (std::size_t i = from.entry; i < last; ++i) {
        float delta[3] = {0.0f, 0.0f, 0.0f};
        p = applyEntry(p, part.state, delta);
        sink.add(part.state, delta[0], delta[1], delta[2]);
        part.state.unknownMoves = 0;
        if (!load.stepDone(part, steps, counted))
            return;
    }
    load.partDone(part, counted);
}

// The parts cut by the scan, decoded on `threads` threads, each of which takes the next part not
// taken when it is done with one. Nothing when the monitor stopped the load.
std::optional<CutDataSet> decodeInParts(const unsigned char* bytes, std::size_t entries,
                                        const std::vector<EntryCut>& cuts, unsigned threads,
                                        LoadMonitor* monitor) {
    std::vector<std::size_t> ends;
    std::vector<std::size_t> slots;
    for (std::size_t k = 0; k < cuts.size(); ++k) {
        ends.push_back(k + 1 < cuts.size() ? cuts[k + 1].entry : entries);
        slots.push_back(ends[k] - cuts[k].entry + (k == 0 ? 1 : 0));
    }
    PartedLoad load(slots, PartedLoad::Delta::OldLessNew, monitor, threads);
    runShared(cuts.size(), threads,
              [&](std::size_t k) { decodePart(load, k, bytes, cuts[k], ends[k]); });
    if (load.stopped())
        return std::nullopt;
    return load.finish();
}

} // namespace

LoadResult DecodeBinaryBytes(std::span<const char> file, CutDataSet& out, unsigned threads,
                             LoadMonitor* monitor) {
    const std::size_t size = file.size();
    if (size < kHeaderSize)
        return {LoadError::TooShort};
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    try {
        // One thread decodes in order, in one part.
        const unsigned walks = std::max(threads, 1u);
        const EntryScan scan =
            ScanEntries({bytes, size}, walks, walks > 1 ? walks * kPiecesPerThread : 1);
        if (!scan.complete)
            return {LoadError::Truncated, scan.truncatedAt};
        std::optional<CutDataSet> decoded =
            decodeInParts(bytes, scan.entries, scan.cuts, walks, monitor);
        if (!decoded)
            return {LoadError::Cancelled};
        out = std::move(*decoded);
    } catch (const std::bad_alloc&) {
        return {LoadError::OutOfMemory};
    }
    return {};
}
