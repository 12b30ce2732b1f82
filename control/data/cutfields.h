#pragma once

#include "cutrecord.h"

// The fields of a record as bits, in the order of the binary format's flag word. A field that a
// block does not give keeps its value from the block before.
enum CutField : unsigned {
    kToolField = 1u << 0,
    kBlockField = 1u << 1,
    kMotionField = 1u << 2,
    kXField = 1u << 3,
    kYField = 1u << 4,
    kZField = 1u << 5,
    kOrgFeedField = 1u << 6,
    kRemovalKindField = 1u << 7,
    kRemovalField = 1u << 8,
    kOptFeedField = 1u << 9,
    kAllFields = (1u << 10) - 1,
};

inline constexpr int kFieldCount = 10;

// The state that a file's blocks change while it is read. A part of a file read on its own starts
// without knowing the fields set before it: `known` tells which ones its blocks have set so far,
// `unknownMoves` which axes of the last block moved from a position set before the part.
struct ReadState {
    CutRecord record;
    unsigned known = kAllFields;
    unsigned unknownMoves = 0;
};

// Calls `handle` with the member pointer of every field in `fields`.
template <typename Handler> void forEachField(unsigned fields, Handler handle) {
    if (fields & kToolField)
        handle(&CutRecord::toolNo);
    if (fields & kBlockField)
        handle(&CutRecord::blockNo);
    if (fields & kMotionField)
        handle(&CutRecord::motionCode);
    if (fields & kXField)
        handle(&CutRecord::x);
    if (fields & kYField)
        handle(&CutRecord::y);
    if (fields & kZField)
        handle(&CutRecord::z);
    if (fields & kOrgFeedField)
        handle(&CutRecord::orgFeed);
    if (fields & kRemovalKindField)
        handle(&CutRecord::removalKind);
    if (fields & kRemovalField)
        handle(&CutRecord::removal);
    if (fields & kOptFeedField)
        handle(&CutRecord::optFeed);
}

// Copies the fields in `fields` from `from` into `to`.
inline void copyFields(unsigned fields, const CutRecord& from, CutRecord& to) {
    forEachField(fields, [&](auto member) { to.*member = from.*member; });
}
