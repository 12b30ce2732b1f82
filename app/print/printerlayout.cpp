#include "printerlayout.h"

#include <cmath>

namespace {

constexpr int kMargin = 120;
constexpr int kFreeBeyondBars = 140;

} // namespace

int roundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

std::optional<PrinterLayout> PrinterLayout::compute(double innerWidth, double innerHeight,
                                                    int vscWidth, int hscHeight, double paperWidth,
                                                    double paperHeight, int scrollMaximum) {
    const int vx = roundHalfEven(innerWidth - kFreeBeyondBars - vscWidth);
    const int hy = roundHalfEven(innerHeight - kFreeBeyondBars - hscHeight);
    if (vx < kMargin || hy < kMargin || scrollMaximum <= 0) {
        return std::nullopt;
    }
    PrinterLayout layout;
    layout.frameLeft = kMargin;
    layout.frameTop = kMargin;
    layout.hscLeft = kMargin;
    layout.vscTop = kMargin;
    layout.vscLeft = vx;
    layout.hscTop = hy;
    layout.frameWidth = vx - kMargin;
    layout.frameHeight = hy - kMargin;
    layout.vscHeight = hy - kMargin;
    layout.hscWidth = vx - kMargin;
    layout.scrollScaleY = static_cast<float>((paperHeight - layout.frameHeight) / scrollMaximum);
    layout.scrollScaleX = static_cast<float>((paperWidth - layout.frameWidth) / scrollMaximum);
    layout.largeChange = roundHalfEven(scrollMaximum / 10.0);
    layout.smallChange = roundHalfEven(layout.largeChange / 10.0);
    return layout;
}

double PrinterLayout::paperOffset(int scrollValue, float scrollScale) {
    return -static_cast<double>(scrollValue) * scrollScale;
}

int canvasPixels(double twips, double twipsPerPixel) {
    return roundHalfEven(twips / twipsPerPixel);
}

int findPrinterByName(const QStringList& installed, const QString& deviceName) {
    const QString wanted = deviceName.toUpper();
    for (int i = 0; i < installed.size(); ++i) {
        if (installed.at(i).toUpper() == wanted) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
