// Identifiers of the program's own resources (assets/Project1.rc).
#pragma once

#define IDI_MAINICON 1
#define IDB_BANNER 101
#define IDB_STOPGLYPH 102

#ifndef RC_INVOKED
#include <windows.h>

namespace app {

inline constexpr int kBannerId = IDB_BANNER;
inline constexpr int kStopGlyphId = IDB_STOPGLYPH;

// A bitmap resource of the executable as a DIB section (the caller owns it),
// or nullptr.
HBITMAP LoadProgramBitmap(int id);

} // namespace app
#endif
