#pragma once

#include "changeruns.h"

#include <QVariant>

#include <vector>

// The change runs as the control's interface hands them out: a list of rows, each an array of
// the fields of curvex::ChangeField.
QVariant ChangeRowsVariant(const std::vector<ChangeRun>& runs);
