#pragma once

#include "chartstate.h"
#include "cutdataset.h"
#include "feedchangeindex.h"
#include "plottedrange.h"
#include "series.h"

#include <cstdint>
#include <memory>

// One series as the chart plots it: its value at a record, whether the curve leaves a record out
// (the feeds are not drawn at G00 records, the feed change neither at records without a
// programmed feed), and its range over a run of records.
class PlottedSeries {
public:
    enum class Kind : std::uint8_t { Removal, OrgRate, OptRate, OrgFeed, OptFeed, FeedChange };

    PlottedSeries(const CutDataSet& data, Kind kind, float g00Feed);

    // The series of a draw mode: 1 and 2 the rates, any other the removal.
    static Kind ofDrawMode(std::uint8_t drawMode);
    // The series the read-out follows: the optimised one of a compare chart, else the draw mode's.
    static Kind ofReadOut(const ChartState& chart);

    bool skips(std::uint32_t i) const {
        if (change_)
            return !HasFeedChange(data_.records[i]);
        return breaks_ && data_.records[i].motionCode == 0;
    }
    // Inline, as the chart reads it for every record it draws.
    float value(std::uint32_t i) const {
        switch (kind_) {
        case Kind::OrgFeed:
            return static_cast<float>(data_.records[i].orgFeed);
        case Kind::OptFeed:
            return static_cast<float>(data_.records[i].optFeed);
        case Kind::FeedChange:
            return FeedChangePercent(data_.records[i]);
        default:
            return seriesValue(data_, i, drawMode_, g00Feed_);
        }
    }
    // The largest value drawn among records a..b - 1 (NaN counted as 0), 0 when none is drawn:
    // from the data set's index when it has one.
    float highestOver(std::uint32_t a, std::uint32_t b) const;
    // The smallest and largest values drawn among records a..b - 1, NaN counted as 0.
    ValueRange rangeOver(std::uint32_t a, std::uint32_t b) const;
    // The values drawn of entry k of the index's level (a record on level 0), NaN counted as 0:
    // empty when none is drawn. Inline, as the chart asks for it at every step of its searches.
    ValueRange range(int level, std::uint64_t k) const {
        if (level == 0) {
            ValueRange drawn;
            const auto i = static_cast<std::uint32_t>(k);
            if (!skips(i))
                drawn.add(numberOrZero(value(i)));
            return drawn;
        }
        if (change_)
            return change_->ranges().node(level, k).change;
        const SeriesRanges& ranges = data_.index.series().node(level, k);
        switch (kind_) {
        case Kind::OrgFeed:
            return ranges.orgFeed;
        case Kind::OptFeed:
            return ranges.optFeed;
        default:
            return PlottedRange(ranges, drawMode_, g00Feed_ * kPerSecond);
        }
    }
    bool breaks() const { return breaks_; }
    // The feed change's index, for the searches over the records it leaves out; nullptr for the
    // other series.
    const FeedChangeIndex* changeIndex() const { return change_.get(); }
    // The values drawn over a stretch between G00 moves, for a series that breaks there (the feed
    // change's stretches hold the change as both feeds).
    const FeedValues& values(const FeedStretch& stretch) const {
        return kind_ == Kind::OrgFeed ? stretch.orgFeed : stretch.optFeed;
    }
    // The stretches where the curve does not break: between G00 moves, or for the feed change
    // between records without a change.
    const std::vector<FeedStretch>& stretches() const {
        return change_ ? change_->stretches() : data_.index.feedStretches();
    }

private:
    const CutDataSet& data_;
    const Kind kind_;
    const std::uint8_t drawMode_;
    const bool breaks_;
    const float g00Feed_;
    // The feed change's ranges, for that series only.
    const std::shared_ptr<const FeedChangeIndex> change_;
};
