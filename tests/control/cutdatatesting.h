#pragma once

#include "cutloader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

// Loads `text` as a text file's bytes, from a buffer of their exact size (so that a sanitizer sees
// any read past them).
inline LoadResult parseText(const std::string& text, CutDataSet& data, unsigned threads = 0) {
    const std::vector<char> buffer(text.begin(), text.end());
    return LoadCutBytes(buffer, CutFormat::Text, data, {.threads = threads});
}

inline CutDataSet loadText(const std::string& text) {
    CutDataSet data;
    const LoadResult result = parseText(text, data);
    EXPECT_TRUE(result.ok()) << result.reason();
    return data;
}

// The bytes of a binary file, little-endian.
class BinaryBytes {
public:
    BinaryBytes& header(float x, float y, float z) { return f32(x).f32(y).f32(z); }
    BinaryBytes& u8(std::uint8_t value) {
        bytes_.push_back(static_cast<char>(value));
        return *this;
    }
    BinaryBytes& u16(std::uint16_t value) { return u8(value & 0xFF).u8(value >> 8); }
    BinaryBytes& i32(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        return u16(bits & 0xFFFF).u16(bits >> 16);
    }
    BinaryBytes& f32(float value) {
        std::int32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return i32(bits);
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

inline LoadResult decodeBinary(const std::string& bytes, CutDataSet& data, unsigned threads = 0) {
    const std::vector<char> buffer(bytes.begin(), bytes.end());
    return LoadCutBytes(buffer, CutFormat::Binary, data, {.threads = threads});
}

inline CutDataSet loadBinary(const std::string& bytes) {
    CutDataSet data;
    const LoadResult result = decodeBinary(bytes, data);
    EXPECT_TRUE(result.ok()) << result.reason();
    return data;
}

// A data set as a previous load leaves it, to see that a failed load keeps it.
inline CutDataSet previousDataSet() {
    return loadText("T3\nN10)G01X3Y4F600(A0.5)F900\nN11)G00X0Y0(N)\n");
}

inline auto recordFields(const CutRecord& r) {
    return std::tuple(r.toolNo, r.blockNo, r.motionCode, r.x, r.y, r.z, r.orgFeed, r.removalKind,
                      r.removal, r.optFeed);
}

inline void expectSameDataSet(const CutDataSet& actual, const CutDataSet& expected) {
    ASSERT_EQ(actual.count, expected.count);
    ASSERT_EQ(actual.records.size(), expected.records.size());
    for (std::size_t i = 0; i < expected.records.size(); ++i)
        EXPECT_EQ(recordFields(actual.records[i]), recordFields(expected.records[i]))
            << "record " << i;
    EXPECT_EQ(actual.totalDistance, expected.totalDistance);
    EXPECT_EQ(actual.cutDistance, expected.cutDistance);
    EXPECT_EQ(actual.blockNos, expected.blockNos);
    EXPECT_EQ(actual.maxima, expected.maxima);
}

// The four arrays hold `count` elements. A load that read its file in stretches may keep room for
// more records, which it never touched: trimming it would copy the arrays at the load's peak.
inline void expectArraysMatchCount(const CutDataSet& data) {
    EXPECT_EQ(data.records.size(), data.count);
    EXPECT_EQ(data.totalDistance.size(), data.count);
    EXPECT_EQ(data.cutDistance.size(), data.count);
    EXPECT_EQ(data.blockNos.size(), data.count);
}
