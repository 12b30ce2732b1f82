#pragma once

#include "cutdatatesting.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

// Data sets compared to the bit: records, distances, block numbers, maxima and the move index.

inline std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline auto recordBits(const CutRecord& r) {
    return std::tuple(r.toolNo, r.blockNo, r.motionCode, bitsOf(r.x), bitsOf(r.y), bitsOf(r.z),
                      r.orgFeed, r.removalKind, bitsOf(r.removal), r.optFeed);
}

inline std::vector<std::uint32_t> floatBits(const LoadedArray<float>& values) {
    std::vector<std::uint32_t> bits;
    for (const float value : values)
        bits.push_back(bitsOf(value));
    return bits;
}

inline auto sumsOf(const MoveSums& sums) {
    return std::tuple(sums.records, sums.cutLength, sums.rapidLength, sums.programmedCutTime,
                      sums.optimisedCutTime, sums.rapidMoves, sums.noFeedProgrammed,
                      sums.noFeedOptimised, sums.airLength, sums.airProgrammedTime,
                      sums.airOptimisedTime);
}

inline void expectSameMoves(const MoveIndex& actual, const MoveIndex& expected,
                            const std::string& what) {
    EXPECT_EQ(actual.records, expected.records) << what;
    EXPECT_EQ(actual.startPoint, expected.startPoint) << what;
    ASSERT_EQ(actual.tools.size(), expected.tools.size()) << what;
    for (std::size_t i = 0; i < expected.tools.size(); ++i) {
        EXPECT_EQ(actual.tools[i].toolNo, expected.tools[i].toolNo) << what;
        EXPECT_EQ(actual.tools[i].colours, expected.tools[i].colours) << what;
        EXPECT_EQ(sumsOf(actual.tools[i].sums), sumsOf(expected.tools[i].sums)) << what;
    }
    ASSERT_EQ(actual.groups.size(), expected.groups.size()) << what;
    for (std::size_t i = 0; i < expected.groups.size(); ++i)
        EXPECT_EQ(sumsOf(actual.groups[i]), sumsOf(expected.groups[i])) << what;
    ASSERT_EQ(actual.exceptions.size(), expected.exceptions.size()) << what;
    for (std::size_t i = 0; i < expected.exceptions.size(); ++i) {
        EXPECT_EQ(actual.exceptions[i].record, expected.exceptions[i].record) << what;
        EXPECT_EQ(bitsOf(actual.exceptions[i].step), bitsOf(expected.exceptions[i].step)) << what;
    }
    ASSERT_EQ(actual.presets.size(), expected.presets.size()) << what;
    for (std::size_t i = 0; i < expected.presets.size(); ++i) {
        const PresetPoint& a = actual.presets[i];
        const PresetPoint& e = expected.presets[i];
        EXPECT_EQ(std::tuple(a.record, bitsOf(a.x), bitsOf(a.y), bitsOf(a.z)),
                  std::tuple(e.record, bitsOf(e.x), bitsOf(e.y), bitsOf(e.z)))
            << what << ", preset " << i;
    }
}

inline void expectBitIdentical(const CutDataSet& actual, const CutDataSet& expected,
                               const std::string& what) {
    ASSERT_EQ(actual.count, expected.count) << what;
    expectArraysMatchCount(actual);
    for (std::size_t i = 0; i < expected.records.size(); ++i)
        ASSERT_EQ(recordBits(actual.records[i]), recordBits(expected.records[i]))
            << what << ", record " << i;
    EXPECT_EQ(floatBits(actual.totalDistance), floatBits(expected.totalDistance)) << what;
    EXPECT_EQ(floatBits(actual.cutDistance), floatBits(expected.cutDistance)) << what;
    EXPECT_EQ(actual.blockNos, expected.blockNos) << what;
    for (int series = 0; series < kMaximaCount; ++series)
        EXPECT_EQ(bitsOf(actual.maxima[series]), bitsOf(expected.maxima[series])) << what;
    expectSameMoves(actual.moves, expected.moves, what);
}
