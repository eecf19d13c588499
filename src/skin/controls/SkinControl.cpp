#include "skin/controls/SkinControl.h"

#include "platform/WindowProc.h"
#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"
#include "skin/controls/SkinControlList.h"
#include "ui/Messages.h"
#include "ui/WinControl.h"

#include <algorithm>

namespace skin {

namespace {

// Window mode: the window's skinning object, found by its procedure.
constexpr wchar_t kSkinObjectProp[] = L"Sondrelk.SkinControl";

std::uint32_t ToDib(COLORREF c) {
    return static_cast<std::uint32_t>(GetRValue(c)) << 16 |
           static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
}

using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

// Looked up once: a system without it leaves hot states to other messages.
TrackMouseEventFn TrackMouseEventEntry() {
    static const TrackMouseEventFn fn = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<TrackMouseEventFn>(
                            reinterpret_cast<void*>(GetProcAddress(user32, "TrackMouseEvent")))
                      : nullptr;
    }();
    return fn;
}

} // namespace

// ---- TFaceBitmap --------------------------------------------------------------

TFaceBitmap::~TFaceBitmap() {
    if (old_) SelectObject(dc_.get(), old_);
}

bool TFaceBitmap::Resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (bits_ && width == width_ && height == height_) return true;
    if (!dc_.get()) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    platform::Bitmap next(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!next || !bits) return false;
    HGDIOBJ previous = SelectObject(dc_.get(), next.get());
    if (!old_) old_ = previous;
    bitmap_ = std::move(next); // the one selected before is no longer in the DC
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void TFaceBitmap::Put(const Pixmap& image, int x, int y, bool transparent, Colour key) {
    if (!bits_) return;
    GdiFlush(); // GDI drawing queued on the DC lands before we touch the bits
    for (int sy = 0; sy < image.Height(); ++sy) {
        const int ty = y + sy;
        if (ty < 0 || ty >= height_) continue;
        const Colour* row = image.Row(sy);
        std::uint32_t* out = bits_ + static_cast<std::size_t>(ty) * width_;
        for (int sx = 0; sx < image.Width(); ++sx) {
            const int tx = x + sx;
            if (tx < 0 || tx >= width_) continue;
            const Colour c = row[sx];
            if (transparent && c == key) continue;
            out[tx] = ToDib(static_cast<COLORREF>(c));
        }
    }
}

void TFaceBitmap::Fill(COLORREF colour) {
    if (!bits_) return;
    GdiFlush();
    std::fill(bits_, bits_ + static_cast<std::size_t>(width_) * height_, ToDib(colour));
}

void TFaceBitmap::CopyTo(HDC dc, int x, int y) const {
    if (bits_) BitBlt(dc, x, y, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

// ---- TSkinControl -------------------------------------------------------------

TSkinControl::TSkinControl(ui::TComponent* owner) : ui::TComponent(owner) {}

TSkinControl::~TSkinControl() {
    if (previousHandler_) {
        ui::TControl* target = paintTarget_ ? paintTarget_ : control_;
        if (target) target->WindowProc = std::move(previousHandler_);
    }
    RestoreWindowProc();
    if (list_) list_->Unregister(this);
}

void TSkinControl::Attach(ui::TControl& control, TSkinControlList* list, TSkinHolder& holder,
                          bool ownsColour) {
    if (attached_) return;
    ownsColour_ = ownsColour;
    holder_ = &holder;
    list_ = list;
    control_ = &control;
    if (auto* windowed = dynamic_cast<ui::TWinControl*>(&control)) window_ = windowed->Handle();
    unicode_ = window_ ? IsWindowUnicode(window_) != FALSE : true;

    previousHandler_ = control.WindowProc;
    control.WindowProc = [this](ui::TMessage& m) { HandleMessage(m); };
    if (list_) list_->Register(this);

    if (ownsColour_) {
        AdjustParentBackground(true);
        savedColour_ = control.Color();
        control.SetColor(static_cast<ui::TColor>(ButtonFace()));
    }
    if (parentBackgroundWasOn_) Kind = 1;
    control.Invalidate();
    attached_ = true;
    lifeState_ = kLifeAttached;
}

void TSkinControl::AttachWindow(HWND window, TSkinHolder& holder, TSkinControlList* list) {
    if (attached_ || !window) return;
    holder_ = &holder;
    list_ = list;
    window_ = window;
    enabled_ = true;
    Kind = 0;
    if (list_) list_->Register(this);
    unicode_ = IsWindowUnicode(window) != FALSE;
    text_ = WindowText();
    SetPropW(window, kSkinObjectProp, this);
    previousProc_ = platform::ReplaceWindowProc(window, unicode_, &TSkinControl::WindowModeProc);
    procInstalled_ = previousProc_ != nullptr;
    if (!procInstalled_) RemovePropW(window, kSkinObjectProp);
    InvalidateRect(window, nullptr, TRUE);
    attached_ = true;
    lifeState_ = kLifeAttached;
}

void TSkinControl::RestoreWindowProc() {
    if (!procInstalled_) return;
    procInstalled_ = false;
    if (!IsWindow(window_)) return;
    platform::ReplaceWindowProc(window_, unicode_, previousProc_);
    RemovePropW(window_, kSkinObjectProp);
}

LRESULT CALLBACK TSkinControl::WindowModeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<TSkinControl*>(GetPropW(hwnd, kSkinObjectProp));
    if (!self)
        return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, msg, wParam, lParam)
                                     : DefWindowProcA(hwnd, msg, wParam, lParam);
    ui::TMessage m{msg, wParam, lParam, 0};
    try {
        self->HandleMessage(m);
    } catch (...) {
        ui::ReportException(std::current_exception()); // never unwind into the system
    }
    return m.Result;
}

