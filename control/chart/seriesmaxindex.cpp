#include "seriesmaxindex.h"

#include "series.h"

#include <algorithm>
#include <cmath>

bool IsHigherValue(float a, float b) {
    return a > b || (std::isnan(b) && !std::isnan(a));
}

bool SeriesMaxIndex::covers(std::uint8_t primaryDrawMode, float g00Feed) const {
    return built_ && drawMode_ == primaryDrawMode &&
           (g00Feed_ == g00Feed || (std::isnan(g00Feed_) && std::isnan(g00Feed)));
}

float SeriesMaxIndex::valueOf(const CutDataSet& data, std::uint32_t i) const {
    return seriesValue(data, i, drawMode_, g00Feed_);
}

void SeriesMaxIndex::build(const CutDataSet& data, std::uint8_t primaryDrawMode, float g00Feed) {
    built_ = true;
    drawMode_ = primaryDrawMode;
    g00Feed_ = g00Feed;
    const std::size_t blocks = (data.count + kBlock - 1) / kBlock;
    blockMax_.assign(blocks, 0.0f);
    known_.assign(blocks, false);
}

float SeriesMaxIndex::blockMax(const CutDataSet& data, std::uint32_t block) {
    if (known_[block])
        return blockMax_[block];
    const std::uint32_t lo = block * kBlock;
    const std::uint32_t hi = std::min(lo + kBlock, data.count);
    float best = valueOf(data, lo);
    for (std::uint32_t i = lo + 1; i < hi; ++i) {
        const float value = valueOf(data, i);
        if (IsHigherValue(value, best))
            best = value;
    }
    known_[block] = true;
    blockMax_[block] = best;
    return best;
}

void SeriesMaxIndex::scan(const CutDataSet& data, std::uint32_t lo, std::uint32_t hi, Highest& best,
                          bool& found) const {
    for (std::uint32_t i = lo; i < hi; ++i) {
        const float value = valueOf(data, i);
        if (!found || IsHigherValue(value, best.value)) {
            best = {i, value};
            found = true;
        }
    }
}

SeriesMaxIndex::Highest SeriesMaxIndex::highest(const CutDataSet& data, std::uint32_t lo,
                                                std::uint32_t hi) {
    Highest best;
    bool found = false;
    const std::uint32_t firstWhole = (lo + kBlock - 1) / kBlock;
    const std::uint32_t endWhole = hi / kBlock;
    if (firstWhole >= endWhole) {
        scan(data, lo, hi, best, found);
        return best;
    }
    scan(data, lo, firstWhole * kBlock, best, found);
    // The block that first beats the head; its record is found by one scan at the end.
    std::uint32_t bestBlock = endWhole;
    for (std::uint32_t b = firstWhole; b < endWhole; ++b) {
        const float value = blockMax(data, b);
        if (!found || IsHigherValue(value, best.value)) {
            best.value = value;
            bestBlock = b;
            found = true;
        }
    }
    if (bestBlock != endWhole) {
        bool inBlock = false;
        Highest blockBest;
        scan(data, bestBlock * kBlock, (bestBlock + 1) * kBlock, blockBest, inBlock);
        best = blockBest;
    }
    scan(data, endWhole * kBlock, hi, best, found);
    return best;
}
