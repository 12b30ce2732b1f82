#include "movesums.h"

using movesums::addTime;

void MoveSums::add(const MoveSums& other) {
    records += other.records;
    cutLength += other.cutLength;
    rapidLength += other.rapidLength;
    programmedCutTime += other.programmedCutTime;
    optimisedCutTime += other.optimisedCutTime;
    rapidMoves += other.rapidMoves;
    noFeedProgrammed += other.noFeedProgrammed;
    noFeedOptimised += other.noFeedOptimised;
    airLength += other.airLength;
    airProgrammedTime += other.airProgrammedTime;
    airOptimisedTime += other.airOptimisedTime;
}

MachiningTimes TimesOf(const MoveSums& sums, double g00Feed) {
    MachiningTimes times;
    times.records = sums.records;
    times.cutLength = sums.cutLength;
    times.rapidLength = sums.rapidLength;
    times.noFeedProgrammed = sums.noFeedProgrammed;
    times.noFeedOptimised = sums.noFeedOptimised;
    times.airLength = sums.airLength;
    times.airProgrammed = sums.airProgrammedTime;
    times.airOptimised = sums.airOptimisedTime;
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
