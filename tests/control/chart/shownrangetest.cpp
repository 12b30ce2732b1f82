#include "shownrange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

float below(float value) {
    return std::nextafter(value, -std::numeric_limits<float>::infinity());
}

float above(float value) {
    return std::nextafter(value, std::numeric_limits<float>::infinity());
}

// Both ends are shown; the nearest floats outside them are not.
TEST(ShownRange, ContainsBothEndsAndNothingBeyond) {
    struct Case {
        ShownRange range;
        float percent;
        bool contained;
    };
    const Case cases[] = {
        {{}, 0.0f, true},
        {{}, 100.0f, true},
        {{}, below(0.0f), false},
        {{}, above(100.0f), false},
        {{20.0f, 40.0f}, 20.0f, true},
        {{20.0f, 40.0f}, 40.0f, true},
        {{20.0f, 40.0f}, 30.0f, true},
        {{20.0f, 40.0f}, below(20.0f), false},
        {{20.0f, 40.0f}, above(40.0f), false},
        {{50.0f, 50.0f}, 50.0f, true},
        {{50.0f, 50.0f}, above(50.0f), false},
        {{20.0f, 40.0f}, std::numeric_limits<float>::quiet_NaN(), false},
        {{}, -1.0f, false}, // the pick's answer without data
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.range.lower << ".." << c.range.upper << " at " << c.percent);
        EXPECT_EQ(c.range.contains(c.percent), c.contained);
    }
}

TEST(ShownRange, WidthIsUpperLessLower) {
    struct Case {
        ShownRange range;
        float width;
    };
    const Case cases[] = {
        {{}, 100.0f},
        {{20.0f, 40.0f}, 20.0f},
        {{99.0f, 100.0f}, 1.0f},
        {{50.0f, 50.0f}, 0.0f},
        {{50.0f, above(50.0f)}, above(50.0f) - 50.0f},
        {{40.0f, 20.0f}, -20.0f}, // as given, not ordered
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.range.lower << ".." << c.range.upper);
        EXPECT_EQ(c.range.width(), c.width);
    }
}

} // namespace
