#pragma once

#include "dispatch.h"

#include <cstdint>

// The C functions a control library exports, found by name after loading, and their results.
namespace component {

using HResult = std::int32_t;

inline constexpr HResult kOk = 0;
inline constexpr HResult kFalse = 1;
inline constexpr HResult kClassNotAvailable = static_cast<HResult>(0x80040111);
inline constexpr HResult kTypeLibRegistrationFailed = static_cast<HResult>(0x80040200);
inline constexpr HResult kClassRegistrationFailed = static_cast<HResult>(0x80040201);

using DllRegisterServerFn = HResult (*)();
using DllUnregisterServerFn = HResult (*)();
// The factory of the class `clsid` (a GUID string) into `factory`; kClassNotAvailable when the
// library has no such class. The factory belongs to the library.
using DllGetClassObjectFn = HResult (*)(const char* clsid, ClassFactory** factory);
// kOk when no object of the library is alive any more, else kFalse.
using DllCanUnloadNowFn = HResult (*)();
// Major version in the high 16 bits, hundredths in the low 16 bits.
using DllVersionFn = std::int32_t (*)();

inline constexpr char kDllRegisterServer[] = "DllRegisterServer";
inline constexpr char kDllUnregisterServer[] = "DllUnregisterServer";
inline constexpr char kDllGetClassObject[] = "DllGetClassObject";
inline constexpr char kDllCanUnloadNow[] = "DllCanUnloadNow";
inline constexpr char kDllVersion[] = "DllVersion";

} // namespace component
