#pragma once

#include "axistitles.h"
#include "cutdataset.h"
#include "extratexts.h"
#include "selectionstate.h"

#include <cstdint>

// State shared by every control instance of one loaded control library.
struct CurvexModule {
    CutDataSet data;
    std::uint8_t primaryDrawMode = 0;
    AxisTitles titles;
    ExtraTexts extraTexts; // read only: the program writes their defaults
    SelectionState selection;

    // What a control constructor does to the shared state.
    void reset();
};

CurvexModule& curvexModule();
