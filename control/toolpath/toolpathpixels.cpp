#include "toolpathpixels.h"

#include "runeach.h"

#include <algorithm>
#include <thread>

namespace {

constexpr double kFarthest = 16777216.0;

// The floor of a position that is not NaN, kept within kFarthest, without a library call.
std::int32_t pixelIndex(double position) {
    const double kept = std::min(std::max(position, -kFarthest), kFarthest);
    const auto truncated = static_cast<std::int32_t>(kept);
    return truncated - (kept < truncated);
}

// Infinite positions are kept at kFarthest like far ones; a NaN position has no pixel.
PixelPoint pixelOf(const ToolpathFit& fit, float x, float y, float z) {
    const double px = fit.px(x, y, z);
    const double py = fit.py(x, y, z);
    const bool number = px == px && py == py;
    return number ? PixelPoint{pixelIndex(px), pixelIndex(py)} : PixelPoint{kNoPixel, 0};
}

// Records first..end - 1: their pixels and colours.
struct Share {
    const ToolpathModel& model;
    const ToolpathFit& fit;
    const ToolpathStyle& style;
    PixelPoint* points;
    std::uint32_t* colours; // null when the colours are kept
    std::uint32_t stride;

    void operator()(std::uint32_t first, std::uint32_t end) const {
        const CutRecord* records = model.data().records.data();
        const auto projectOne = [&](std::uint32_t i) {
            points[i] = pixelOf(fit, records[i].x, records[i].y, records[i].z);
        };
        if (stride == 1) {
            for (std::uint32_t i = first; i < end; ++i)
                projectOne(i);
        } else {
            ForEachDraftRecord(first, end, model.count(), stride, projectOne);
        }
        if (colours == nullptr)
            return;
        ToolpathColouring colouring(model.data(), style, model.toolColoursBefore(first));
        for (std::uint32_t i = first; i < end; ++i) {
            const std::uint32_t colour = colouring.colourOf(i);
            const std::uint32_t alpha = !model.drawn(i)        ? 0u
                                        : colouring.isRapid(i) ? kRapidAlpha
                                                               : 0xFF000000u;
            colours[i] = (colour & 0xFFFFFFu) | alpha;
        }
    }
};

bool sameStyle(const ToolpathStyle& a, const ToolpathStyle& b) {
    return a.mode == b.mode && a.curveColours == b.curveColours && a.g00Feed == b.g00Feed &&
           a.colourByTool == b.colourByTool && a.emphasised.first == b.emphasised.first &&
           a.emphasised.end == b.emphasised.end;
}

} // namespace

std::uint32_t DraftStride(std::uint32_t count, std::uint32_t most) {
    const std::uint64_t per = std::max<std::uint32_t>(most, 1);
    return static_cast<std::uint32_t>(std::max<std::uint64_t>(1, (count + per - 1) / per));
}

PixelPoint PixelOf(const ToolpathFit& fit, const PathPoint& point) {
    return pixelOf(fit, point.x, point.y, point.z);
}

// Large paths are split between the cores; a few thousand records are not worth a thread.
void ToolpathPixels::project(const ToolpathModel& model, const ToolpathFit& fit,
                             const ToolpathStyle& style, std::uint32_t stride) {
    const std::uint32_t count = model.count();
    points_.resize(count);
    const bool keep = coloured(model, style);
    colours_.resize(count);
    const Share work{
        model, fit, style, points_.data(), keep ? nullptr : colours_.data(), std::max(stride, 1u)};
    const std::uint32_t projected = keep ? count / work.stride : count;
    const std::uint32_t threads =
        projected < 65536 ? 1 : std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    const std::uint32_t share = (count + threads - 1) / threads;
    runEach(threads, [&](std::size_t k) {
        const std::uint32_t first = std::min(count, static_cast<std::uint32_t>(k) * share);
        work(first, std::min(count, first + share));
    });
    colouredModel_ = &model;
    colouredStyle_ = style;
}

// The model's count is compared too: a model made for new data may take an old one's address.
bool ToolpathPixels::coloured(const ToolpathModel& model, const ToolpathStyle& style) const {
    return colouredModel_ == &model && colours_.size() == model.count() &&
           sameStyle(style, colouredStyle_);
}

void ToolpathPixels::release() {
    points_ = {};
    colours_ = {};
    colouredModel_ = nullptr;
}
