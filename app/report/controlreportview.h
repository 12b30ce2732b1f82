#pragma once

#include "reportview.h"

class CurvexProxy;

// The view the window shows, as the graph control gives it: its machining times, chart, peaks,
// change runs, air cutting and the pictures it draws for a report.
class ControlReportView final : public ReportView {
public:
    explicit ControlReportView(CurvexProxy& viewer) : mViewer(viewer) {}

    std::vector<ToolRow> toolRows() override;
    ReportTimeRow totalRow() override;
    ReportTimeRow shownRow() override;
    ShownRange shownRange() override;
    // The control's legend is switched on for the drawing only when it is off.
    bool drawChart(QPaintDevice& device, QSize size, bool legend) override;
    // None from a control without peaks.
    std::optional<std::vector<ReportPeakRow>> peaks(std::size_t count) override;
    bool hasProgram() override;
    // None when the control cannot draw it.
    ReportPicture::Drawing toolpath() override;
    // None from a control without these members.
    ReportChart::Drawing compareChart(curvex::CompareMode mode) override;
    ReportPicture::Drawing colouredToolpath(curvex::ToolpathColourMode colours) override;
    std::optional<std::vector<ReportChangeRow>> changes(ChangeKind kind,
                                                        std::size_t count) override;
    std::optional<ReportAirRow> totalAir() override;
    std::optional<ReportAirRow> shownAir() override;

private:
    CurvexProxy& mViewer;
};
