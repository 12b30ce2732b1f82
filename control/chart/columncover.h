#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// The rows of one pixel column that are already painted, for painting a column's groups from the
// last to the first: what a later group paints stays on top, so an earlier group only paints the
// rows still free, and each pixel is written once.
class ColumnCover {
public:
    void clear() { painted_.clear(); }

    // Calls paint(top, bottom) for every stretch of rows top..bottom (inclusive) inside lo..hi
    // that is still free, top to bottom, and counts lo..hi as painted from then on.
    template <class Paint> void paint(int lo, int hi, Paint paint) {
        if (lo > hi)
            return;
        std::int64_t free = lo;
        for (const Rows& rows : painted_) {
            if (rows.top > hi || free > hi)
                break;
            if (rows.bottom < free)
                continue;
            if (rows.top > free)
                paint(static_cast<int>(free), static_cast<int>(rows.top - 1));
            free = rows.bottom + 1;
        }
        if (free <= hi)
            paint(static_cast<int>(free), hi);
        add(lo, hi);
    }

    // Whether rows lo..hi are all painted.
    bool covers(int lo, int hi) const {
        return std::any_of(painted_.begin(), painted_.end(),
                           [&](const Rows& rows) { return rows.top <= lo && rows.bottom >= hi; });
    }

    struct Rows {
        std::int64_t top;
        std::int64_t bottom;
    };
    // The painted rows when they form one stretch, else nullptr.
    const Rows* oneStretch() const { return painted_.size() == 1 ? &painted_.front() : nullptr; }

private:
    void add(std::int64_t top, std::int64_t bottom);

    std::vector<Rows> painted_; // ascending, apart by at least one free row
};
