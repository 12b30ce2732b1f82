#include "recordlinesjob.h"

#include "programnumbers.h"

#include <new>
#include <span>

RecordLinesJob::RecordLinesJob(std::string fileName, std::vector<std::int32_t> blockNos,
                               std::function<void()> finished)
    : thread_(&RecordLinesJob::run, this, std::move(fileName), std::move(blockNos),
              std::move(finished)) {}

RecordLinesJob::~RecordLinesJob() {
    cancel();
    if (thread_.joinable())
        thread_.join();
}

// The program is read in pieces for its block numbers only, which are dropped once mapped: the
// map and the number of lines are all that is asked for.
// A map that does not fit in memory leaves the program unreadable.
void RecordLinesJob::run(std::string fileName, std::vector<std::int32_t> blockNos,
                         std::function<void()> finished) {
    ProgramNumbers numbers;
    int error = 0;
    if (ProgramNumbers::read(fileName, numbers, error, &cancelled_)) {
        try {
            result_.lineCount = numbers.lineCount();
            if (!blockNos.empty() && !cancelled_.load(std::memory_order_relaxed))
                result_.lines =
                    RecordLines(std::move(numbers), std::span<const std::int32_t>(blockNos));
            result_.readable = true;
        } catch (const std::bad_alloc&) {
            result_.lines = RecordLines();
        }
    }
    done_.store(true, std::memory_order_release);
    if (finished)
        finished();
}

RecordLinesJob::Result RecordLinesJob::take() {
    if (thread_.joinable())
        thread_.join();
    return std::move(result_);
}
