#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Geometry of the print preview window in twips: a viewport framed by 120-twip margins on the
// left and top, the scroll bars along its right and bottom edges and 140 twips free beyond them.
struct PrinterLayout {
    int frameLeft = 0;
    int frameTop = 0;
    int frameWidth = 0;
    int frameHeight = 0;
    int vscLeft = 0;
    int vscTop = 0;
    int vscHeight = 0;
    int hscLeft = 0;
    int hscTop = 0;
    int hscWidth = 0;
    // Twips of paper movement per scroll unit.
    float scrollScaleX = 0;
    float scrollScaleY = 0;
    int largeChange = 0;
    int smallChange = 0;

    // The layout of a window with inner size `innerWidth` x `innerHeight`, or nothing when the
    // window is too small for it (a width or height would be negative).
    static std::optional<PrinterLayout> compute(double innerWidth, double innerHeight, int vscWidth,
                                                int hscHeight, double paperWidth,
                                                double paperHeight, int scrollMaximum);

    // The paper's offset along one axis for a scroll value: -(value) x scale.
    static double paperOffset(int scrollValue, float scrollScale);
};

// Halves go to the even neighbour, as the platform's own conversions do.
int roundHalfEven(double value);

// Pixels of the page canvas for a length in twips.
int canvasPixels(double twips, double twipsPerPixel);

// Position of `deviceName` in `installed`, compared after upper-casing both, or -1.
int findPrinterByName(const QStringList& installed, const QString& deviceName);
