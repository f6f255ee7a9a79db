#pragma once
// The key-modifier flags of IOleControlSite::TranslateAccelerator, which not
// every SDK's headers carry.
#include <windows.h>

namespace glim {

inline constexpr DWORD kKeyModShift = 1;
inline constexpr DWORD kKeyModControl = 2;
inline constexpr DWORD kKeyModAlt = 4;

} // namespace glim
