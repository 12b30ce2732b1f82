#include "machiningreport.h"

#include "durationtext.h"
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
    : mFacts(facts), mCaptions(captions), mDocument(facts.title, [&captions](int page, int pages) {
          return captions.pageText(page, pages);
      }) {
    mDocument.add(header());
    mDocument.add(std::make_unique<ReportChart>(facts.chart, kChartShare));
    mDocument.add(timeTable());
    if (facts.peaks)
        mDocument.add(peaksTable());
    if (facts.toolpath)
        mDocument.add(std::make_unique<ReportPicture>(captions.text(ReportCaptions::Toolpath),
                                                      facts.toolpath, kToolpathShare));
}

std::unique_ptr<ReportSection> MachiningReport::header() const {
    const auto line = [this](ReportCaptions::Caption caption, const QString& value) {
        return mCaptions.text(caption) + QStringLiteral(": ") + value;
    };
    QStringList lines{line(ReportCaptions::File, mFacts.dataFile),
                      line(ReportCaptions::Modified, mFacts.modified.toString(kTimeFormat)),
                      line(ReportCaptions::Written, mFacts.written.toString(kTimeFormat)),
                      line(ReportCaptions::Records, QString::number(mFacts.records)) +
                          QStringLiteral("    ") +
                          line(ReportCaptions::Tools, QString::number(mFacts.tools.size()))};
    return std::make_unique<ReportHeader>(mFacts.title, lines);
}

std::unique_ptr<ReportSection> MachiningReport::timeTable() const {
    using C = ReportCaptions;
    auto table = std::make_unique<ReportTable>(
        mCaptions.text(C::MachiningTime),
        QStringList{mCaptions.text(C::Tool), mCaptions.text(C::Records),
                    mCaptions.text(C::Programmed), mCaptions.text(C::Optimised),
                    mCaptions.text(C::Saved), mCaptions.text(C::SavedPercent)});
    for (const ReportTimeRow& tool : mFacts.tools)
        table->addRow(cellsOf(tool));
    table->addRow(cellsOf(mFacts.total), true);
    if (mFacts.shown)
        table->addRow(cellsOf(*mFacts.shown));
    return table;
}

std::unique_ptr<ReportSection> MachiningReport::peaksTable() const {
    using C = ReportCaptions;
    QStringList headings{mCaptions.text(C::Rank),           mCaptions.text(C::Block),
                         mCaptions.text(C::Tool),           mCaptions.text(C::Value),
                         mCaptions.text(C::ProgrammedFeed), mCaptions.text(C::OptimisedFeed)};
    if (mFacts.programLines)
        headings.append(mCaptions.text(C::ProgramLine));
    auto table = std::make_unique<ReportTable>(mCaptions.text(C::HighestPeaks), headings);
    for (const ReportPeakRow& peak : *mFacts.peaks)
        table->addRow(cellsOf(peak, mFacts.programLines));
    return table;
}

QByteArray MachiningReport::pdf() {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return mDocument.write(buffer) ? buffer.data() : QByteArray();
}
