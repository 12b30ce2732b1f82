#pragma once

#include "airrow.h"

#include <QVariant>

#include <cstdint>
#include <optional>

// One machining-time row of the graph control (curvex::TimeRowField): lengths in mm, times in
// seconds.
struct MachiningRow {
    int toolNo = 0;
    std::uint16_t colours = 0; // bit n: the chart draws the tool in curve colour number n
    quint64 records = 0;
    double cutLength = 0.0;
    double rapidLength = 0.0;
    double programmed = 0.0;
    double optimised = 0.0;
    double saved = 0.0;
    std::optional<double> savedPercent; // empty when the programmed time is 0
    quint64 noFeedProgrammed = 0;
    quint64 noFeedOptimised = 0;
    // The row's air cutting, from the control's air rows; zero from a control without them.
    AirRow air;

    // The row in a control's answer; nothing when the answer is no such row.
    static std::optional<MachiningRow> fromVariant(const QVariant& value);
};
