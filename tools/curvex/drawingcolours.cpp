#include "drawingcolours.h"

#include "numerictext.h"
#include "privateprofile.h"

void readDrawingColours(const std::string& iniFile, ChartState& chart) {
    for (int n = 0; n < curvex::kCurveColours; ++n) {
        char value[256];
        const std::string key = "Drawing Color " + std::to_string(n);
        getPrivateProfileString("Property", key, "", value, sizeof value, iniFile);
        if (const auto colour = toInt32(QString::fromLocal8Bit(value)))
            chart.colours[static_cast<std::size_t>(n)] = static_cast<ColorRef>(*colour);
    }
}
