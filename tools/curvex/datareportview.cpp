#include "datareportview.h"

#include "changeruns.h"
#include "chartframe.h"
#include "graphrenderer.h"
#include "machiningtime.h"
#include "recordlines.h"
#include "shownpeaks.h"
#include "shownrecords.h"
#include "toolpathpicture.h"

#include <QImage>
#include <QPainter>

namespace {

ReportAirRow airRowOf(const MachiningTimes& times) {
    return {QString(), times.airLength, times.airProgrammed, times.airOptimised};
}

} // namespace

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

bool DataReportView::draw(QPaintDevice& device, ChartState chart, QSize size) {
    chart.width = size.width();
    chart.height = size.height();
    QPainter painter(&device);
    if (!painter.isActive())
        return false;
    DrawGraph(painter, chart, &data_);
    return painter.end();
}

bool DataReportView::drawChart(QPaintDevice& device, QSize size, bool legend) {
    ChartState chart = chart_;
    chart.legend = legend;
    return draw(device, chart, size);
}

ReportChart::Drawing DataReportView::compareChart(curvex::CompareMode mode) {
    return [this, mode](QPaintDevice& device, QSize size) {
        ChartState chart = chart_;
        chart.compareMode = mode;
        chart.legend = true;
        titling_(chart);
        return draw(device, chart, size);
    };
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
    return colouredToolpath(curvex::ToolpathColourMode::Chart);
}

ReportPicture::Drawing DataReportView::colouredToolpath(curvex::ToolpathColourMode colours) {
    return [this, colours](QImage& image) {
        if (!model_)
            model_.emplace(data_);
        return DrawReportToolpath(image, *model_, chart_, data_, image.width(), image.height(),
                                  colours);
    };
}

std::optional<std::vector<ReportChangeRow>> DataReportView::changes(ChangeKind kind,
                                                                    std::size_t count) {
    const ChangeLists lists = LargestChangeRuns(data_, static_cast<std::uint32_t>(count));
    std::vector<ReportChangeRow> rows;
    for (const ChangeRun& run : lists.of(kind))
        rows.push_back({run, lines_ ? lines_->lineOf(run.first) : 0u});
    return rows;
}

std::optional<ReportAirRow> DataReportView::totalAir() {
    return airRowOf(TotalTimesOf(data_, chart_.g00Feed));
}

std::optional<ReportAirRow> DataReportView::shownAir() {
    return airRowOf(ShownTimesOf(data_, HorizontalOf(chart_), chart_.shown, chart_.g00Feed));
}
