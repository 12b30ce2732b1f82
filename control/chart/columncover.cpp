#include "columncover.h"

#include <algorithm>

// Merges top..bottom with every stretch it overlaps or touches.
void ColumnCover::add(std::int64_t top, std::int64_t bottom) {
    auto first = std::find_if(painted_.begin(), painted_.end(),
                              [&](const Rows& rows) { return rows.bottom + 1 >= top; });
    auto last = first;
    while (last != painted_.end() && last->top <= bottom + 1) {
        top = std::min(top, last->top);
        bottom = std::max(bottom, last->bottom);
        ++last;
    }
    first = painted_.erase(first, last);
    painted_.insert(first, Rows{top, bottom});
}
