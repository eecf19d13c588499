// Colour arithmetic of the grid's highlight, free of the platform: colours
// are 0x00BBGGRR values already resolved to RGB.
#pragma once

#include <cstdint>

namespace grid {

using TRGB = std::uint32_t; // 0x00BBGGRR

constexpr TRGB MakeRGB(int r, int g, int b) {
    return static_cast<TRGB>(r) | (static_cast<TRGB>(g) << 8) | (static_cast<TRGB>(b) << 16);
}
constexpr int RedOf(TRGB c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(TRGB c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(TRGB c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// The tint that marks selected cells other than the current one: colour
// halfway to the glass colour, lifted toward a light grey, optionally pushed
// away from a mid grey for contrast. Rounded half to even, clamped.
TRGB SelectionTint(TRGB color, TRGB glass, bool contrastStep);

} // namespace grid
