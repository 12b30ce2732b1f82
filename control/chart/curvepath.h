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
    // Called once after the last line of a render.
    virtual void finish() = 0;
};
