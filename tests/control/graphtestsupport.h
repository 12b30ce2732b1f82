#pragma once

#include "curvepath.h"
#include "cutbuilder.h"
#include "gdicanvas.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdint>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// Text needs a GUI application; the tests run on the offscreen platform. It lives until the
// program ends, so that its fonts are released.
inline void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "graphtests";
    static char* argv[] = {name, nullptr};
    static const std::unique_ptr<QGuiApplication> application =
        QGuiApplication::instance() ? nullptr : std::make_unique<QGuiApplication>(argc, argv);
}

inline QImage blankImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The RGB of a 0x00BBGGRR colour reference as QImage::pixel reports it.
inline QRgb rgbOf(ColorRef colour) {
    return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// One block of test data: the distance it moves along x and what it records.
struct TestBlock {
    float step = 1.0f;
    float removal = 0.0f;
    std::int16_t tool = 1;
    std::int32_t blockNo = 0;
    std::uint8_t motionCode = 1;
    std::int32_t orgFeed = 600;
};

inline CutDataSet makeData(const std::vector<TestBlock>& blocks) {
    CutBuilder builder(blocks.size());
    for (const TestBlock& block : blocks) {
        CutRecord record;
        record.toolNo = block.tool;
        record.blockNo = block.blockNo;
        record.motionCode = block.motionCode;
        record.orgFeed = block.orgFeed;
        record.optFeed = block.orgFeed;
        record.removal = block.removal;
        builder.add(record, block.step, 0.0f, 0.0f);
    }
    return builder.take();
}

// The curve drawn the plain way: every record's line goes to the canvas as it is.
class DirectPath : public CurvePath {
public:
    explicit DirectPath(GdiCanvas& canvas) : canvas_(canvas) {}
    void selectPen(ColorRef colour) override { canvas_.selectPen(colour); }
    void moveTo(int x, int y) override { canvas_.moveTo(x, y); }
    void lineTo(int x, int y) override { canvas_.lineTo(x, y); }
    void finish() override {}

private:
    GdiCanvas& canvas_;
};

inline std::string firstDifference(const QImage& a, const QImage& b) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                std::ostringstream text;
                text << "first difference at " << x << "," << y << ": " << std::hex << a.pixel(x, y)
                     << " against " << b.pixel(x, y);
                return text.str();
            }
    return "no difference";
}

// Random monitoring data: runs of many blocks inside one pixel column, jumps, spikes far above
// and below the chart, G00 blocks whose removal per second exceeds the maximum, block numbers
// that go up and down, and a tool change every few blocks (tool 0 among them).
inline std::vector<TestBlock> randomBlocks(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> runLength(1, 6);
    std::uniform_int_distribution<int> tool(0, 5);
    std::uniform_int_distribution<int> blockNo(0, 100000);
    std::vector<TestBlock> blocks;
    int toolLeft = 0;
    std::int16_t currentTool = 1;
    for (int i = 0; i < count; ++i) {
        if (toolLeft-- == 0) {
            toolLeft = runLength(random);
            currentTool = static_cast<std::int16_t>(tool(random));
        }
        TestBlock block;
        const float kind = unit(random);
        block.step = kind < 0.05f   ? 0.0f
                     : kind < 0.7f  ? unit(random) * 0.02f
                     : kind < 0.97f ? unit(random) * 2.0f
                                    : unit(random) * 300.0f;
        const float spike = unit(random);
        block.removal = spike < 0.02f    ? unit(random) * 100.0f
                        : spike < 0.03f  ? -unit(random) * 50.0f
                        : spike < 0.035f ? 1.0e7f
                                         : unit(random);
        block.tool = currentTool;
        block.blockNo = blockNo(random);
        block.motionCode = unit(random) < 0.1f ? 0 : 1;
        blocks.push_back(block);
    }
    return blocks;
}

inline CutDataSet randomData(unsigned seed, int count) {
    return makeData(randomBlocks(seed, count));
}
