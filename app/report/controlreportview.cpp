#include "controlreportview.h"

#include "airrow.h"
#include "curvexids.h"
#include "curvexproxy.h"
#include "surfaceregistry.h"
#include "toolpathproxy.h"

#include <QImage>

#include <algorithm>

namespace {

// A row of GetChanges as a change run; none for a row of too few fields.
std::optional<ChangeRun> changeRunOf(const QVariant& value) {
    const QVariantList fields = value.toList();
    if (fields.size() < curvex::ChangeFieldCount)
        return std::nullopt;
    ChangeRun run;
    run.first = fields[curvex::ChangeFirst].toUInt();
    run.last = fields[curvex::ChangeLast].toUInt();
    run.firstBlock = fields[curvex::ChangeFirstBlock].toInt();
    run.lastBlock = fields[curvex::ChangeLastBlock].toInt();
    run.toolNo = static_cast<std::int16_t>(fields[curvex::ChangeToolNo].toInt());
    run.length = fields[curvex::ChangeLength].toDouble();
    run.programmed = fields[curvex::ChangeProgrammed].toDouble();
    run.optimised = fields[curvex::ChangeOptimised].toDouble();
    return run;
}

std::optional<ReportAirRow> reportAirRowOf(const std::optional<AirRow>& row) {
    if (!row)
        return std::nullopt;
    return ReportAirRow{QString(), row->length, row->programmed, row->optimised};
}

} // namespace

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

ReportChart::Drawing ControlReportView::compareChart(curvex::CompareMode mode) {
    if (!mViewer.hasMethod(curvex::DispDrawReportChart))
        return {};
    return [this, mode](QPaintDevice& device, QSize size) {
        const component::SurfaceRegistry::Entry surface(&device);
        return mViewer.drawReportChart(surface.handle(), size, mode).value_or(false);
    };
}

ReportPicture::Drawing ControlReportView::colouredToolpath(curvex::ToolpathColourMode colours) {
    if (!mViewer.hasMethod(curvex::DispDrawColouredReportToolpath))
        return {};
    return [this, colours](QImage& image) {
        const component::SurfaceRegistry::Entry surface(&image);
        return ToolpathProxy(mViewer)
            .drawReport(surface.handle(), image.size(), colours)
            .value_or(false);
    };
}

std::optional<std::vector<ReportChangeRow>> ControlReportView::changes(ChangeKind kind,
                                                                       std::size_t count) {
    const auto runs = mViewer.getChanges(kind, static_cast<std::int32_t>(count));
    if (!runs)
        return std::nullopt;
    const bool lines = hasProgram();
    std::vector<ReportChangeRow> rows;
    for (const QVariant& value : *runs) {
        const auto run = changeRunOf(value);
        if (!run || rows.size() == count)
            break;
        const std::int32_t line =
            lines ? mViewer.getRecordLine(static_cast<std::int32_t>(run->first)).value_or(0) : 0;
        rows.push_back({*run, static_cast<quint32>(std::max(line, 0))});
    }
    return rows;
}

std::optional<ReportAirRow> ControlReportView::totalAir() {
    return reportAirRowOf(mViewer.getTotalAirRow());
}

std::optional<ReportAirRow> ControlReportView::shownAir() {
    return reportAirRowOf(mViewer.getShownAirRow());
}
