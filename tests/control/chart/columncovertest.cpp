#include "columncover.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <random>
#include <vector>

// Painting a column's stretches from the last to the first through the cover must leave every row
// as painting them in order would, and write each row at most once.

namespace {

struct Stretch {
    int top;
    int bottom;
    int colour;
};

// Row -> colour of the last stretch over it.
std::map<long long, int> paintedInOrder(const std::vector<Stretch>& stretches) {
    std::map<long long, int> rows;
    for (const Stretch& s : stretches)
        for (long long y = s.top; y <= s.bottom; ++y)
            rows[y] = s.colour;
    return rows;
}

std::map<long long, int> paintedLastFirst(const std::vector<Stretch>& stretches, int& writes) {
    std::map<long long, int> rows;
    ColumnCover cover;
    writes = 0;
    for (auto s = stretches.rbegin(); s != stretches.rend(); ++s)
        cover.paint(s->top, s->bottom, [&](int top, int bottom) {
            EXPECT_LE(top, bottom);
            for (long long y = top; y <= bottom; ++y) {
                EXPECT_EQ(rows.count(y), 0u) << "row " << y << " written twice";
                rows[y] = s->colour;
                ++writes;
            }
        });
    return rows;
}

TEST(ColumnCover, LeavesWhatPaintingInOrderLeaves) {
    const std::vector<std::vector<Stretch>> cases = {
        {},
        {{5, 9, 1}},
        {{5, 4, 1}},                                  // empty stretch
        {{0, 10, 1}, {3, 4, 2}},                      // inside
        {{3, 4, 2}, {0, 10, 1}},                      // over
        {{0, 3, 1}, {5, 8, 2}, {4, 4, 3}},            // closes a gap
        {{0, 3, 1}, {4, 6, 2}, {7, 9, 3}, {2, 8, 4}}, // touching stretches
        {{10, 20, 1}, {0, 5, 2}, {30, 40, 3}, {4, 31, 4}, {-2, 50, 5}},
        {{INT_MAX - 3, INT_MAX, 1}, {INT_MAX - 5, INT_MAX - 1, 2}}, // ends of the range
        {{INT_MIN, INT_MIN + 2, 1}, {INT_MIN + 1, INT_MIN + 4, 2}},
    };
    for (std::size_t n = 0; n < cases.size(); ++n) {
        int writes = 0;
        EXPECT_EQ(paintedLastFirst(cases[n], writes), paintedInOrder(cases[n])) << "case " << n;
    }
}

TEST(ColumnCover, RandomStretchesLeaveWhatPaintingInOrderLeaves) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> row(0, 60);
    std::uniform_int_distribution<int> count(1, 12);
    for (int round = 0; round < 2000; ++round) {
        std::vector<Stretch> stretches(static_cast<std::size_t>(count(random)));
        int colour = 0;
        for (Stretch& s : stretches) {
            s.top = row(random);
            s.bottom = s.top + row(random) / 4 - 2;
            s.colour = ++colour;
        }
        int writes = 0;
        const std::map<long long, int> lastFirst = paintedLastFirst(stretches, writes);
        ASSERT_EQ(lastFirst, paintedInOrder(stretches)) << "round " << round;
        EXPECT_EQ(static_cast<std::size_t>(writes), lastFirst.size());
    }
}

// Whether some rows are all painted, against the rows that painting the stretches in order leaves.
TEST(ColumnCover, TellsWhetherRowsAreAllPainted) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> row(0, 60);
    std::uniform_int_distribution<int> count(0, 8);
    for (int round = 0; round < 500; ++round) {
        ColumnCover cover;
        std::map<long long, int> painted;
        for (int n = count(random); n > 0; --n) {
            const int top = row(random);
            const int bottom = top + row(random) / 6 - 2;
            cover.paint(top, bottom, [](int, int) {});
            for (long long y = top; y <= bottom; ++y)
                painted[y] = 1;
        }
        for (int lo = -1; lo <= 62; ++lo)
            for (const int hi : {lo, lo + 1, lo + 7}) {
                bool all = true;
                for (long long y = lo; y <= hi; ++y)
                    all = all && painted.count(y) != 0;
                ASSERT_EQ(cover.covers(lo, hi), all)
                    << "round " << round << ", rows " << lo << ".." << hi;
            }
    }
}

TEST(ColumnCover, TellsWhenThePaintedRowsAreOneStretch) {
    ColumnCover cover;
    const auto ignore = [](int, int) {};
    EXPECT_EQ(cover.oneStretch(), nullptr);
    cover.paint(4, 6, ignore);
    ASSERT_NE(cover.oneStretch(), nullptr);
    EXPECT_EQ(cover.oneStretch()->top, 4);
    EXPECT_EQ(cover.oneStretch()->bottom, 6);
    cover.paint(9, 9, ignore);
    EXPECT_EQ(cover.oneStretch(), nullptr);
    cover.paint(7, 8, ignore);
    ASSERT_NE(cover.oneStretch(), nullptr);
    EXPECT_EQ(cover.oneStretch()->top, 4);
    EXPECT_EQ(cover.oneStretch()->bottom, 9);
    cover.clear();
    EXPECT_EQ(cover.oneStretch(), nullptr);
}

} // namespace
