#include "programlink.h"

#include "filedescriptor.h"
#include "filenametext.h"
#include "shownpeaks.h"

#include <QVariantList>

#include <memory>
#include <span>

// Only opened here: the text is read when the first question needs it, so that a host that
// reads the program for its own view does not wait for a second reading.
bool ProgramLink::load(const std::string& fileName) {
    if (!openForReading(fileName).regular())
        return false;
    fileName_ = fileName;
    loaded_ = true;
    text_.reset();
    mappedSerial_ = 0;
    return true;
}

void ProgramLink::close() {
    text_.reset();
    lines_ = RecordLines();
    fileName_.clear();
    loaded_ = false;
    mappedSerial_ = 0;
}

// The text as it is now; a program that cannot be read any more has no lines.
const ProgramText& ProgramLink::text() {
    if (!text_) {
        text_ = std::make_unique<ProgramText>();
        int error = 0;
        ProgramText::read(fileName_, *text_, error);
    }
    return *text_;
}

QString ProgramLink::fileName() const {
    return fileNameFromBytes(QByteArray::fromStdString(fileName_));
}

std::int32_t ProgramLink::lineCount() {
    return loaded_ ? static_cast<std::int32_t>(text().lineCount()) : 0;
}

// The map is made again when the data set or the program changed since it was made.
const RecordLines& ProgramLink::linesFor(const CutDataSet& data) {
    const std::uint64_t serial = data.index.serial();
    if (!loaded_ || !data.hasData()) {
        lines_ = RecordLines();
        mappedSerial_ = 0;
    } else if (serial == 0 || serial != mappedSerial_ || data.count != mappedCount_) {
        lines_ = RecordLines(text(), std::span(data.blockNos.data(), data.count));
        mappedSerial_ = serial;
        mappedCount_ = data.count;
    }
    return lines_;
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
    QVariantList rows;
    if (!data.hasData())
        return rows;
    const RecordLines& lines = linesFor(data);
    for (const Peak& peak : ShownPeaks(data, chart)) {
        const CutRecord& r = data.records[peak.index];
        rows.append(QVariant(QVariantList{peak.index, r.blockNo, r.toolNo, peak.value, r.orgFeed,
                                          r.optFeed, lines.lineOf(peak.index)}));
    }
    return rows;
}
