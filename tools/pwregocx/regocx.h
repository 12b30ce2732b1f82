#pragma once

#include "curvexids.h"

#include <QString>

// Loads the control library at `path`, checks its DllVersion against `required` and calls its
// DllRegisterServer. `message` says what went wrong, or what was registered.
curvex::RegOcxExit RegisterControl(const QString& path, const curvex::RequiredVersion& required,
                                   QString& message);

// Loads the control library at `path` and calls its DllUnregisterServer.
curvex::RegOcxExit UnregisterControl(const QString& path, QString& message);
