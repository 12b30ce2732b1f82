#include "recorddump.h"

#include "floatformat.h"
#include "runeach.h"
#include "series.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <thread>

namespace {

constexpr std::array<std::string_view, 16> kNames = {
    "i",           "toolNo",  "blockNo",     "motionCode", "x",       "y",
    "z",           "orgFeed", "removalKind", "removal",    "optFeed", "totalDistance",
    "cutDistance", "series0", "series1",     "series2"};

// Records that one thread formats at a time, and records per round: a round of every column takes
// at most 15 MB.
constexpr std::uint32_t kPieceRecords = 4096;
constexpr std::uint32_t kRoundRecords = 16 * kPieceRecords;

// The longest texts: a 32-bit integer with its sign, and a float as "%.9g" writes it
// ("-1.23456789e-38").
constexpr std::size_t kMostIntegerBytes = 11;
constexpr std::size_t kMostFloatBytes = kMostFloat9gBytes;

constexpr unsigned kMostThreads = 8;

template <typename Integer> char* formatInteger(Integer value, char* out) {
    return std::to_chars(out, out + kMostIntegerBytes, value).ptr;
}

bool isFloat(RecordDump::Column column) {
    using enum RecordDump::Column;
    switch (column) {
    case X:
    case Y:
    case Z:
    case Removal:
    case TotalDistance:
    case CutDistance:
    case Series0:
    case Series1:
    case Series2:
        return true;
    default:
        return false;
    }
}

// The formatted lines of one round: a stretch of the buffer per piece, and where each ends.
struct Round {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::vector<char> bytes;
    std::vector<char*> ends;
};

} // namespace

std::vector<RecordDump::Column> RecordDump::allColumns() {
    std::vector<Column> columns;
    for (std::size_t k = 0; k < kNames.size(); ++k)
        columns.push_back(static_cast<Column>(k));
    return columns;
}

std::optional<std::vector<RecordDump::Column>> RecordDump::columnsNamed(std::string_view list,
                                                                        std::string& unknown) {
    std::vector<Column> columns;
    for (std::size_t start = 0;;) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view name = list.substr(start, comma - start);
        const auto found = std::find(kNames.begin(), kNames.end(), name);
        if (found == kNames.end()) {
            unknown = name;
            return std::nullopt;
        }
        columns.push_back(static_cast<Column>(found - kNames.begin()));
        if (comma == list.size())
            return columns;
        start = comma + 1;
    }
}

RecordDump::RecordDump(const CutDataSet& data, std::vector<Column> columns, float g00Feed)
    : data_(data), columns_(std::move(columns)), g00Feed_(g00Feed) {}

std::string RecordDump::header() const {
    std::string line;
    for (const Column column : columns_) {
        if (!line.empty())
            line += ',';
        line += kNames[static_cast<std::size_t>(column)];
    }
    return line + '\n';
}

std::size_t RecordDump::mostBytes(std::size_t records) const {
    std::size_t line = 0;
    for (const Column column : columns_)
        line += (isFloat(column) ? kMostFloatBytes : kMostIntegerBytes) + 1;
    return records * line;
}

char* RecordDump::formatColumn(Column column, std::uint32_t i, char* out) const {
    const CutRecord& r = data_.records[i];
    switch (column) {
    case Column::Index:
        return formatInteger(i, out);
    case Column::ToolNo:
        return formatInteger(r.toolNo, out);
    case Column::BlockNo:
        return formatInteger(r.blockNo, out);
    case Column::MotionCode:
        return formatInteger(r.motionCode, out);
    case Column::X:
        return FormatFloat9g(r.x, out);
    case Column::Y:
        return FormatFloat9g(r.y, out);
    case Column::Z:
        return FormatFloat9g(r.z, out);
    case Column::OrgFeed:
        return formatInteger(r.orgFeed, out);
    case Column::RemovalKind:
        return formatInteger(r.removalKind, out);
    case Column::Removal:
        return FormatFloat9g(r.removal, out);
    case Column::OptFeed:
        return formatInteger(r.optFeed, out);
    case Column::TotalDistance:
        return FormatFloat9g(data_.totalDistance[i], out);
    case Column::CutDistance:
        return FormatFloat9g(data_.cutDistance[i], out);
    case Column::Series0:
        return FormatFloat9g(seriesValue(data_, i, 0, g00Feed_), out);
    case Column::Series1:
        return FormatFloat9g(seriesValue(data_, i, 1, g00Feed_), out);
    case Column::Series2:
        return FormatFloat9g(seriesValue(data_, i, 2, g00Feed_), out);
    }
    return out;
}

char* RecordDump::format(std::uint32_t first, std::uint32_t last, char* out) const {
    for (std::uint32_t i = first; i < last; ++i) {
        for (const Column column : columns_) {
            out = formatColumn(column, i, out);
            *out++ = ',';
        }
        out[-1] = '\n';
    }
    return out;
}

void RecordDump::write(std::FILE* stream, unsigned threads) const {
    if (threads == 0)
        threads = std::clamp(std::thread::hardware_concurrency(), 1u, kMostThreads);
    const std::string top = header();
    bool written = std::fwrite(top.data(), 1, top.size(), stream) == top.size();
    const std::size_t pieceBytes = mostBytes(kPieceRecords);
    const auto formatRound = [&](Round& round) {
        const std::uint32_t pieces = (round.last - round.first + kPieceRecords - 1) / kPieceRecords;
        round.bytes.resize(pieces * pieceBytes);
        round.ends.resize(pieces);
        runShared(pieces, threads, [&](std::size_t k) {
            const std::uint32_t first = round.first + static_cast<std::uint32_t>(k) * kPieceRecords;
            const std::uint32_t last = std::min(first + kPieceRecords, round.last);
            round.ends[k] = format(first, last, round.bytes.data() + k * pieceBytes);
        });
    };
    const auto writeRound = [&](const Round& round) {
        for (std::size_t k = 0; k < round.ends.size() && written; ++k) {
            const char* const begin = round.bytes.data() + k * pieceBytes;
            const auto size = static_cast<std::size_t>(round.ends[k] - begin);
            written = std::fwrite(begin, 1, size, stream) == size;
        }
    };
    std::array<Round, 2> rounds;
    for (std::uint32_t first = 0, n = 0; written; ++n) {
        Round& next = rounds[n % 2];
        const Round& previous = rounds[(n + 1) % 2];
        next.first = first;
        next.last = first + std::min(kRoundRecords, data_.count - first);
        next.ends.clear();
        runEach(2, [&](std::size_t k) {
            if (k == 0)
                formatRound(next);
            else
                writeRound(previous);
        });
        if (next.first == next.last)
            break;
        first = next.last;
    }
}
