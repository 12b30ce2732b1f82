#include "twips.h"

#include <cmath>

int twipsToPixels(double twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

double pixelsToTwips(int pixels, double dotsPerInch) {
    return pixels * kTwipsPerInch / dotsPerInch;
}
