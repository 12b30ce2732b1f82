#pragma once

#include "programnumbers.h"
#include "programtext.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Which program line each record comes from, and the records of each line, worked out once per
// data and program. Record i with block number b goes to the first line at or after the line of
// the latest earlier record that has one (line 1 before any has) whose block number is b; when
// none follows up to the end, the search starts again at line 1, and when no line has b the
// record has no line. A program without any block number gives block number b line b. Block
// numbers are taken as unsigned 32-bit values, as the chart takes them, from the first
// kBlockNumberBytes bytes of a line.
// What the program panel and `curvex source` say of a program without any block number.
inline constexpr char kUnnumberedProgramNote[] = "no N words: lines matched by block number";

class RecordLines {
public:
    RecordLines() = default;
    // Without any numbered line in the program, records are matched to lines by their block
    // number alone.
    RecordLines(ProgramNumbers program, std::span<const std::int32_t> blockNos);
    RecordLines(const ProgramText& program, std::span<const std::int32_t> blockNos);

    std::uint32_t recordCount() const { return static_cast<std::uint32_t>(lines_.size()); }
    // The line of a record, counted from 1; 0 when it has none or lies beyond the records.
    std::uint32_t lineOf(std::uint32_t record) const;
    // The records of a line, ascending.
    std::span<const std::uint32_t> recordsOn(std::uint32_t line) const;
    // The record that a click on `line` marks: the first of its records at or after `marked`, else
    // its first; nothing when the line has no record.
    std::optional<std::uint32_t> recordToMark(std::uint32_t line,
                                              std::optional<std::uint32_t> marked) const;

private:
    void mapNumberedLines(ProgramNumbers& program, std::span<const std::int32_t> blockNos);
    void mapLinesByNumber(std::size_t lineCount, std::span<const std::int32_t> blockNos);
    void groupRecordsByLine(std::size_t lineCount);

    std::vector<std::uint32_t> lines_;      // per record
    std::vector<std::uint32_t> lineStarts_; // per line from 0: where its records start in records_
    std::vector<std::uint32_t> records_;
};
