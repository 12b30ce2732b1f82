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

} // namespace

void DrawToolpathPixels(ToolpathRaster& raster, const ToolpathModel& model, const ToolpathFit& fit,
                        const ToolpathPixels& pixels) {
    const PixelPoint* ends = pixels.points().data();
    const std::uint32_t* colours = pixels.colours().data();
    Pen pen;
    model.forEachRecord(0, model.count(), [&](std::uint32_t i, const ToolpathModel::Start* start) {
        const std::uint32_t colour = colours[i];
        if ((colour & 0xFF000000u) == 0)
            return;
        const PixelPoint end = ends[i];
        PixelPoint from = i > 0 ? ends[i - 1] : end;
        if (start) {
            if (!start->point)
                return;
            from = PixelOf(fit, *start->point);
        }
        if (end.x == kNoPixel || from.x == kNoPixel)
            return;
        if (samePixel(from, end) && samePixel(end, pen.at) && colour == pen.colour)
            return;
        const bool rapid = (colour & 0xFF000000u) == kRapidAlpha;
        raster.line(from.x, from.y, end.x, end.y, colour | 0xFF000000u, rapid);
        pen = {end, colour};
    });
}
