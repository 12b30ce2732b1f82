#pragma once

#include "chartstate.h"
#include "reportview.h"
#include "toolpathmodel.h"

#include <functional>
#include <optional>

class RecordLines;

// The view `curvex report` shows: the chart of its options over the data set, the peaks and
// change runs with the lines of the program given with --program, and the toolpath as the control
// draws it for a report.
class DataReportView final : public ReportView {
public:
    // Gives a chart of another compare mode its titles as `chart` got its own.
    using ChartTitling = std::function<void(ChartState& chart)>;

    DataReportView(const CutDataSet& data, const ChartState& chart, const RecordLines* lines,
                   ChartTitling titling)
        : data_(data), chart_(chart), lines_(lines), titling_(std::move(titling)) {}

    std::vector<ToolRow> toolRows() override;
    ReportTimeRow totalRow() override;
    ReportTimeRow shownRow() override;
    ShownRange shownRange() override;
    bool drawChart(QPaintDevice& device, QSize size, bool legend) override;
    std::optional<std::vector<ReportPeakRow>> peaks(std::size_t count) override;
    bool hasProgram() override { return lines_ != nullptr; }
    ReportPicture::Drawing toolpath() override;
    ReportChart::Drawing compareChart(curvex::CompareMode mode) override;
    ReportPicture::Drawing colouredToolpath(curvex::ToolpathColourMode colours) override;
    std::optional<std::vector<ReportChangeRow>> changes(ChangeKind kind,
                                                        std::size_t count) override;
    std::optional<ReportAirRow> totalAir() override;
    std::optional<ReportAirRow> shownAir() override;

private:
    // `chart` laid out at `size` drawn onto the device.
    bool draw(QPaintDevice& device, ChartState chart, QSize size);

    const CutDataSet& data_;
    const ChartState& chart_;
    const RecordLines* lines_;
    ChartTitling titling_;
    std::optional<ToolpathModel> model_; // built when the toolpath is first drawn
};
