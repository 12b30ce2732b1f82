#include "programtext.h"

#include "filedescriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <thread>

namespace {

// Below this many bytes a second thread costs more than it saves.
constexpr std::size_t kBytesPerThread = std::size_t{16} << 20;

// The starts of the lines that begin after a line end inside [from, to) of `data`.
void findLineStarts(const char* data, std::size_t from, std::size_t to,
                    std::vector<std::uint64_t>& starts) {
    const char* at = data + from;
    const char* const end = data + to;
    while (at < end) {
        const auto* found = static_cast<const char*>(std::memchr(at, '\n', end - at));
        if (!found)
            return;
        at = found + 1;
        starts.push_back(static_cast<std::uint64_t>(at - data));
    }
}

} // namespace

bool ProgramText::read(const std::string& path, ProgramText& text, int& error) {
    OpenedFile file = openForReading(path);
    if (!file.fd.valid()) {
        error = file.error;
        return false;
    }
    if (!file.regular()) {
        error = EISDIR;
        return false;
    }
    ProgramText result;
    result.size_ = static_cast<std::size_t>(file.info.st_size);
    result.data_.reset(new char[result.size_ + 1]);
    const ssize_t got = readFully(file.fd.get(), result.data_.get(), result.size_);
    if (got < 0) {
        error = errno;
        return false;
    }
    result.size_ = static_cast<std::size_t>(got);
    result.indexLines();
    text = std::move(result);
    return true;
}

ProgramText ProgramText::of(std::string_view bytes) {
    ProgramText result;
    result.size_ = bytes.size();
    result.data_.reset(new char[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), result.data_.get());
    result.indexLines();
    return result;
}

// The line ends are found with memchr, the second half of a large text on a thread of its own.
void ProgramText::indexLines() {
    starts_.clear();
    if (size_ == 0)
        return;
    const char* data = data_.get();
    starts_.reserve(size_ / 40 + 2);
    starts_.push_back(0);
    if (size_ < 2 * kBytesPerThread || std::thread::hardware_concurrency() < 2) {
        findLineStarts(data, 0, size_, starts_);
    } else {
        std::vector<std::uint64_t> upper;
        upper.reserve(size_ / 80 + 1);
        const std::size_t middle = size_ / 2;
        std::thread second([&] { findLineStarts(data, middle, size_, upper); });
        findLineStarts(data, 0, middle, starts_);
        second.join();
        starts_.insert(starts_.end(), upper.begin(), upper.end());
    }
    if (starts_.back() != size_)
        starts_.push_back(size_);
}

std::string_view ProgramText::line(std::size_t number) const {
    if (number == 0 || number > lineCount())
        return {};
    const std::uint64_t begin = starts_[number - 1];
    std::uint64_t end = starts_[number];
    if (end > begin && data_[end - 1] == '\n')
        --end;
    if (end > begin && data_[end - 1] == '\r')
        --end;
    return {data_.get() + begin, static_cast<std::size_t>(end - begin)};
}
