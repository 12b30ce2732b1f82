#pragma once

#include "chartstate.h"

#include <string>

// The drawing colours the program keeps in its settings file `iniFile`; a missing or unreadable
// value leaves the colour of `chart` as it is, as the program does.
void readDrawingColours(const std::string& iniFile, ChartState& chart);
