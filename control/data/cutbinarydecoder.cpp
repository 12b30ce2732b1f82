#include "cutbinaryscan.h"
#include "cutbuilder.h"
#include "cutloader.h"
#include "partedload.h"
#include "runeach.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

using namespace cutbinary;

// Applies one entry to the running state; returns the position after it.
const unsigned char* applyEntry(const unsigned char* p, ReadState& read, float delta[3]) {
    CutRecord& state = read.record;
    const std::uint16_t flags = flagsAt(p);
    p += 2;
    if (flags & kToolField) {
        state.toolNo = readLittleEndian<std::int16_t>(p);
        p += 2;
    }
    if (flags & kBlockField) {
        state.blockNo = readLittleEndian<std::int32_t>(p);
        p += 4;
    }
    if (flags & kMotionField)
        state.motionCode = *p++;
    float* axes[3] = {&state.x, &state.y, &state.z};
    for (int axis = 0; axis < 3; ++axis) {
        const unsigned field = kXField << axis;
        if (flags & field) {
            const float value = readLittleEndian<float>(p);
            p += 4;
            delta[axis] = *axes[axis] - value;
            *axes[axis] = value;
            if (!(read.known & field))
                read.unknownMoves |= field;
        }
    }
    if (flags & kOrgFeedField) {
        state.orgFeed = readLittleEndian<std::int32_t>(p);
        p += 4;
    }
    if (flags & kRemovalKindField) {
        state.removalKind = *p++;
        if (state.removalKind > 3) {
            state.removalKind = 0;
            state.removal = 0.0f;
            read.known |= kRemovalField;
        }
    }
    if (flags & kRemovalField) {
        state.removal = readLittleEndian<float>(p);
        p += 4;
    }
    if (flags & kOptFeedField) {
        state.optFeed = readLittleEndian<std::int32_t>(p);
        p += 4;
    }
    read.known |= flags & kAllFields;
    return p;
}

// The record of the header: the start position, every other field at its default.
ReadState startState(const unsigned char* bytes) {
    ReadState state;
    state.record.x = readLittleEndian<float>(bytes);
    state.record.y = readLittleEndian<float>(bytes + 4);
    state.record.z = readLittleEndian<float>(bytes + 8);
    return state;
}

CutDataSet decodeInOrder(const unsigned char* bytes, std::size_t entries) {
    CutBuilder builder(entries + 1);
    ReadState state = startState(bytes);
    builder.addStart(state.record);
    const unsigned char* p = bytes + kHeaderSize;
    for (std::size_t i = 0; i < entries; ++i) {
        float delta[3] = {0.0f, 0.0f, 0.0f};
        p = applyEntry(p, state, delta);
        builder.add(state.record, delta[0], delta[1], delta[2]);
    }
    return builder.take();
}

// Decodes entries first..last - 1 of part k, starting at `p`; the first part begins with the
// header's record.
void decodePart(PartedLoad& load, std::size_t k, const unsigned char* bytes, const EntryCut& from,
                std::size_t last) {
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
        load.stepDone(part, steps, counted);
    }
    load.partDone(part, counted);
}

// The parts cut by the scan, decoded on `threads` threads, each of which takes the next part not
// taken when it is done with one.
CutDataSet decodeInParts(const unsigned char* bytes, std::size_t entries,
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
    return load.finish();
}

} // namespace

LoadResult DecodeCutBinary(std::span<const char> buffer, CutDataSet& out) {
    if (buffer.empty())
        return {LoadError::Empty};
    // The last byte is the zero byte after the file's bytes.
    return DecodeCutBinaryBytes(buffer.first(buffer.size() - 1), out,
                                CutLoadThreads(buffer.size() - 1));
}

LoadResult DecodeCutBinaryBytes(std::span<const char> file, CutDataSet& out, unsigned threads,
                                LoadMonitor* monitor) {
    const std::size_t size = file.size();
    if (size == 0)
        return {LoadError::Empty};
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
        out = scan.cuts.size() > 1 ? decodeInParts(bytes, scan.entries, scan.cuts, walks, monitor)
                                   : decodeInOrder(bytes, scan.entries);
    } catch (const std::bad_alloc&) {
        return {LoadError::OutOfMemory};
    } catch (const PartedLoad::Cancelled&) {
        return {LoadError::Cancelled};
    }
    return {};
}
