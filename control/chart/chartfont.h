#pragma once

#include <QFont>

// The fixed-pitch face of the chart's labels for a character cell `height` pixels high: the
// largest whole pixel size whose cell fits, narrowed by `stretch` percent to an advance of
// height / 2. Found once per height.
struct ChartFace {
    int pixelSize = 1;
    int stretch = QFont::Unstretched;

    static ChartFace forCellHeight(int height);

    // The face with its stretch, as the raster canvas draws it.
    QFont font() const;
    // The face at its natural width; drawn scaled by stretch / 100 it advances as font() does.
    QFont unstretchedFont() const;
};
