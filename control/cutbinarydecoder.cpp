#include "cutbuilder.h"
#include "cutloader.h"
#include "partedload.h"
#include "runeach.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <new>
#include <type_traits>
#include <vector>

// The binary format: the start position (three floats), then entries of a 16-bit flag word
// followed by the fields whose bits are set, in ascending bit order, all little-endian. A flag
// word whose low byte is zero, or the end of the file, ends the data.

namespace {

constexpr std::size_t kHeaderSize = 12;

constexpr std::array<std::uint8_t, 10> kFieldSizes = {2, 4, 1, 4, 4, 4, 4, 1, 4, 4};

// The bytes of an entry's fields for every combination of the ten field bits.
constexpr std::array<std::uint8_t, 1024> kEntrySizes = [] {
    std::array<std::uint8_t, 1024> sizes{};
    for (std::size_t flags = 0; flags < sizes.size(); ++flags) {
        for (std::size_t bit = 0; bit < kFieldSizes.size(); ++bit) {
            if (flags & (std::size_t{1} << bit))
                sizes[flags] = static_cast<std::uint8_t>(sizes[flags] + kFieldSizes[bit]);
        }
    }
    return sizes;
}();

// A little-endian field: one load on a little-endian machine, the bytes put together elsewhere.
template <typename T> T readLittleEndian(const unsigned char* p) {
    if constexpr (std::endian::native == std::endian::little) {
        T value;
        std::memcpy(&value, p, sizeof value);
        return value;
    } else if constexpr (std::is_floating_point_v<T>) {
        static_assert(sizeof(T) == sizeof(std::uint32_t), "the format's decimals are floats");
        return std::bit_cast<T>(readLittleEndian<std::uint32_t>(p));
    } else {
        std::make_unsigned_t<T> value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            value |= static_cast<std::make_unsigned_t<T>>(std::make_unsigned_t<T>(p[i]) << (8 * i));
        return static_cast<T>(value);
    }
}

std::uint16_t flagsAt(const unsigned char* p) {
    return readLittleEndian<std::uint16_t>(p);
}

// Where the entry starting at `pos` ends its data: true when its flag word ends decoding.
bool endsData(const unsigned char* bytes, std::size_t size, std::size_t pos) {
    return pos >= size || bytes[pos] == 0;
}

// Where a part of the entries starts: the entries before it and its byte offset.
struct EntryCut {
    std::size_t entry;
    std::size_t offset;
};

// The first field that runs past the file's end, found by walking the flag words; counts the
// entries on the way and cuts them into `parts` parts of about equal bytes. Returns false with
// `truncatedAt` set when an entry does not fit.
bool scanEntries(const unsigned char* bytes, std::size_t size, unsigned parts, std::size_t& entries,
                 std::vector<EntryCut>& cuts, std::size_t& truncatedAt) {
    std::size_t pos = kHeaderSize;
    entries = 0;
    cuts.assign(1, {0, pos});
    std::size_t nextCut = parts > 1 ? size / parts : size;
    while (!endsData(bytes, size, pos)) {
        if (pos >= nextCut) {
            cuts.push_back({entries, pos});
            nextCut = cuts.size() < parts ? size * cuts.size() / parts : size;
        }
        if (pos + 2 > size) {
            truncatedAt = pos;
            return false;
        }
        const std::uint16_t flags = flagsAt(bytes + pos);
        const std::size_t fieldsEnd = pos + 2 + kEntrySizes[flags & 0x3FF];
        if (fieldsEnd > size) {
            // Report the field that does not fit, not the entry.
            std::size_t field = pos + 2;
            for (std::size_t bit = 0; bit < kFieldSizes.size(); ++bit) {
                if (!(flags & (1u << bit)))
                    continue;
                if (field + kFieldSizes[bit] > size)
                    break;
                field += kFieldSizes[bit];
            }
            truncatedAt = field;
            return false;
        }
        pos = fieldsEnd;
        ++entries;
    }
    return true;
}

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
}

// The parts cut by the scan, each decoded on a thread of its own.
CutDataSet decodeInParts(const unsigned char* bytes, std::size_t entries,
                         const std::vector<EntryCut>& cuts, LoadMonitor* monitor) {
    std::vector<std::size_t> ends;
    std::vector<std::size_t> slots;
    for (std::size_t k = 0; k < cuts.size(); ++k) {
        ends.push_back(k + 1 < cuts.size() ? cuts[k + 1].entry : entries);
        slots.push_back(ends[k] - cuts[k].entry + (k == 0 ? 1 : 0));
    }
    PartedLoad load(slots, PartedLoad::Delta::OldLessNew, monitor);
    runEach(cuts.size(), [&](std::size_t k) { decodePart(load, k, bytes, cuts[k], ends[k]); });
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
    std::size_t entries = 0;
    std::vector<EntryCut> cuts;
    std::size_t truncatedAt = 0;
    if (!scanEntries(bytes, size, std::max(threads, 1u), entries, cuts, truncatedAt))
        return {LoadError::Truncated, truncatedAt};
    try {
        out = cuts.size() > 1 ? decodeInParts(bytes, entries, cuts, monitor)
                              : decodeInOrder(bytes, entries);
    } catch (const std::bad_alloc&) {
        return {LoadError::OutOfMemory};
    } catch (const PartedLoad::Cancelled&) {
        return {LoadError::Cancelled};
    }
    return {};
}
