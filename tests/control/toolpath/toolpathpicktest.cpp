#include "toolpathpick.h"
#include "toolpathtesting.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The nearest drawn segment by brute force: every record's segment from the previous end point
// (the paths here start at the origin and have no presets), distances in pixels, the lower record
// of equals, within 8 pixels.
std::optional<std::uint32_t> nearestByBruteForce(const CutDataSet& data, const ToolpathFit& fit,
                                                 double x, double y) {
    std::optional<std::uint32_t> best;
    double bestDistance = 8.0;
    for (std::uint32_t i = 0; i < data.count; ++i) {
        const CutRecord& r = data.records[i];
        const CutRecord origin{};
        const CutRecord& p = i == 0 ? origin : data.records[i - 1];
        if (p.x == r.x && p.y == r.y && p.z == r.z)
            continue;
        const double ax = fit.px(p.x, p.y, p.z), ay = fit.py(p.x, p.y, p.z);
        const double bx = fit.px(r.x, r.y, r.z), by = fit.py(r.x, r.y, r.z);
        double distance = 0.0;
        const double dx = bx - ax, dy = by - ay;
        const double t =
            std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        distance = std::hypot(ax + t * dx - x, ay + t * dy - y);
        if (distance < bestDistance || (!best && distance == bestDistance)) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

// A random walk of moves and jumps, some of them back over earlier ones.
std::string randomPath(unsigned seed, int blocks) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> step(-6, 6);
    std::string text;
    int x = 0, y = 0, z = 0;
    for (int k = 0; k < blocks; ++k) {
        x += step(random);
        y += step(random);
        z += step(random) / 3;
        text += "N" + std::to_string(k) + ")G0" + (k % 7 == 0 ? "0" : "1") + "X" +
                std::to_string(x) + "Y" + std::to_string(y) + "Z" + std::to_string(z) + "\n";
    }
    return text;
}

TEST(ToolpathPick, agreesWithTheBruteForceNearestSegment) {
    const ToolpathViewKind views[] = {ToolpathViewKind::Top, ToolpathViewKind::Front,
                                      ToolpathViewKind::Right, ToolpathViewKind::Iso};
    std::mt19937 random(7);
    int picked = 0, missed = 0;
    for (unsigned seed = 1; seed <= 4; ++seed) {
        const CutDataSet data = loadText(randomPath(seed, 300));
        const ToolpathModel model(data);
        for (ToolpathViewKind view : views) {
            const ToolpathFit fit(model.box(), ToolpathView(view), 320, 240);
            std::uniform_real_distribution<double> x(-10.0, 330.0), y(-10.0, 250.0);
            for (int k = 0; k < 200; ++k) {
                const double px = x(random), py = y(random);
                const auto expected = nearestByBruteForce(data, fit, px, py);
                EXPECT_EQ(PickToolpathSegment(model, fit, px, py), expected) << px << "," << py;
                expected ? ++picked : ++missed;
            }
        }
    }
    EXPECT_GT(picked, 100);
    EXPECT_GT(missed, 100);
}

// Two segments over each other: the lower record; 8 pixels away still picks, 9 does not.
TEST(ToolpathPick, tiesGoToTheLowerRecordAndTheReachIsEightPixels) {
    const CutDataSet data = loadText("N1)G01X10Y0\nN2)G01X0Y0\nN3)G01X0Y10\n");
    const ToolpathModel model(data);
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 200, 200);
    const double x = fit.px(5, 0, 0), y = fit.py(5, 0, 0);
    EXPECT_EQ(PickToolpathSegment(model, fit, x, y), 0u);
    EXPECT_EQ(PickToolpathSegment(model, fit, x, y + 8.0), 0u);
    EXPECT_EQ(PickToolpathSegment(model, fit, x, y + 9.0), std::nullopt);
    EXPECT_EQ(PickToolpathSegment(model, fit, fit.px(0, 6, 0) - 3.0, fit.py(0, 6, 0)), 2u);
}

} // namespace
