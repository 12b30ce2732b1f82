#pragma once

#include "curvexids.h"
#include "cutdataset.h"

#include <cstdint>
#include <vector>

// Where the optimisation slowed the machining down or sped it up. A change run is a maximal run
// of consecutive records that are not G00 moves, have both feeds above 0, one tool, and a change
// of one sign: all with the optimised feed below the programmed one (slower) or all above it
// (faster). A record whose feeds are equal ends a change run. A record's move length and times
// follow the machining-time rules (MoveLength; 60 x length / feed seconds).

using curvex::ChangeKind;

struct ChangeRun {
    std::uint32_t first = 0; // first and last record
    std::uint32_t last = 0;
    std::int32_t firstBlock = 0;
    std::int32_t lastBlock = 0;
    std::int16_t toolNo = 0;
    double length = 0.0;     // mm
    double programmed = 0.0; // s
    double optimised = 0.0;  // s

    // What the run costs: optimised minus programmed time, above 0 for a slowdown.
    double difference() const { return optimised - programmed; }
};

// The largest change runs of the whole data: the slowdowns with the most time lost first, the
// speed-ups with the most time saved first, the earlier run first among equal costs.
struct ChangeLists {
    std::vector<ChangeRun> slower;
    std::vector<ChangeRun> faster;

    const std::vector<ChangeRun>& of(ChangeKind kind) const {
        return kind == ChangeKind::Slower ? slower : faster;
    }
};

// The `top` largest change runs of each kind, in one pass over the records (on up to `threads`
// threads; 0 picks as many as the size calls for). A data set without a move index has none.
ChangeLists LargestChangeRuns(const CutDataSet& data, std::uint32_t top, unsigned threads = 0);

// The lists of one data set kept for the next question: a host asks for them after every redraw.
// They are worked out again for other data (another serial of its drawing index) or a longer list.
class ChangeRunCache {
public:
    // The `top` largest change runs of `kind`; at least kDefaultTop are worked out at a time.
    std::vector<ChangeRun> runs(const CutDataSet& data, ChangeKind kind, std::uint32_t top);

    static constexpr std::uint32_t kDefaultTop = 20;

private:
    const CutDataSet* data_ = nullptr;
    std::uint64_t serial_ = 0;
    std::uint32_t count_ = 0;
    std::uint32_t top_ = 0;
    ChangeLists lists_;
};
