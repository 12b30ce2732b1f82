#include "graphrenderer.h"

#include "chartframe.h"
#include "chartlegend.h"
#include "chartmaximum.h"
#include "columnpath.h"
#include "feedchangeindex.h"
#include "gdicanvas.h"
#include "indexedcurve.h"
#include "labelfit.h"
#include "plottedseries.h"
#include "series.h"
#include "seriescurve.h"
#include "timeaxisticks.h"
#include "vectorcanvas.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr std::array<float, 44> kStepTable = {
    0.001f,     0.002f,     0.005f,     0.01f,      0.02f,     0.05f,     0.1f,      0.2f,
    0.5f,       1.0f,       2.0f,       5.0f,       10.0f,     20.0f,     25.0f,     50.0f,
    100.0f,     200.0f,     250.0f,     500.0f,     1000.0f,   2000.0f,   2500.0f,   5000.0f,
    10000.0f,   20000.0f,   25000.0f,   50000.0f,   100000.0f, 200000.0f, 250000.0f, 500000.0f,
    1000000.0f, 2000000.0f, 2500000.0f, 5000000.0f, 1.0e7f,    2.0e7f,    2.5e7f,    5.0e7f,
    1.0e8f,     2.0e8f,     2.5e8f,     5.0e8f};

constexpr int kBreakHole = 10;
constexpr int kBreakRadius = 5;

using Direction = ChartCanvas::TextDirection;

int labelWidth(const std::string& text, int charWidth) {
    return static_cast<int>(text.size()) * charWidth;
}

bool hasData(const CutDataSet* data) {
    return data != nullptr && data->hasData() && data->count > 0;
}

float maximumOf(const ChartState& chart, const CutDataSet* data) {
    if (data == nullptr || chart.drawMode >= kMaximaCount)
        return 0.0f;
    return data->maxima[chart.drawMode];
}

using Kind = PlottedSeries::Kind;
using Colouring = SeriesCurve::Colouring;

// One curve drawn through a caller's path visits every shown record; the chart's own column path
// takes whole pixel columns from the data set's index when it has one.
void drawLayer(const ChartFrame& frame, const ChartState& chart, const CutDataSet& data, Kind kind,
               Colouring colouring, CurvePath& path, std::vector<std::uint32_t>&) {
    SeriesCurve(frame, chart, data, PlottedSeries(data, kind, chart.g00Feed), colouring).draw(path);
}

// The two curves of a compare chart share their pixel columns: `columnEnds` takes them from the
// first for the second.
void drawLayer(const ChartFrame& frame, const ChartState& chart, const CutDataSet& data, Kind kind,
               Colouring colouring, ColumnPath& path, std::vector<std::uint32_t>& columnEnds) {
    if (!data.index.covers(data)) {
        SeriesCurve(frame, chart, data, PlottedSeries(data, kind, chart.g00Feed), colouring)
            .draw(path);
    } else if (chart.compareMode == CompareMode::None) {
        IndexedCurve(frame, chart, data, kind).draw(path);
    } else {
        ChartState layer = chart;
        const bool one = colouring == Colouring::One;
        if (one)
            layer.colours[0] = kCompareGrey;
        IndexedCurve(frame, layer, data, kind, one, &columnEnds).draw(path);
    }
}

// The curves of the chart: a compare chart draws the programmed series in grey and the optimised
// one in the curve colours over it.
template <class Path>
void drawCurves(const ChartFrame& frame, const ChartState& chart, const CutDataSet& data,
                Path& path) {
    const Colouring colouring = chart.colourByTool ? Colouring::ToolNumbers : Colouring::ToolSteps;
    std::vector<std::uint32_t> columnEnds;
    switch (chart.compareMode) {
    case CompareMode::Rates:
        drawLayer(frame, chart, data, Kind::OrgRate, Colouring::One, path, columnEnds);
        drawLayer(frame, chart, data, Kind::OptRate, colouring, path, columnEnds);
        break;
    case CompareMode::Feeds:
        drawLayer(frame, chart, data, Kind::OrgFeed, Colouring::One, path, columnEnds);
        drawLayer(frame, chart, data, Kind::OptFeed, colouring, path, columnEnds);
        break;
    case CompareMode::FeedChange:
        drawLayer(frame, chart, data, Kind::FeedChange, colouring, path, columnEnds);
        break;
    default:
        drawLayer(frame, chart, data, PlottedSeries::ofDrawMode(chart.drawMode), colouring, path,
                  columnEnds);
    }
}

