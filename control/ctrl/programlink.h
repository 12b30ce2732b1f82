#pragma once

#include "chartstate.h"
#include "cutdataset.h"
#include "peakfinder.h"
#include "recordlines.h"
#include "recordlinesjob.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The NC program beside the control's data: which line each record comes from, worked out once
// per data set and program on a thread of its own (see RecordLinesJob). The host shows the
// program; the control answers which line a record has, which record a line gives, and the peaks
// of the chart with their lines. Until the map of the data at hand is made, every answer is the
// one without a program; `mapped` is called on the control's thread each time a map is ready.
class ProgramLink {
public:
    // `mapped` is called on the job's thread; the control passes the news on to its own.
    explicit ProgramLink(std::function<void()> mapped = {});

    // Takes the program and starts reading and mapping it for `data`; false when it cannot be
    // opened, the program before staying.
    bool load(const std::string& fileName, const CutDataSet& data);
    void close();
    QString fileName() const;
    // Starts mapping the program for `data` unless its map is made or being made.
    void prepare(const CutDataSet& data);
    // Whether the map of `data` is at hand.
    bool ready(const CutDataSet& data);
    // Whether the map of `data` is at hand and this is the first time it is asked for news: true
    // once per map made.
    bool newlyReady(const CutDataSet& data);
    std::int32_t lineCount(const CutDataSet& data);

    // The line of record `index`, from 1; 0 when it has none or there is no program.
    std::int32_t lineOf(const CutDataSet& data, std::int32_t index);
    // The record a click on `line` marks: of its records the first at or after `from`, else its
    // first; -1 when the line has none.
    std::int32_t recordOn(const CutDataSet& data, std::int32_t line, std::int32_t from);
    std::int32_t recordCountOn(const CutDataSet& data, std::int32_t line);
    // The peaks of what `chart` shows, one row each: index, blockNo, toolNo, value, orgFeed,
    // optFeed and line (0 without one).
    QVariant peaks(const CutDataSet& data, const ChartState& chart);
    // The `perTool` highest peaks of each tool of what `chart` shows, rows as peaks(); FALSE for
    // fewer than one.
    QVariant toolPeaks(const CutDataSet& data, const ChartState& chart, std::int32_t perTool);

private:
    // Which data set a map is for: its index's serial and count.
    struct DataTag {
        std::uint64_t serial = 0;
        std::uint32_t count = 0;
        bool operator==(const DataTag&) const = default;
    };
    static DataTag tagOf(const CutDataSet& data);

    // The map of `data`, or an empty one while it is being made.
    const RecordLines& linesFor(const CutDataSet& data);
    QVariantList rowsOf(const CutDataSet& data, const std::vector<Peak>& peaks);
    void takeFinishedJob();
    // Cancels the running job and keeps it until it ends, so that no caller waits for it.
    void retireJob();

    std::function<void()> mapped_;
    bool loaded_ = false;
    std::string fileName_;
    std::unique_ptr<RecordLinesJob> job_;
    std::vector<std::unique_ptr<RecordLinesJob>> retired_;
    DataTag jobTag_;
    // The map made last, for mappedTag_; nothing before the first.
    RecordLines lines_;
    std::int32_t lineCount_ = 0;
    std::optional<DataTag> mappedTag_;
    bool told_ = false;
};
