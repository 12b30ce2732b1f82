#pragma once

#include "componentexports.h"

// The library's exports, found by name by hosts and the registration tool. Everything else in
// the library is hidden.
#define CURVEX_EXPORT __attribute__((visibility("default")))

extern "C" {
// Registers the type library (kTypeLibRegistrationFailed on failure), then the control and
// property page classes (kClassRegistrationFailed) in the per-user component registry.
CURVEX_EXPORT component::HResult DllRegisterServer();
// Removes what DllRegisterServer wrote, with the same failure codes.
CURVEX_EXPORT component::HResult DllUnregisterServer();
CURVEX_EXPORT component::HResult DllGetClassObject(const char* clsid,
                                                   component::ClassFactory** factory);
CURVEX_EXPORT component::HResult DllCanUnloadNow();
CURVEX_EXPORT std::int32_t DllVersion();
}
