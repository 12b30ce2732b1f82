#pragma once

#include "programlinescan.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// An NC program read from its file in pieces and never held: the start of every line is kept (8
// bytes a line), and the bytes of a line are read from the file when asked for. Lines are as
// ProgramLineScan takes them. Once the file has changed, lines come out as the file has them now
// (none beyond its new end); the owner reads it again to index it anew.
class ProgramFile {
public:
    ProgramFile() = default;

    // Opens and indexes `path`; false with `error` set (an errno value, ENOMEM when memory ran
    // out, ECANCELED once `stop` is set, or ProgramText::kNotRegular) when it cannot be read,
    // `file` left as it was.
    static bool read(const std::string& path, ProgramFile& file, int& error,
                     const std::atomic<bool>* stop = nullptr);

    std::size_t lineCount() const { return lineCount_; }
    std::uint64_t bytes() const { return scan_.size(); }
    // Whether a line has a block number in its first kBlockNumberBytes bytes.
    bool numbered() const { return numbered_; }

    // The length of line `number`, counted from 1, without its line end; 0 beyond the last line.
    std::uint64_t lineLength(std::size_t number) const;
    // The first `most` bytes of line `number` (all of a shorter one) without its line end; empty
    // beyond the last line or the file's end.
    std::string head(std::size_t number, std::size_t most) const;
    // Scans the lines from line `number` on, handing each one's first `headBytes` bytes to
    // `visit`; 0, or an errno value.
    int scanFrom(std::size_t number, std::size_t headBytes,
                 const ProgramLineScan::Visitor& visit) const;

private:
    static constexpr std::size_t kBlockShift = 16; // 65,536 lines a block of starts

    void add(const ScannedLine& line);
    std::uint64_t entry(std::size_t number) const;
    std::uint64_t start(std::size_t number) const;

    ProgramLineScan scan_;
    // Per line from 1: where it starts, its top bit set when a "\r" comes before its line end.
    std::vector<std::vector<std::uint64_t>> starts_;
    std::size_t lineCount_ = 0;
    std::uint64_t lastEnd_ = 0; // the last line's end, before any "\r"
    bool numbered_ = false;
};
