#pragma once

#include "chartstate.h"
#include "recordpick.h"

#include <QVariantList>

#include <cstdint>
#include <optional>

class QPainter;
struct CutDataSet;

// The record under the pointer: picked with the renderer's own geometry, marked with a small
// circle and cross over the cached chart (never into it) and described for the host.
class ChartReadOut {
public:
    // Picks the record for pointer column x of the chart `chart` as last rendered; true when the
    // marked record changed.
    bool pointAt(int x, const ChartState& chart, const CutDataSet& data);
    // Marks record `index` as if the pointer had picked it.
    void mark(std::uint32_t index) { marked_ = index; }
    // Removes the mark; true when there was one.
    bool clear();
    // A render happened: the picker stays while the records stay (its block maxima follow the
    // plotted series themselves).
    void rendered(const CutDataSet& data);
    // A new data set: the mark and the picker belong to the old one.
    void dataReplaced();

    std::optional<std::uint32_t> marked() const { return marked_; }
    // The marked record as the event hands it out: index, block number, tool, G code, X, Y, Z,
    // programmed and optimised feed, removal kind, removal and the plotted value.
    QVariantList describe(const ChartState& chart, const CutDataSet& data) const;
    void draw(QPainter& screen, const ChartState& chart, const CutDataSet& data) const;

private:
    std::optional<RecordPicker> picker_;
    std::optional<std::uint32_t> marked_;
};
