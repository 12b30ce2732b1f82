#include "reportcomposition.h"

#include "machiningreport.h"

#include <QFileInfo>

namespace {

ReportTimeRow named(ReportTimeRow row, const QString& name) {
    row.name = name;
    return row;
}

std::optional<std::vector<ReportPeakRow>> rankedPeaks(ReportView& view) {
    auto peaks = view.peaks(kReportPeaks);
    if (!peaks)
        return std::nullopt;
    for (std::size_t i = 0; i < peaks->size(); ++i)
        (*peaks)[i].rank = static_cast<quint32>(i + 1);
    return peaks;
}

void addAir(std::vector<ReportAirRow>& rows, std::optional<ReportAirRow> row, const QString& name) {
    if (!row)
        return;
    row->name = name;
    rows.push_back(*row);
}

} // namespace

ReportFacts ComposeReport(ReportView& view, const QString& title, const QString& dataFile,
                          const ReportCaptions& captions) {
    const QFileInfo file(dataFile);
    ReportFacts facts;
    facts.title = title;
    facts.dataFile = file.absoluteFilePath();
    facts.modified = file.lastModified();
    facts.written = QDateTime::currentDateTime();
    for (const ReportView::ToolRow& tool : view.toolRows())
        facts.tools.push_back(named(tool.times, QStringLiteral("T%1").arg(tool.toolNo)));
    facts.total = named(view.totalRow(), captions.text(ReportCaptions::Total));
    facts.records = facts.total.records;
    if (view.shownRange().narrowed())
        facts.shown = named(view.shownRow(), captions.text(ReportCaptions::ShownRange));
    facts.chart = [&view](QPaintDevice& device, QSize size) {
        return view.drawChart(device, size, true);
    };
    facts.peaks = rankedPeaks(view);
    facts.programLines = facts.peaks && view.hasProgram();
    facts.toolpath = view.toolpath();
    facts.feedChangeChart = view.compareChart(curvex::CompareMode::FeedChange);
    facts.feedChangeToolpath = view.colouredToolpath(curvex::ToolpathColourMode::FeedChange);
    facts.slower = view.changes(ChangeKind::Slower, kReportChanges);
    facts.faster = view.changes(ChangeKind::Faster, kReportChanges);
    facts.changeLines = view.hasProgram();
    addAir(facts.air, view.totalAir(), captions.text(ReportCaptions::Total));
    if (facts.shown)
        addAir(facts.air, view.shownAir(), captions.text(ReportCaptions::ShownRange));
    return facts;
}

QByteArray ReportPdf(ReportView& view, const QString& title, const QString& dataFile,
                     const ReportCaptions& captions) {
    return MachiningReport(ComposeReport(view, title, dataFile, captions), captions).pdf();
}
