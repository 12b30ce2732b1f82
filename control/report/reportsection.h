#pragma once

#include <QRectF>

#include <memory>
#include <utility>

class QPainter;
class QPaintDevice;

// One block of a report page: it says how tall it is at a width and draws itself into a given
// rectangle. Units are those of the page's device (1/96 inch in a report).
class ReportSection {
public:
    virtual ~ReportSection() = default;

    // The height the section needs at `width` on `device`.
    virtual double height(QPaintDevice& device, double width) const = 0;
    // Draws into `area`; false when the drawing failed.
    virtual bool draw(QPainter& painter, const QRectF& area) const = 0;

    // The part that fits into `room` and the rest, for a section that can go on over pages; both
    // empty for one that cannot, or when not even its first part fits.
    using Parts = std::pair<std::unique_ptr<ReportSection>, std::unique_ptr<ReportSection>>;
    virtual Parts split(QPaintDevice& device, double width, double room) const;
};
