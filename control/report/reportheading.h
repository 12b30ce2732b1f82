#pragma once

#include "reportsection.h"

#include <QString>

#include <memory>

// A heading in large type over the section that follows it, kept on one page with it: a section
// that goes on over pages takes the heading with its first part.
class ReportHeading : public ReportSection {
public:
    ReportHeading(QString heading, std::unique_ptr<ReportSection> under);

    double height(QPaintDevice& device, double width) const override;
    bool draw(QPainter& painter, const QRectF& area) const override;
    Parts split(QPaintDevice& device, double width, double room) const override;

private:
    double headingHeight(QPaintDevice& device) const;

    QString heading_;
    std::unique_ptr<ReportSection> under_;
};
