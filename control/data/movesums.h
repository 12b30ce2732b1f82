#pragma once

#include "cutrecord.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace movesums {

inline constexpr double kSecondsPerMinute = 60.0;

// Seconds to move `length` mm at `feed` mm/min; false when there is no feed.
inline bool addTime(double length, double feed, double& time) {
    if (!(feed > 0.0))
        return false;
    time += kSecondsPerMinute * length / feed;
    return true;
}

} // namespace movesums

// The sums over a run of records before a G00 feed is applied: lengths in mm and the times of
// the moves that are not rapid, in seconds, in double precision.
struct MoveSums {
    std::uint64_t records = 0;
    double cutLength = 0.0;
    double rapidLength = 0.0;
    double programmedCutTime = 0.0;
    double optimisedCutTime = 0.0;
    std::uint64_t rapidMoves = 0;
    // Moves that are not rapid and whose programmed or optimised feed is 0 or negative.
    std::uint64_t noFeedProgrammed = 0;
    std::uint64_t noFeedOptimised = 0;
    // The moves that are not rapid and cut air (a removal of 0 or less, or not a number): their
    // length and their times.
    double airLength = 0.0;
    double airProgrammedTime = 0.0;
    double airOptimisedTime = 0.0;

    // Counts `record`, which moved `length` mm. A record that does not move, or whose length is
    // not a finite number, only counts as a record. Inline: every record of a load passes here.
    void add(const CutRecord& record, double length) {
        ++records;
        if (!(length > 0.0) || !std::isfinite(length))
            return;
        if (record.motionCode == 0) {
            rapidLength += length;
            ++rapidMoves;
            return;
        }
        cutLength += length;
        if (!movesums::addTime(length, record.orgFeed, programmedCutTime))
            ++noFeedProgrammed;
        if (!movesums::addTime(length, record.optFeed, optimisedCutTime))
            ++noFeedOptimised;
        if (!(record.removal > 0.0f)) {
            airLength += length;
            movesums::addTime(length, record.orgFeed, airProgrammedTime);
            movesums::addTime(length, record.optFeed, airOptimisedTime);
        }
    }
    void add(const MoveSums& other);
};

// The figures of a run of records with a G00 feed (mm/min) for the rapid moves: lengths in mm,
// times in seconds. Saved percent is empty when the programmed time is 0. A G00 feed that is not
// a positive number gives the rapid moves no time and counts them as moves without feed.
struct MachiningTimes {
    std::uint64_t records = 0;
    double cutLength = 0.0;
    double rapidLength = 0.0;
    double programmed = 0.0;
    double optimised = 0.0;
    double saved = 0.0;
    std::optional<double> savedPercent;
    std::uint64_t noFeedProgrammed = 0;
    std::uint64_t noFeedOptimised = 0;
    // The moves that cut air: length (mm) and times (s).
    double airLength = 0.0;
    double airProgrammed = 0.0;
    double airOptimised = 0.0;
};

MachiningTimes TimesOf(const MoveSums& sums, double g00Feed);
