#include "cutdataset.h"

#include "hugepages.h"

#include <limits>
#include <new>

void ReserveCutData(CutDataSet& data, std::size_t records) {
    if (records > std::numeric_limits<std::uint32_t>::max())
        throw std::bad_alloc();
    data.records.reserve(records);
    data.totalDistance.reserve(records);
    data.cutDistance.reserve(records);
    data.blockNos.reserve(records);
    adviseHugePages(data.records.data(), records * sizeof(CutRecord));
    adviseHugePages(data.totalDistance.data(), records * sizeof(float));
    adviseHugePages(data.cutDistance.data(), records * sizeof(float));
    adviseHugePages(data.blockNos.data(), records * sizeof(std::int32_t));
}

void SizeCutData(CutDataSet& data, std::size_t records) {
    ReserveCutData(data, records);
    data.records.resize(records);
    data.totalDistance.resize(records);
    data.cutDistance.resize(records);
    data.blockNos.resize(records);
}

void FreeCutData(CutDataSet& data) {
    // Swapping with empty vectors gives the memory back, which clear() would not.
    LoadedArray<CutRecord>().swap(data.records);
    LoadedArray<float>().swap(data.totalDistance);
    LoadedArray<float>().swap(data.cutDistance);
    LoadedArray<std::int32_t>().swap(data.blockNos);
    data.moves = MoveIndex();
    data.index = CutIndex();
}
