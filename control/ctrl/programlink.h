#pragma once

#include "chartstate.h"
#include "cutdataset.h"
#include "programtext.h"
#include "recordlines.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <string>

// The NC program beside the control's data: its text, and which line each record comes from,
// worked out once per data set and program, when first asked for. The host shows the program;
// the control answers which line a record has, which record a line gives, and the peaks of the
// chart with their lines.
class ProgramLink {
public:
    // Takes the program; false when it cannot be opened, the program before staying. Its text is
    // read when first needed.
    bool load(const std::string& fileName);
    void close();
    QString fileName() const;
    std::int32_t lineCount();

    // The line of record `index`, from 1; 0 when it has none or there is no program.
    std::int32_t lineOf(const CutDataSet& data, std::int32_t index);
    // The record a click on `line` marks: of its records the first at or after `from`, else its
    // first; -1 when the line has none.
    std::int32_t recordOn(const CutDataSet& data, std::int32_t line, std::int32_t from);
    std::int32_t recordCountOn(const CutDataSet& data, std::int32_t line);
    // The peaks of what `chart` shows, one row each: index, blockNo, toolNo, value, orgFeed,
    // optFeed and line (0 without one).
    QVariant peaks(const CutDataSet& data, const ChartState& chart);

private:
    const RecordLines& linesFor(const CutDataSet& data);
    const ProgramText& text();

    bool loaded_ = false;
    std::string fileName_;
    std::unique_ptr<ProgramText> text_;
    RecordLines lines_;
    // The data set the map is for: its index's serial and count; 0 for none yet.
    std::uint64_t mappedSerial_ = 0;
    std::uint32_t mappedCount_ = 0;
};
