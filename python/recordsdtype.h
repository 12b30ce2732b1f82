#pragma once

#include "cutrecord.h"

#include <cstddef>

// The fields of CutRecord as numpy sees them: name, type code and offset, so that a structured
// array lies over the records as they are in memory. The assertions pin the layout that the table
// describes; a change of CutRecord stops the build here instead of giving wrong numbers.
struct RecordField {
    const char* name;
    const char* format;
    std::size_t offset;
};

inline constexpr RecordField kRecordFields[] = {
    {"toolNo", "i2", offsetof(CutRecord, toolNo)},
    {"blockNo", "i4", offsetof(CutRecord, blockNo)},
    {"motionCode", "u1", offsetof(CutRecord, motionCode)},
    {"x", "f4", offsetof(CutRecord, x)},
    {"y", "f4", offsetof(CutRecord, y)},
    {"z", "f4", offsetof(CutRecord, z)},
    {"orgFeed", "i4", offsetof(CutRecord, orgFeed)},
    {"removalKind", "u1", offsetof(CutRecord, removalKind)},
    {"removal", "f4", offsetof(CutRecord, removal)},
    {"optFeed", "i4", offsetof(CutRecord, optFeed)},
};

static_assert(offsetof(CutRecord, toolNo) == 0 && offsetof(CutRecord, blockNo) == 4 &&
              offsetof(CutRecord, motionCode) == 8 && offsetof(CutRecord, x) == 12 &&
              offsetof(CutRecord, y) == 16 && offsetof(CutRecord, z) == 20 &&
              offsetof(CutRecord, orgFeed) == 24 && offsetof(CutRecord, removalKind) == 28 &&
              offsetof(CutRecord, removal) == 32 && offsetof(CutRecord, optFeed) == 36);
static_assert(sizeof(CutRecord) == 40, "the records dtype's itemsize");