// The curves alone at the chart's size on its background, as the raster chart draws them: the
// picture every output places the legend by.
QImage curvesPicture(const ChartFrame& frame, const ChartState& chart, const CutDataSet& data) {
    QImage picture(frame.width, frame.height, QImage::Format_RGB32);
    GdiCanvas canvas(picture);
    canvas.setClipRect(0, 0, frame.width, frame.height);
    canvas.selectBrush(chart.backColour);
    canvas.selectPen(chart.backColour);
    canvas.rectangle(0, 0, frame.width, frame.height);
    ColumnPath curve(canvas, ColumnPath::Canvas::Pixels);
    drawCurves(frame, chart, data, curve);
    return picture;
}

void drawLegend(ChartCanvas& canvas, const ChartFrame& frame, const ChartState& chart,
                const CutDataSet& data) {
    const HorizontalAxis axis = HorizontalOf(chart);
    const HorizontalArray xs(data, axis);
    const std::uint32_t first = firstShownRecord(data, xs, axis, frame.xLo);
    const std::uint32_t end = endOfShownRecords(data, xs, axis, first, frame.xHi);
    const ChartLegend legend(chart, data, first, end);
    const std::vector<LegendEntry> rows = legend.rows(LegendPlacement::maxRows(frame));
    if (rows.empty())
        return;
    const LegendPlacement placement(frame, ChartLegend::width(rows, frame),
                                    static_cast<int>(rows.size()));
    const QImage curves = curvesPicture(frame, chart, data);
    legend.draw(canvas, frame, rows, placement.box(placement.choose(curves, chart.backColour)));
}

void drawTitles(ChartCanvas& canvas, const ChartFrame& frame, const LabelFit& fit) {
    const std::string yTitle = fit.verticalTitle();
    const int yLength = labelWidth(yTitle, frame.cw);
    canvas.selectFont(frame.fh, Direction::Upward);
    canvas.textOut(fit.upwardX(frame.x0 - 2 * frame.fh - 3),
                   fit.upwardY(TruncToInt(0.5 * frame.height * frame.fy) + yLength / 2, yTitle),
                   yTitle);
    const std::string xTitle = fit.horizontalTitle();
    const int xLength = labelWidth(xTitle, frame.cw);
    canvas.selectFont(frame.fh, Direction::Horizontal);
    canvas.textOut(
        fit.textX(TruncToInt(frame.width * (1.0 - frame.fx * 0.5)) - xLength / 2, xTitle),
        fit.textY(frame.y0 + frame.fh + 3), xTitle);
    const int originY = frame.signedScale ? frame.yZero - frame.fh / 2 : frame.y0;
    canvas.textOut(frame.x0 - frame.cw, originY, "0");
}

long long firstTickIndex(float step, float xLo);

// How many ticks apart the drawn ticks are: 1 while the ticks from k up to `end` fit into `limit`,
// else the smallest stride that thins them to at most `limit`.
long long tickStride(long long k, float step, float end, int limit) {
    if (!(step > 0.0f) || !std::isfinite(end) || limit <= 0)
        return 1;
    const long long count = firstTickIndex(step, end) - k;
    return count > limit ? (count + limit - 1) / limit : 1;
}

// The ticks k x step for k from `k` on while the value stays below `end`, at most `limit` of
// them: more ticks than pixels along the axis could not be told apart. When there are more, every
// stride-th one is drawn (the multiples of the stride, so that labels stay round), evenly up to
// the end of the axis.
template <typename DrawTick>
void forEachTick(long long k, float step, float end, int limit, DrawTick drawTick) {
    const long long stride = tickStride(k, step, end, limit);
    k = (k + stride - 1) / stride * stride;
    for (int drawn = 0; drawn < limit; ++drawn, k += stride) {
        const float value = static_cast<float>(k) * step;
        if (!(value < end))
            return;
        drawTick(value);
    }
}

void drawVerticalTick(ChartCanvas& canvas, const ChartFrame& frame, const LabelFit& fit,
                      float value) {
    const int ty = frame.pointY(value);
    canvas.moveTo(frame.x0, ty);
    canvas.lineTo(frame.x0 + kTickLength, ty);
    const std::string label = FormatAxisValue(value);
    const int length = labelWidth(label, frame.cw);
    canvas.textOut(frame.x0 - frame.fh - 3, fit.upwardY(ty + length / 2, label), label);
}

