#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

// Runs work(k) for k = 0..count - 1 on as many threads, work(0) on the calling one; the first
// exception is thrown again once every thread has ended.
template <typename Work> void runEach(std::size_t count, Work work) {
    if (count == 0)
        return;
    std::vector<std::exception_ptr> failures(count);
    std::vector<std::thread> threads;
    const auto guarded = [&](std::size_t k) {
        try {
            work(k);
        } catch (...) {
            failures[k] = std::current_exception();
        }
    };
    try {
        for (std::size_t k = 1; k < count; ++k)
            threads.emplace_back(guarded, k);
    } catch (const std::system_error&) {
        failures[0] = std::make_exception_ptr(std::bad_alloc());
    }
    if (!failures[0])
        guarded(0);
    for (std::thread& thread : threads)
        thread.join();
    if (threads.size() + 1 < count && !failures[0])
        failures[0] = std::make_exception_ptr(std::bad_alloc());
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

// How many pieces of work to cut per thread for runShared: enough that the threads end within a
// small piece of each other when one of them runs slower for a while.
inline constexpr unsigned kPiecesPerThread = 16;

// Runs work(k) for k = 0..count - 1 on at most `threads` threads, the calling one among them, each
// taking the next k that no thread has taken: parts that take longer on one thread leave the
// others the rest. Once a work has thrown no further k is begun, and the first exception is thrown
// again once every thread has ended.
template <typename Work> void runShared(std::size_t count, std::size_t threads, Work work) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    runEach(std::min(count, std::max<std::size_t>(threads, 1)), [&](std::size_t) {
        for (std::size_t k = next++; k < count && !failed; k = next++) {
            try {
                work(k);
            } catch (...) {
                failed = true;
                throw;
            }
        }
    });
}
