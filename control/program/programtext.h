#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The text of an NC program with the start of every line, so that any line is at hand without a
// look at the others. A line ends at "\n"; a "\r" before it is no part of the line, and a last
// line without a line end counts too. The bytes stay as they are in the file, whatever their
// encoding.
class ProgramText {
public:
    ProgramText() = default;

    // `error` of read for a name that is no regular file (a folder, a pipe, a device).
    static constexpr int kNotRegular = -1;

    // The text of a whole file; false with `error` set (an errno value, ENOMEM when memory ran
    // out, or kNotRegular) when it cannot be read, `text` left as it was.
    static bool read(const std::string& path, ProgramText& text, int& error);
    // What `error` of read says, as the data loads say it: "out of memory", "not a regular
    // file", or the system's text.
    static std::string reasonOf(int error);
    // The text of bytes in memory.
    static ProgramText of(std::string_view bytes);

    std::size_t lineCount() const { return starts_.empty() ? 0 : starts_.size() - 1; }
    // Line `number`, counted from 1, without its line end; empty beyond the last line.
    std::string_view line(std::size_t number) const;
    std::size_t bytes() const { return size_; }

private:
    // Reads and indexes the text; an errno value, or 0.
    int load(int fd);

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    // Where each line starts, then one past the end of the last line's end.
    std::vector<std::uint64_t> starts_;
};
