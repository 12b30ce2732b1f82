#include "cutdatatesting.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

// The last record a text gives, field by field, with its cumulative distances.
struct TextCase {
    const char* name;
    const char* text;
    std::uint32_t count;
    CutRecord last;
    float totalDistance;
    float cutDistance;
};

CutRecord record(std::int16_t toolNo, std::int32_t blockNo, std::uint8_t motionCode, float x,
                 float y, float z, std::int32_t orgFeed, std::uint8_t removalKind, float removal,
                 std::int32_t optFeed) {
    return {toolNo, blockNo, motionCode, x, y, z, orgFeed, removalKind, removal, optFeed};
}

void expectLastRecord(const TextCase& c) {
    SCOPED_TRACE(c.name);
    const CutDataSet data = loadText(c.text);
    ASSERT_EQ(data.count, c.count);
    expectArraysMatchCount(data);
    EXPECT_EQ(recordFields(data.records.back()), recordFields(c.last));
    EXPECT_EQ(data.blockNos.back(), c.last.blockNo);
    EXPECT_FLOAT_EQ(data.totalDistance.back(), c.totalDistance);
    EXPECT_FLOAT_EQ(data.cutDistance.back(), c.cutDistance);
}

TEST(CutText, BlockLines) {
    const TextCase cases[] = {
        {"full block", "N120(...)G01X10.5Y-3.2Z-1.0F800(A0.125)F1200", 1,
         record(0, 120, 1, 10.5f, -3.2f, -1.0f, 800, 1, 0.125f, 1200),
         std::sqrt(1.0f + 3.2f * 3.2f + 10.5f * 10.5f),
         std::sqrt(1.0f + 3.2f * 3.2f + 10.5f * 10.5f)},
        {"no G after the bracket gives code 4 and cuts", "N5)X10", 1,
         record(0, 5, 4, 10, 0, 0, 0, 0, 0, 0), 10, 10},
        {"G00 moves count only in the total", "N1)G00X3Y4", 1, record(0, 1, 0, 3, 4, 0, 0, 0, 0, 0),
         5, 0},
        {"lower-case n and g", "n7)g2X1", 1, record(0, 7, 2, 1, 0, 0, 0, 0, 0, 0), 1, 1},
        {"G with a blank before the code", "N1)G 3X1", 1, record(0, 1, 3, 1, 0, 0, 0, 0, 0, 0), 1,
         1},
        {"motion code keeps its low 8 bits", "N1)G300", 1, record(0, 1, 44, 0, 0, 0, 0, 0, 0, 0), 0,
         0},
        {"a G not right after the bracket is not read", "N1) G01X1", 1,
         record(0, 1, 4, 1, 0, 0, 0, 0, 0, 0), 1, 1},
        {"words are read only in their order", "N1)G01Y2X1", 1,
         record(0, 1, 1, 1, 0, 0, 0, 0, 0, 0), 1, 1},
        {"lower-case axis letters are not found", "N1)G01x1y2z3F5", 1,
         record(0, 1, 1, 0, 0, 0, 5, 0, 0, 0), 0, 0},
        {"block number saturates", "N99999999999)G01", 1,
         record(0, 2147483647, 1, 0, 0, 0, 0, 0, 0, 0), 0, 0},
        {"text up to the first bracket is skipped", "N1(X9F9(A9)G01X2", 1,
         record(0, 1, 1, 2, 0, 0, 0, 0, 0, 0), 2, 2},
        {"kind letters in either case", "N1)G01X1F1(v0.5)F2\nN2)G01(u0.25\nN3)G01(d2)", 3,
         record(0, 3, 1, 1, 0, 0, 1, 4, 2, 2), 1, 1},
        {"(N clears kind and removal", "N1)G01F1(A0.5)F2\nN2)G01F3(N0.9)F7", 2,
         record(0, 2, 1, 0, 0, 0, 3, 0, 0, 7), 0, 0},
        {"(n clears kind and removal too", "N1)G01F1(U0.5)F2\nN2)G01F3(n0.9)F7", 2,
         record(0, 2, 1, 0, 0, 0, 3, 0, 0, 7), 0, 0},
        {"another letter after ( changes nothing", "N1)G01F1(A0.5)F2\nN2)G01F3(Q9)F7", 2,
         record(0, 2, 1, 0, 0, 0, 3, 1, 0.5f, 7), 0, 0},
        {"an axis letter inside the bracket is still an axis", "N1)G01(X9)", 1,
         record(0, 1, 1, 9, 0, 0, 0, 0, 0, 0), 9, 9},
        {"no bracket keeps kind and removal", "N1)G01F1(V0.5)F2\nN2)G01X1F3", 2,
         record(0, 2, 1, 1, 0, 0, 3, 2, 0.5f, 2), 1, 1},
        {"an F only behind the bracket is the programmed feed",
         "N1)G01F100(A0.25)F200\nN2)G01X1(V0.5)F300", 2,
         record(0, 2, 1, 1, 0, 0, 300, 1, 0.25f, 200), 1, 1},
        {"feeds are modal, position too", "N1)G01X1Y1Z1F100(A1)F200\nN2)G01Z4", 2,
         record(0, 2, 1, 1, 1, 4, 100, 1, 1, 200), std::sqrt(3.0f) + 3, std::sqrt(3.0f) + 3},
        {"a carriage return ends the line", "N1)G01X1\rY5\r\n", 1,
         record(0, 1, 1, 1, 0, 0, 0, 0, 0, 0), 1, 1},
        {"no number after a carriage return", "N1)G01X\r5\nN2)G01", 2,
         record(0, 2, 1, 0, 0, 0, 0, 0, 0, 0), 0, 0},
        {"blanks before a number stay in their line", "N1)G01X1F \n7\nN2)G01Y \n8", 2,
         record(0, 2, 1, 1, 0, 0, 0, 0, 0, 0), 1, 1},
        {"blanks before numbers within the line", "N1)G01X 3Y\t4F 5( A1)F 6\nN2)G01", 2,
         record(0, 2, 1, 3, 4, 0, 5, 0, 0, 6), 5, 5},
        {"numbers in every C form", "N1)G01X1e1Y0x10Z+2F+3(A.5)F-7\nN2)G01", 2,
         record(0, 2, 1, 10, 16, 2, 3, 1, 0.5f, -7), std::sqrt(360.0f), std::sqrt(360.0f)},
        {"a word letter inside a number form is still found", "N1)G01X1eY2\nN2)G01", 2,
         record(0, 2, 1, 1, 2, 0, 0, 0, 0, 0), std::sqrt(5.0f), std::sqrt(5.0f)},
    };
    for (const TextCase& c : cases)
        expectLastRecord(c);
}

