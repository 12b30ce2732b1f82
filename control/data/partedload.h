#pragma once

#include "cutdataset.h"
#include "cutfields.h"
#include "cutloader.h"
#include "moveindexbuilder.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

// The records of a load read in parts on several threads. Every part is read on its own, not
// knowing the fields and the position before it: the records' fields it could not know, and the
// length of the few blocks that moved from a position set before the part, are filled in once
// every part's end state is known. The distances are then summed record by record, as the
// sequential readers sum them, so the data set is the same to the bit.
class PartedLoad {
public:
    // A block that moved from a position set before its part: its step waits for that position.
    struct PendingStep {
        std::uint32_t record;
        std::array<float, 3> delta;
        unsigned axes;
    };

    // A preset of the position before the part's record `point.record`; the axes that the part
    // had not set by then take their position from before the part.
    struct PartPreset {
        PresetPoint point;
        unsigned axes;
    };

    struct Part {
        std::size_t first = 0; // where its records go
        std::uint32_t count = 0;
        ReadState state; // at the part's end
        // Per field, the records before this one take the field's value from before the part.
        std::array<std::uint32_t, kFieldCount> firstKnown{};
        std::vector<PendingStep> pending;
        std::vector<PartPreset> presets;
    };

    // How a format gives the move along an axis: the new position less the old one (text) or the
    // old less the new (binary). Both give the same length; a NaN keeps the bits of the first.
    enum class Delta { NewLessOld, OldLessNew };

    // Stores the records of a part in their slots, with the step of each block in totalDistance.
    class Sink {
    public:
        Sink(Part& part, CutDataSet& data) : part_(part), data_(data) {
            part_.firstKnown.fill(std::numeric_limits<std::uint32_t>::max());
        }
        ~Sink() {
            for (std::uint32_t& first : part_.firstKnown)
                first = std::min(first, part_.count);
        }
        Sink(const Sink&) = delete;
        Sink& operator=(const Sink&) = delete;

        void add(const ReadState& state, float dx, float dy, float dz) {
            const std::uint32_t i = part_.count++;
            data_.records[part_.first + i] = state.record;
            if (const unsigned newly = state.known & ~seen_)
                noteKnown(newly, i);
            float& step = data_.totalDistance[part_.first + i];
            if (state.unknownMoves) {
                part_.pending.push_back({i, {dx, dy, dz}, state.unknownMoves});
                step = 0.0f;
            } else {
                step = StepLength(dx, dy, dz);
            }
        }

        // A preset of the position, before the part's next record.
        void preset(const ReadState& state) {
            const PresetPoint point{part_.count, state.record.x, state.record.y, state.record.z};
            const unsigned axes = state.known & (kXField | kYField | kZField);
            std::vector<PartPreset>& presets = part_.presets;
            if (!presets.empty() && presets.back().point.record == point.record)
                presets.back() = {point, axes};
            else
                presets.push_back({point, axes});
        }

    private:
        void noteKnown(unsigned newly, std::uint32_t record) {
            for (int field = 0; field < kFieldCount; ++field)
                if (newly & (1u << field))
                    part_.firstKnown[field] = record;
            seen_ |= newly;
        }

        Part& part_;
        CutDataSet& data_;
        unsigned seen_ = 0;
    };

    // A load without parts yet, whose monitor follows the parts being read from the load's start.
    // The first part starts knowing every field; one part is the sequential load.
    PartedLoad(Delta delta, LoadMonitor* monitor, unsigned threads);

    // Adds parts after those added before, part k taking at most slots[k] records. Arrays that
    // must grow make room for `expected` records in all, when that is more than the parts need;
    // the records' memory is only touched as they are written. Throws std::bad_alloc when the
    // arrays do not fit.
    void addParts(const std::vector<std::size_t>& slots, std::size_t expected);
    // Once the parts added last have been read: their records follow those before without a gap,
    // and slots that got no record are given up.
    void closeGaps();

    // Called by a part's reader after each line or entry: every 64Ki of them the monitor's share
    // moves on by the records read. False when the monitor asked the load to stop: the reader
    // then leaves its part at once. Inline: it is called for every line.
    bool stepDone(const Part& part, std::uint32_t& steps, std::uint32_t& counted) {
        return !monitor_ || ++steps % 65536 != 0 || report(part, counted);
    }
    // Called by a part's reader at the part's end, which a part shorter than 64Ki lines or entries
    // reports too.
    void partDone(const Part& part, std::uint32_t& counted) {
        if (monitor_)
            report(part, counted);
    }
    // Whether a reader stopped on the monitor's request; the load is then given up. A part's
    // reader that has not begun asks this first.
    bool stopped() const { return stopped_; }

    std::size_t parts() const { return parts_.size(); }
    // The records of the parts whose gaps are closed.
    std::size_t settledRecords() const { return settledRecords_; }
    Part& part(std::size_t k) { return parts_[k]; }
    CutDataSet& data() { return data_; }

    // Once every part is read: the data set with its distances, block numbers, maxima and indexes.
    CutDataSet finish();

private:
    // What a span of whole move blocks gives once every part is complete.
    struct Span {
        std::optional<MoveIndexBuilder> moves;
        bool movesKept = true;
        std::array<float, kMaximaCount> maxima{};
    };

    bool report(const Part& part, std::uint32_t& counted);
    void complete(Part& part, const CutRecord& before);
    void takeEarlierFields(const Part& part, const CutRecord& before);
    void takeRecords(std::size_t first, std::size_t last, std::size_t k, Span& span,
                     CutIndex::Parts& index);
    MoveIndex joinMoves(std::vector<Span>& spans) const;
    std::vector<PresetPoint> joinPresets(const std::vector<CutRecord>& before) const;
    static void sumDistances(LoadedArray<float>& total, LoadedArray<float>& cut);

    std::vector<Part> parts_;
    CutDataSet data_;
    Delta delta_;
    LoadMonitor* monitor_;
    unsigned threads_;
    std::size_t expected_ = 0;
    std::size_t settledParts_ = 0; // the parts whose records follow each other without a gap
    std::size_t settledRecords_ = 0;
    std::atomic<std::size_t> recordsRead_{0};
    std::atomic<bool> stopped_{false};
};