// The zero line of a signed scale across the plot, under the curve, so that a curve at 0 shows.
void drawZeroLine(ChartCanvas& canvas, const ChartFrame& frame, const ChartState& chart) {
    canvas.selectPen(chart.axisColour);
    canvas.moveTo(frame.x0, frame.yZero);
    canvas.lineTo(frame.xEnd, frame.yZero);
}

// A signed scale: the smallest value's label under the largest one's, and the ticks on both
// sides of zero up to the largest absolute value.
void drawSignedTicks(ChartCanvas& canvas, const ChartFrame& frame, const LabelFit& fit) {
    const std::string minLabel = "MIN: " + FormatAxisValue(frame.minimum);
    canvas.textOut(fit.textX(frame.x0 + 10, minLabel), frame.yTop + frame.fh, minLabel);
    canvas.selectFont(frame.fh, Direction::Upward);
    const float end = FeedChangeExtent(ValueRange{frame.minimum, frame.maximum});
    forEachTick(1, NiceStep(0.0f, end), end, frame.height / 2, [&](float value) {
        drawVerticalTick(canvas, frame, fit, value);
        drawVerticalTick(canvas, frame, fit, -value);
    });
}

void drawVerticalScale(ChartCanvas& canvas, const ChartFrame& frame, const ChartState& chart,
                       const LabelFit& fit) {
    canvas.selectPen(chart.axisColour);
    canvas.moveTo(frame.x0, frame.y0);
    canvas.lineTo(frame.x0, frame.yTop);
    const std::string maxLabel = "MAX: " + FormatAxisValue(frame.maximum);
    canvas.textOut(fit.textX(frame.x0 + 10, maxLabel), frame.yTop, maxLabel);
    if (frame.signedScale) {
        drawSignedTicks(canvas, frame, fit);
        return;
    }
    canvas.selectFont(frame.fh, Direction::Upward);
    forEachTick(1, NiceStep(0.0f, frame.maximum), frame.maximum, frame.height,
                [&](float value) { drawVerticalTick(canvas, frame, fit, value); });
}

// One S stroke of the break mark: the right half of a circle above the axis and the left half
// of a circle below it, both meeting the axis at x.
void drawBreakStroke(ChartCanvas& canvas, const ChartFrame& frame, int x) {
    const int y0 = frame.y0;
    const int d = 2 * kBreakRadius;
    canvas.setClipRect(x, y0 - d, x + kBreakRadius, y0);
    canvas.ellipse(x - kBreakRadius, y0 - d, x + kBreakRadius, y0);
    canvas.setClipRect(x - kBreakRadius, y0, x, y0 + d);
    canvas.ellipse(x - kBreakRadius, y0, x + kBreakRadius, y0 + d);
}

void drawHorizontalAxis(ChartCanvas& canvas, const ChartFrame& frame, const ChartState& chart) {
    canvas.selectFont(frame.fh, Direction::Horizontal);
    canvas.moveTo(frame.x0, frame.y0);
    if (frame.gap == 0) {
        canvas.lineTo(frame.xEnd, frame.y0);
        return;
    }
    const int left = frame.x0 + TruncToInt(frame.width * 0.05);
    const int right = left + kBreakHole;
    canvas.lineTo(left, frame.y0);
    canvas.moveTo(right, frame.y0);
    canvas.lineTo(frame.xEnd, frame.y0);
    canvas.selectBrush(chart.backColour);
    drawBreakStroke(canvas, frame, left);
    drawBreakStroke(canvas, frame, right);
    canvas.setClipRect(0, 0, frame.width, frame.height);
}

