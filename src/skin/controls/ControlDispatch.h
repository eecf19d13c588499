// The choice of skinning object for each control of a skinned window: the
// control dispatch over a form's framework controls, and the window dispatch
// over bare child windows (the buttons of a message box). The frame painter
// calls these at skin start; the chosen objects register with its list.
#pragma once

#include <windows.h>

namespace ui {
class TComponent;
class TForm;
} // namespace ui

namespace skin {

class TSkinHolder;
class TSkinControlList;

// A skinning pass over a form: purges the list, dispatches every owned
// control, then every windowed control of the tab order. `framePainter` is
// the sender the application's OnSkinControl event sees.
void SkinFormControls(ui::TForm& form, TSkinHolder& holder, TSkinControlList& list,
                      ui::TComponent* framePainter);

// The window dispatch for every WS_CHILD child window of `parent` (a window
// without a framework form, such as a message box).
void SkinChildWindows(HWND parent, TSkinHolder& holder, TSkinControlList& list);

// The window dispatch for one bare window (a size grip created inside a
// skinned window).
void SkinChildWindow(HWND window, TSkinHolder& holder, TSkinControlList& list);

} // namespace skin
