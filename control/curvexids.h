#pragma once

#include <cstdint>

// The identifiers of the graph control, fixed once chosen: hosts store the class identifier.
// The five GUIDs are one series that differs only in the last digit of the first group.
namespace curvex {

inline constexpr char kTypeLibId[] = "{6787F193-8DE6-440C-87EA-1AC003CAE07A}";
inline constexpr char kDispatchIid[] = "{6787F194-8DE6-440C-87EA-1AC003CAE07A}";
inline constexpr char kEventIid[] = "{6787F195-8DE6-440C-87EA-1AC003CAE07A}";
inline constexpr char kControlClsid[] = "{6787F196-8DE6-440C-87EA-1AC003CAE07A}";
inline constexpr char kPropPageClsid[] = "{6787F197-8DE6-440C-87EA-1AC003CAE07A}";

inline constexpr char kControlProgId[] = "CURVEX.CurvexCtrl.1";
inline constexpr char kPropPageProgId[] = "CURVEX.CurvexPropPage.1";
inline constexpr char kControlTypeName[] = "Curvex Control";
inline constexpr char kPropPageTypeName[] = "Curvex Property Page";
inline constexpr char kTypeLibVersion[] = "1.3";
inline constexpr double kControlVersion = 1.3;
inline constexpr char kHelpFile[] = "Curvex.hlp";

// Miscellaneous status bits: recompose on resize, cannot link inside, inside-out, activate when
// visible, set client site first.
inline constexpr std::uint32_t kMiscStatus = 0x20191;
// Version 1.30: major in the high 16 bits, hundredths in the low 16 bits. A test build of the
// control may report another version through CURVEX_OCX_VERSION.
#ifdef CURVEX_OCX_VERSION
inline constexpr std::int32_t kOcxVersion = CURVEX_OCX_VERSION;
#else
inline constexpr std::int32_t kOcxVersion = 65566;
#endif
// Version of the persisted property set (major 1, minor 3).
inline constexpr std::int32_t kPersistVersion = 0x00010003;

} // namespace curvex
