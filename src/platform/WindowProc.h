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

} // namespace platform
