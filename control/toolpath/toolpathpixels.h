#pragma once

#include "toolpathcolouring.h"
#include "toolpathfit.h"
#include "toolpathmodel.h"

#include <algorithm>
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

// The most segments a draft draws: on 10,000,000 records a frame of every segment takes some
// 200 ms, too slow to follow a drag.
inline constexpr std::uint32_t kDraftSegments = 400000;

// The records of `count` a draft takes: every stride-th one, such that at most about `most` are
// taken; 1 when all of them are no more.
std::uint32_t DraftStride(std::uint32_t count, std::uint32_t most = kDraftSegments);

// Calls visit(i) for the records of a draft of `count` records with `stride`, in order: every
// stride-th from the first, and the last.
template <typename Visit>
void ForEachDraftRecord(std::uint64_t first, std::uint64_t end, std::uint32_t count,
                        std::uint32_t stride, Visit visit) {
    if (count == 0)
        return;
    const std::uint64_t last = count - 1u;
    for (std::uint64_t i = (first + stride - 1) / stride * stride; i < std::min(end, last);
         i += stride)
        visit(static_cast<std::uint32_t>(i));
    if (first <= last && last < end)
        visit(static_cast<std::uint32_t>(last));
}

// The pixels of every record's end point for one fit and its segment's colour, worked out on all
// cores into buffers that are kept from frame to frame (12 bytes per record). The colours do not
// depend on the view: they are worked out again only for another model or style.
//
// A draft projects only the records it takes (ForEachDraftRecord); the others keep the pixels of
// an earlier frame.
class ToolpathPixels {
public:
    void project(const ToolpathModel& model, const ToolpathFit& fit, const ToolpathStyle& style,
                 std::uint32_t stride = 1);
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
