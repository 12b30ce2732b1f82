#include "curvexmodule.h"

void CurvexModule::reset() {
    FreeCutData(data);
    data.count = 0;
    data.maxima.fill(0.0f);
    primaryDrawMode = 0;
    titles.reset();
    extraTexts = ExtraTexts();
    selection.selCurrent = {};
    selection.selAnchor = {};
}

CurvexModule& curvexModule() {
    static CurvexModule module;
    return module;
}
