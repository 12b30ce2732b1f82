#include "binarystretchdecoder.h"
#include "cutbinaryentry.h"
#include "cutbinaryscan.h"
#include "cutdecoders.h"
#include "partedload.h"
#include "runeach.h"

#include <algorithm>
#include <new>
#include <vector>

using namespace cutbinary;

BinaryStretchDecoder::BinaryStretchDecoder(unsigned threads, LoadMonitor* monitor)
    : load_(PartedLoad::Delta::OldLessNew, monitor, std::max(threads, 1u)),
      threads_(std::max(threads, 1u)) {}

// The parts cut by the scan, decoded on the threads, each of which takes the next part not taken
// when it is done with one.
BinaryStretchDecoder::Stretch BinaryStretchDecoder::decode(std::span<const unsigned char> stretch,
                                                           double readShare) {
    const bool last = readShare >= 1.0;
    const EntryScan scan =
        ScanEntries(stretch, threads_, threads_ > 1 ? threads_ * kPiecesPerThread : 1);
    if (!scan.complete && last)
        return {{LoadError::Truncated, scan.truncatedAt}};
    const std::size_t first = load_.parts();
    std::vector<std::size_t> ends;
    std::vector<std::size_t> slots;
    for (std::size_t k = 0; k < scan.cuts.size(); ++k) {
        ends.push_back(k + 1 < scan.cuts.size() ? scan.cuts[k + 1].entry : scan.entries);
        slots.push_back(ends[k] - scan.cuts[k].entry + (first + k == 0 ? 1 : 0));
    }
    const double records = static_cast<double>(load_.settledRecords() + scan.entries + 1);
    load_.addParts(slots, last ? 0 : static_cast<std::size_t>(records / readShare * 1.125));
    const unsigned char* end = stretch.data() + kHeaderSize;
    runShared(scan.cuts.size(), threads_, [&](std::size_t k) {
        const unsigned char* partEnd =
            decodePart(first + k, stretch.data(), scan.cuts[k].entry, scan.cuts[k].offset, ends[k]);
        if (k + 1 == scan.cuts.size())
            end = partEnd;
    });
    load_.closeGaps();
    if (load_.stopped())
        return {{LoadError::Cancelled}};
    const auto whole = static_cast<std::size_t>(end - stretch.data());
    return {{}, whole, scan.complete && whole < stretch.size()};
}

// Decodes entries entry..last - 1 of part k, from `offset` on, and gives where they end; the
// file's first part begins with the header's record.
const unsigned char* BinaryStretchDecoder::decodePart(std::size_t k, const unsigned char* bytes,
                                                      std::size_t entry, std::size_t offset,
                                                      std::size_t last) {
    const unsigned char* p = bytes + offset;
    if (load_.stopped())
        return p;
    PartedLoad::Part& part = load_.part(k);
    PartedLoad::Sink sink(part, load_.data());
    if (k == 0) {
        part.state = startState(bytes);
        sink.add(part.state, 0.0f, 0.0f, 0.0f);
    }
    std::uint32_t steps = 0;
    std::uint32_t counted = 0;
    for (std::size_t i = entry; i < last; ++i) {
        float delta[3] = {0.0f, 0.0f, 0.0f};
        p = applyEntry(p, part.state, delta);
        sink.add(part.state, delta[0], delta[1], delta[2]);
        part.state.unknownMoves = 0;
        if (!load_.stepDone(part, steps, counted))
            return p;
    }
    load_.partDone(part, counted);
    return p;
}

LoadResult DecodeBinaryBytes(std::span<const char> file, CutDataSet& out, unsigned threads,
                             LoadMonitor* monitor) {
    if (file.size() < kHeaderSize)
        return {LoadError::TooShort};
    try {
        BinaryStretchDecoder decoder(threads, monitor);
        const auto bytes = std::span<const unsigned char>(
            reinterpret_cast<const unsigned char*>(file.data()), file.size());
        if (const auto stretch = decoder.decode(bytes, 1.0); !stretch.result.ok())
            return stretch.result;
        out = decoder.finish();
    } catch (const std::bad_alloc&) {
        return {LoadError::OutOfMemory};
    }
    return {};
}
