#include "programnumbers.h"

#include "blocknumber.h"
#include "programlinescan.h"

#include <cerrno>
#include <new>

bool ProgramNumbers::read(const std::string& path, ProgramNumbers& numbers, int& error,
                          const std::atomic<bool>* stop) {
    ProgramLineScan scan;
    error = scan.open(path);
    if (error != 0)
        return false;
    ProgramNumbers result;
    error = scan.run(
        0, 1, kBlockNumberBytes,
        [&result](const ScannedLine& line) {
            result.add(line.number, line.head);
            return true;
        },
        stop);
    if (error != 0)
        return false;
    numbers = std::move(result);
    return true;
}

ProgramNumbers ProgramNumbers::of(const ProgramText& text) {
    ProgramNumbers result;
    for (std::size_t line = 1; line <= text.lineCount(); ++line)
        result.add(line, text.line(line).substr(0, kBlockNumberBytes));
    return result;
}

void ProgramNumbers::add(std::uint64_t line, std::string_view head) {
    lineCount_ = static_cast<std::size_t>(line);
    if (const auto number = BlockNumberOf(head))
        numberedLines_.push_back(std::uint64_t{*number} << 32 | static_cast<std::uint32_t>(line));
}
