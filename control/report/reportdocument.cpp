#include "reportdocument.h"

#include "reportfont.h"

#include <QFileDevice>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr int kUnitsPerInch = 96; // the chart's pixels are screen pixels of this resolution
constexpr double kMargin = 40.0;  // around the page, about 10.6 mm
constexpr double kGap = 14.0;     // between sections
constexpr double kFootPoints = 8.0;

} // namespace

ReportDocument::ReportDocument(QString title, PageText pageText)
    : title_(std::move(title)), pageText_(std::move(pageText)) {}

void ReportDocument::add(std::unique_ptr<ReportSection> section) {
    sections_.push_back(std::move(section));
}

std::vector<ReportDocument::Page> ReportDocument::layOut(QPaintDevice& device, const QRectF& body) {
    std::vector<Page> pages(1);
    double top = body.top();
    auto place = [&](const ReportSection& section, double height) {
        pages.back().push_back({&section, QRectF(body.left(), top, body.width(), height)});
        top += height + kGap;
    };
    auto newPage = [&] {
        pages.emplace_back();
        top = body.top();
    };
    for (const auto& whole : sections_) {
        const ReportSection* section = whole.get();
        while (true) {
            const double height = section->height(device, body.width());
            if (top + height <= body.bottom()) {
                place(*section, height);
                break;
            }
            auto [first, rest] = section->split(device, body.width(), body.bottom() - top);
            if (first) {
                place(*first, first->height(device, body.width()));
                parts_.push_back(std::move(first));
                parts_.push_back(std::move(rest));
                section = parts_.back().get();
            } else if (top == body.top()) {
                place(*section, body.height()); // taller than a page and not to be split
                break;
            }
            newPage();
        }
    }
    return pages;
}

bool ReportDocument::drawPage(QPainter& painter, const Page& page, const QRectF& foot, int number,
                              int count) const {
    for (const Placed& placed : page)
        if (!placed.section->draw(painter, placed.area))
            return false;
    painter.setFont(reportFont(kFootPoints));
    painter.drawText(foot, Qt::AlignRight | Qt::AlignBottom, pageText_(number, count));
    return true;
}

bool ReportDocument::write(QIODevice& out) {
    if (!out.isWritable())
        return false;
    QPdfWriter writer(&out);
    writer.setResolution(kUnitsPerInch);
    writer.setTitle(title_);
    writer.setCreator(QStringLiteral("Plotwell"));
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
    const QRectF page(0.0, 0.0, writer.width(), writer.height());
    const double footHeight = QFontMetricsF(reportFont(kFootPoints), &writer).height();
    const QRectF content = page.adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QRectF body = content.adjusted(0.0, 0.0, 0.0, -(footHeight + kGap));
    const QRectF foot(content.left(), content.bottom() - footHeight, content.width(), footHeight);
    const std::vector<Page> laidOut = layOut(writer, body);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const int count = static_cast<int>(laidOut.size());
    for (int n = 0; n < count; ++n) {
        if ((n > 0 && !writer.newPage()) ||
            !drawPage(painter, laidOut[static_cast<std::size_t>(n)], foot, n + 1, count)) {
            painter.end();
            return false;
        }
    }
    const auto* file = qobject_cast<const QFileDevice*>(&out);
    return painter.end() && (file == nullptr || file->error() == QFileDevice::NoError);
}
