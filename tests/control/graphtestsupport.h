#pragma once

#include "curvepath.h"
#include "cutbuilder.h"
#include "gdicanvas.h"
#include "synthrecorder.h"
#include "textcutwriter.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdint>
#include <memory>
#include <optional>
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

// Remembers the labels the renderer writes, with the direction they run in.
class LabelCanvas : public ChartCanvas {
public:
    void setClipRect(int, int, int, int) override {}
    void selectPen(ColorRef) override {}
    void selectBrush(ColorRef) override {}
    void selectFont(int, TextDirection direction) override { direction_ = direction; }
    void moveTo(int, int) override {}
    void lineTo(int, int) override {}
    void rectangle(int, int, int, int) override {}
    void ellipse(int, int, int, int) override {}
    void textOut(int, int y, const std::string& text) override {
        if (direction_ == TextDirection::Upward)
            upward.push_back(text);
        else
            horizontal.push_back({text, y});
    }

    struct Label {
        std::string text;
        int y;
    };
    std::vector<std::string> horizontalTexts() const {
        std::vector<std::string> texts;
        for (const Label& label : horizontal)
            texts.push_back(label.text);
        return texts;
    }

    std::vector<std::string> upward;
    std::vector<Label> horizontal;

private:
    TextDirection direction_ = TextDirection::Horizontal;
};

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
    std::optional<std::int32_t> optFeed = std::nullopt; // the programmed feed when not given
};

inline CutDataSet makeData(const std::vector<TestBlock>& blocks) {
    CutBuilder builder(blocks.size());
    for (const TestBlock& block : blocks) {
        CutRecord record;
        record.toolNo = block.tool;
        record.blockNo = block.blockNo;
        record.motionCode = block.motionCode;
        record.orgFeed = block.orgFeed;
        record.optFeed = block.optFeed.value_or(block.orgFeed);
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

// Generated monitoring data as test blocks, each moving by its length along x: CutSynthesizer with
// every rare case (SynthOptions::mixed(): spikes far above and below, G00 blocks that remove
// material, NaN removals, blocks that stand still, block numbers that go up and down, a tool change
// every few blocks with tool 0 among them), some blocks per pixel column and rapid jumps.
inline std::vector<TestBlock>
synthesizedBlocks(unsigned seed, int count, const SynthOptions& options = SynthOptions::mixed()) {
    TextCutWriter text;
    std::vector<TestBlock> blocks;
    for (const SynthRecorder::Block& b : SynthRecorder::generate(seed, count, options, text)) {
        TestBlock block;
        block.step = static_cast<float>(b.length());
        block.removal = b.removal();
        block.tool = b.block.toolNo;
        block.blockNo = b.block.blockNo;
        block.motionCode = b.block.motionCode;
        block.orgFeed = b.block.orgFeed;
        blocks.push_back(block);
    }
    return blocks;
}

inline CutDataSet synthesizedData(unsigned seed, int count) {
    return makeData(synthesizedBlocks(seed, count));
}

// Machining as programs do it: the tool changes at the G00 runs (one to three blocks) only, and
// the cutting stretches between them are 1 to 900 blocks long. The optimised feed takes three
// values in a stretch, so its extremes repeat; the stretch's last blocks (one or three alike) lie
// at the largest or smallest of them, just above the largest, far above it, or anywhere.
inline std::vector<TestBlock> machiningStretchBlocks(unsigned seed, int count, float step) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> length(1, 900);
    std::vector<TestBlock> blocks;
    std::int16_t tool = 1;
    const auto add = [&](TestBlock block) {
        if (static_cast<int>(blocks.size()) < count) {
            block.step = step * static_cast<float>(1 + percent(random)) / 100.0f;
            block.removal = static_cast<float>(percent(random)) * 0.1f;
            block.tool = tool;
            block.blockNo = static_cast<std::int32_t>(blocks.size()) * 5;
            blocks.push_back(block);
        }
    };
    while (static_cast<int>(blocks.size()) < count) {
        tool = static_cast<std::int16_t>(tool % 6 + 1);
        for (int k = 1 + percent(random) % 3; k > 0; --k)
            add({.motionCode = 0, .orgFeed = 0, .optFeed = 0});
        const std::int32_t feed = 200 + 40 * percent(random);
        const bool steady = percent(random) < 60;
        const int cuts = length(random);
        const int ending = percent(random) % 5;
        const int alike = percent(random) < 30 ? 3 : 1;
        const std::int32_t last = ending == 0   ? feed * 2
                                  : ending == 1 ? feed
                                  : ending == 2 ? feed * 2 + 3
                                  : ending == 3 ? feed * 3
                                                : feed * (2 + percent(random) % 3) / 2;
        for (int k = 0; k < cuts; ++k) {
            const bool ends = k >= cuts - alike;
            const std::int32_t org = steady ? feed : feed + 100 * (percent(random) % 2);
            add({.motionCode = 1,
                 .orgFeed = org,
                 .optFeed = ends ? last : feed * (2 + percent(random) % 3) / 2});
        }
    }
    return blocks;
}

// Cutting stretches between stretches of G00 blocks, both of lengths drawn from `lengths`
// (so that breaks fall many to a pixel column or span several); each cutting stretch keeps its
// feeds or varies them block by block, and the tool changes at some G00 blocks and some cuts, to
// tool 0 and back to earlier tools. The blocks move by up to `step`, a few not at all.
inline std::vector<TestBlock> brokenFeedBlocks(unsigned seed, int count,
                                               const std::vector<int>& lengths, float step) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> length(0, lengths.size() - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    std::vector<TestBlock> blocks;
    std::int16_t tool = 1;
    bool rapid = percent(random) < 50;
    while (static_cast<int>(blocks.size()) < count) {
        const int blocksInStretch = lengths[length(random)];
        const bool steady = percent(random) < 50;
        const std::int32_t feed = 100 + 50 * percent(random);
        for (int k = 0; k < blocksInStretch && static_cast<int>(blocks.size()) < count; ++k) {
            if (percent(random) < (rapid ? 20 : 2))
                tool = static_cast<std::int16_t>(percent(random) % 5);
            TestBlock block;
            block.step =
                percent(random) < 5 ? 0.0f : step * static_cast<float>(percent(random)) / 99.0f;
            block.removal = static_cast<float>(percent(random)) * 0.1f;
            block.tool = tool;
            block.blockNo = static_cast<std::int32_t>(blocks.size() % 2500) * 10;
            block.motionCode = rapid ? 0 : 1;
            block.orgFeed = steady ? feed : feed + 20 * percent(random);
            block.optFeed = steady ? feed / 2 : feed / 2 + 30 * percent(random);
            blocks.push_back(block);
        }
        rapid = !rapid;
    }
    return blocks;
}
