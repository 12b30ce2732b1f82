#pragma once

#include "recordlines.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// Reads an NC program in pieces and maps records to its lines on a thread of its own, so that a
// program of millions of lines never holds up the caller: reading 600 MB and mapping 10,000,000
// records takes about a second. The job owns a copy of the block numbers, so the data they came
// from may change meanwhile. `finished` is called on the job's thread once the result is at hand.
class RecordLinesJob {
public:
    struct Result {
        bool readable = false;
        std::size_t lineCount = 0;
        RecordLines lines;
    };

    RecordLinesJob(std::string fileName, std::vector<std::int32_t> blockNos,
                   std::function<void()> finished);
    // Cancels the job and waits for the thread.
    ~RecordLinesJob();
    RecordLinesJob(const RecordLinesJob&) = delete;
    RecordLinesJob& operator=(const RecordLinesJob&) = delete;

    bool done() const { return done_.load(std::memory_order_acquire); }
    // Asks the job to end: a reading under way stops within a piece of the file, and the
    // mapping is not begun.
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    // The result, waiting for it when the job is not done yet; once only.
    Result take();

private:
    void run(std::string fileName, std::vector<std::int32_t> blockNos,
             std::function<void()> finished);

    Result result_;
    std::atomic<bool> done_{false};
    std::atomic<bool> cancelled_{false};
    std::thread thread_;
};
