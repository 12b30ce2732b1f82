#pragma once

#include "toolpathcolouring.h"
#include "toolpathfit.h"
#include "toolpathmodel.h"
#include "toolpathpixels.h"
#include "toolpathraster.h"

// Draws the path's segments in program order, later over earlier, 1 pixel wide: each in its
// colour, rapid moves dashed grey, records outside the emphasised range faded. `pixels` holds the
// end points projected with `fit`. A segment that stays in the pixel the last one ended in, in
// the same colour, changes nothing and is passed over.
void DrawToolpathPixels(ToolpathRaster& raster, const ToolpathModel& model, const ToolpathFit& fit,
                        const ToolpathPixels& pixels, const ToolpathStyle& style);