// The smallest k >= 1 with k x step at or beyond xLo, found by bisection: a walk from 1 would
// take as many steps as there are ticks left of the shown range.
long long firstTickIndex(float step, float xLo) {
    const double bound = std::ceil(static_cast<double>(xLo) / step) * 2.0 + 2.0;
    long long low = 1;
    long long high = static_cast<long long>(std::clamp(bound, 1.0, 4.0e18));
    while (low < high) {
        const long long middle = low + (high - low) / 2;
        if (static_cast<float>(middle) * step >= xLo)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

// The ticks of the horizontal axis: round numbers of mm or block numbers, or clock times.
void drawHorizontalTicks(ChartCanvas& canvas, const ChartFrame& frame, const LabelFit& fit,
                         bool clock) {
    if (!std::isfinite(frame.xLo) || !std::isfinite(frame.xHi))
        return;
    const float step = clock ? NiceTimeStep(frame.xLo, frame.xHi) : NiceStep(frame.xLo, frame.xHi);
    forEachTick(firstTickIndex(step, frame.xLo), step, frame.xHi, frame.width, [&](float value) {
        const int px = frame.pointX(value);
        canvas.moveTo(px, frame.y0);
        canvas.lineTo(px, frame.y0 - kTickLength);
        const std::string label = clock ? ClockLabel(value) : FormatAxisValue(value);
        const int length = labelWidth(label, frame.cw);
        canvas.textOut(fit.textX(px - length / 2, label), frame.y0 + 3, label);
    });
}

// The frame of a render at the chart's plot size, and what the render gives back.
ChartFrame layoutGraph(const ChartState& chart, const CutDataSet* data, ChartDrawn& drawn) {
    ChartFrame frame = LayoutFrame(chart.width, chart.height);
    drawn.fontHeight = frame.fh;
    frame.maximum = maximumOf(chart, data);
    if (hasData(data)) {
        drawn.withData = true;
        drawn.distMax = data->totalDistance[data->count - 1];
        ApplyShownRange(frame, HorizontalOf(chart), chart.shown, *data, drawn.distMax);
        ApplyVerticalScale(frame, chart, *data);
        drawn.plotLeft = frame.plotLeft();
        drawn.plotRight = frame.xEnd;
    }
    return frame;
}

template <class Path>
ChartDrawn drawGraphWith(ChartCanvas& canvas, const ChartState& chart, const CutDataSet* data,
                         Path& curve) {
    ChartDrawn drawn;
    const ChartFrame frame = layoutGraph(chart, data, drawn);

    canvas.setClipRect(0, 0, frame.width, frame.height);
    canvas.selectBrush(chart.backColour);
    canvas.selectPen(chart.backColour);
    canvas.rectangle(0, 0, frame.width, frame.height);
    const bool withCurve = drawn.withData && DrawsCurve(HorizontalOf(chart));
    if (frame.signedScale)
        drawZeroLine(canvas, frame, chart);
    if (withCurve)
        drawCurves(frame, chart, *data, curve);
    const LabelFit fit(frame, chart);
    drawTitles(canvas, frame, fit);
    drawVerticalScale(canvas, frame, chart, fit);
    drawHorizontalAxis(canvas, frame, chart);
    if (drawn.withData)
        drawHorizontalTicks(canvas, frame, fit, HorizontalOf(chart).isTime());
    if (withCurve && chart.legend)
        drawLegend(canvas, frame, chart, *data);
    return drawn;
}

} // namespace

ChartDrawn DrawGraph(QImage& surface, const ChartState& chart, const CutDataSet* data) {
    if (surface.isNull()) {
        ChartDrawn drawn;
        layoutGraph(chart, data, drawn);
        return drawn;
    }
    GdiCanvas canvas(surface);
    ColumnPath curve(canvas, ColumnPath::Canvas::Pixels);
    return drawGraphWith(canvas, chart, data, curve);
}

ChartDrawn DrawGraph(QPainter& painter, const ChartState& chart, const CutDataSet* data) {
    VectorCanvas canvas(painter, chart.width, chart.height);
    ColumnPath curve(canvas);
    return drawGraphWith(canvas, chart, data, curve);
}

ChartDrawn DrawGraph(ChartCanvas& canvas, const ChartState& chart, const CutDataSet* data,
                     CurvePath& curve) {
    return drawGraphWith(canvas, chart, data, curve);
}

float NiceStep(float a, float b) {
    return NiceStepOf(kStepTable, a, b);
}

float NiceStepOf(std::span<const float> steps, float a, float b) {
    const float half = (b - a) * 0.5f;
    const auto above = std::upper_bound(steps.begin() + 1, steps.end(), half);
    if (above == steps.end())
        return steps.back();
    const std::size_t k = static_cast<std::size_t>(above - steps.begin());
    const float s = steps[k - 1];
    const double n = std::floor(b / s) - std::ceil(a / s);
    if (n >= 2.0 || k == 1)
        return s;
    return steps[k - 2];
}

std::string FormatAxisValue(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%0.3f", static_cast<double>(value));
    std::string formatted(text);
    while (!formatted.empty() && formatted.back() == '0')
        formatted.pop_back();
    return formatted;
}
