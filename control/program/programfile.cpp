#include "programfile.h"

#include "blocknumber.h"

#include <algorithm>

namespace {

constexpr std::uint64_t kCarriageReturnBit = std::uint64_t{1} << 63;

} // namespace

bool ProgramFile::read(const std::string& path, ProgramFile& file, int& error,
                       const std::atomic<bool>* stop) {
    ProgramFile result;
    error = result.scan_.open(path);
    if (error != 0)
        return false;
    error = result.scan_.run(
        0, 1, kBlockNumberBytes,
        [&result](const ScannedLine& line) {
            result.add(line);
            return true;
        },
        stop);
    if (error != 0)
        return false;
    file = std::move(result);
    return true;
}

void ProgramFile::add(const ScannedLine& line) {
    const std::size_t slot = lineCount_ & ((std::size_t{1} << kBlockShift) - 1);
    if (slot == 0) {
        starts_.emplace_back();
        starts_.back().reserve(std::size_t{1} << kBlockShift);
    }
    starts_.back().push_back(line.start | (line.carriageReturn ? kCarriageReturnBit : 0));
    ++lineCount_;
    lastEnd_ = line.start + line.length;
    if (!numbered_ && BlockNumberOf(line.head))
        numbered_ = true;
}

std::uint64_t ProgramFile::entry(std::size_t number) const {
    const std::size_t index = number - 1;
    return starts_[index >> kBlockShift][index & ((std::size_t{1} << kBlockShift) - 1)];
}

std::uint64_t ProgramFile::start(std::size_t number) const {
    return entry(number) & ~kCarriageReturnBit;
}

std::uint64_t ProgramFile::lineLength(std::size_t number) const {
    if (number == 0 || number > lineCount_)
        return 0;
    if (number == lineCount_)
        return lastEnd_ - start(number);
    const std::uint64_t cr = (entry(number) & kCarriageReturnBit) != 0 ? 1 : 0;
    return start(number + 1) - 1 - cr - start(number);
}

std::string ProgramFile::head(std::size_t number, std::size_t most) const {
    const std::uint64_t length = lineLength(number);
    if (length == 0)
        return {};
    return scan_.read(start(number),
                      static_cast<std::size_t>(std::min<std::uint64_t>(length, most)));
}

int ProgramFile::scanFrom(std::size_t number, std::size_t headBytes,
                          const ProgramLineScan::Visitor& visit) const {
    if (number == 0 || number > lineCount_)
        return 0;
    return scan_.run(start(number), number, headBytes, visit);
}
