#pragma once

#include "cutdataset.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The CSV lines of `curvex dump`: a header and one line per record with the chosen columns,
// integers in decimal and floats as printf's "%.9g" writes them. The lines are formatted on
// several threads, a round of records at a time, and written in record order while the next round
// is formatted, so that the output never needs more than two rounds of memory.
class RecordDump {
public:
    enum class Column : std::uint8_t {
        Index,
        ToolNo,
        BlockNo,
        MotionCode,
        X,
        Y,
        Z,
        OrgFeed,
        RemovalKind,
        Removal,
        OptFeed,
        TotalDistance,
        CutDistance,
        Series0,
        Series1,
        Series2,
    };

    // Every column, in the order of the default header.
    static std::vector<Column> allColumns();
    // The columns named in a comma-separated list of header names, in its order; an unknown or
    // empty name gives nothing and is stored in `unknown`.
    static std::optional<std::vector<Column>> columnsNamed(std::string_view list,
                                                           std::string& unknown);

    RecordDump(const CutDataSet& data, std::vector<Column> columns, float g00Feed);

    // The header line with its line feed.
    std::string header() const;
    // The most bytes that the lines of `records` records can take.
    std::size_t mostBytes(std::size_t records) const;
    // Writes the lines of records first..last - 1 from `out` on, which holds mostBytes of them;
    // returns the end of what was written.
    char* format(std::uint32_t first, std::uint32_t last, char* out) const;
    // Writes the header and every line to `stream` with `threads` formatting threads (0: the
    // machine's cores); stops at the first failed write, which leaves the stream's error set.
    void write(std::FILE* stream, unsigned threads = 0) const;

private:
    char* formatColumn(Column column, std::uint32_t i, char* out) const;

    const CutDataSet& data_;
    std::vector<Column> columns_;
    float g00Feed_;
};
