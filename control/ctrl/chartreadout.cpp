#include "chartreadout.h"

#include "chartframe.h"
#include "cutdataset.h"
#include "plottedseries.h"
#include "series.h"

#include <QPainter>

namespace {

constexpr int kMarkRadius = 4;
constexpr int kCrossArm = 8;

// The value of record i in the series the read-out follows.
float markedValue(const ChartState& chart, const CutDataSet& data, std::uint32_t i) {
    return PlottedSeries(data, PlottedSeries::ofReadOut(chart), chart.g00Feed).value(i);
}

} // namespace

bool ChartReadOut::pointAt(int x, const ChartState& chart, const CutDataSet& data) {
    if (!picker_)
        picker_.emplace(data);
    const auto picked = PickReadOut(*picker_, data, chart, x);
    const std::optional<std::uint32_t> index =
        picked ? std::optional<std::uint32_t>(picked->index) : std::nullopt;
    if (index == marked_)
        return false;
    marked_ = index;
    return true;
}

bool ChartReadOut::clear() {
    const bool had = marked_.has_value();
    marked_.reset();
    return had;
}

void ChartReadOut::rendered(const CutDataSet& data) {
    if (picker_ && !picker_->serves(data))
        picker_.reset();
}

void ChartReadOut::dataReplaced() {
    picker_.reset();
    marked_.reset();
}

QVariantList ChartReadOut::describe(const ChartState& chart, const CutDataSet& data) const {
    if (!marked_ || *marked_ >= data.count)
        return {};
    const std::uint32_t i = *marked_;
    const CutRecord& r = data.records[i];
    return {i,   r.blockNo, r.toolNo,  r.motionCode,  r.x,       r.y,
            r.z, r.orgFeed, r.optFeed, r.removalKind, r.removal, markedValue(chart, data, i)};
}

void ChartReadOut::draw(QPainter& screen, const ChartState& chart, const CutDataSet& data) const {
    const HorizontalAxis axis = HorizontalOf(chart);
    if (!marked_ || *marked_ >= data.count || !DrawsCurve(axis))
        return;
    const ChartFrame frame = ViewFrame(chart, data);
    const QPoint at(frame.pointX(axis.valueAt(data, *marked_)),
                    frame.pointY(markedValue(chart, data, *marked_)));
    screen.save();
    screen.setRenderHint(QPainter::Antialiasing, false);
    screen.setPen(QPen(Qt::black, 0));
    screen.setBrush(Qt::NoBrush);
    screen.drawEllipse(at, kMarkRadius, kMarkRadius);
    screen.drawLine(at - QPoint(kCrossArm, 0), at + QPoint(kCrossArm, 0));
    screen.drawLine(at - QPoint(0, kCrossArm), at + QPoint(0, kCrossArm));
    screen.restore();
}
