#include "machiningreport.h"

#include "durationtext.h"
#include "optimisationreport.h"
#include "reportheader.h"
#include "reporttable.h"

#include <QBuffer>

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString durationText(double seconds) {
    return QString::fromStdString(DurationText(seconds));
}

QString percentText(const std::optional<double>& percent) {
    return percent ? QString::number(*percent, 'f', 1) : QString();
}

QStringList cellsOf(const ReportTimeRow& row) {
    return {row.name,
            QString::number(row.records),
            durationText(row.programmed),
            durationText(row.optimised),
            durationText(row.saved),
            percentText(row.savedPercent)};
}

QStringList cellsOf(const ReportPeakRow& row, bool programLines) {
    QStringList cells{QString::number(row.rank),           QString::number(row.block),
                      QStringLiteral("T%1").arg(row.tool), QString::number(row.value, 'g', 6),
                      QString::number(row.programmedFeed), QString::number(row.optimisedFeed)};
    if (programLines)
        cells.append(row.line > 0 ? QString::number(row.line) : QString());
    return cells;
}

} // namespace

MachiningReport::MachiningReport(const ReportFacts& facts, const ReportCaptions& captions)
    : facts_(facts), captions_(captions), document_(facts.title, [&captions](int page, int pages) {
          return captions.pageText(page, pages);
      }) {
    document_.add(header());
    document_.add(std::make_unique<ReportChart>(facts.chart, kChartShare));
    document_.add(timeTable());
    if (facts.peaks)
        document_.add(peaksTable());
    if (facts.toolpath)
        document_.add(std::make_unique<ReportPicture>(captions.text(ReportCaptions::Toolpath),
                                                      facts.toolpath, kToolpathShare));
    OptimisationReport(facts, captions).addTo(document_);
}

std::unique_ptr<ReportSection> MachiningReport::header() const {
    const auto line = [this](ReportCaptions::Caption caption, const QString& value) {
        return captions_.text(caption) + QStringLiteral(": ") + value;
    };
    QStringList lines{line(ReportCaptions::File, facts_.dataFile),
                      line(ReportCaptions::Modified, facts_.modified.toString(kTimeFormat)),
                      line(ReportCaptions::Written, facts_.written.toString(kTimeFormat)),
                      line(ReportCaptions::Records, QString::number(facts_.records)) +
                          QStringLiteral("    ") +
                          line(ReportCaptions::Tools, QString::number(facts_.tools.size()))};
    return std::make_unique<ReportHeader>(facts_.title, lines);
}

std::unique_ptr<ReportTable> MachiningReport::timeTable() const {
    using C = ReportCaptions;
    auto table = std::make_unique<ReportTable>(
        captions_.text(C::MachiningTime),
        QStringList{captions_.text(C::Tool), captions_.text(C::Records),
                    captions_.text(C::Programmed), captions_.text(C::Optimised),
                    captions_.text(C::Saved), captions_.text(C::SavedPercent)});
    for (const ReportTimeRow& tool : facts_.tools)
        table->addRow(cellsOf(tool));
    table->addRow(cellsOf(facts_.total), true);
    if (facts_.shown)
        table->addRow(cellsOf(*facts_.shown));
    return table;
}

std::unique_ptr<ReportTable> MachiningReport::peaksTable() const {
    using C = ReportCaptions;
    QStringList headings{captions_.text(C::Rank),           captions_.text(C::Block),
                         captions_.text(C::Tool),           captions_.text(C::Value),
                         captions_.text(C::ProgrammedFeed), captions_.text(C::OptimisedFeed)};
    if (facts_.programLines)
        headings.append(captions_.text(C::ProgramLine));
    auto table = std::make_unique<ReportTable>(captions_.text(C::HighestPeaks), headings);
    for (const ReportPeakRow& peak : *facts_.peaks)
        table->addRow(cellsOf(peak, facts_.programLines));
    return table;
}

QByteArray MachiningReport::pdf() {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return document_.write(buffer) ? buffer.data() : QByteArray();
}
