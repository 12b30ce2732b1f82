#pragma once

#include "dispatch.h"

#include <QString>

#include <memory>

class QWidget;

namespace component {

// A control created for a host, together with the library that implements it. The control is
// destroyed before its library is unloaded.
class HostedControl {
public:
    virtual ~HostedControl() = default;
    virtual ControlObject& control() = 0;
    // The library file the control came from.
    virtual QString libraryPath() const = 0;
};

// Creates a control by class identifier ("{xxxxxxxx-...}"): the library the per-user component
// registry names for it, else the Curvex.ocx beside the program. On failure returns null and
// sets `error` to a clear description (missing library, not a control, missing export, class
// not found).
std::unique_ptr<HostedControl> createControl(const QString& clsid, QWidget* parent, QString* error);

} // namespace component
