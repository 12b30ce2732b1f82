#pragma once

#include "chartstate.h"

// Where the renderer sends the curve: one move to the first shown record, then a line to every
// record in turn, with a pen change before the line into each record that changes colour.
class CurvePath {
public:
    virtual ~CurvePath() = default;

    virtual void selectPen(ColorRef colour) = 0;
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    // Called after the last line of each curve of a render (a compare chart draws two).
    virtual void finish() = 0;
};
