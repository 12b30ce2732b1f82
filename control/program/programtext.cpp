#include "programtext.h"

#include "filedescriptor.h"
#include "hugepages.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <system_error>
#include <thread>
#include <unistd.h>

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

// Reads bytes [from, to) of the file into the same place of `data`, however many calls it takes;
// the errno value of a failure, or 0. A file that ends early leaves the rest as it was.
int readPart(int fd, char* data, std::size_t from, std::size_t to) {
    while (from < to) {
        const ssize_t got = ::pread(fd, data + from, to - from, static_cast<off_t>(from));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        from += static_cast<std::size_t>(got);
    }
    return 0;
}

// One half of a large text, read and indexed on a thread of its own.
struct TextPart {
    std::size_t from = 0;
    std::size_t to = 0;
    std::vector<std::uint64_t> starts;
    int error = 0;

    // Memory that runs out on the way is an error of the part, so that no exception leaves a
    // thread.
    void load(int fd, char* data) {
        try {
            starts.reserve((to - from) / 40 + 1);
            adviseHugePages(starts.data(), starts.capacity() * sizeof(std::uint64_t));
            error = fd >= 0 ? readPart(fd, data, from, to) : 0;
            if (error == 0)
                findLineStarts(data, from, to, starts);
        } catch (const std::bad_alloc&) {
            error = ENOMEM;
        }
    }
};

// Loads `upper` on a thread of its own while the caller loads `lower`; on the caller's thread
// after it when no thread can be started.
void loadBoth(TextPart& lower, TextPart& upper, int fd, char* data) {
    std::thread second;
    try {
        second = std::thread([&] { upper.load(fd, data); });
    } catch (const std::system_error&) {
        upper.load(fd, data);
    }
    lower.load(fd, data);
    if (second.joinable())
        second.join();
}

} // namespace

bool ProgramText::read(const std::string& path, ProgramText& text, int& error) {
    OpenedFile file = openForReading(path);
    if (!file.fd.valid()) {
        error = file.error;
        return false;
    }
    if (!file.regular()) {
        error = kNotRegular;
        return false;
    }
    ProgramText result;
    try {
        result.size_ = static_cast<std::size_t>(file.info.st_size);
        result.data_.reset(new char[result.size_ + 1]);
        error = result.load(file.fd.get());
    } catch (const std::bad_alloc&) {
        error = ENOMEM;
    }
    if (error != 0)
        return false;
    text = std::move(result);
    return true;
}

std::string ProgramText::reasonOf(int error) {
    if (error == ENOMEM)
        return "out of memory";
    if (error == kNotRegular)
        return "not a regular file";
    return std::strerror(error);
}

ProgramText ProgramText::of(std::string_view bytes) {
    ProgramText result;
    result.size_ = bytes.size();
    result.data_.reset(new char[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), result.data_.get());
    if (result.load(-1) != 0)
        throw std::bad_alloc();
    return result;
}

// The bytes are read from `fd` (none when it is below 0: they are in place) and their line ends
// found with memchr; a large text in two halves, each read and indexed on a thread of its own.
int ProgramText::load(int fd) {
    char* data = data_.get();
    adviseHugePages(data, size_);
    TextPart lower{0, size_, {}, 0};
    TextPart upper;
    if (size_ >= 2 * kBytesPerThread && std::thread::hardware_concurrency() >= 2) {
        lower.to = size_ / 2;
        upper = {lower.to, size_, {}, 0};
        loadBoth(lower, upper, fd, data);
    } else {
        lower.load(fd, data);
    }
    if (lower.error != 0 || upper.error != 0)
        return lower.error != 0 ? lower.error : upper.error;
    starts_.clear();
    if (size_ == 0)
        return 0;
    starts_.reserve(lower.starts.size() + upper.starts.size() + 2);
    starts_.push_back(0);
    starts_.insert(starts_.end(), lower.starts.begin(), lower.starts.end());
    starts_.insert(starts_.end(), upper.starts.begin(), upper.starts.end());
    if (starts_.back() != size_)
        starts_.push_back(size_);
    return 0;
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
