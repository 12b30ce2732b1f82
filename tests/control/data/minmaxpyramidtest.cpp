#include "minmaxpyramid.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

struct Range {
    int lo = 0;
    int hi = 0;
    void merge(const Range& other) {
        lo = std::min(lo, other.lo);
        hi = std::max(hi, other.hi);
    }
};

struct Fixture {
    std::vector<int> items;
    MinMaxPyramid<Range> pyramid;

    Range rangeOf(int level, std::uint64_t k) const {
        return level == 0 ? Range{items[k], items[k]} : pyramid.node(level, k);
    }
};

// Values 0..9 everywhere, or sparse ones: mostly 0..2 with a 9 about every 200 items, so that
// whole stretches lack an item above a bound.
Fixture makeFixture(std::mt19937& random, std::uint32_t count, bool sparse) {
    Fixture fixture;
    std::uniform_int_distribution<int> value(0, sparse ? 2 : 9);
    std::uniform_int_distribution<int> spike(0, 199);
    for (std::uint32_t i = 0; i < count; ++i)
        fixture.items.push_back(sparse && spike(random) == 0 ? 9 : value(random));
    fixture.pyramid.build(count, [&](std::uint32_t first, std::uint32_t last) {
        Range range{fixture.items[first], fixture.items[first]};
        for (std::uint32_t i = first + 1; i < last; ++i)
            range.merge({fixture.items[i], fixture.items[i]});
        return range;
    });
    return fixture;
}

// Every query over random stretches of item counts around the powers of 16 against a plain walk:
// the searches for the first and last item above a bound, and the extremes over the stretch.
TEST(MinMaxPyramid, QueriesAgreeWithAWalkOverTheItems) {
    std::mt19937 random(5);
    for (const bool sparse : {false, true})
        for (const std::uint32_t count :
             {0u, 1u, 2u, 15u, 16u, 17u, 255u, 256u, 257u, 4097u, 70000u}) {
            const Fixture fixture = makeFixture(random, count, sparse);
            std::uniform_int_distribution<std::uint32_t> position(0, count);
            for (int round = 0; round < 300; ++round) {
                std::uint32_t a = position(random);
                std::uint32_t b = position(random);
                if (a > b)
                    std::swap(a, b);
                const int bound = round % 10;
                const auto has = [&](int level, std::uint64_t k) {
                    return fixture.rangeOf(level, k).hi > bound;
                };
                std::uint64_t first = b;
                std::uint64_t last = b;
                Range walked{100, -1};
                for (std::uint32_t i = a; i < b; ++i) {
                    if (fixture.items[i] > bound) {
                        first = std::min<std::uint64_t>(first, i);
                        last = i;
                    }
                    walked.merge({fixture.items[i], fixture.items[i]});
                }
                EXPECT_EQ(fixture.pyramid.findFirst(a, b, has), first)
                    << count << ": " << a << ".." << b;
                EXPECT_EQ(fixture.pyramid.findLast(a, b, has), last)
                    << count << ": " << a << ".." << b;
                Range covered{100, -1};
                fixture.pyramid.cover(a, b, [&](int level, std::uint64_t k) {
                    covered.merge(fixture.rangeOf(level, k));
                });
                EXPECT_EQ(covered.lo, walked.lo) << count << ": " << a << ".." << b;
                EXPECT_EQ(covered.hi, walked.hi) << count << ": " << a << ".." << b;
            }
        }
}

} // namespace
