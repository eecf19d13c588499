// Placeholder until the control skinning objects land.
#include "skin/controls/ControlDispatch.h"

namespace skin {

void SkinFormControls(ui::TForm&, TSkinHolder&, TSkinControlList&, ui::TComponent*) {}
void SkinChildWindows(HWND, TSkinHolder&, TSkinControlList&) {}
void SkinChildWindow(HWND, TSkinHolder&, TSkinControlList&) {}

} // namespace skin
