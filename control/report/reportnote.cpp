#include "reportnote.h"

#include "reportfont.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr double kCaptionPoints = 11.0;
constexpr double kTextPoints = 9.0;
constexpr double kCaptionGap = 4.0; // below the caption

} // namespace

ReportNote::ReportNote(QString caption, QString text)
    : caption_(std::move(caption)), text_(std::move(text)) {}

double ReportNote::height(QPaintDevice& device, double) const {
    return QFontMetricsF(reportFont(kCaptionPoints, true), &device).height() + kCaptionGap +
           QFontMetricsF(reportFont(kTextPoints), &device).height();
}

bool ReportNote::draw(QPainter& painter, const QRectF& area) const {
    QPaintDevice& device = *painter.device();
    const double caption = QFontMetricsF(reportFont(kCaptionPoints, true), &device).height();
    painter.save();
    painter.setFont(reportFont(kCaptionPoints, true));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), caption),
                     Qt::AlignLeft | Qt::AlignTop, caption_);
    painter.setFont(reportFont(kTextPoints));
    painter.drawText(QRectF(area.left(), area.top() + caption + kCaptionGap, area.width(),
                            area.height() - caption - kCaptionGap),
                     Qt::AlignLeft | Qt::AlignTop, text_);
    painter.restore();
    return true;
}