void TSkinControl::HandleMessage(ui::TMessage& msg) {
    if (msg.Msg == WM_SKIN_ENABLE) {
        active_ = static_cast<INT_PTR>(msg.WParam) > 0;
        if (active_) Refresh();
        return;
    }
    // A switched-off object still learns that its window is gone, so that
    // the next pass purges it and skins the control's new window.
    if (!active_ && msg.Msg != WM_NCDESTROY) {
        CallPrevious(msg);
        return;
    }
    if (BeforeMessage(msg)) {
        CallPrevious(msg);
        AfterMessage(msg);
    }
}

void TSkinControl::CallPrevious(ui::TMessage& msg) {
    if (previousHandler_) {
        previousHandler_(msg);
    } else if (procInstalled_) {
        msg.Result = platform::CallWindowProcAs(previousProc_, window_, unicode_, msg.Msg,
                                                msg.WParam, msg.LParam);
    }
}

bool TSkinControl::BeforeMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_NCDESTROY:
        CallPrevious(msg);
        active_ = false;
        lifeState_ = kLifeWindowDestroyed;
        Detach();
        RestoreWindowProc(); // the window is gone: nothing more comes through us
        return false;
    case WM_SKIN_QUERY:
        msg.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinControl::AfterMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case ui::CM_ENABLEDCHANGED:
        Refresh();
        break;
    case WM_PAINT:
        PaintWindow(reinterpret_cast<HDC>(msg.WParam));
        break;
    default:
        break;
    }
}

void TSkinControl::PaintWindow(HDC dc) {
    RECT wr;
    if (!window_ || !GetWindowRect(window_, &wr)) return;
    windowRect_ = wr;
    const RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
    try {
        if (dc) {
            Paint(dc, r);
        } else {
            platform::WindowDC windowDc(window_, true);
            if (windowDc.get()) Paint(windowDc.get(), r);
        }
    } catch (...) {
        // A failed paint leaves what was drawn before.
    }
}

void TSkinControl::StandardPaint(ui::TMessage& msg) {
    HDC dc = reinterpret_cast<HDC>(msg.WParam);
    PAINTSTRUCT ps{};
    const bool began = dc == nullptr;
    if (began) dc = BeginPaint(window_, &ps);
    if (dc && GetWindowRect(window_, &windowRect_)) {
        const RECT r{0, 0, windowRect_.right - windowRect_.left,
                     windowRect_.bottom - windowRect_.top};
        try {
            Paint(dc, r);
        } catch (...) {
        }
    }
    if (began) EndPaint(window_, &ps);
    msg.Result = 0;
}

void TSkinControl::Detach() {
    if (ownsColour_ && control_) {
        AdjustParentBackground(false);
        control_->SetColor(savedColour_);
    }
}

void TSkinControl::Reapply() {
    if (ownsColour_ && control_) control_->SetColor(static_cast<ui::TColor>(ButtonFace()));
    Refresh();
}

void TSkinControl::AdjustParentBackground(bool attaching) {
    if (!control_ || !holder_ || holder_->Options.Has(soParentBackGround)) return;
    if (!ui::HasProp(*control_, L"ParentBackground")) return;
    if (attaching) {
        if (ui::PropEnumName(*control_, L"ParentBackground") == L"true") {
            parentBackgroundWasOn_ = true;
            ui::SetPropText(*control_, L"ParentBackground", L"False");
        }
    } else if (parentBackgroundWasOn_) {
        ui::SetPropText(*control_, L"ParentBackground", L"True");
    }
}

