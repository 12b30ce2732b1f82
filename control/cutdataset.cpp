#include "cutdataset.h"

void FreeCutData(CutDataSet& data) {
    // Swapping with empty vectors gives the memory back, which clear() would not.
    std::vector<CutRecord>().swap(data.records);
    std::vector<float>().swap(data.totalDistance);
    std::vector<float>().swap(data.cutDistance);
    std::vector<std::int32_t>().swap(data.blockNos);
    data.moves = MoveIndex();
    data.index = CutIndex();
}
