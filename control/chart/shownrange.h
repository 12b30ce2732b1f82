#pragma once

// The shown part of the horizontal range, in percent of the whole: from `lower` to `upper`, both
// ends shown.
struct ShownRange {
    float lower = 0.0f;
    float upper = 100.0f;

    float width() const { return upper - lower; }
    bool contains(float percent) const { return percent >= lower && percent <= upper; }
    // Whether less than the whole axis is shown.
    bool narrowed() const { return lower > 0.0f || upper < 100.0f; }
    bool operator==(const ShownRange&) const = default;
};
