#pragma once

#include "chartstate.h"
#include "toolpathcolouring.h"
#include "toolpathfit.h"
#include "toolpathmodel.h"
#include "toolpathpixels.h"
#include "toolpathview.h"

#include <cstdint>
#include <memory>
#include <optional>

class QPaintDevice;

// The control's toolpath: how it is seen (view, zoom, colours) and the path of the data set,
// drawn and picked for a host at the size the host asks for. The path follows the chart: its
// colours, G00 feed and shown range, whose records it emphasises unless it was told to emphasise
// others.
class ToolpathControl {
public:
    ToolpathControl();
    ~ToolpathControl();

    // Every segment, or a draft of some (DraftStride) while the host moves the view; a draft
    // into anything but a 32-bit image of the size draws every segment.
    enum class Detail { Full, Draft };

    // Draws the path over `data` at width x height into the device; false without room or when
    // the device cannot be painted on.
    bool draw(QPaintDevice& device, const ChartState& chart, const CutDataSet& data, int width,
              int height, std::optional<std::uint32_t> marked, Detail detail = Detail::Full);
    // The path as a report shows it: the iso view fitted to width x height, in the chart's
    // colours (or the colouring `colours`), without a mark; the view, zoom, colours and last
    // picture stay as they are.
    bool drawReport(QPaintDevice& device, const ChartState& chart, const CutDataSet& data,
                    int width, int height, ToolpathColourMode colours = ToolpathColourMode::Chart);
    // The record whose segment lies within 8 pixels of (x, y) of the last drawn picture.
    std::optional<std::uint32_t> pick(const CutDataSet& data, double x, double y);

    // One of the four views, fitted again; false for a number beyond them.
    bool setView(std::int32_t view);
    bool setColour(std::int32_t mode);
    // The colouring numbered `mode`; none for a number beyond them.
    static std::optional<ToolpathColourMode> colouringOf(std::int32_t mode);
    // Turns about Z by `degrees` and tilts by `tilt` degrees; false for angles not finite.
    bool orbit(float degrees, float tilt);
    // Zooms by `factor` about (x, y) of the last picture and moves by (dx, dy) pixels; a factor
    // of 0 fits the whole path again. False for a factor below 0 or not finite.
    bool move(float factor, float x, float y, float dx, float dy);
    // Emphasises exactly `records` until followShownRange; the records of the chart's shown
    // range again from then on.
    void emphasise(RecordRange records) { emphasised_ = records; }
    void followShownRange() { emphasised_.reset(); }
    // How many segments of the path over `data` are left out (ToolpathModel::leftOut).
    std::uint32_t leftOut(const CutDataSet& data) { return modelOf(data).leftOut(); }

private:
    const ToolpathModel& modelOf(const CutDataSet& data);
    ToolpathFit fit() const;

    std::unique_ptr<ToolpathModel> model_;
    std::uint64_t serial_ = 0;
    const CutDataSet* data_ = nullptr;
    ToolpathView view_{ToolpathViewKind::Iso};
    ToolpathZoom zoom_;
    ToolpathColourMode mode_ = ToolpathColourMode::Chart;
    std::optional<RecordRange> emphasised_;
    ToolpathPixels pixels_;
    int width_ = 0;
    int height_ = 0;
};
