#include "toolpathraster.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t kBlank = 0;
constexpr std::uint32_t kInk = 0xff0000;
constexpr int kWidth = 4;
constexpr int kHeight = 3;
constexpr int kStride = kWidth + 1; // a guard column right of the image

struct Stroke {
    int x0, y0, x1, y1;
    std::vector<std::pair<int, int>> inked; // the image's pixels that the stroke sets
};

// Points and lines on and beyond every edge, drawn into an image with a guard column and a guard
// row below it: only pixels of the image are set, and each one the stroke passes.
TEST(ToolpathRaster, DrawsOnlyInsideTheImage) {
    const Stroke strokes[] = {
        {kWidth, 1, kWidth, 1, {}},
        {0, kHeight, 0, kHeight, {}},
        {-1, 0, -1, 0, {}},
        {0, -1, 0, -1, {}},
        {kWidth - 1, kHeight - 1, kWidth - 1, kHeight - 1, {{kWidth - 1, kHeight - 1}}},
        {-10, 1, 10, 1, {{0, 1}, {1, 1}, {2, 1}, {3, 1}}},
        {2, -10, 2, 10, {{2, 0}, {2, 1}, {2, 2}}},
        {kWidth, 0, kWidth, kHeight, {}},
        {0, kHeight, kWidth, kHeight, {}},
    };
    for (const Stroke& stroke : strokes) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kStride * (kHeight + 1)),
                                          kBlank);
        ToolpathRaster raster(pixels.data(), kWidth, kHeight, kStride);
        raster.line(stroke.x0, stroke.y0, stroke.x1, stroke.y1, kInk, false);
        std::vector<std::uint32_t> expected(pixels.size(), kBlank);
        for (const auto& [x, y] : stroke.inked)
            expected[static_cast<std::size_t>(y * kStride + x)] = kInk;
        EXPECT_EQ(pixels, expected) << "(" << stroke.x0 << "," << stroke.y0 << ")-(" << stroke.x1
                                    << "," << stroke.y1 << ")";
    }
}

} // namespace
