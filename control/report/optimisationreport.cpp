#include "optimisationreport.h"

#include "durationtext.h"
#include "machiningreport.h"
#include "reportdocument.h"
#include "reportheading.h"
#include "reportnote.h"

#include <vector>

namespace {

QString durationText(double seconds) {
    return QString::fromStdString(DurationText(seconds));
}

QString lengthText(double millimetres) {
    return QString::number(millimetres, 'f', 3);
}

// "120" for a run within one block, else "120–135".
QString blocksText(const ChangeRun& run) {
    if (run.firstBlock == run.lastBlock)
        return QString::number(run.firstBlock);
    return QStringLiteral("%1\u2013%2").arg(run.firstBlock).arg(run.lastBlock);
}

} // namespace

std::unique_ptr<ReportTable> OptimisationReport::changeTable(ChangeKind kind) const {
    using C = ReportCaptions;
    const bool slower = kind == ChangeKind::Slower;
    QStringList headings{captions_.text(C::Tool), captions_.text(C::Blocks)};
    if (facts_.changeLines)
        headings.append(captions_.text(C::ProgramLine));
    headings << captions_.text(C::Length) << captions_.text(C::Programmed)
             << captions_.text(C::Optimised) << captions_.text(slower ? C::TimeLost : C::TimeSaved);
    auto table = std::make_unique<ReportTable>(captions_.text(slower ? C::Slowdowns : C::SpeedUps),
                                               headings);
    if (!changesOf(kind))
        return table;
    for (const ReportChangeRow& row : *changesOf(kind)) {
        const ChangeRun& run = row.run;
        QStringList cells{QStringLiteral("T%1").arg(run.toolNo), blocksText(run)};
        if (facts_.changeLines)
            cells.append(row.line > 0 ? QString::number(row.line) : QString());
        cells << lengthText(run.length) << durationText(run.programmed)
              << durationText(run.optimised)
              << durationText(slower ? run.difference() : -run.difference());
        table->addRow(cells);
    }
    return table;
}

std::unique_ptr<ReportTable> OptimisationReport::airTable() const {
    using C = ReportCaptions;
    auto table = std::make_unique<ReportTable>(captions_.text(C::AirCutting),
                                               QStringList{QString(), captions_.text(C::Length),
                                                           captions_.text(C::Programmed),
                                                           captions_.text(C::Optimised)});
    for (const ReportAirRow& row : facts_.air)
        table->addRow({row.name, lengthText(row.length), durationText(row.programmed),
                       durationText(row.optimised)});
    return table;
}

std::unique_ptr<ReportSection> OptimisationReport::changeSection(ChangeKind kind) const {
    using C = ReportCaptions;
    std::unique_ptr<ReportTable> table = changeTable(kind);
    if (!table->rows().empty())
        return table;
    const bool slower = kind == ChangeKind::Slower;
    return std::make_unique<ReportNote>(captions_.text(slower ? C::Slowdowns : C::SpeedUps),
                                        captions_.text(slower ? C::NoSlowdowns : C::NoSpeedUps));
}

void OptimisationReport::addTo(ReportDocument& document) const {
    std::vector<std::unique_ptr<ReportSection>> parts;
    if (facts_.feedChangeChart)
        parts.push_back(
            std::make_unique<ReportChart>(facts_.feedChangeChart, MachiningReport::kChartShare));
    if (facts_.feedChangeToolpath)
        parts.push_back(std::make_unique<ReportPicture>(
            captions_.text(ReportCaptions::FeedChangeToolpath), facts_.feedChangeToolpath,
            MachiningReport::kToolpathShare));
    for (const ChangeKind kind : {ChangeKind::Slower, ChangeKind::Faster})
        if (changesOf(kind))
            parts.push_back(changeSection(kind));
    if (!facts_.air.empty())
        parts.push_back(airTable());
    if (parts.empty())
        return;
    parts.front() = std::make_unique<ReportHeading>(
        captions_.text(ReportCaptions::OptimisationActed), std::move(parts.front()));
    for (auto& part : parts)
        document.add(std::move(part));
}
