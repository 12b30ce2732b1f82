#include "cutdatachecks.h"

#include "machiningtime.h"
#include "series.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool SameFloat(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

template <typename T, typename Equal>
bool SameArray(const LoadedArray<T>& a, const LoadedArray<T>& b, Equal equal) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!equal(a[i], b[i]))
            return false;
    }
    return true;
}

void CheckSizes(const CutDataSet& data) {
    if (data.records.size() != data.count || data.totalDistance.size() != data.count ||
        data.cutDistance.size() != data.count || data.blockNos.size() != data.count)
        FailInvariant("an array does not have count elements");
}

void CheckDistances(const CutDataSet& data) {
    // A comparison with NaN is false, so only steps that went wrong in finite arithmetic fail.
    for (std::uint32_t i = 0; i < data.count; ++i) {
        if (data.blockNos[i] != data.records[i].blockNo)
            FailInvariant("blockNos differs from the record's blockNo");
        const float previousTotal = i == 0 ? 0.0f : data.totalDistance[i - 1];
        const float previousCut = i == 0 ? 0.0f : data.cutDistance[i - 1];
        if (data.totalDistance[i] < previousTotal)
            FailInvariant("totalDistance decreases");
        if (data.cutDistance[i] < previousCut)
            FailInvariant("cutDistance decreases");
        if (data.records[i].motionCode == 0 && !SameFloat(data.cutDistance[i], previousCut))
            FailInvariant("a G00 move changes cutDistance");
    }
}

void CheckMaxima(const CutDataSet& data) {
    float maxRemoval = 0.0f;
    float maxRateOrg = 0.0f;
    float maxRateOpt = 0.0f;
    for (const CutRecord& record : data.records) {
        if (record.removal > maxRemoval)
            maxRemoval = record.removal;
        if (record.motionCode == 0)
            continue;
        const float rateOrg = static_cast<float>(record.orgFeed) * record.removal * kPerSecond;
        const float rateOpt = static_cast<float>(record.optFeed) * record.removal * kPerSecond;
        if (rateOrg > maxRateOrg)
            maxRateOrg = rateOrg;
        if (rateOpt > maxRateOpt)
            maxRateOpt = rateOpt;
    }
    if (!(data.maxima[0] >= 0.0f && data.maxima[1] >= 0.0f && data.maxima[2] >= 0.0f))
        FailInvariant("a maximum is negative or NaN");
    if (!SameFloat(data.maxima[0], maxRemoval))
        FailInvariant("maxRemoval is not the largest removal of this load");
    if (!SameFloat(data.maxima[1], maxRateOrg) || !SameFloat(data.maxima[2], maxRateOpt))
        FailInvariant("a rate maximum is not the largest rate of this load");
    for (int mode = 3; mode < kMaximaCount; ++mode) {
        if (data.maxima[mode] != 0.0f)
            FailInvariant("a maximum beyond entry 2 is not 0");
    }
}

// The move index gives back every step the loader added: each running distance is the sum in
// double of the records' move lengths so far, rounded to float, wherever the sum is finite.
void CheckMoveIndex(const CutDataSet& data) {
    if (data.moves.records != data.count)
        FailInvariant("the move index does not cover every record");
    std::uint64_t records = 0;
    for (const ToolSums& tool : data.moves.tools)
        records += tool.sums.records;
    if (records != data.count || data.moves.total.records != data.count)
        FailInvariant("the tool rows do not count every record once");
    double sum = 0.0;
    for (std::uint32_t i = 0; i < data.count; ++i) {
        sum += MoveLength(data, i);
        const auto total = static_cast<float>(sum);
        if (std::isfinite(total) && !SameFloat(total, data.totalDistance[i]))
            FailInvariant("a move length is not the step the loader added");
    }
}

} // namespace

void FailInvariant(std::string_view what) {
    std::fprintf(stderr, "invariant broken: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

CutDataSet PreviousDataSet() {
    CutDataSet data;
    CutRecord first;
    first.toolNo = 7;
    first.blockNo = -12345;
    first.motionCode = 1;
    first.x = 1.5f;
    first.orgFeed = 800;
    first.removalKind = 2;
    first.removal = 123.25f;
    first.optFeed = 1200;
    CutRecord second = first;
    second.blockNo = 99999;
    second.y = -2.0f;
    data.records = {first, second};
    data.totalDistance = {1.5f, 3.5f};
    data.cutDistance = {1.5f, 3.5f};
    data.blockNos = {first.blockNo, second.blockNo};
    data.count = 2;
    data.maxima[0] = 123.25f;
    data.maxima[1] = 1643.3334f;
    data.maxima[2] = 2465.0f;
    return data;
}

bool SameRecord(const CutRecord& a, const CutRecord& b) {
    return a.toolNo == b.toolNo && a.blockNo == b.blockNo && a.motionCode == b.motionCode &&
           SameFloat(a.x, b.x) && SameFloat(a.y, b.y) && SameFloat(a.z, b.z) &&
           a.orgFeed == b.orgFeed && a.removalKind == b.removalKind &&
           SameFloat(a.removal, b.removal) && a.optFeed == b.optFeed;
}

bool SameDataSet(const CutDataSet& a, const CutDataSet& b) {
    const auto sameInt = [](std::int32_t x, std::int32_t y) { return x == y; };
    return a.count == b.count && SameArray(a.records, b.records, SameRecord) &&
           SameArray(a.totalDistance, b.totalDistance, SameFloat) &&
           SameArray(a.cutDistance, b.cutDistance, SameFloat) &&
           SameArray(a.blockNos, b.blockNos, sameInt) &&
           std::equal(a.maxima.begin(), a.maxima.end(), b.maxima.begin(), SameFloat);
}

void CheckLoadedDataSet(const CutDataSet& data) {
    CheckSizes(data);
    CheckDistances(data);
    CheckMaxima(data);
    CheckMoveIndex(data);
}
