#pragma once

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

// The pixels of every record's end point for one fit, worked out on all cores into a buffer that
// is kept from frame to frame (8 bytes per record).
class ToolpathPixels {
public:
    void project(const ToolpathModel& model, const ToolpathFit& fit);
    const std::vector<PixelPoint>& points() const { return points_; }
    void release();

private:
    std::vector<PixelPoint> points_;
};
