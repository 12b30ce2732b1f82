#include "recorddump.h"

#include "binarycutwriter.h"
#include "series.h"
#include "synthtesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

constexpr float kG00Feed = 5000.0f;

// Every line as printf writes it: what `curvex dump` has always printed.
std::string printfLines(const CutDataSet& data, float g00Feed) {
    std::string lines = "i,toolNo,blockNo,motionCode,x,y,z,orgFeed,removalKind,removal,optFeed,"
                        "totalDistance,cutDistance,series0,series1,series2\n";
    char line[512];
    for (std::uint32_t i = 0; i < data.count; ++i) {
        const CutRecord& r = data.records[i];
        std::snprintf(line, sizeof line,
                      "%u,%d,%d,%u,%.9g,%.9g,%.9g,%d,%u,%.9g,%d,%.9g,%.9g,%.9g,%.9g,%.9g\n", i,
                      r.toolNo, r.blockNo, r.motionCode, r.x, r.y, r.z, r.orgFeed, r.removalKind,
                      r.removal, r.optFeed, data.totalDistance[i], data.cutDistance[i],
                      seriesValue(data, i, 0, g00Feed), seriesValue(data, i, 1, g00Feed),
                      seriesValue(data, i, 2, g00Feed));
        lines += line;
    }
    return lines;
}

// What RecordDump::write gives on `threads` threads, read back from a temporary file.
std::string writtenLines(const RecordDump& dump, unsigned threads) {
    std::FILE* file = std::tmpfile();
    if (!file)
        return "no temporary file";
    dump.write(file, threads);
    std::string bytes(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    return bytes;
}

// More records than two rounds of formatting, and a last round that ends inside a piece, on one
// thread and on several: the lines in record order, each as printf writes it.
TEST(RecordDump, WritesWhatPrintfWritesInRecordOrder) {
    const CutDataSet data = load(generate<BinaryCutWriter>(3, 150'001), false);
    ASSERT_GT(data.count, 150'000u);
    const std::string expected = printfLines(data, kG00Feed);
    const RecordDump dump(data, RecordDump::allColumns(), kG00Feed);
    for (const unsigned threads : {1u, 2u, 3u, 8u})
        EXPECT_TRUE(writtenLines(dump, threads) == expected) << threads << " threads";
}

// Records whose numbers take every form of "%.9g": exponents, the longest texts, signed zeros,
// infinities and NaNs, subnormals, and extreme integers.
TEST(RecordDump, FormatsEveryKindOfNumberAsPrintf) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const float values[] = {0.0f,     -0.0f,        1e-5f,         1e-4f,          -1.23456789e-38f,
                            1e9f,     999999999.0f, 123456789.0f,  3.4028235e38f,  1.4e-45f,
                            kInf,     -kInf,        std::nanf(""), -std::nanf(""), 0.1f,
                            -16.762f, 1400.5f};
    constexpr std::size_t kCount = std::size(values);
    CutDataSet data;
    SizeCutData(data, kCount);
    data.count = kCount;
    for (std::size_t k = 0; k < kCount; ++k) {
        const float v = values[k];
        const float w = values[(k + 5) % kCount];
        CutRecord& r = data.records[k];
        r = CutRecord{};
        r.toolNo = static_cast<std::int16_t>(k % 2 ? INT16_MIN : INT16_MAX);
        r.blockNo = k % 2 ? INT32_MIN : INT32_MAX;
        r.motionCode = static_cast<std::uint8_t>(k % 3 ? 255 : 0);
        r.x = v;
        r.y = w;
        r.z = -v;
        r.orgFeed = k % 2 ? INT32_MIN : static_cast<std::int32_t>(k * 100);
        r.removalKind = static_cast<std::uint8_t>(k % 2 ? 255 : 1);
        r.removal = w;
        r.optFeed = k % 2 ? INT32_MAX : static_cast<std::int32_t>(k * 77);
        data.totalDistance[k] = v * 3.0f;
        data.cutDistance[k] = w / 7.0f;
        data.blockNos[k] = r.blockNo;
    }
    const RecordDump dump(data, RecordDump::allColumns(), 7321.5f);
    EXPECT_EQ(writtenLines(dump, 2), printfLines(data, 7321.5f));
}

TEST(RecordDump, NamedColumnsInTheirOrder) {
    std::string unknown;
    const auto columns = RecordDump::columnsNamed("series2,i,x,i", unknown);
    ASSERT_TRUE(columns);
    using enum RecordDump::Column;
    EXPECT_EQ(*columns, (std::vector<RecordDump::Column>{Series2, Index, X, Index}));
    for (const char* list : {"", "x,", ",x", "x,,y", "X", "x y", "series3"}) {
        EXPECT_FALSE(RecordDump::columnsNamed(list, unknown)) << list;
    }
    EXPECT_FALSE(RecordDump::columnsNamed("x,seris0,y", unknown));
    EXPECT_EQ(unknown, "seris0");
}

// A disk that is full: the write stops with the stream's error set, without waiting for ever.
TEST(RecordDump, AFailedWriteLeavesTheStreamsError) {
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    const CutDataSet data = load(generate<BinaryCutWriter>(3, 100'000), false);
    RecordDump(data, RecordDump::allColumns(), kG00Feed).write(full, 2);
    EXPECT_TRUE(std::ferror(full));
    std::fclose(full);
}

} // namespace
