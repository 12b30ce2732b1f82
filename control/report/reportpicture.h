#pragma once

#include "reportsection.h"

#include <QString>

#include <functional>

class QImage;

// A picture of pixels under a caption, such as the toolpath: drawn by whoever holds the data into
// an image of the area's size at twice the page's resolution, and placed into the page without
// loss, so that its thin lines keep their colours.
class ReportPicture : public ReportSection {
public:
    // Draws into `image` (Format_RGB32, already of its size); false when it could not.
    using Drawing = std::function<bool(QImage& image)>;

    // The caption and the picture take `share` of the page's printable height.
    ReportPicture(QString caption, Drawing drawing, double share);

    double height(QPaintDevice& device, double width) const override;
    bool draw(QPainter& painter, const QRectF& area) const override;

    // Pixels of the image per unit of the page.
    static constexpr double kPixelsPerUnit = 2.0;

private:
    double captionHeight(QPaintDevice& device) const;

    QString caption_;
    Drawing drawing_;
    double share_;
};
