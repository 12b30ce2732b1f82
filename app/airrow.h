#pragma once

#include <QVariant>

#include <optional>

// The air cutting of a machining-time row of the graph control (curvex::AirRowField): the length
// in mm and the programmed and optimised time in seconds of the moves that cut air.
struct AirRow {
    double length = 0.0;
    double programmed = 0.0;
    double optimised = 0.0;

    // The row in a control's answer; nothing when the answer is no such row.
    static std::optional<AirRow> fromVariant(const QVariant& value);
};
