#pragma once

#include "toolpathcolouring.h"
#include "toolpathfit.h"
#include "toolpathmodel.h"
#include "toolpathpixels.h"
#include "toolpathraster.h"

// Draws the path's segments in program order, later over earlier, 1 pixel wide, with the pixels
// and colours that `pixels` holds for `fit`: rapid moves dashed. A segment that stays in the
// pixel the last one ended in, in the same colour, changes nothing and is passed over.
void DrawToolpathPixels(ToolpathRaster& raster, const ToolpathModel& model, const ToolpathFit& fit,
                        const ToolpathPixels& pixels);
