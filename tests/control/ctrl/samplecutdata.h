#pragma once

#include "cutloader.h"

// The part sample as the control loads it, read once for the tests that check what a host sees
// against the records themselves.
inline const CutDataSet& SampleCutData() {
    static const CutDataSet data = [] {
        CutDataSet loaded;
        LoadCutFile("samples/CUTDATA.txt", CutFormat::Text, loaded);
        return loaded;
    }();
    return data;
}
