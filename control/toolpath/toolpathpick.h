#pragma once

#include "toolpathfit.h"
#include "toolpathmodel.h"

#include <cstdint>
#include <optional>

// The most distance, in pixels, from which a click picks a segment.
inline constexpr double kPickReach = 8.0;

// The record whose drawn segment lies nearest the point (x, y) of the image that `fit` maps the
// path into, measured to the segment's mapped positions; the lower record of equally near ones.
// Nothing when no drawn segment lies within kPickReach pixels.
std::optional<std::uint32_t> PickToolpathSegment(const ToolpathModel& model, const ToolpathFit& fit,
                                                 double x, double y);
