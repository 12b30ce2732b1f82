#include "toolpathdrawing.h"

namespace {

bool samePixel(const PixelPoint& a, const PixelPoint& b) {
    return a.x == b.x && a.y == b.y;
}

// Where the pen last stopped and in what colour.
struct Pen {
    PixelPoint at{kNoPixel, 0};
    std::uint32_t colour = 0;
};

// A segment from `from` to `end` in `colour`, unless it would change nothing.
void drawSegment(ToolpathRaster& raster, Pen& pen, PixelPoint from, PixelPoint end,
                 std::uint32_t colour) {
    if (end.x == kNoPixel || from.x == kNoPixel)
        return;
    if (samePixel(from, end) && samePixel(end, pen.at) && colour == pen.colour)
        return;
    const bool rapid = (colour & 0xFF000000u) == kRapidAlpha;
    raster.line(from.x, from.y, end.x, end.y, colour | 0xFF000000u, rapid);
    pen = {end, colour};
}

void drawEvery(ToolpathRaster& raster, const ToolpathModel& model, const ToolpathFit& fit,
               const ToolpathPixels& pixels) {
    const PixelPoint* ends = pixels.points().data();
    const std::uint32_t* colours = pixels.colours().data();
    Pen pen;
    model.forEachRecord(0, model.count(), [&](std::uint32_t i, const ToolpathModel::Start* start) {
        const std::uint32_t colour = colours[i];
        if ((colour & 0xFF000000u) == 0)
            return;
        PixelPoint from = i > 0 ? ends[i - 1] : ends[i];
        if (start) {
            if (!start->point)
                return;
            from = PixelOf(fit, *start->point);
        }
        drawSegment(raster, pen, from, ends[i], colour);
    });
}

// A draft's segment of record i runs from the end point of the record it took before, or from
// the last start the model notes after that one (a preset, the first record's start), where the
// path breaks; after a start that is not known it is left out. A record that is left out alone
// (of no length) still draws the draft's segment, as a record of the other colour would.
void drawDraft(ToolpathRaster& raster, const ToolpathModel& model, const ToolpathFit& fit,
               const ToolpathPixels& pixels, std::uint32_t stride) {
    const PixelPoint* ends = pixels.points().data();
    const std::uint32_t* colours = pixels.colours().data();
    const auto& starts = model.starts();
    auto next = starts.begin();
    Pen pen;
    PixelPoint previous{kNoPixel, 0};
    ForEachDraftRecord(0, model.count(), model.count(), stride, [&](std::uint32_t i) {
        const ToolpathModel::Start* start = nullptr;
        for (; next != starts.end() && next->record <= i; ++next)
            start = &*next;
        PixelPoint from = previous;
        previous = ends[i];
        if (start) {
            if (!start->point)
                return;
            from = PixelOf(fit, *start->point);
        }
        const std::uint32_t colour = colours[i];
        const bool rapid = (colour & 0xFF000000u) == kRapidAlpha;
        drawSegment(raster, pen, from, ends[i],
                    (colour & 0xFFFFFFu) | (rapid ? kRapidAlpha : 0xFF000000u));
    });
}

} // namespace

void DrawToolpathPixels(ToolpathRaster& raster, const ToolpathModel& model, const ToolpathFit& fit,
                        const ToolpathPixels& pixels, std::uint32_t stride) {
    if (stride <= 1)
        drawEvery(raster, model, fit, pixels);
    else
        drawDraft(raster, model, fit, pixels, stride);
}
