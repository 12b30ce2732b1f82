#include "cutbuilder.h"
#include "cutloader.h"

#include <array>
#include <cstring>
#include <new>

// The binary format: the start position (three floats), then entries of a 16-bit flag word
// followed by the fields whose bits are set, in ascending bit order, all little-endian. A flag
// word whose low byte is zero, or the end of the file, ends the data.

namespace {

constexpr std::size_t kHeaderSize = 12;

enum Flag : std::uint16_t {
    kToolNo = 0x0001,
    kBlockNo = 0x0002,
    kMotionCode = 0x0004,
    kX = 0x0008,
    kY = 0x0010,
    kZ = 0x0020,
    kOrgFeed = 0x0040,
    kRemovalKind = 0x0080,
    kRemoval = 0x0100,
    kOptFeed = 0x0200,
};

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

template <typename T> T readLittleEndian(const unsigned char* p) {
    std::make_unsigned_t<T> value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<std::make_unsigned_t<T>>(std::make_unsigned_t<T>(p[i]) << (8 * i));
    return static_cast<T>(value);
}

template <> float readLittleEndian<float>(const unsigned char* p) {
    const auto bits = readLittleEndian<std::uint32_t>(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint16_t flagsAt(const unsigned char* p) {
    return readLittleEndian<std::uint16_t>(p);
}

// Where the entry starting at `pos` ends its data: true when its flag word ends decoding.
bool endsData(const unsigned char* bytes, std::size_t size, std::size_t pos) {
    return pos >= size || bytes[pos] == 0;
}

// The first field that runs past the file's end, found by walking the flag words; counts the
// entries on the way. Returns false with `truncatedAt` set when an entry does not fit.
bool scanEntries(const unsigned char* bytes, std::size_t size, std::size_t& entries,
                 std::size_t& truncatedAt) {
    std::size_t pos = kHeaderSize;
    entries = 0;
    while (!endsData(bytes, size, pos)) {
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
const unsigned char* applyEntry(const unsigned char* p, CutRecord& state, float delta[3]) {
    const std::uint16_t flags = flagsAt(p);
    p += 2;
    if (flags & kToolNo) {
        state.toolNo = readLittleEndian<std::int16_t>(p);
        p += 2;
    }
    if (flags & kBlockNo) {
        state.blockNo = readLittleEndian<std::int32_t>(p);
        p += 4;
    }
    if (flags & kMotionCode)
        state.motionCode = *p++;
    float* axes[3] = {&state.x, &state.y, &state.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (flags & (kX << axis)) {
            const float value = readLittleEndian<float>(p);
            p += 4;
            delta[axis] = *axes[axis] - value;
            *axes[axis] = value;
        }
    }
    if (flags & kOrgFeed) {
        state.orgFeed = readLittleEndian<std::int32_t>(p);
        p += 4;
    }
    if (flags & kRemovalKind) {
        state.removalKind = *p++;
        if (state.removalKind > 3) {
            state.removalKind = 0;
            state.removal = 0.0f;
        }
    }
    if (flags & kRemoval) {
        state.removal = readLittleEndian<float>(p);
        p += 4;
    }
    if (flags & kOptFeed) {
        state.optFeed = readLittleEndian<std::int32_t>(p);
        p += 4;
    }
    return p;
}

} // namespace

LoadResult DecodeCutBinary(std::span<const char> buffer, CutDataSet& out) {
    if (buffer.empty())
        return {LoadError::Empty};
    // The last byte is the zero byte after the file's bytes.
    const std::size_t size = buffer.size() - 1;
    if (size == 0)
        return {LoadError::Empty};
    if (size < kHeaderSize)
        return {LoadError::TooShort};
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
    std::size_t entries = 0;
    std::size_t truncatedAt = 0;
    if (!scanEntries(bytes, size, entries, truncatedAt))
        return {LoadError::Truncated, truncatedAt};
    try {
        CutBuilder builder(entries + 1);
        CutRecord state;
        state.x = readLittleEndian<float>(bytes);
        state.y = readLittleEndian<float>(bytes + 4);
        state.z = readLittleEndian<float>(bytes + 8);
        builder.addStart(state);
        const unsigned char* p = bytes + kHeaderSize;
        for (std::size_t i = 0; i < entries; ++i) {
            float delta[3] = {0.0f, 0.0f, 0.0f};
            p = applyEntry(p, state, delta);
            builder.add(state, delta[0], delta[1], delta[2]);
        }
        out = builder.take();
    } catch (const std::bad_alloc&) {
        return {LoadError::OutOfMemory};
    }
    return {};
}
