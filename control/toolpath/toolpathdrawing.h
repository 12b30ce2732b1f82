#pragma once

#include "toolpathcolouring.h"
#include "toolpathfit.h"
#include "toolpathmodel.h"
#include "toolpathpixels.h"
#include "toolpathraster.h"

#include <cstdint>

// Draws the path's segments in program order, later over earlier, 1 pixel wide, with the pixels
// and colours that `pixels` holds for `fit`: rapid moves dashed. A segment that stays in the
// pixel the last one ended in, in the same colour, changes nothing and is passed over.
//
// A draft with `stride` above 1 draws only the records that ToolpathPixels::project took with that
// stride, each from the end point of the one taken before it, so that the shape stays.
void DrawToolpathPixels(ToolpathRaster& raster, const ToolpathModel& model, const ToolpathFit& fit,
                        const ToolpathPixels& pixels, std::uint32_t stride = 1);
