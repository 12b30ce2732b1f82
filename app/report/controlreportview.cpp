#include "controlreportview.h"

#include "curvexids.h"
#include "curvexproxy.h"
#include "surfaceregistry.h"
#include "toolpathproxy.h"

#include <QImage>

std::vector<ReportView::ToolRow> ControlReportView::toolRows() {
    std::vector<ToolRow> rows;
    const std::int32_t tools = mViewer.getToolRowCount().value_or(0);
    for (std::int32_t i = 0; i < tools; ++i)
        if (const auto row = mViewer.getToolRow(i))
            rows.push_back({row->toolNo, ReportTimeRowOf(*row)});
    return rows;
}

ReportTimeRow ControlReportView::totalRow() {
    return ReportTimeRowOf(mViewer.getTotalRow().value_or(MachiningRow()));
}

ReportTimeRow ControlReportView::shownRow() {
    return ReportTimeRowOf(mViewer.getShownRow().value_or(MachiningRow()));
}

ShownRange ControlReportView::shownRange() {
    ShownRange shown;
    mViewer.getDistArea(shown.lower, shown.upper);
    return shown;
}

bool ControlReportView::drawChart(QPaintDevice& device, QSize size, bool legend) {
    const auto shown = mViewer.getChartOption(curvex::ChartOption::Legend);
    const bool switchOver = shown && *shown != legend;
    if (switchOver)
        mViewer.setChartOption(curvex::ChartOption::Legend, legend);
    const component::SurfaceRegistry::Entry surface(&device);
    const bool drawn =
        mViewer.drawChart(surface.handle(), size, QRect(QPoint(0, 0), size)).value_or(false);
    if (switchOver)
        mViewer.setChartOption(curvex::ChartOption::Legend, *shown);
    return drawn;
}

std::optional<std::vector<ReportPeakRow>> ControlReportView::peaks(std::size_t count) {
    const auto peaks = mViewer.getPeaks();
    if (!peaks)
        return std::nullopt;
    std::vector<ReportPeakRow> rows;
    for (const QVariant& peak : *peaks) {
        const QVariantList fields = peak.toList();
        if (fields.size() < curvex::PeakFieldCount || rows.size() == count)
            break;
        rows.push_back({0, fields[curvex::PeakBlockNo].toInt(), fields[curvex::PeakToolNo].toInt(),
                        fields[curvex::PeakValue].toDouble(), fields[curvex::PeakOrgFeed].toInt(),
                        fields[curvex::PeakOptFeed].toInt(), fields[curvex::PeakLine].toUInt()});
    }
    return rows;
}

bool ControlReportView::hasProgram() {
    const auto file = mViewer.getNcProgramFile();
    return file && !file->isEmpty();
}

ReportPicture::Drawing ControlReportView::toolpath() {
    const auto draw = [this](QImage& image) {
        const component::SurfaceRegistry::Entry surface(&image);
        return ToolpathProxy(mViewer).drawReport(surface.handle(), image.size());
    };
    QImage probe(1, 1, QImage::Format_RGB32);
    if (!draw(probe))
        return {};
    return [draw](QImage& image) { return draw(image).value_or(false); };
}
