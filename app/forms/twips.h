#pragma once

// Window positions and sizes are kept in twips (1/1440 inch); widgets are placed in pixels of a
// screen with the given logical dots per inch.
inline constexpr int kTwipsPerInch = 1440;

int twipsToPixels(double twips, double dotsPerInch);
double pixelsToTwips(int pixels, double dotsPerInch);
