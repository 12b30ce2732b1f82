#include "programlink.h"

#include "filedescriptor.h"
#include "filenametext.h"
#include "shownpeaks.h"

#include <QVariantList>

#include <memory>
#include <span>

namespace {

const RecordLines kNoLines;

} // namespace

ProgramLink::ProgramLink(std::function<void()> mapped) : mapped_(std::move(mapped)) {}

ProgramLink::DataTag ProgramLink::tagOf(const CutDataSet& data) {
    return data.hasData() ? DataTag{data.index.serial(), data.count} : DataTag{};
}

bool ProgramLink::load(const std::string& fileName, const CutDataSet& data) {
    if (!openForReading(fileName).regular())
        return false;
    close();
    fileName_ = fileName;
    loaded_ = true;
    prepare(data);
    return true;
}

void ProgramLink::close() {
    retireJob();
    lines_ = RecordLines();
    lineCount_ = 0;
    mappedTag_.reset();
    fileName_.clear();
    loaded_ = false;
}

QString ProgramLink::fileName() const {
    return fileNameFromBytes(QByteArray::fromStdString(fileName_));
}

// The block numbers are copied for the job (4 bytes a record), so a load may replace the data
// while it runs.
void ProgramLink::prepare(const CutDataSet& data) {
    takeFinishedJob();
    const DataTag tag = tagOf(data);
    if (!loaded_ || mappedTag_ == tag || (job_ && jobTag_ == tag))
        return;
    retireJob();
    std::vector<std::int32_t> blockNos;
    if (data.hasData())
        blockNos.assign(data.blockNos.data(), data.blockNos.data() + data.count);
    jobTag_ = tag;
    job_ = std::make_unique<RecordLinesJob>(fileName_, std::move(blockNos), mapped_);
}

void ProgramLink::retireJob() {
    std::erase_if(retired_, [](const auto& job) { return job->done(); });
    if (!job_)
        return;
    job_->cancel();
    retired_.push_back(std::move(job_));
}

void ProgramLink::takeFinishedJob() {
    if (!job_ || !job_->done())
        return;
    RecordLinesJob::Result result = job_->take();
    job_.reset();
    lines_ = std::move(result.lines);
    lineCount_ = static_cast<std::int32_t>(result.lineCount);
    mappedTag_ = jobTag_;
    told_ = false;
}

bool ProgramLink::ready(const CutDataSet& data) {
    prepare(data);
    return loaded_ && mappedTag_ == tagOf(data);
}

bool ProgramLink::newlyReady(const CutDataSet& data) {
    if (!ready(data) || told_)
        return false;
    told_ = true;
    return true;
}

std::int32_t ProgramLink::lineCount(const CutDataSet& data) {
    return ready(data) ? lineCount_ : 0;
}

const RecordLines& ProgramLink::linesFor(const CutDataSet& data) {
    return ready(data) ? lines_ : kNoLines;
}

std::int32_t ProgramLink::lineOf(const CutDataSet& data, std::int32_t index) {
    if (index < 0)
        return 0;
    return static_cast<std::int32_t>(linesFor(data).lineOf(static_cast<std::uint32_t>(index)));
}

std::int32_t ProgramLink::recordOn(const CutDataSet& data, std::int32_t line, std::int32_t from) {
    if (line <= 0)
        return -1;
    const auto record = linesFor(data).recordToMark(static_cast<std::uint32_t>(line),
                                                    static_cast<std::uint32_t>(std::max(from, 0)));
    return record ? static_cast<std::int32_t>(*record) : -1;
}

std::int32_t ProgramLink::recordCountOn(const CutDataSet& data, std::int32_t line) {
    if (line <= 0)
        return 0;
    return static_cast<std::int32_t>(
        linesFor(data).recordsOn(static_cast<std::uint32_t>(line)).size());
}

QVariant ProgramLink::peaks(const CutDataSet& data, const ChartState& chart) {
    if (!data.hasData())
        return QVariantList();
    return rowsOf(data, ShownPeaks(data, chart));
}

QVariant ProgramLink::toolPeaks(const CutDataSet& data, const ChartState& chart,
                                std::int32_t perTool) {
    if (perTool < 1)
        return false;
    if (!data.hasData())
        return QVariantList();
    return rowsOf(data, ShownToolPeaks(data, chart, static_cast<std::uint32_t>(perTool)));
}

QVariantList ProgramLink::rowsOf(const CutDataSet& data, const std::vector<Peak>& peaks) {
    QVariantList rows;
    const RecordLines& lines = linesFor(data);
    for (const Peak& peak : peaks) {
        const CutRecord& r = data.records[peak.index];
        rows.append(QVariant(QVariantList{peak.index, r.blockNo, r.toolNo, peak.value, r.orgFeed,
                                          r.optFeed, lines.lineOf(peak.index)}));
    }
    return rows;
}
