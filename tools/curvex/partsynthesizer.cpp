#include "partsynthesizer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr std::int32_t kClearZ = 10000; // um, rapid height above the part
constexpr std::int32_t kLayer = 2000;   // um per layer of the pockets

// The part: 200 x 120 mm around the origin; the pocket on the left, the surface on the right.
constexpr std::int32_t kPartHalfX = 100000;
constexpr std::int32_t kPartHalfY = 60000;

// Removal kinds: full engagement, side cut, finishing.
constexpr std::uint8_t kFull = 1;
constexpr std::uint8_t kSide = 2;
constexpr std::uint8_t kFinish = 3;

std::int32_t steps(std::int64_t budget, std::int64_t most) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(budget, 4, most));
}

} // namespace

void PartSynthesizer::generate(std::int64_t blocks, CutWriter& writer) {
    begin(blocks, writer);
    for (std::int32_t round = 0; !done(); ++round) {
        const std::int32_t depth = -round * kLayer;
        const std::int64_t budget = std::max<std::int64_t>(blocks, 400);
        pocket(budget * 3 / 10, depth, writer);
        contour(budget / 10, depth, writer);
        spiral(budget / 10, depth, writer);
        surface(budget / 2, depth, writer);
    }
    end(writer);
}

void PartSynthesizer::approach(std::int32_t x, std::int32_t y, std::int32_t z, CutWriter& writer) {
    rapidTo(current().x, current().y, kClearZ, writer);
    rapidTo(x, y, kClearZ, writer);
    rapidTo(x, y, z + kLayer, writer);
    cutRemoving(1, x, y, z, kFull, jitter(4000), writer);
}

void PartSynthesizer::retract(CutWriter& writer) {
    rapidTo(current().x, current().y, kClearZ, writer);
    writer.remark("M09");
}

std::int32_t PartSynthesizer::jitter(std::int32_t removal) {
    return removal + uniform(-removal / 10, removal / 10);
}

// Zig-zag lines along X across x -90..-10 mm, y -50..50 mm, two layers.
void PartSynthesizer::pocket(std::int64_t budget, std::int32_t depth, CutWriter& writer) {
    changeTool(writer);
    const std::int32_t lines = steps(static_cast<std::int32_t>(std::sqrt(budget / 8.0)), 4000);
    const std::int32_t along = steps(budget / (2 * lines), 4000);
    for (std::int32_t layer = 1; layer <= 2 && !done(); ++layer) {
        const std::int32_t z = depth - layer * kLayer;
        approach(-90000, -50000, z, writer);
        for (std::int32_t line = 0; line <= lines && !done(); ++line) {
            const std::int32_t y = -50000 + 100000 * line / lines;
            const bool back = line % 2 == 1;
            for (std::int32_t k = 1; k <= along && !done(); ++k) {
                const std::int32_t x = -90000 + 80000 * (back ? along - k : k) / along;
                const bool edge = line == 0 || line == lines;
                cutRemoving(1, x, y, z, edge ? kSide : kFull, jitter(edge ? 9000 : 18000), writer);
            }
        }
        retract(writer);
    }
}

// The rounded outline of the part in three steps down.
void PartSynthesizer::contour(std::int64_t budget, std::int32_t depth, CutWriter& writer) {
    changeTool(writer);
    const std::int32_t points = steps(budget / 3, 200000);
    const double radius = 15000.0;
    const double sx = kPartHalfX - radius, sy = kPartHalfY - radius;
    for (std::int32_t level = 1; level <= 3 && !done(); ++level) {
        const std::int32_t z = depth - level * 3000;
        approach(kPartHalfX, 0, z, writer);
        for (std::int32_t k = 1; k <= points && !done(); ++k) {
            const double angle = 2.0 * std::numbers::pi * k / points;
            const double c = std::cos(angle), s = std::sin(angle);
            const double x = (c >= 0 ? sx : -sx) + radius * c;
            const double y = (s >= 0 ? sy : -sy) + radius * s;
            cutRemoving(2, static_cast<std::int32_t>(std::lround(x)),
                        static_cast<std::int32_t>(std::lround(y)), z, kSide, jitter(7000), writer);
        }
        retract(writer);
    }
}

// A circular pocket of 30 mm radius at (-50, 0) mm, cleared by a spiral outwards.
void PartSynthesizer::spiral(std::int64_t budget, std::int32_t depth, CutWriter& writer) {
    changeTool(writer);
    const std::int32_t points = steps(budget, 400000);
    const std::int32_t z = depth - 3 * kLayer;
    approach(-50000, 0, z, writer);
    const double turns = 8.0;
    for (std::int32_t k = 1; k <= points && !done(); ++k) {
        const double t = static_cast<double>(k) / points;
        const double angle = 2.0 * std::numbers::pi * turns * t;
        const double r = 30000.0 * t;
        cutRemoving(3, static_cast<std::int32_t>(std::lround(-50000.0 + r * std::cos(angle))),
                    static_cast<std::int32_t>(std::lround(r * std::sin(angle))), z, kFull,
                    jitter(static_cast<std::int32_t>(6000 + 14000 * t)), writer);
    }
    retract(writer);
}

// z = -5 + 4 sin(x / 12) cos(y / 10) mm over x 5..95, y -55..55 mm, zig-zag along X; the removal
// follows the slope.
void PartSynthesizer::surface(std::int64_t budget, std::int32_t depth, CutWriter& writer) {
    changeTool(writer);
    const std::int32_t lines = steps(static_cast<std::int32_t>(std::sqrt(budget / 2.0)), 4000);
    const std::int32_t along = steps(budget / lines, 4000);
    const auto height = [&](double x, double y) {
        return depth - 5000.0 + 4000.0 * std::sin(x / 12000.0) * std::cos(y / 10000.0);
    };
    approach(5000, -55000, static_cast<std::int32_t>(height(5000, -55000)), writer);
    for (std::int32_t line = 0; line <= lines && !done(); ++line) {
        const double y = -55000.0 + 110000.0 * line / lines;
        for (std::int32_t k = 1; k <= along && !done(); ++k) {
            const std::int32_t step = line % 2 == 1 ? along - k : k;
            const double x = 5000.0 + 90000.0 * step / along;
            const double slope = std::abs(std::cos(x / 12000.0) * std::cos(y / 10000.0));
            cutRemoving(1, static_cast<std::int32_t>(std::lround(x)),
                        static_cast<std::int32_t>(std::lround(y)),
                        static_cast<std::int32_t>(std::lround(height(x, y))), kFinish,
                        jitter(static_cast<std::int32_t>(500 + 4000 * slope)), writer);
        }
    }
    retract(writer);
}
