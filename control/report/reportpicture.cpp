#include "reportpicture.h"

#include "reportfont.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

namespace {

constexpr double kCaptionPoints = 11.0;
constexpr double kCaptionGap = 4.0; // below the caption

} // namespace

ReportPicture::ReportPicture(QString caption, Drawing drawing, double share)
    : caption_(std::move(caption)), drawing_(std::move(drawing)), share_(share) {}

double ReportPicture::captionHeight(QPaintDevice& device) const {
    return QFontMetricsF(reportFont(kCaptionPoints, true), &device).height() + kCaptionGap;
}

double ReportPicture::height(QPaintDevice& device, double) const {
    return device.height() * share_;
}

bool ReportPicture::draw(QPainter& painter, const QRectF& area) const {
    const double top = captionHeight(*painter.device());
    const QRectF picture = area.adjusted(0.0, top, 0.0, 0.0);
    const QSize size = (picture.size() * kPixelsPerUnit).toSize();
    if (size.isEmpty())
        return false;
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull() || !drawing_(image))
        return false;
    painter.save();
    painter.setFont(reportFont(kCaptionPoints, true));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), top),
                     Qt::AlignLeft | Qt::AlignTop, caption_);
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawImage(QRectF(picture.topLeft(), QSizeF(size) / kPixelsPerUnit), image);
    painter.restore();
    return true;
}
