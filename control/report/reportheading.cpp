#include "reportheading.h"

#include "reportfont.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr double kHeadingPoints = 14.0;
constexpr double kHeadingGap = 6.0; // below the heading

} // namespace

ReportHeading::ReportHeading(QString heading, std::unique_ptr<ReportSection> under)
    : heading_(std::move(heading)), under_(std::move(under)) {}

double ReportHeading::headingHeight(QPaintDevice& device) const {
    return QFontMetricsF(reportFont(kHeadingPoints, true), &device).height() + kHeadingGap;
}

double ReportHeading::height(QPaintDevice& device, double width) const {
    return headingHeight(device) + under_->height(device, width);
}

bool ReportHeading::draw(QPainter& painter, const QRectF& area) const {
    const double top = headingHeight(*painter.device());
    painter.save();
    painter.setFont(reportFont(kHeadingPoints, true));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), top - kHeadingGap),
                     Qt::AlignLeft | Qt::AlignVCenter, heading_);
    painter.restore();
    return under_->draw(painter, area.adjusted(0.0, top, 0.0, 0.0));
}

ReportSection::Parts ReportHeading::split(QPaintDevice& device, double width, double room) const {
    auto [first, rest] = under_->split(device, width, room - headingHeight(device));
    if (!first)
        return {};
    return {std::make_unique<ReportHeading>(heading_, std::move(first)), std::move(rest)};
}
