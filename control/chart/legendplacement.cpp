#include "legendplacement.h"

#include <QImage>

#include <algorithm>
#include <limits>

namespace {

QRgb rgbOf(ColorRef colour) {
    return qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

bool inkAt(const QImage& picture, QRgb background, int x, int y) {
    return (picture.pixel(x, y) & 0xFFFFFFu) != (background & 0xFFFFFFu);
}

// The topmost row of `picture` with a curve pixel; -1 when it has none.
int highestInkRow(const QImage& picture, QRgb background) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (inkAt(picture, background, x, y))
                return y;
    return -1;
}

} // namespace

int LegendPlacement::maxRows(const ChartFrame& frame) {
    const int half = (frame.y0 - frame.yTop) / 2;
    return std::max((half - 2 * pad(frame)) / rowHeight(frame), 0);
}

LegendPlacement::LegendPlacement(const ChartFrame& frame, int contentWidth, int rows)
    : frame_(frame), width_(contentWidth + 2 * pad(frame)),
      rows_(std::clamp(rows, 0, maxRows(frame))),
      height_(rows_ * rowHeight(frame) + 2 * pad(frame)) {}

LegendBox LegendPlacement::box(Corner corner) const {
    const int leftEdge = std::max(frame_.plotLeft() + 1, frame_.x0 + kTickLength + 2);
    const int rightEdge = frame_.xEnd - 2;
    const int width = std::min(width_, rightEdge - leftEdge);
    LegendBox box;
    box.rows = rows_;
    const bool right = corner == Corner::TopRight || corner == Corner::BottomRight;
    box.left = right ? rightEdge - width : leftEdge;
    box.right = box.left + width;
    box.top = isTop(corner) ? frame_.yTop + frame_.fh + 4 : frame_.y0 - kTickLength - 2 - height_;
    box.bottom = box.top + height_;
    return box;
}

bool LegendPlacement::hidesRow(const QImage& curves, ColorRef background, int highest,
                               Corner corner) const {
    const LegendBox hidden = box(corner);
    const int top = isTop(corner) ? 0 : hidden.top;
    if (highest < top || highest >= hidden.bottom)
        return false;
    const QRgb back = rgbOf(background);
    const int end = std::min(hidden.right, curves.width());
    for (int x = std::max(hidden.left, 0); x < end; ++x)
        if (inkAt(curves, back, x, highest))
            return true;
    return false;
}

LegendPlacement::Corner LegendPlacement::choose(const QImage& curves, ColorRef background) const {
    const int highest = highestInkRow(curves, rgbOf(background));
    std::array<bool, 4> candidate{};
    for (std::size_t k = 0; k < kCorners.size(); ++k)
        candidate[k] = highest < 0 || !hidesRow(curves, background, highest, kCorners[k]);
    if (std::none_of(candidate.begin(), candidate.end(), [](bool c) { return c; }))
        candidate.fill(true);
    Corner chosen = Corner::TopRight;
    std::size_t fewest = std::numeric_limits<std::size_t>::max();
    for (std::size_t k = 0; k < kCorners.size(); ++k) {
        if (!candidate[k])
            continue;
        const std::size_t ink = InkInside(curves, background, box(kCorners[k]));
        if (ink < fewest) {
            fewest = ink;
            chosen = kCorners[k];
        }
    }
    return chosen;
}

std::size_t InkInside(const QImage& picture, ColorRef background, const LegendBox& box) {
    const QRgb back = rgbOf(background);
    std::size_t ink = 0;
    const int right = std::min(box.right, picture.width());
    const int bottom = std::min(box.bottom, picture.height());
    for (int y = std::max(box.top, 0); y < bottom; ++y)
        for (int x = std::max(box.left, 0); x < right; ++x)
            ink += inkAt(picture, back, x, y) ? 1 : 0;
    return ink;
}
