// Arithmetic of the grid's mouse tracking: the auto-scroll that keeps moving
// the current record while a drag is held outside the data cells, and the
// zone at a title's right edge where a press sizes the column.
#pragma once

namespace grid {

// Records moved per step at a distance of d pixels outside the data cells:
// d div 6, at most 8 (none below 6 pixels).
int AutoScrollStep(int distance);
// The repeat interval in milliseconds: 200 - 15 x d, at least 0.
int AutoScrollInterval(int distance);
// Whether x lies in the sizing zone of a column whose line starts at `edge`:
// edge - a <= x <= edge - a + 7 with a = (7 - lineWidth) div 2.
bool InSizingZone(int x, int edge, int lineWidth);

} // namespace grid
