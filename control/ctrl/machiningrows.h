#pragma once

#include "cutdataset.h"
#include "movesums.h"
#include "shownrecords.h"

#include <QVariant>

#include <cstdint>

// The machining-time rows as the control's interface hands them out: arrays of the fields of
// curvex::TimeRowField.

QVariant TimeRowVariant(const MachiningTimes& times, std::int16_t toolNo = 0,
                        std::uint16_t colours = 0);

// Tool row `index` (in the order of the tools' first records), or an empty value for an index
// without a row. With colourByTool its colours are the one of tool t, colour number t & 15.
QVariant ToolRowVariant(const CutDataSet& data, std::int32_t index, double g00Feed,
                        bool colourByTool = false);

// The air cutting of `times`: an array of the fields of curvex::AirRowField.
QVariant AirRowVariant(const MachiningTimes& times);

// The air cutting of tool row `index`, or an empty value for an index without a row.
QVariant ToolAirRowVariant(const CutDataSet& data, std::int32_t index, double g00Feed);
