// The framework's own notifications between controls, forms and the skin
// engine. Each is defined here once; the values sit in the WM_APP range so
// they never collide with system or common-control messages.
#pragma once

#include <windows.h>

namespace ui {

constexpr UINT CM_BASE = WM_APP + 0x0B00;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 1; // a control's Enabled changed
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 2; // a control's Visible changed; wParam = visible
constexpr UINT CM_MOUSEENTER = CM_BASE + 3;     // lParam = the control entered (TControl*)
constexpr UINT CM_MOUSELEAVE = CM_BASE + 4;     // lParam = the control left (TControl*)
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;      // wParam = virtual key; Result 1 = handled
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 6;   // lParam = the control that got the focus
constexpr UINT CM_RECREATEWND = CM_BASE + 7;    // recreate the control's window
constexpr UINT CM_RELEASE = CM_BASE + 8;     // posted to a form: free it once its messages are done
constexpr UINT CM_MENUCHANGED = CM_BASE + 9; // a form's menu changed
constexpr UINT CM_TEXTCHANGED = CM_BASE + 10;  // a control's Caption changed
constexpr UINT CM_FONTCHANGED = CM_BASE + 11;  // a control's Font changed
constexpr UINT CM_COLORCHANGED = CM_BASE + 12; // a control's Color changed

// Notifications reflected from a parent to the child control they concern.
constexpr UINT CN_BASE = WM_APP + 0x0C00;
constexpr UINT CN_COMMAND = CN_BASE + 1; // WM_COMMAND from the child
constexpr UINT CN_NOTIFY = CN_BASE + 2;  // WM_NOTIFY from the child

} // namespace ui
