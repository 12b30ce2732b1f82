#include "recordlines.h"

#include <algorithm>

namespace {

// The lines of every block number: the numbers ascending, and for each its lines ascending.
struct NumberedLines {
    std::vector<std::uint32_t> numbers;
    std::vector<std::uint32_t> starts; // where the lines of numbers[k] start in `lines`; one more
    std::vector<std::uint32_t> lines;

    // The pairs are dropped once sorted out.
    explicit NumberedLines(ProgramNumbers& program) {
        std::vector<std::uint64_t> pairs = program.takeNumberedLines();
        if (!std::is_sorted(pairs.begin(), pairs.end()))
            std::sort(pairs.begin(), pairs.end());
        lines.reserve(pairs.size());
        for (const std::uint64_t pair : pairs) {
            const auto number = static_cast<std::uint32_t>(pair >> 32);
            if (numbers.empty() || numbers.back() != number) {
                numbers.push_back(number);
                starts.push_back(static_cast<std::uint32_t>(lines.size()));
            }
            lines.push_back(static_cast<std::uint32_t>(pair));
        }
        starts.push_back(static_cast<std::uint32_t>(lines.size()));
    }

    // Where the lines of `number` lie in `lines`; an empty span when no line has it. Records
    // mostly go on to the next block number, so the number after the one found last is tried
    // first.
    std::span<const std::uint32_t> linesOf(std::uint32_t number) {
        if (last_ + 1 >= numbers.size() || numbers[last_ + 1] != number) {
            const auto found = std::lower_bound(numbers.begin(), numbers.end(), number);
            if (found == numbers.end() || *found != number)
                return {};
            last_ = static_cast<std::size_t>(found - numbers.begin());
        } else {
            ++last_;
        }
        return std::span(lines).subspan(starts[last_], starts[last_ + 1] - starts[last_]);
    }

private:
    std::size_t last_ = 0;
};

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
    std::span<const std::uint32_t> candidates;
    for (std::size_t i = 0; i < blockNos.size(); ++i) {
        const auto number = static_cast<std::uint32_t>(blockNos[i]);
        if (i == 0 || number != static_cast<std::uint32_t>(blockNos[i - 1]))
            candidates = byNumber.linesOf(number);
        if (candidates.empty())
            continue;
        from = firstFrom(candidates, from);
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
