// Small owners for GDI and USER handles, so that nothing leaks across
// thousands of repaints: each frees its handle exactly once.
#pragma once

#include <windows.h>

#include <atomic>
#include <utility>

namespace platform {

// How many GDI objects and memory DCs the owners below hold right now. Where
// the system does not count a process's GDI objects (GetGuiResources), this
// is how a test sees that thousands of repaints leave nothing behind.
inline std::atomic<long>& LiveGdiHandles() {
    static std::atomic<long> count{0};
    return count;
}

// Owns any HGDIOBJ-compatible handle (HBITMAP, HBRUSH, HPEN, HFONT, HRGN).
template <typename H> class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : h_(h) {
        if (h_) ++LiveGdiHandles();
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiObject& operator=(GdiObject&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    ~GdiObject() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    // Hands the handle over (to the system, say): no longer ours to count.
    H release() {
        if (h_) --LiveGdiHandles();
        return std::exchange(h_, nullptr);
    }
    void reset(H h = nullptr) {
        if (h_) {
            DeleteObject(h_);
            --LiveGdiHandles();
        }
        h_ = h;
        if (h_) ++LiveGdiHandles();
    }

private:
    H h_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible = nullptr) : dc_(CreateCompatibleDC(compatible)) {
        if (dc_) ++LiveGdiHandles();
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() {
        if (dc_) {
            DeleteDC(dc_);
            --LiveGdiHandles();
        }
    }
    HDC get() const { return dc_; }

private:
    HDC dc_ = nullptr;
};

// A window DC from GetDC/GetWindowDC, released with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND wnd, bool wholeWindow = false)
        : wnd_(wnd), dc_(wholeWindow ? GetWindowDC(wnd) : GetDC(wnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(wnd_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND wnd_ = nullptr;
    HDC dc_ = nullptr;
};

// BeginPaint/EndPaint pair.
class PaintDC {
public:
    explicit PaintDC(HWND wnd) : wnd_(wnd) { dc_ = BeginPaint(wnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { EndPaint(wnd_, &ps_); }
    HDC get() const { return dc_; }
    const RECT& rect() const { return ps_.rcPaint; }

private:
    HWND wnd_ = nullptr;
    HDC dc_ = nullptr;
    PAINTSTRUCT ps_{};
};

// Selects an object into a DC for the lifetime of the guard.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (old_) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace platform
