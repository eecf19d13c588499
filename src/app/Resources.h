// Identifiers of the program's own resources (assets/Project1.rc).
#pragma once

#define IDI_MAINICON 1
#define IDR_BANNER 101
#define IDB_STOPGLYPH 102

#ifndef RC_INVOKED
#include <windows.h>

#include <cstdint>
#include <vector>

namespace app {

// The banner: a JPEG stream kept as raw resource data.
inline constexpr int kBannerId = IDR_BANNER;
inline constexpr int kStopGlyphId = IDB_STOPGLYPH;

// A bitmap resource of the executable as a DIB section (the caller owns it),
// or nullptr.
HBITMAP LoadProgramBitmap(int id);

// The bytes of a raw data resource of the executable; empty when missing.
std::vector<std::uint8_t> LoadProgramData(int id);

} // namespace app
#endif
