#pragma once

#include "chartstate.h"
#include "reportview.h"
#include "toolpathmodel.h"

#include <optional>

class RecordLines;

// The view `curvex report` shows: the chart of its options over the data set, the peaks with
// the lines of the program given with --program, and the toolpath as the control draws it for a
// report.
class DataReportView final : public ReportView {
public:
    DataReportView(const CutDataSet& data, const ChartState& chart, const RecordLines* lines)
        : data_(data), chart_(chart), lines_(lines) {}

    std::vector<ToolRow> toolRows() override;
    ReportTimeRow totalRow() override;
    ReportTimeRow shownRow() override;
    ShownRange shownRange() override;
    bool drawChart(QPaintDevice& device, QSize size, bool legend) override;
    std::optional<std::vector<ReportPeakRow>> peaks(std::size_t count) override;
    bool hasProgram() override { return lines_ != nullptr; }
    ReportPicture::Drawing toolpath() override;

private:
    const CutDataSet& data_;
    const ChartState& chart_;
    const RecordLines* lines_;
    std::optional<ToolpathModel> model_; // built when the toolpath is first drawn
};
