#include "reportheader.h"

#include "reportfont.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr double kTitlePoints = 16.0;
constexpr double kLinePoints = 9.0;
constexpr double kTitleGap = 6.0; // below the title

} // namespace

ReportHeader::ReportHeader(const QString& title, const QStringList& lines)
    : title_(oneLine(title)) {
    for (const QString& line : lines)
        lines_.append(oneLine(line));
}

QString ReportHeader::oneLine(const QString& text) {
    QString line;
    line.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c == u'\r' && at + 1 < text.size() && text.at(at + 1) == u'\n')
            continue;
        if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            line.append(u' ');
        else if (c.category() == QChar::Other_Control)
            line.append(QChar::ReplacementCharacter);
        else
            line.append(c);
    }
    return line;
}

double ReportHeader::height(QPaintDevice& device, double) const {
    const double title = QFontMetricsF(reportFont(kTitlePoints, true), &device).height();
    const double line = QFontMetricsF(reportFont(kLinePoints), &device).height();
    return title + kTitleGap + line * static_cast<double>(lines_.size());
}

bool ReportHeader::draw(QPainter& painter, const QRectF& area) const {
    QPaintDevice& device = *painter.device();
    const double title = QFontMetricsF(reportFont(kTitlePoints, true), &device).height();
    const double line = QFontMetricsF(reportFont(kLinePoints), &device).height();
    painter.save();
    painter.setFont(reportFont(kTitlePoints, true));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), title),
                     Qt::AlignLeft | Qt::AlignVCenter, title_);
    painter.setFont(reportFont(kLinePoints));
    double top = area.top() + title + kTitleGap;
    for (const QString& text : lines_) {
        painter.drawText(QRectF(area.left(), top, area.width(), line),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
        top += line;
    }
    painter.restore();
    return true;
}
