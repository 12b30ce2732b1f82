#pragma once

#include "reportcaptions.h"
#include "reportdocument.h"
#include "reportfacts.h"

#include <QByteArray>

// The report of a run: the header, the chart, the machining-time table, the highest peaks and
// the toolpath, in that order.
// Further sections are added to the document before it is written.
class MachiningReport {
public:
    MachiningReport(const ReportFacts& facts, const ReportCaptions& captions);

    ReportDocument& document() { return document_; }

    // The whole PDF; empty when it could not be drawn.
    QByteArray pdf();

    // The share of the printable height that the chart takes.
    static constexpr double kChartShare = 0.42;
    // The share that the toolpath takes.
    static constexpr double kToolpathShare = 0.5;

private:
    std::unique_ptr<ReportSection> header() const;
    std::unique_ptr<ReportSection> timeTable() const;
    std::unique_ptr<ReportSection> peaksTable() const;

    const ReportFacts& facts_;
    const ReportCaptions& captions_;
    ReportDocument document_;
};
