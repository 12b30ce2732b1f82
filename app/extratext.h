#pragma once

#include "extratexts.h"

#include <QString>

// Text `key` of the settings file's section "Extra Text"; a missing key gets its default, which is
// written back so that a user finds every text to translate in the file, and an earlier default is
// replaced by the current one.
QString ExtraText(ExtraTexts::Key key);