TEST(CutText, OtherLines) {
    const TextCase cases[] = {
        {"G92 presets the position without a record", "G92X1Y2Z3\nN1)G01X4", 1,
         record(0, 1, 1, 4, 2, 3, 0, 0, 0, 0), 3, 3},
        {"g92 in lower case", "g92X1Y2Z3\nN1)G01X4", 1, record(0, 1, 1, 4, 2, 3, 0, 0, 0, 0), 3, 3},
        {"G92 with a lower-case axis keeps the position", "G92x1Y2\nN1)G01", 1,
         record(0, 1, 1, 0, 2, 0, 0, 0, 0, 0), 0, 0},
        {"G92 after a block", "N1)G01X5\nG92X0\nN2)G01X1", 2, record(0, 2, 1, 1, 0, 0, 0, 0, 0, 0),
         6, 6},
        {"other G lines are ignored", "G90X7\nG9\nG\nG93X5\nN1)G01", 1,
         record(0, 1, 1, 0, 0, 0, 0, 0, 0, 0), 0, 0},
        {"T sets the tool", "T5\nN1)G01", 1, record(5, 1, 1, 0, 0, 0, 0, 0, 0, 0), 0, 0},
        {"t in lower case", "t6\nN1)G01", 1, record(6, 1, 1, 0, 0, 0, 0, 0, 0, 0), 0, 0},
        {"tool number kept to 16 bits", "T70000\nN1)G01", 1,
         record(4464, 1, 1, 0, 0, 0, 0, 0, 0, 0), 0, 0},
        {"negative tool number", "T-1\nN1)G01", 1, record(-1, 1, 1, 0, 0, 0, 0, 0, 0, 0), 0, 0},
        {"out-of-range tool number", "T99999999999\nN1)G01", 1,
         record(-1, 1, 1, 0, 0, 0, 0, 0, 0, 0), 0, 0},
        {"ignored lines and endings",
         "%\r\nO1234\r\n(N1)G01X5)\r\nM06\r\n N2)G01X5\r\n\r\n\n\n"
         "N3)G01X1\r\n",
         1, record(0, 3, 1, 1, 0, 0, 0, 0, 0, 0), 1, 1},
        {"a block line without ) is skipped whole", "N1)G01X1F5\nN2G00X9F7\nN3)G01X2", 2,
         record(0, 3, 1, 2, 0, 0, 5, 0, 0, 0), 2, 2},
    };
    for (const TextCase& c : cases)
        expectLastRecord(c);
}

// Bytes without a block line give a data set without records; no bytes at all fail as an empty
// file does.
TEST(CutText, NoBlockLinesLoadsAnEmptyDataSet) {
    CutDataSet kept = previousDataSet();
    EXPECT_EQ(parseText("", kept).error, LoadError::Empty);
    expectSameDataSet(kept, previousDataSet());
    for (const char* text : {"\n", "\n\n", "%\r\nO1\r\nG92X1\r\nT2\r\n", "N1 no bracket\n"}) {
        CutDataSet data = previousDataSet();
        ASSERT_TRUE(parseText(text, data).ok());
        EXPECT_EQ(data.count, 0u) << text;
        EXPECT_FALSE(data.hasData());
        expectArraysMatchCount(data);
        EXPECT_EQ(data.maxima, (std::array<float, kMaximaCount>{}));
    }
}

