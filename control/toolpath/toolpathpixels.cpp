#include "toolpathpixels.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

constexpr double kFarthest = 16777216.0;

std::int32_t pixelIndex(double position) {
    return static_cast<std::int32_t>(std::floor(std::clamp(position, -kFarthest, kFarthest)));
}

void projectRecords(const CutRecord* records, PixelPoint* out, std::size_t count,
                    const ToolpathFit& fit) {
    for (std::size_t i = 0; i < count; ++i) {
        const CutRecord& r = records[i];
        const double px = fit.px(r.x, r.y, r.z);
        const double py = fit.py(r.x, r.y, r.z);
        const bool finite = std::isfinite(px) && std::isfinite(py);
        out[i] = finite ? PixelPoint{pixelIndex(px), pixelIndex(py)} : PixelPoint{kNoPixel, 0};
    }
}

} // namespace

PixelPoint PixelOf(const ToolpathFit& fit, const PathPoint& point) {
    const double px = fit.px(point.x, point.y, point.z);
    const double py = fit.py(point.x, point.y, point.z);
    if (!std::isfinite(px) || !std::isfinite(py))
        return {kNoPixel, 0};
    return {pixelIndex(px), pixelIndex(py)};
}

// Large paths are split between the cores; a few thousand records are not worth a thread.
void ToolpathPixels::project(const ToolpathModel& model, const ToolpathFit& fit) {
    const std::size_t count = model.count();
    points_.resize(count);
    const CutRecord* records = model.data().records.data();
    const std::size_t threads =
        count < 65536 ? 1 : std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    std::vector<std::thread> helpers;
    const std::size_t share = (count + threads - 1) / threads;
    for (std::size_t k = 1; k < threads; ++k) {
        const std::size_t first = std::min(count, k * share);
        const std::size_t n = std::min(count, first + share) - first;
        helpers.emplace_back(projectRecords, records + first, points_.data() + first, n,
                             std::cref(fit));
    }
    projectRecords(records, points_.data(), std::min(count, share), fit);
    for (std::thread& helper : helpers)
        helper.join();
}

void ToolpathPixels::release() {
    points_ = {};
}