void TSkinControl::Refresh() {
    if (paintTarget_) {
        paintTarget_->Invalidate();
        return;
    }
    if (!window_) return;
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
}

const TSkinData* TSkinControl::Data() const {
    return holder_ ? holder_->Data() : nullptr;
}

COLORREF TSkinControl::ButtonFace() const {
    return holder_ ? holder_->ButtonFaceRGB() : GetSysColor(COLOR_BTNFACE);
}

void TSkinControl::FillColour(HDC dc, const RECT& r, COLORREF colour) const {
    // A stock brush with its colour set: no brush is made per fill.
    const COLORREF old = SetDCBrushColor(dc, colour);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, old);
}

void TSkinControl::FillButtonFace(HDC dc, const RECT& r) const {
    FillColour(dc, r, ButtonFace());
}

void TSkinControl::FillParentColour(HDC dc, const RECT& r) const {
    const ui::TControl* owner = paintTarget_ ? paintTarget_ : control_;
    if (owner && owner->Parent()) {
        const long long colour = ui::PropInt(*owner->Parent(), L"Color");
        if (colour != -1) {
            FillColour(dc, r, ui::ColorToRGB(static_cast<ui::TColor>(colour)));
            return;
        }
    }
    FillButtonFace(dc, r);
}

void TSkinControl::PaintParentBackground(HDC dc) const {
    HWND parent = nullptr;
    RECT inParent{};
    if (const ui::TControl* windowless = paintTarget_) {
        if (!windowless->Parent()) return;
        parent = windowless->Parent()->HandleIfAllocated();
        inParent = windowless->BoundsRect();
    } else if (window_) {
        parent = GetParent(window_);
        GetWindowRect(window_, &inParent);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&inParent), 2);
    }
    if (!parent) return;
    const int saved = SaveDC(dc);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - inParent.left, origin.y - inParent.top, nullptr);
    IntersectClipRect(dc, inParent.left, inParent.top, inParent.right, inParent.bottom);
    if (ui::TWinControl::FromHandle(parent)) {
        // The framework's windows paint into a given DC through WM_PRINTCLIENT.
        SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                     PRF_CLIENT | PRF_ERASEBKGND);
    } else {
        SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        SendMessageW(parent, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
    RestoreDC(dc, saved);
}

void TSkinControl::FocusMarkAroundText(HDC dc, const std::wstring& text, UINT format,
                                       const RECT& r) const {
    RECT m = r;
    DrawTextW(dc, text.c_str(), -1, &m, format | DT_CALCRECT | DT_NOCLIP);
    const int w = m.right - m.left, h = m.bottom - m.top;
    if (format & DT_CENTER) {
        OffsetRect(&m, (r.right - r.left - w) / 2, (r.bottom - r.top - h) / 2 - 1);
    } else if (format & DT_RIGHT) {
        OffsetRect(&m, r.right - m.right, 0);
    }
    InflateRect(&m, 2, 1);
    RECT clipped;
    if (IntersectRect(&clipped, &m, &r)) DrawFocusRect(dc, &clipped);
}

UINT TSkinControl::RtlFlags() const {
    HWND w = window_;
    if (!w && paintTarget_ && paintTarget_->Parent())
        w = paintTarget_->Parent()->HandleIfAllocated();
    if (w && (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_RTLREADING)) return DT_RTLREADING;
    return 0;
}

void TSkinControl::TrackMouseLeave() const {
    TrackMouseEventFn track = TrackMouseEventEntry();
    if (!track || !window_) return;
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = window_;
    track(&tme);
}

std::wstring TSkinControl::WindowText() const {
    if (!window_) return {};
    const int n = GetWindowTextLengthW(window_);
    if (n <= 0) return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(window_, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

TSkinControl::TCaptionLook TSkinControl::ReadCaptionLook(COLORREF bareColour) {
    TCaptionLook look;
    look.Text = control_ ? ui::PropText(*control_, L"Caption") : WindowText();
    text_ = look.Text;
    look.Colour = bareColour;
    if (control_) {
        if (const ui::TFont* f = ui::PropObject(*control_, L"Font").Font) {
            look.Font = f->Handle();
            look.Colour = ui::ColorToRGB(f->Color());
        }
    } else {
        look.Font = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
    }
    return look;
}

} // namespace skin
