#pragma once

#include <QString>

class UserPrompts;

// Asks for the feed rate assumed for G00 moves, offering `feed` as the default answer. A
// non-numeric answer, or a number beyond the single-precision range, beeps and asks again with
// `retryNotice` and two line breaks in front of `prompt`. Returns the number typed, or `feed`
// unchanged when the user cancels. No other range is checked.
float askG00Feed(UserPrompts& prompts, float feed, const QString& prompt,
                 const QString& retryNotice);
