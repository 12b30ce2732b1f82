#include "recordlines.h"

#include <algorithm>

namespace {

constexpr std::uint64_t kLineBits = 0xFFFFFFFF;

// The numbered lines of the program as they come, each its block number in the high half and its
// line in the low half, sorted: the lines of each number lie together, ascending. Nothing else is
// kept, so that the map of a program takes 8 bytes a numbered line on the way.
class NumberedLines {
public:
    explicit NumberedLines(ProgramNumbers& program) : pairs_(program.takeNumberedLines()) {
        if (!std::is_sorted(pairs_.begin(), pairs_.end()))
            std::sort(pairs_.begin(), pairs_.end());
    }

    // The pairs of `number`; an empty span when no line has it. Records mostly go on to the next
    // block number, so the pairs after those found last are tried first, and the end of a
    // number's pairs is searched in steps that double, as few as the pairs are.
    std::span<const std::uint64_t> linesOf(std::uint32_t number) {
        const std::uint64_t first = std::uint64_t{number} << 32;
        std::size_t begin = next_;
        if (begin >= pairs_.size() || !holds(begin, first))
            begin = static_cast<std::size_t>(std::lower_bound(pairs_.begin(), pairs_.end(), first) -
                                             pairs_.begin());
        if (begin >= pairs_.size() || !holds(begin, first))
            return {};
        std::size_t inside = begin;
        std::size_t beyond = begin + 1;
        for (std::size_t step = 1; beyond < pairs_.size() && holds(beyond, first); step *= 2) {
            inside = beyond;
            beyond = std::min(pairs_.size(), beyond + step);
        }
        next_ = static_cast<std::size_t>(
            std::upper_bound(pairs_.begin() + static_cast<std::ptrdiff_t>(inside),
                             pairs_.begin() + static_cast<std::ptrdiff_t>(beyond),
                             first | kLineBits) -
            pairs_.begin());
        return std::span(pairs_).subspan(begin, next_ - begin);
    }

private:
    bool holds(std::size_t at, std::uint64_t first) const {
        return (pairs_[at] & ~kLineBits) == first;
    }

    std::vector<std::uint64_t> pairs_;
    std::size_t next_ = 0;
};

// The first line of the pairs `candidates` of one number at or after line `from`, else the first.
std::uint32_t firstLineFrom(std::span<const std::uint64_t> candidates, std::uint32_t from) {
    const std::uint64_t number = candidates.front() & ~kLineBits;
    const auto found = std::lower_bound(candidates.begin(), candidates.end(), number | from);
    return static_cast<std::uint32_t>((found != candidates.end() ? *found : candidates.front()) &
                                      kLineBits);
}

// The first of `candidates` at or after `from`, else the first of all.
std::uint32_t firstFrom(std::span<const std::uint32_t> candidates, std::uint32_t from) {
    const auto found = std::lower_bound(candidates.begin(), candidates.end(), from);
    return found != candidates.end() ? *found : candidates.front();
}

} // namespace

RecordLines::RecordLines(ProgramNumbers program, std::span<const std::int32_t> blockNos)
    : lines_(blockNos.size(), 0) {
    const std::size_t lineCount = program.lineCount();
    mapNumberedLines(program, blockNos);
    groupRecordsByLine(lineCount);
}

RecordLines::RecordLines(const ProgramText& program, std::span<const std::int32_t> blockNos)
    : RecordLines(ProgramNumbers::of(program), blockNos) {}

void RecordLines::mapNumberedLines(ProgramNumbers& program,
                                   std::span<const std::int32_t> blockNos) {
    if (!program.numbered()) {
        mapLinesByNumber(program.lineCount(), blockNos);
        return;
    }
    NumberedLines byNumber(program);
    std::uint32_t from = 1;
    std::span<const std::uint64_t> candidates;
    for (std::size_t i = 0; i < blockNos.size(); ++i) {
        const auto number = static_cast<std::uint32_t>(blockNos[i]);
        if (i == 0 || number != static_cast<std::uint32_t>(blockNos[i - 1]))
            candidates = byNumber.linesOf(number);
        if (candidates.empty())
            continue;
        from = firstLineFrom(candidates, from);
        lines_[i] = from;
    }
}

void RecordLines::mapLinesByNumber(std::size_t lineCount, std::span<const std::int32_t> blockNos) {
    for (std::size_t i = 0; i < blockNos.size(); ++i) {
        const auto number = static_cast<std::uint32_t>(blockNos[i]);
        if (number >= 1 && number <= lineCount)
            lines_[i] = number;
    }
}

// A counting sort of the records by line, so that each line's records come out ascending.
void RecordLines::groupRecordsByLine(std::size_t lineCount) {
    lineStarts_.assign(lineCount + 2, 0);
    for (const std::uint32_t line : lines_) {
        if (line != 0)
            ++lineStarts_[line + 1];
    }
    for (std::size_t line = 1; line < lineStarts_.size(); ++line)
        lineStarts_[line] += lineStarts_[line - 1];
    records_.resize(lineStarts_.back());
    std::vector<std::uint32_t> next(lineStarts_.begin(), lineStarts_.end() - 1);
    for (std::uint32_t record = 0; record < lines_.size(); ++record) {
        if (lines_[record] != 0)
            records_[next[lines_[record]]++] = record;
    }
}

std::uint32_t RecordLines::lineOf(std::uint32_t record) const {
    return record < lines_.size() ? lines_[record] : 0;
}

std::span<const std::uint32_t> RecordLines::recordsOn(std::uint32_t line) const {
    if (line == 0 || line + 1 >= lineStarts_.size())
        return {};
    return std::span(records_).subspan(lineStarts_[line],
                                       lineStarts_[line + 1] - lineStarts_[line]);
}

std::optional<std::uint32_t> RecordLines::recordToMark(std::uint32_t line,
                                                       std::optional<std::uint32_t> marked) const {
    const std::span<const std::uint32_t> records = recordsOn(line);
    if (records.empty())
        return std::nullopt;
    return firstFrom(records, marked.value_or(0));
}
