#include "chartreadout.h"

#include "chartframe.h"
#include "cutdataset.h"
#include "series.h"

#include <QPainter>

namespace {

constexpr int kMarkRadius = 4;
constexpr int kCrossArm = 8;

} // namespace

bool ChartReadOut::pointAt(int x, const ChartState& chart, const CutDataSet& data) {
    if (!picker_)
        picker_.emplace(data);
    const auto picked = picker_->pick(chart, x);
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
    return {
        i,         r.blockNo,     r.toolNo,  r.motionCode,
        r.x,       r.y,           r.z,       r.orgFeed,
        r.optFeed, r.removalKind, r.removal, seriesValue(data, i, chart.drawMode, chart.g00Feed)};
}

void ChartReadOut::draw(QPainter& screen, const ChartState& chart, const CutDataSet& data) const {
    if (!marked_ || *marked_ >= data.count || !drawsCurve(chart.distanceMode))
        return;
    const ChartFrame frame = viewFrame(chart, data);
    const QPoint at(frame.pointX(horizontalValue(data, *marked_, chart.distanceMode)),
                    frame.pointY(seriesValue(data, *marked_, chart.drawMode, chart.g00Feed)));
    screen.save();
    screen.setRenderHint(QPainter::Antialiasing, false);
    screen.setPen(QPen(Qt::black, 0));
    screen.setBrush(Qt::NoBrush);
    screen.drawEllipse(at, kMarkRadius, kMarkRadius);
    screen.drawLine(at - QPoint(kCrossArm, 0), at + QPoint(kCrossArm, 0));
    screen.drawLine(at - QPoint(0, kCrossArm), at + QPoint(0, kCrossArm));
    screen.restore();
}
