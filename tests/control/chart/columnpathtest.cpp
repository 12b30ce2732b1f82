#include "columnpath.h"
#include "graphrenderer.h"
#include "graphtestsupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <random>
#include <string>
#include <vector>

namespace {

struct Step {
    enum Kind { Pen, Move, Line } kind;
    int x;
    int y;
    ColorRef colour;
};

void replay(const std::vector<Step>& steps, CurvePath& path) {
    for (const Step& step : steps) {
        if (step.kind == Step::Pen)
            path.selectPen(step.colour);
        else if (step.kind == Step::Move)
            path.moveTo(step.x, step.y);
        else
            path.lineTo(step.x, step.y);
    }
    path.finish();
}

// Short paths over three columns and few heights meet every order of first, lowest, highest and
// last point, repeated heights, and pens that change inside a column.
TEST(ColumnPath, PaintsWhatEveryLineWouldPaint) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> column(3, 5);
    std::uniform_int_distribution<int> height(2, 9);
    std::uniform_int_distribution<int> length(1, 12);
    std::uniform_int_distribution<int> percent(0, 99);
    const ColorRef pens[] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int round = 0; round < 20000; ++round) {
        std::vector<Step> steps{{Step::Pen, 0, 0, pens[0]}, {Step::Move, 0, 5, 0}};
        const int count = length(random);
        int x = column(random);
        for (int i = 0; i < count; ++i) {
            if (percent(random) < 30)
                x = column(random);
            if (percent(random) < 15)
                steps.push_back({Step::Pen, 0, 0, pens[percent(random) % 3]});
            steps.push_back({Step::Line, x, height(random), 0});
        }
        QImage fast = blankImage(12, 12);
        QImage direct = blankImage(12, 12);
        {
            GdiCanvas fastCanvas(fast);
            ColumnPath fastPath(fastCanvas);
            replay(steps, fastPath);
            GdiCanvas directCanvas(direct);
            DirectPath directPath(directCanvas);
            replay(steps, directPath);
        }
        ASSERT_EQ(fast, direct) << "round " << round << ": " << firstDifference(fast, direct);
    }
}

QImage render(const CutDataSet& data, int distanceMode, int drawMode, float lower, float upper,
              bool fast) {
    ChartState chart;
    chart.width = 1000;
    chart.height = 600;
    chart.distanceMode = distanceMode;
    chart.drawMode = static_cast<std::uint8_t>(drawMode);
    chart.shown.lower = lower;
    chart.shown.upper = upper;
    chart.xTitle = std::string("X");
    chart.yTitle = std::string("Y");
    QImage image = blankImage(chart.width, chart.height);
    GdiCanvas canvas(image);
    if (fast) {
        ColumnPath path(canvas);
        DrawGraph(canvas, chart, &data, path);
    } else {
        DirectPath path(canvas);
        DrawGraph(canvas, chart, &data, path);
    }
    return image;
}

TEST(ColumnPath, RendersRandomDataExactlyAsTheFullPolyline) {
    ensureGuiApplication();
    struct Window {
        float lower;
        float upper;
    };
    const Window windows[] = {{0.0f, 100.0f}, {0.0f, 1.0f},   {99.0f, 100.0f},
                              {37.5f, 38.0f}, {50.0f, 50.0f}, {10.0f, 90.0f}};
    for (const unsigned seed : {1u, 2u, 3u}) {
        const CutDataSet data = synthesizedData(seed, 20000);
        for (int distanceMode = 0; distanceMode <= 2; ++distanceMode)
            for (int drawMode = 0; drawMode <= 1; ++drawMode)
                for (const Window& window : windows) {
                    const QImage fast =
                        render(data, distanceMode, drawMode, window.lower, window.upper, true);
                    const QImage direct =
                        render(data, distanceMode, drawMode, window.lower, window.upper, false);
                    ASSERT_EQ(fast, direct)
                        << "seed " << seed << ", distance mode " << distanceMode << ", draw mode "
                        << drawMode << ", window " << window.lower << ".." << window.upper << ": "
                        << firstDifference(fast, direct);
                }
    }
}

} // namespace
