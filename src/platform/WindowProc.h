// Reading and replacing a window's procedure through the variant that fits
// the window: the W calls for Unicode windows, the A calls for ANSI ones, so
// no text passes through the ANSI code page on its way.
#pragma once

#include <windows.h>

namespace platform {

inline WNDPROC WindowProcOf(HWND window, bool unicode) {
    return reinterpret_cast<WNDPROC>(unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                             : GetWindowLongPtrA(window, GWLP_WNDPROC));
}

// Installs `proc` and returns the procedure it replaced.
inline WNDPROC ReplaceWindowProc(HWND window, bool unicode, WNDPROC proc) {
    const auto value = reinterpret_cast<LONG_PTR>(proc);
    return reinterpret_cast<WNDPROC>(unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, value)
                                             : SetWindowLongPtrA(window, GWLP_WNDPROC, value));
}

// Calls `proc` as the window wants it called; DefWindowProcW when there is
// none to call.
inline LRESULT CallWindowProcAs(WNDPROC proc, HWND window, bool unicode, UINT msg, WPARAM wParam,
                                LPARAM lParam) {
    if (!proc) return DefWindowProcW(window, msg, wParam, lParam);
    return unicode ? CallWindowProcW(proc, window, msg, wParam, lParam)
                   : CallWindowProcA(proc, window, msg, wParam, lParam);
}

// For a replacement procedure that stays in a window's chain after its
// object let go, because another subclass was installed over it: calls the
// procedure remembered under the window property `prop`, which goes with the
// window.
inline LRESULT PassThrough(HWND window, const wchar_t* prop, UINT msg, WPARAM wParam,
                           LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, prop));
    if (msg == WM_NCDESTROY) RemovePropW(window, prop);
    return CallWindowProcAs(previous, window, IsWindowUnicode(window) != FALSE, msg, wParam,
                            lParam);
}

} // namespace platform
