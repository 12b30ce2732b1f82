#pragma once

#include "axistitles.h"
#include "chartstate.h"
#include "extratexts.h"

#include <string>

// The texts and colours that a chart takes from a settings file, read as the graph control reads
// them (the missing default titles and captions written back into the file), or the defaults
// without a file. Shared by the commands that draw the chart and by the Python module.
class ChartSettingsFile {
public:
    enum class Failure { None, CannotUse, CannotWrite };

    // Reads `iniFile`, nothing when it is empty. On a failure reason() says what went wrong.
    Failure read(const std::string& iniFile);
    // "cannot use the settings file F" or "cannot write the settings file F: why".
    std::string reason() const;
    // Gives `chart` the axis titles, the captions and, from a settings file, the drawing colours;
    // without a file the titles are those of a control without one: none.
    void apply(ChartState& chart) const;

private:
    std::string iniFile_;
    AxisTitles titles_;
    ExtraTexts extra_;
    int writeError_ = 0;
};
