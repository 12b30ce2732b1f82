#pragma once

#include "viewranges.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

// The shown ranges the chart went through, for back and forward. Every rendered range that
// differs from the one before it is a step, whatever changed it (drag, wheel, keys, scroll bar,
// host); stepping back or forward is not a new step.
class ViewHistory {
public:
    static constexpr std::size_t kSteps = 100;

    // A render showed `range`.
    void rendered(ShownRange range);
    // The range before the shown one, nothing at the start.
    std::optional<ShownRange> back();
    std::optional<ShownRange> forward();
    // A new data set: no steps, and the next render is the start.
    void clear();

private:
    std::optional<ShownRange> shown_;
    std::deque<ShownRange> back_;
    std::vector<ShownRange> forward_;
};
