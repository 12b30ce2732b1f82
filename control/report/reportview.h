#pragma once

#include "curvexids.h"
#include "reportfacts.h"
#include "shownrange.h"

#include <QSize>

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

class QPaintDevice;

// A view as its report shows it, reached the way its host reaches it: the window through the
// graph control, `curvex` from the data set and the chart its options give. The report itself
// (ComposeReport) decides what of it is shown and how.
class ReportView {
public:
    // A tool's machining times; the report names the row.
    struct ToolRow {
        int toolNo = 0;
        ReportTimeRow times;
    };

    virtual ~ReportView() = default;

    virtual std::vector<ToolRow> toolRows() = 0;
    virtual ReportTimeRow totalRow() = 0;
    // The times of the records the chart shows.
    virtual ReportTimeRow shownRow() = 0;
    // The shown range in percent of the horizontal axis, lower and upper.
    virtual ShownRange shownRange() = 0;
    // The chart as shown, with or without its legend, drawn at `size` into the device.
    virtual bool drawChart(QPaintDevice& device, QSize size, bool legend) = 0;
    // At most `count` of the highest peaks of the chart, the highest first, their rank left to the
    // report; none when the host cannot find them.
    virtual std::optional<std::vector<ReportPeakRow>> peaks(std::size_t count) = 0;
    // Whether an NC program gives the peaks their lines.
    virtual bool hasProgram() = 0;
    // The toolpath as a report shows it; none when the host cannot draw it.
    virtual ReportPicture::Drawing toolpath() = 0;
    // The chart of the shown range with its legend in compare mode `mode`; none when the host
    // cannot draw it. The view the user sees stays as it is.
    virtual ReportChart::Drawing compareChart(curvex::CompareMode mode) = 0;
    // The report's toolpath coloured by `colours` with its colour bar; none when the host cannot
    // draw it.
    virtual ReportPicture::Drawing colouredToolpath(curvex::ToolpathColourMode colours) = 0;
    // At most `count` of the largest change runs of `kind` of the whole data, the largest first,
    // with their program lines when a program is given; none when the host cannot list them.
    virtual std::optional<std::vector<ReportChangeRow>> changes(ChangeKind kind,
                                                                std::size_t count) = 0;
    // The air cutting of the whole data and of the records the chart shows, the report naming
    // them; none when the host cannot tell.
    virtual std::optional<ReportAirRow> totalAir() = 0;
    virtual std::optional<ReportAirRow> shownAir() = 0;
};

// A row of the time table from machining times of either host's shape.
template <class Times> ReportTimeRow ReportTimeRowOf(const Times& times) {
    return {QString(),       times.records, times.programmed,
            times.optimised, times.saved,   times.savedPercent};
}
