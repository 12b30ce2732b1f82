#include "recordlinesjob.h"

#include "programtext.h"

#include <span>

RecordLinesJob::RecordLinesJob(std::string fileName, std::vector<std::int32_t> blockNos,
                               std::function<void()> finished)
    : thread_(&RecordLinesJob::run, this, std::move(fileName), std::move(blockNos),
              std::move(finished)) {}

RecordLinesJob::~RecordLinesJob() {
    if (thread_.joinable())
        thread_.join();
}

// The text is dropped once mapped: the map and the number of lines are all that is asked for.
void RecordLinesJob::run(std::string fileName, std::vector<std::int32_t> blockNos,
                         std::function<void()> finished) {
    ProgramText text;
    int error = 0;
    if (ProgramText::read(fileName, text, error)) {
        result_.readable = true;
        result_.lineCount = text.lineCount();
        if (!blockNos.empty() && !cancelled_.load(std::memory_order_relaxed))
            result_.lines = RecordLines(text, std::span<const std::int32_t>(blockNos));
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
