#pragma once

#include "cutbinaryscan.h"
#include "cutfields.h"

#include <cstdint>

// One entry of the binary format applied to the state of the records before it.
namespace cutbinary {

// Applies one entry to the running state; returns the position after it.
inline const unsigned char* applyEntry(const unsigned char* p, ReadState& read, float delta[3]) {
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
inline ReadState startState(const unsigned char* bytes) {
    ReadState state;
    state.record.x = readLittleEndian<float>(bytes);
    state.record.y = readLittleEndian<float>(bytes + 4);
    state.record.z = readLittleEndian<float>(bytes + 8);
    return state;
}

} // namespace cutbinary
