#include "movesums.h"

#include <cmath>

namespace {

constexpr double kSecondsPerMinute = 60.0;

// Seconds to move `length` mm at `feed` mm/min; false when there is no feed.
bool addTime(double length, double feed, double& time) {
    if (!(feed > 0.0))
        return false;
    time += kSecondsPerMinute * length / feed;
    return true;
}

} // namespace

void MoveSums::add(const CutRecord& record, double length) {
    ++records;
    if (!(length > 0.0) || !std::isfinite(length))
        return;
    if (record.motionCode == 0) {
        rapidLength += length;
        ++rapidMoves;
        return;
    }
    cutLength += length;
    if (!addTime(length, record.orgFeed, programmedCutTime))
        ++noFeedProgrammed;
    if (!addTime(length, record.optFeed, optimisedCutTime))
        ++noFeedOptimised;
}

void MoveSums::add(const MoveSums& other) {
    records += other.records;
    cutLength += other.cutLength;
    rapidLength += other.rapidLength;
    programmedCutTime += other.programmedCutTime;
    optimisedCutTime += other.optimisedCutTime;
    rapidMoves += other.rapidMoves;
    noFeedProgrammed += other.noFeedProgrammed;
    noFeedOptimised += other.noFeedOptimised;
}

MachiningTimes TimesOf(const MoveSums& sums, double g00Feed) {
    MachiningTimes times;
    times.records = sums.records;
    times.cutLength = sums.cutLength;
    times.rapidLength = sums.rapidLength;
    times.noFeedProgrammed = sums.noFeedProgrammed;
    times.noFeedOptimised = sums.noFeedOptimised;
    double rapidTime = 0.0;
    if (!addTime(sums.rapidLength, g00Feed, rapidTime) || !std::isfinite(g00Feed)) {
        rapidTime = 0.0;
        times.noFeedProgrammed += sums.rapidMoves;
        times.noFeedOptimised += sums.rapidMoves;
    }
    times.programmed = sums.programmedCutTime + rapidTime;
    times.optimised = sums.optimisedCutTime + rapidTime;
    times.saved = times.programmed - times.optimised;
    if (times.programmed > 0.0)
        times.savedPercent = times.saved / times.programmed * 100.0;
    return times;
}
