#include "grid/CellColors.h"

#include <algorithm>
#include <cmath>

namespace grid {

namespace {

int TintChannel(int c, int g, bool contrastStep) {
    const double m = c + (g - c) * 0.5;
    double l = m + (225 - m) * 0.6;
    if (contrastStep) l = l - (122 - l) * 0.25;
    // nearbyint honours the default round-to-nearest-even mode.
    const double rounded = std::nearbyint(l);
    return static_cast<int>(std::clamp(rounded, 0.0, 255.0));
}

} // namespace

TRGB SelectionTint(TRGB color, TRGB glass, bool contrastStep) {
    return MakeRGB(TintChannel(RedOf(color), RedOf(glass), contrastStep),
                   TintChannel(GreenOf(color), GreenOf(glass), contrastStep),
                   TintChannel(BlueOf(color), BlueOf(glass), contrastStep));
}

} // namespace grid
