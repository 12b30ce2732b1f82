#pragma once

#include <string>

// The ticks of a time axis: steps of 1, 2, 5, 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min, 1, 2, 5 h,
// and for longer spans 10, 20, 50, 100, ... h up to 50,000 h.

// The step for a time axis shown from a to b seconds: the largest step of at most half the span,
// or the one below it where that would leave fewer than two ticks inside a..b; 1 s for spans of
// 2 s or less.
float NiceTimeStep(float a, float b);

// The label of a tick at `seconds`, rounded to whole seconds: h:mm:ss from an hour on ("1:02:05"),
// m:ss below ("2:05", "0:30").
std::string ClockLabel(float seconds);
