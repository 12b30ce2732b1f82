#pragma once

#include "filepieces.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// One line of a program as a scan meets it. A line ends at "\n"; a "\r" before it is no part of
// the line, and a last line without a line end counts too.
struct ScannedLine {
    std::uint64_t number = 0; // from 1
    std::uint64_t start = 0;  // byte offset in the file
    std::uint64_t length = 0; // without the line end
    bool carriageReturn = false;
    // The line's first bytes, as many as the scan was asked for; valid during the call only.
    std::string_view head;
};

// An NC program file read in pieces of a few hundred kilobytes from some line to its end, each
// line handed on with its place, its length and its first bytes, so that a line of any length
// and a file of any size take the same little memory. Nothing of the file is mapped: a file cut
// short under the scan ends it early, and one that grows is scanned as far as it reached when
// opened.
class ProgramLineScan {
public:
    // Called for each line in turn; false ends the scan.
    using Visitor = std::function<bool(const ScannedLine&)>;

    // Opens `path`, which may be empty: 0, else an errno value or ProgramText::kNotRegular.
    int open(const std::string& path);
    // The size when opened.
    std::uint64_t size() const { return size_; }

    // Scans from byte `start`, where line `number` begins, handing each line's first
    // `headBytes` bytes on; 0, else an errno value (ENOMEM when memory ran out, ECANCELED once
    // `stop`, where given, is set: it is looked at before each piece).
    int run(std::uint64_t start, std::uint64_t number, std::size_t headBytes, const Visitor& visit,
            const std::atomic<bool>* stop = nullptr) const;

    // Reads `length` bytes from `offset`, fewer where the file ended when opened; nothing where it
    // has become shorter since.
    std::string read(std::uint64_t offset, std::size_t length) const;

private:
    int scan(std::uint64_t start, std::uint64_t number, std::size_t headBytes, const Visitor& visit,
             const std::atomic<bool>* stop) const;

    FilePieces file_;
    std::uint64_t size_ = 0;
};
