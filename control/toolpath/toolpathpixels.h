#pragma once

#include "toolpathcolouring.h"
#include "toolpathfit.h"
#include "toolpathmodel.h"

#include <cstdint>
#include <limits>
#include <vector>

// A point's pixel: the pixel whose square holds the mapped position, kept within 2^24 pixels of
// the image; a point that is not finite has x == kNoPixel.
struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

inline constexpr std::int32_t kNoPixel = std::numeric_limits<std::int32_t>::min();

PixelPoint PixelOf(const ToolpathFit& fit, const PathPoint& point);

// A segment colour whose alpha byte is kRapidAlpha belongs to a rapid move; one whose alpha byte
// is 0 to a segment that is left out (ToolpathModel::drawn).
inline constexpr std::uint32_t kRapidAlpha = 0xFE000000u;

// The pixels of every record's end point for one fit and its segment's colour, worked out on all
// cores into buffers that are kept from frame to frame (12 bytes per record). The colours do not
// depend on the view: they are worked out again only for another model or style.
class ToolpathPixels {
public:
    void project(const ToolpathModel& model, const ToolpathFit& fit, const ToolpathStyle& style);
    const std::vector<PixelPoint>& points() const { return points_; }
    const std::vector<std::uint32_t>& colours() const { return colours_; }
    void release();

private:
    bool coloured(const ToolpathModel& model, const ToolpathStyle& style) const;

    std::vector<PixelPoint> points_;
    std::vector<std::uint32_t> colours_;
    const ToolpathModel* colouredModel_ = nullptr;
    ToolpathStyle colouredStyle_;
};