TEST(CutText, DistancesAccumulatePerRecord) {
    const CutDataSet data = loadText("N1)G00X3Y4\nN2)G01X6Y8\nN3)G00Z12\nN4)X6Y8Z0\nN5)G02Z-1");
    const LoadedArray<float> total = {5, 10, 22, 34, 35};
    const LoadedArray<float> cutting = {0, 5, 5, 17, 18};
    EXPECT_EQ(data.totalDistance, total);
    EXPECT_EQ(data.cutDistance, cutting);
    EXPECT_EQ(data.blockNos, (LoadedArray<std::int32_t>{1, 2, 3, 4, 5}));
}

// Block numbers come from the file as they are; nothing requires them to increase.
// Steps far shorter than the float step of the distance reached are summed in double: rapids to
// 10,000,000 mm and back, then 1,000 cuts of 0.25 mm, give 20,000,250 mm in all (float sums would
// stay at 20,000,000), and each stored distance is the double sum rounded to float, whose step is
// 2 there. The sequential reader and the parallel one sum alike.
TEST(CutText, DistancesAreSummedInDouble) {
    std::string text = "N1)G00X10000000\nN2)G00X0\n";
    for (int i = 0; i < 1000; ++i)
        text.append(i % 2 == 0 ? "N3)G01X0.25\n" : "N4)G01X0\n");
    for (const unsigned threads : {1u, 3u}) {
        SCOPED_TRACE(threads);
        CutDataSet data;
        ASSERT_TRUE(parseText(text, data, threads).ok());
        ASSERT_EQ(data.count, 1002u);
        EXPECT_EQ(data.totalDistance.back(), 20000250.0f);
        EXPECT_EQ(data.cutDistance.back(), 250.0f);
        EXPECT_EQ(data.totalDistance[1 + 2], 20000000.0f);  // 20,000,000.5
        EXPECT_EQ(data.totalDistance[1 + 4], 20000000.0f);  // 20,000,001: the even one
        EXPECT_EQ(data.totalDistance[1 + 6], 20000002.0f);  // 20,000,001.5
        EXPECT_EQ(data.totalDistance[1 + 12], 20000004.0f); // 20,000,003: the even one
    }
}

TEST(CutText, BlockNumbersNeedNotIncrease) {
    const CutDataSet data = loadText("N30)G01\nN-2)G01\nN30)G01\n");
    EXPECT_EQ(data.blockNos, (LoadedArray<std::int32_t>{30, -2, 30}));
}

struct MaximaCase {
    const char* name;
    const char* text;
    float maxRemoval;
    float maxRateOrg;
    float maxRateOpt;
};

TEST(CutText, Maxima) {
    const MaximaCase cases[] = {
        {"rates with both feeds", "N1)G01F600(A0.5)F1200\nN2)G01F100(V2)F50", 2.0f,
         600 * 0.5f * 0.016666668f, 1200 * 0.5f * 0.016666668f},
        {"G00 blocks raise only the removal", "N1)G00F6000(A3)F6000\nN2)G01F60(A1)F120", 3.0f,
         60 * 1.0f * 0.016666668f, 120 * 1.0f * 0.016666668f},
        {"G00 blocks only", "N1)G00F100(A3)F100\nN2)G00(A5)", 5.0f, 0, 0},
        {"negative values never raise a maximum", "N1)G01F100(A-2)F100\nN2)G01F-5(A1)F-5", 1, 0, 0},
        {"negative feed with negative removal", "N1)G01F-100(A-2)F-50", 0,
         -100 * -2.0f * 0.016666668f, -50 * -2.0f * 0.016666668f},
        {"no positive value keeps 0", "N1)G01F100(N)F100", 0, 0, 0},
    };
    for (const MaximaCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CutDataSet data = loadText(c.text);
        EXPECT_EQ(data.maxRemoval(), c.maxRemoval);
        EXPECT_EQ(data.maxRateOrg(), c.maxRateOrg);
        EXPECT_EQ(data.maxRateOpt(), c.maxRateOpt);
        for (int i = 3; i < kMaximaCount; ++i)
            EXPECT_EQ(data.maxima[i], 0.0f);
    }
}

TEST(CutText, SuccessReplacesTheWholeDataSet) {
    CutDataSet data = previousDataSet();
    ASSERT_GT(data.maxRateOpt(), 0.0f);
    ASSERT_TRUE(parseText("N7)G01F10(A0.1)F10", data).ok());
    ASSERT_EQ(data.count, 1u);
    EXPECT_EQ(data.records[0].blockNo, 7);
    EXPECT_EQ(data.maxRemoval(), 0.1f);
    EXPECT_EQ(data.maxRateOpt(), 10 * 0.1f * 0.016666668f);
    expectArraysMatchCount(data);
}

} // namespace
