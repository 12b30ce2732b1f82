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

} // namespace

MachiningReport::MachiningReport(const ReportFacts& facts, const ReportCaptions& captions)
    : mFacts(facts), mCaptions(captions), mDocument(facts.title, [&captions](int page, int pages) {
          return captions.pageText(page, pages);
      }) {
    mDocument.add(header());
    mDocument.add(std::make_unique<ReportChart>(facts.chart, kChartShare));
    mDocument.add(timeTable());
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

QByteArray MachiningReport::pdf() {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return mDocument.write(buffer) ? buffer.data() : QByteArray();
}
