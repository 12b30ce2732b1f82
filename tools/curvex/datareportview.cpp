#include "datareportview.h"

#include "chartframe.h"
#include "graphrenderer.h"
#include "machiningtime.h"
#include "recordlines.h"
#include "shownpeaks.h"
#include "shownrecords.h"
#include "toolpathpicture.h"

#include <QImage>
#include <QPainter>

std::vector<ReportView::ToolRow> DataReportView::toolRows() {
    std::vector<ToolRow> rows;
    for (const ToolTimes& tool : ToolTimesOf(data_, chart_.g00Feed))
        rows.push_back({tool.toolNo, ReportTimeRowOf(tool.times)});
    return rows;
}

ReportTimeRow DataReportView::totalRow() {
    return ReportTimeRowOf(TotalTimesOf(data_, chart_.g00Feed));
}

ReportTimeRow DataReportView::shownRow() {
    return ReportTimeRowOf(ShownTimesOf(data_, HorizontalOf(chart_), chart_.shown, chart_.g00Feed));
}

ShownRange DataReportView::shownRange() {
    return chart_.shown;
}

bool DataReportView::drawChart(QPaintDevice& device, QSize size, bool legend) {
    ChartState sized = chart_;
    sized.width = size.width();
    sized.height = size.height();
    sized.legend = legend;
    QPainter painter(&device);
    if (!painter.isActive())
        return false;
    DrawGraph(painter, sized, &data_);
    return painter.end();
}

std::optional<std::vector<ReportPeakRow>> DataReportView::peaks(std::size_t count) {
    std::vector<ReportPeakRow> rows;
    for (const Peak& peak : ShownPeaks(data_, chart_, static_cast<std::uint32_t>(count))) {
        const CutRecord& r = data_.records[peak.index];
        rows.push_back({0, r.blockNo, r.toolNo, static_cast<double>(peak.value), r.orgFeed,
                        r.optFeed, lines_ ? lines_->lineOf(peak.index) : 0u});
    }
    return rows;
}

ReportPicture::Drawing DataReportView::toolpath() {
    return [this](QImage& image) {
        if (!model_)
            model_.emplace(data_);
        return DrawReportToolpath(image, *model_, chart_, data_, image.width(), image.height());
    };
}
