#pragma once

#include "reportsection.h"

#include <QSize>

#include <functional>

// The chart of a report: drawn by whoever holds the data (the graph control or the DrawGraph of
// a command) at the chart area's size, as vector drawing recorded and placed into the page.
class ReportChart : public ReportSection {
public:
    // Draws the chart laid out at `size` pixels onto `device` from its top-left corner; false
    // when it could not.
    using Drawing = std::function<bool(QPaintDevice& device, QSize size)>;

    // The chart takes `share` of the page's printable height.
    ReportChart(Drawing drawing, double share);

    double height(QPaintDevice& device, double width) const override;
    bool draw(QPainter& painter, const QRectF& area) const override;

private:
    Drawing drawing_;
    double share_;
};
