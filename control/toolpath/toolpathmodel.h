#pragma once

#include "cutdataset.h"
#include "toolcolours.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

// A point of the path in model space (mm).
struct PathPoint {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// The axis-aligned box of the path's points; empty until a finite point is added.
struct PathBox {
    PathPoint low;
    PathPoint high;
    bool empty = true;

    void add(const PathPoint& point);
};

// The path through the records' end points, in program order: record i's segment runs from
// record i - 1's end point to its own, or from the preset of the position that came between them
// (a G92 line of a text file, which the loader keeps). The first record of a binary file is the
// header's start point; that of a text file starts at its preset or at the origin. Where the
// loader noted another move that the positions do not give, the segment starts at the origin when
// its length is the distance from there; otherwise where it starts is not known and it is left
// out. Segments with a coordinate that is not finite and segments of no length are left out too,
// and counted.
//
// The model keeps only the few starts of the noted moves and reads the records in place: the data
// set must outlive it and stay unchanged.
class ToolpathModel {
public:
    explicit ToolpathModel(const CutDataSet& data);

    const CutDataSet& data() const { return data_; }
    std::uint32_t count() const { return data_.count; }

    // The start of record i's segment when it does not start at record i - 1's end point: the
    // record's own point for the first record without a noted move, a preset, the origin, or
    // nothing.
    struct Start {
        std::uint32_t record = 0;
        std::optional<PathPoint> point;
    };
    // Sorted by record.
    const std::vector<Start>& starts() const { return starts_; }

    // The start of record i's segment; nothing when it is not known.
    std::optional<PathPoint> startOf(std::uint32_t i) const;
    // Whether record i's segment is drawn: known start, finite ends, some length.
    bool drawn(std::uint32_t i) const;

    // Calls visit(i, start) for records first..end - 1 in order, with the entry of starts() for
    // record i, or null when its segment starts at record i - 1's end point.
    template <typename Visit>
    void forEachRecord(std::uint32_t first, std::uint32_t end, Visit visit) const {
        auto next = std::lower_bound(starts_.begin(), starts_.end(), first,
                                     [](const Start& s, std::uint32_t r) { return s.record < r; });
        for (std::uint32_t i = first; i < end; ++i) {
            const Start* start = nullptr;
            if (next != starts_.end() && next->record == i)
                start = &*next++;
            visit(i, start);
        }
    }

    // The box of every finite end point and of every known start (the first record's, presets).
    const PathBox& box() const { return box_; }

    // The chart's tool colour state after records 0..first - 1, as the chart's walk leaves it.
    ToolColours toolColoursBefore(std::uint32_t first) const;

    // Segments left out: with a coordinate that is not finite, of no length (the first record
    // when it is its own start is not counted), from a start that is not known.
    std::uint32_t nonFinite() const { return nonFinite_; }
    std::uint32_t zeroLength() const { return zeroLength_; }
    std::uint32_t unknownStart() const { return unknownStart_; }
    std::uint32_t leftOut() const { return nonFinite_ + zeroLength_ + unknownStart_; }

private:
    void noteStarts();
    std::optional<PathPoint> originStart(const StepException& exception) const;
    void countSegments();
    void countSegment(std::uint32_t i, const Start* start);
    void noteColour(std::uint32_t i);
    const Start* startEntry(std::uint32_t i) const;

    const CutDataSet& data_;
    std::vector<Start> starts_;
    PathBox box_;
    // Where the chart's curve colour number changes: the record and the new number.
    struct ColourRun {
        std::uint32_t record;
        int colour;
    };
    std::vector<ColourRun> colourRuns_;
    ToolColours walk_;
    std::uint32_t nonFinite_ = 0;
    std::uint32_t zeroLength_ = 0;
    std::uint32_t unknownStart_ = 0;
};

inline PathPoint pointOf(const CutRecord& record) {
    return {record.x, record.y, record.z};
}

bool isFinite(const PathPoint& point);
