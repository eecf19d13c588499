#include "grid/DragScroll.h"

#include <algorithm>

namespace grid {

int AutoScrollStep(int distance) {
    if (distance < 6) return 0;
    return std::min(distance / 6, 8);
}

int AutoScrollInterval(int distance) {
    return std::max(200 - 15 * distance, 0);
}

bool InSizingZone(int x, int edge, int lineWidth) {
    const int a = (7 - lineWidth) / 2;
    return x >= edge - a && x <= edge - a + 7;
}

} // namespace grid
