#pragma once

#include "programtext.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The block numbers of a program's lines, all that mapping records to lines asks of the program:
// how many lines it has and, for each line with a block number in its first kBlockNumberBytes
// bytes, the number and the line. A program file is read in pieces for them, never held.
class ProgramNumbers {
public:
    ProgramNumbers() = default;

    // Reads the block numbers of the program file `path`; false with `error` set as
    // ProgramFile::read sets it, `numbers` left as they were.
    static bool read(const std::string& path, ProgramNumbers& numbers, int& error,
                     const std::atomic<bool>* stop = nullptr);
    // The block numbers of a text in memory.
    static ProgramNumbers of(const ProgramText& text);

    std::size_t lineCount() const { return lineCount_; }
    bool numbered() const { return !numberedLines_.empty(); }
    // Each numbered line as its number in the high half and its line (from 1) in the low half,
    // in line order; taken out of the object.
    std::vector<std::uint64_t> takeNumberedLines() { return std::move(numberedLines_); }

private:
    void add(std::uint64_t line, std::string_view head);

    std::size_t lineCount_ = 0;
    std::vector<std::uint64_t> numberedLines_;
};
