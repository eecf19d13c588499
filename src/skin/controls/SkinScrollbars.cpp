#include "skin/controls/SkinScrollbars.h"

#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"
#include "skin/controls/SkinControlList.h"
#include "skin/controls/SkinHeader.h"
#include "ui/Messages.h"
#include "ui/WinControl.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace skin {

namespace {

constexpr wchar_t kOverlayClass[] = L"TScrollOverlay";

// Scroll bar element frames.
constexpr int kScrollbarFrames = 23;
constexpr int kFrameLeft = 1, kFrameRight = 5, kFrameUp = 9, kFrameDown = 13;
constexpr int kGripHorz = 17, kGripVert = 20;
constexpr int kTrayFrames = 4;

using GetScrollBarInfoFn = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);

// Looked up once: without it window scroll bars keep their system look.
GetScrollBarInfoFn GetScrollBarInfoEntry() {
    static const GetScrollBarInfoFn fn = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<GetScrollBarInfoFn>(
                            reinterpret_cast<void*>(GetProcAddress(user32, "GetScrollBarInfo")))
                      : nullptr;
    }();
    return fn;
}

void RegisterOverlayClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcW; // replaced per window at creation
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kOverlayClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

RECT ToParent(HWND parent, RECT screen) {
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&screen), 2);
    return screen;
}

bool SameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

// Messages after which a bar is not looked at again: they change nothing
// and come often.
bool QuietMessage(UINT msg) {
    switch (msg) {
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETDLGCODE:
    case WM_GETFONT:
    case WM_NCDESTROY:
    case WM_DESTROY:
    case WM_SKIN_QUERY:
    // A scroll bar control answers these to the overlay's own questions.
    case SBM_GETSCROLLINFO:
    case SBM_GETSCROLLBARINFO:
    case SBM_GETPOS:
    case SBM_GETRANGE:
        return true;
    default:
        return false;
    }
}

// The system's scroll bar tracking runs a message loop of its own that
// dispatches no mouse message; it shows each one to the thread's message
// filter first. The overlay whose press is being tracked learns from there
// where the mouse is, in the tracked window's client coordinates, exactly as
// the system does.
thread_local TScrollOverlay* t_tracked = nullptr;
thread_local POINT t_trackPoint{};
thread_local bool t_haveTrackPoint = false;

LRESULT CALLBACK TrackFilter(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_SCROLLBAR && m && t_tracked &&
        (m->message == WM_MOUSEMOVE || m->message == WM_LBUTTONUP)) {
        POINT p{GET_X_LPARAM(m->lParam), GET_Y_LPARAM(m->lParam)};
        ClientToScreen(t_tracked->Target(), &p);
        t_trackPoint = p;
        t_haveTrackPoint = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// While alive, the mouse positions of the tracking loop are recorded for
// `overlay`.
class TrackWatch {
public:
    explicit TrackWatch(TScrollOverlay* overlay) : previous_(t_tracked) {
        t_tracked = overlay;
        t_haveTrackPoint = false;
        hook_ = SetWindowsHookExW(WH_MSGFILTER, TrackFilter, nullptr, GetCurrentThreadId());
    }
    TrackWatch(const TrackWatch&) = delete;
    TrackWatch& operator=(const TrackWatch&) = delete;
    ~TrackWatch() {
        if (hook_) UnhookWindowsHookEx(hook_);
        t_tracked = previous_;
        t_haveTrackPoint = false;
    }

private:
    TScrollOverlay* previous_;
    HHOOK hook_ = nullptr;
};

} // namespace

// ---- geometry ---------------------------------------------------------------------

int ScrollHitTest(const TScrollGeometry& g, int a) {
    if (a < g.arrow) return kPartFirstArrow;
    if (a < g.thumbStart) return kPartTrayBefore;
    if (a < g.thumbEnd) return kPartThumb;
    if (a < g.length - g.arrow) return kPartTrayAfter;
    return kPartSecondArrow;
}

void ControlThumb(TScrollGeometry& g, const SCROLLINFO& si) {
    const int L = g.length, b = g.arrow;
    const int range = si.nMax == si.nMin ? 9999999 : si.nMax - si.nMin;
    const int offset = si.nPos - si.nMin;
    int size, start;
    if (si.nPage != 0) {
        size = MulDiv(L - 2 * b, static_cast<int>(si.nPage) - 1, range);
        int usable = L - 2 * b;
        if (size <= 7) {
            size = 8;
            usable = L - 2 * b - 8;
        }
        start = si.nPos == si.nMin ? b : b + MulDiv(usable, offset, range);
    } else {
        size = b;
        start = si.nPos == si.nMin ? b : b + MulDiv(L - 3 * b, offset, range);
    }
    g.thumbStart = start;
    g.thumbEnd = start + size;
}

// ---- TScrollOverlay -------------------------------------------------------------------

TScrollOverlay::TScrollOverlay(HWND target, ui::TControl* targetControl, TSkinControl* owner,
                               int mode, TSkinHolder& holder)
    : target_(target), targetControl_(targetControl), owner_(owner), holder_(holder), mode_(mode) {
    arrowSize_ = GetSystemMetrics(SM_CXHSCROLL);
    if (mode_ == omHorizontal) {
        vertical_ = false;
    } else if (mode_ == omControl) {
        vertical_ = (GetWindowLongW(target, GWL_STYLE) & SBS_VERT) != 0;
        if (targetControl_ && ui::HasProp(*targetControl_, L"Kind"))
            vertical_ = ui::PropEnumName(*targetControl_, L"Kind") != L"sbHorizontal";
    }
    HWND parent = target ? GetParent(target) : nullptr;
    if (!parent) return; // a top-level target has no place for a sibling
    RegisterOverlayClass();
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kOverlayClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0,
                              0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TScrollOverlay::Proc));
    enabled_ = IsWindowEnabled(target) != FALSE;
}

TScrollOverlay::~TScrollOverlay() {
    DestroyWindowNow();
}

void TScrollOverlay::DestroyWindowNow() {
    if (!window_) return;
    HWND w = window_;
    window_ = nullptr;
    shown_ = false;
    SetWindowLongPtrW(w, GWLP_USERDATA, 0);
    if (IsWindow(w)) DestroyWindow(w);
}

LRESULT CALLBACK TScrollOverlay::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TScrollOverlay*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        ui::ReportException(std::current_exception());
        return 0;
    }
}

LRESULT TScrollOverlay::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        if (dc) Paint(dc);
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_MOUSEMOVE: {
        const int part = ScrollHitTest(Geometry(), AxisOf(p));
        if (part != hotPart_) {
            hotPart_ = part;
            Repaint();
        }
        if (!trackingLeave_) {
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, window_, 0};
            trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        if (!pressed_) {
            hotPart_ = kPartNone;
            Repaint();
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(p);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(p);
        return 0;
    case WM_NCDESTROY: {
        // Destroyed with its parent before the owner let go.
        HWND w = window_;
        SetWindowLongPtrW(w, GWLP_USERDATA, 0);
        window_ = nullptr;
        shown_ = false;
        return DefWindowProcW(w, msg, wParam, lParam);
    }
    default:
        return DefWindowProcW(window_, msg, wParam, lParam);
    }
}

bool TScrollOverlay::BarInfo(RECT& screen, DWORD& state, TScrollGeometry& g) const {
    if (!target_ || !IsWindow(target_)) return false;
    g = {};
    if (mode_ == omControl) {
        if (!GetWindowRect(target_, &screen)) return false;
        state = 0;
        SCROLLBARINFO info{};
        info.cbSize = sizeof(info);
        if (GetScrollBarInfoFn get = GetScrollBarInfoEntry();
            get && get(target_, OBJID_CLIENT, &info))
            state = info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE;
        g.length = vertical_ ? screen.bottom - screen.top : screen.right - screen.left;
        g.arrow = std::min(arrowSize_, g.length / 2);
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        if (!GetScrollInfo(target_, SB_CTL, &si)) return true; // no thumb
        ControlThumb(g, si);
        return true;
    }
    GetScrollBarInfoFn get = GetScrollBarInfoEntry();
    if (!get) return false;
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    if (!get(target_, mode_ == omVertical ? OBJID_VSCROLL : OBJID_HSCROLL, &info)) return false;
    screen = info.rcScrollBar;
    state = info.rgstate[0];
    g.length = vertical_ ? screen.bottom - screen.top : screen.right - screen.left;
    g.arrow = std::min(arrowSize_, g.length / 2);
    if (info.xyThumbBottom > info.xyThumbTop) {
        g.thumbStart = info.xyThumbTop;
        g.thumbEnd = info.xyThumbBottom;
    }
    return true;
}

bool TScrollOverlay::SkinUsable() const {
    const TSkinData* data = holder_.Data();
    return data && data->Scrollbar && !data->Scrollbar->Bitmap.Empty();
}

bool TScrollOverlay::BarEnabled(DWORD state) const {
    return enabled_ && IsWindowEnabled(target_) && !(state & STATE_SYSTEM_UNAVAILABLE);
}

TScrollGeometry TScrollOverlay::Geometry() const {
    RECT screen;
    DWORD state = 0;
    TScrollGeometry g;
    if (!BarInfo(screen, state, g)) return {};
    return g;
}

void TScrollOverlay::Place() {
    if (!window_) return;
    RECT screen{};
    DWORD state = 0;
    TScrollGeometry g;
    const bool known = BarInfo(screen, state, g);
    // Without arrows to paint the overlay would only hide the system's bar.
    if (!known || !SkinUsable() || !(GetWindowLongW(target_, GWL_STYLE) & WS_VISIBLE) ||
        (state & STATE_SYSTEM_INVISIBLE) || IsRectEmpty(&screen)) {
        Hide();
        return;
    }
    barRect_ = screen;
    MapWindowPoints(nullptr, target_, reinterpret_cast<POINT*>(&barRect_), 2);
    length_ = g.length;
    const RECT r = ToParent(GetParent(window_), screen);
    // Directly above the target, whatever stood above it stays above.
    HWND previous = GetWindow(target_, GW_HWNDPREV);
    UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
    if (previous == window_) flags |= SWP_NOZORDER;
    SetWindowPos(window_, previous ? previous : HWND_TOP, r.left, r.top, r.right - r.left,
                 r.bottom - r.top, flags);
    shown_ = true;
    InvalidateRect(window_, nullptr, FALSE);
}

void TScrollOverlay::Hide() {
    shown_ = false;
    if (window_ && IsWindowVisible(window_)) ShowWindow(window_, SW_HIDE);
}

void TScrollOverlay::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (window_) EnableWindow(window_, enabled);
    Repaint();
}

void TScrollOverlay::Repaint() {
    if (!window_ || !shown_) return;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
}

void TScrollOverlay::Sync() {
    if (!window_) return;
    RECT screen{};
    DWORD state = 0;
    TScrollGeometry g;
    const bool known = BarInfo(screen, state, g);
    const bool wanted = known && SkinUsable() &&
                        (GetWindowLongW(target_, GWL_STYLE) & WS_VISIBLE) &&
                        !(state & STATE_SYSTEM_INVISIBLE) && !IsRectEmpty(&screen);
    if (!wanted) {
        if (shown_ || IsWindowVisible(window_)) Hide();
        return;
    }
    if (!shown_) {
        Place();
        return;
    }
    // The overlay sits in the target's parent: compare where the bar is now
    // with where the overlay is, in the parent's coordinates.
    RECT now{};
    GetWindowRect(window_, &now);
    if (!SameRect(now, screen)) {
        Place();
        return;
    }
    if (g.thumbStart != painted_.thumbStart || g.thumbEnd != painted_.thumbEnd ||
        g.length != painted_.length || state != paintedState_)
        Repaint();
}

void TScrollOverlay::Paint(HDC dc) {
    if (!SkinUsable()) return;
    const TSkinData* data = holder_.Data();
    RECT screen;
    DWORD state = 0;
    TScrollGeometry g;
    if (!BarInfo(screen, state, g) || (state & STATE_SYSTEM_INVISIBLE)) return;
    RECT client;
    GetClientRect(window_, &client);
    const int w = screen.right - screen.left, h = screen.bottom - screen.top;
    if (w < 1 || h < 1 || w > client.right || h > client.bottom) return;
    paintedScreen_ = screen;
    paintedState_ = state;
    painted_ = g;

    const bool enabled = BarEnabled(state);
    // While the thumb is dragged it follows the cursor, kept inside the tray.
    if (mode_ != omControl && pressed_ && hotPart_ == kPartThumb && g.thumbEnd > g.thumbStart) {
        POINT c;
        if (t_tracked == this && t_haveTrackPoint)
            c = t_trackPoint;
        else
            GetCursorPos(&c);
        ScreenToClient(window_, &c);
        const int size = g.thumbEnd - g.thumbStart;
        int start = pressThumbStart_ + AxisOf(c) - AxisOf(pressPoint_);
        start = std::clamp(start, arrowSize_, std::max(arrowSize_, g.length - arrowSize_ - size));
        g.thumbStart = start;
        g.thumbEnd = start + size;
    }
    thumbStart_ = g.thumbStart;
    thumbEnd_ = g.thumbEnd;

    const TSkinElement& strip = *data->Scrollbar;
    Pixmap canvas(w, h, ResolveColour(data->Colours.ButtonFace));
    const int L = g.length;
    const int a = L < 2 * arrowSize_ ? L / 2 : arrowSize_;

    // The tray between the arrows.
    const TSkinElement* tray = vertical_ ? data->VertScroll.get() : data->HorzScroll.get();
    if (tray && !tray->Bitmap.Empty()) {
        const Rect r = vertical_ ? Rect{0, a, w, h - a} : Rect{a, 0, w - a, h};
        DrawElement(canvas, r, tray->Bitmap, false, tray->Tile != 0, tray->Trans != 0, kTrayFrames,
                    enabled ? 1 : 3, tray->Margins);
    }

    // The arrows: pressed + 1, hot + 3.
    auto arrowFrame = [&](int base, int part) {
        if (hotPart_ != part) return base;
        return base + (pressed_ ? 1 : 3);
    };
    const Rect first = vertical_ ? Rect{0, 0, w, a} : Rect{0, 0, a, h};
    const Rect second = vertical_ ? Rect{0, h - a, w, h} : Rect{w - a, 0, w, h};
    DrawFrameStretched(canvas, first, strip.Bitmap, true, kScrollbarFrames,
                       arrowFrame(vertical_ ? kFrameUp : kFrameLeft, kPartFirstArrow));
    DrawFrameStretched(canvas, second, strip.Bitmap, true, kScrollbarFrames,
                       arrowFrame(vertical_ ? kFrameDown : kFrameRight, kPartSecondArrow));

    // The thumb and its grip.
    const TSkinElement* thumb =
        vertical_ ? data->VertScrollThumb.get() : data->HorzScrollThumb.get();
    if (enabled && g.thumbEnd > g.thumbStart && g.thumbStart >= 0 && g.thumbEnd <= L) {
        const Rect r =
            vertical_ ? Rect{0, g.thumbStart, w, g.thumbEnd} : Rect{g.thumbStart, 0, g.thumbEnd, h};
        const bool onThumb = hotPart_ == kPartThumb;
        if (thumb && !thumb->Bitmap.Empty())
            DrawElement(canvas, r, thumb->Bitmap, false, false, thumb->Trans != 0,
                        thumb->FrameCount(), onThumb ? (pressed_ ? 2 : 3) : 1, thumb->Margins);
        if (g.thumbEnd - g.thumbStart > strip.Bitmap.Height() + 2)
            DrawFrameCentred(canvas, r, strip.Bitmap, true, kScrollbarFrames,
                             (vertical_ ? kGripVert : kGripHorz) +
                                 (onThumb ? (pressed_ ? 1 : 2) : 0));
    }

    if (!face_.Resize(w, h)) return;
    face_.Put(canvas, 0, 0, false);
    face_.CopyTo(dc, 0, 0);
}

void TScrollOverlay::OnButtonDown(POINT p) {
    const TScrollGeometry g = Geometry();
    pressPoint_ = p;
    pressThumbStart_ = g.thumbStart;
    hotPart_ = ScrollHitTest(g, AxisOf(p));
    pressed_ = true;
    Repaint();
    ReleaseCapture();
    // The system's tracking runs inside this call; the target may destroy
    // us (and itself) meanwhile.
    const std::weak_ptr<bool> alive = alive_;
    HWND target = target_;
    TrackWatch watch(this);
    if (mode_ == omControl) {
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    } else {
        POINT s = p;
        ClientToScreen(window_, &s);
        SendMessageW(target, WM_NCLBUTTONDOWN, vertical_ ? HTVSCROLL : HTHSCROLL,
                     MAKELPARAM(s.x, s.y));
    }
    if (alive.expired()) return;
    pressed_ = false;
    ReleaseCapture();
    Repaint();
}

void TScrollOverlay::OnButtonUp(POINT p) {
    pressed_ = false;
    ReleaseCapture();
    if (mode_ == omControl) {
        PostMessageW(target_, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    } else {
        POINT s = p;
        ClientToScreen(window_, &s);
        PostMessageW(target_, WM_NCLBUTTONUP, vertical_ ? HTVSCROLL : HTHSCROLL,
                     MAKELPARAM(s.x, s.y));
    }
    Repaint();
}

// ---- TSkinScrollbar ---------------------------------------------------------------------

TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::CreateOverlays() {
    if (!holder_) return;
    horz_ = std::make_unique<TScrollOverlay>(window_, control_, this, omHorizontal, *holder_);
    vert_ = std::make_unique<TScrollOverlay>(window_, control_, this, omVertical, *holder_);
    const bool enabled = control_ ? control_->Enabled() : IsWindowEnabled(window_) != FALSE;
    horz_->SetEnabled(enabled);
    vert_->SetEnabled(enabled);
}

void TSkinScrollbar::DestroyOverlays() {
    horz_.reset();
    vert_.reset();
}

void TSkinScrollbar::AttachScrollBars(ui::TControl& control, TSkinControlList* list,
                                      TSkinHolder& holder) {
    if (attached_) return;
    if (auto* windowed = dynamic_cast<ui::TWinControl*>(&control)) windowed->HandleNeeded();
    Attach(control, list, holder, false);
    border_ = ui::PropEnumName(control, L"BorderStyle") != L"bsNone";
    if (control.ClassName() == L"TImageScrollBox" || Kind == 1) border_ = false;
    if (const auto fixed = control.GetPropValue(L"FixedColor");
        fixed && std::holds_alternative<long long>(*fixed)) {
        savedFixedColor_ = std::get<long long>(*fixed);
        ownsFixedColor_ = true;
        ui::SetPropText(control, L"FixedColor", std::to_wstring(ButtonFace()));
    }
    CreateOverlays();
    if (control.Visible()) PlaceOverlays();
    if (window_) RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::AttachScrollBarsWindow(HWND window, TSkinHolder& holder,
                                            TSkinControlList* list) {
    if (attached_) return;
    AttachWindow(window, holder, list);
    if (!attached_) return;
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG ex = GetWindowLongW(window, GWL_EXSTYLE);
    border_ = (style & WS_BORDER) || (ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    if (Kind == 1) border_ = false;
    CreateOverlays();
    PlaceOverlays();
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::Detach() {
    TSkinControl::Detach();
    if (ownsFixedColor_ && control_) {
        ui::SetPropText(*control_, L"FixedColor", std::to_wstring(savedFixedColor_));
        ownsFixedColor_ = false;
    }
    if (lifeState_ != kLifeWindowDestroyed) {
        DestroyOverlays();
        // The system's own bars and border show again.
        if (window_ && IsWindow(window_))
            RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
}

void TSkinScrollbar::Reapply() {
    if (ownsFixedColor_ && control_)
        ui::SetPropText(*control_, L"FixedColor", std::to_wstring(ButtonFace()));
    if (horz_) horz_->Repaint();
    if (vert_) vert_->Repaint();
    if (window_) RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::PlaceOverlays() {
    if (horz_) horz_->Place();
    if (vert_) vert_->Place();
}

void TSkinScrollbar::SyncOverlays() {
    if (syncing_) return;
    syncing_ = true;
    if (horz_) horz_->Sync();
    if (vert_) vert_->Sync();
    syncing_ = false;
}

void TSkinScrollbar::DrawBorder() {
    platform::WindowDC dc(window_, true);
    if (!dc.get()) return;
    RECT r;
    GetWindowRect(window_, &r);
    OffsetRect(&r, -r.left, -r.top);
    const COLORREF shadow =
        TSkinHolder::ToRGB(Data() ? Data()->Colours.ButtonShadow : kSysBtnShadow);
    const COLORREF old = SetDCBrushColor(dc.get(), shadow);
    auto* brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    FrameRect(dc.get(), &r, brush);
    InflateRect(&r, -1, -1);
    SetDCBrushColor(dc.get(), ButtonFace());
    FrameRect(dc.get(), &r, brush);
    SetDCBrushColor(dc.get(), old);
}

bool TSkinScrollbar::BeforeMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_NCPAINT:
        if (!border_) return true;
        CallPrevious(msg);
        DrawBorder();
        msg.Result = 0;
        SyncOverlays();
        return false;
    case WM_DESTROY:
        // The overlays live in the parent: they go now, not with it.
        DestroyOverlays();
        return true;
    case ui::CM_RECREATEWND:
        if (window_)
            if (HWND form = GetAncestor(window_, GA_ROOT); form && form != window_)
                PostMessageW(form, WM_SKIN_REBUILDSCROLL, reinterpret_cast<WPARAM>(window_), 0);
        return true;
    default:
        return TSkinControl::BeforeMessage(msg);
    }
}

void TSkinScrollbar::AfterMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        PlaceOverlays();
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        // Only the window's own bars: a scroll bar child names itself in lParam.
        if (msg.LParam == 0)
            if (TScrollOverlay* o = msg.Msg == WM_HSCROLL ? horz_.get() : vert_.get()) {
                o->SetHotPart(LOWORD(msg.WParam));
                o->Repaint();
            }
        break;
    case ui::CM_VISIBLECHANGED:
        if (msg.WParam != 0) {
            PlaceOverlays();
        } else {
            if (horz_) horz_->Hide();
            if (vert_) vert_->Hide();
        }
        return;
    case ui::CM_ENABLEDCHANGED:
        if (control_) {
            if (horz_) horz_->SetEnabled(control_->Enabled());
            if (vert_) vert_->SetEnabled(control_->Enabled());
        }
        break;
    case WM_ENABLE:
        if (horz_) horz_->SetEnabled(msg.WParam != 0);
        if (vert_) vert_->SetEnabled(msg.WParam != 0);
        break;
    case WM_PAINT:
        PaintWindow(reinterpret_cast<HDC>(msg.WParam));
        return;
    default:
        break;
    }
    // Keyboard, wheel and the control's own calls move bars without a
    // message to us: look whether anything changed.
    if (!QuietMessage(msg.Msg) && lifeState_ != kLifeWindowDestroyed) SyncOverlays();
}

void TSkinScrollbar::PaintWindow(HDC) {
    SyncOverlays();
    if (horz_ && vert_ && horz_->Shown() && vert_->Shown()) {
        // The square between the two bars.
        const RECT& h = horz_->BarRect();
        const RECT& v = vert_->BarRect();
        RECT box{v.left, h.top, v.right, h.bottom};
        POINT origin{0, 0};
        ClientToScreen(window_, &origin);
        RECT wr;
        GetWindowRect(window_, &wr);
        OffsetRect(&box, origin.x - wr.left, origin.y - wr.top);
        platform::WindowDC dc(window_, true);
        if (dc.get()) FillButtonFace(dc.get(), box);
    }
}

// ---- TSkinListView ------------------------------------------------------------------------

TSkinListView::~TSkinListView() = default;

void TSkinListView::AttachHeader(TSkinHolder& holder, TSkinControlList* list) {
    HWND header =
        window_ ? reinterpret_cast<HWND>(SendMessageW(window_, LVM_GETHEADER, 0, 0)) : nullptr;
    if (!header || (list && list->FindWindow(header))) return;
    header_ = new TSkinHeader(nullptr);
    header_->AttachWindow(header, holder, list);
}

void TSkinListView::AttachScrollBars(ui::TControl& control, TSkinControlList* list,
                                     TSkinHolder& holder) {
    TSkinScrollbar::AttachScrollBars(control, list, holder);
    AttachHeader(holder, list);
}

void TSkinListView::AttachScrollBarsWindow(HWND window, TSkinHolder& holder,
                                           TSkinControlList* list) {
    TSkinScrollbar::AttachScrollBarsWindow(window, holder, list);
    AttachHeader(holder, list);
}

// ---- TSkinListScrollbars --------------------------------------------------------------------

TSkinListScrollbars::~TSkinListScrollbars() = default;

void TSkinListScrollbars::AttachWindow(HWND window, TSkinHolder& holder, TSkinControlList* list) {
    if (attached_) return;
    TSkinControl::AttachWindow(window, holder, list);
    if (!attached_) return;
    horz_ = std::make_unique<TScrollOverlay>(window, nullptr, this, omHorizontal, holder);
    vert_ = std::make_unique<TScrollOverlay>(window, nullptr, this, omVertical, holder);
    horz_->Place();
    vert_->Place();
}

void TSkinListScrollbars::Detach() {
    TSkinControl::Detach();
    if (lifeState_ != kLifeWindowDestroyed) {
        horz_.reset();
        vert_.reset();
    }
}

void TSkinListScrollbars::Sync() {
    if (syncing_) return;
    syncing_ = true;
    if (horz_) horz_->Sync();
    if (vert_) vert_->Sync();
    syncing_ = false;
}

bool TSkinListScrollbars::BeforeMessage(ui::TMessage& msg) {
    if (msg.Msg == WM_DESTROY) {
        horz_.reset();
        vert_.reset();
    }
    return TSkinControl::BeforeMessage(msg);
}

void TSkinListScrollbars::AfterMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
    case WM_WINDOWPOSCHANGED:
        if (horz_) horz_->Place();
        if (vert_) vert_->Place();
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (TScrollOverlay* o = msg.Msg == WM_HSCROLL ? horz_.get() : vert_.get()) {
            o->SetHotPart(LOWORD(msg.WParam));
            o->Repaint();
        }
        break;
    case WM_SHOWWINDOW:
        if (msg.WParam == 0 && vert_) vert_->Hide();
        break;
    case WM_PAINT:
        PaintWindow(reinterpret_cast<HDC>(msg.WParam));
        return;
    default:
        break;
    }
    if (!QuietMessage(msg.Msg) && lifeState_ != kLifeWindowDestroyed) Sync();
}

void TSkinListScrollbars::PaintWindow(HDC) {
    Sync();
}

// ---- TSkinScrollBarControl --------------------------------------------------------------------

TSkinScrollBarControl::~TSkinScrollBarControl() = default;

void TSkinScrollBarControl::CreateOverlay() {
    if (!holder_ || !window_) return;
    overlay_ = std::make_unique<TScrollOverlay>(window_, control_, this, omControl, *holder_);
    overlay_->Place();
}

void TSkinScrollBarControl::AttachScrollBar(ui::TControl& control, TSkinControlList* list,
                                            TSkinHolder& holder) {
    if (attached_) return;
    if (auto* windowed = dynamic_cast<ui::TWinControl*>(&control)) windowed->HandleNeeded();
    Attach(control, list, holder, false);
    CreateOverlay();
    if (!control.Visible() && overlay_) overlay_->Hide();
}

void TSkinScrollBarControl::AttachWindow(HWND window, TSkinHolder& holder, TSkinControlList* list) {
    if (attached_) return;
    TSkinControl::AttachWindow(window, holder, list);
    if (attached_) CreateOverlay();
}

void TSkinScrollBarControl::Detach() {
    TSkinControl::Detach();
    if (lifeState_ != kLifeWindowDestroyed) overlay_.reset();
}

bool TSkinScrollBarControl::BeforeMessage(ui::TMessage& msg) {
    if (msg.Msg == WM_DESTROY) overlay_.reset();
    return TSkinControl::BeforeMessage(msg);
}

void TSkinScrollBarControl::AfterMessage(ui::TMessage& msg) {
    if (!overlay_) return;
    switch (msg.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
        overlay_->Place();
        break;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_ENABLE_ARROWS:
        overlay_->Repaint();
        break;
    case ui::CM_VISIBLECHANGED:
        if (msg.WParam == 0) overlay_->Hide();
        break;
    case WM_ENABLE:
        overlay_->SetEnabled(msg.WParam != 0);
        break;
    case WM_PAINT:
        PaintWindow(reinterpret_cast<HDC>(msg.WParam));
        return;
    default:
        break;
    }
    if (!QuietMessage(msg.Msg) && lifeState_ != kLifeWindowDestroyed && overlay_ && !syncing_) {
        syncing_ = true;
        overlay_->Sync();
        syncing_ = false;
    }
}

void TSkinScrollBarControl::PaintWindow(HDC) {
    if (overlay_) overlay_->Sync();
}

// ---- rebuild ------------------------------------------------------------------------------------

bool RebuildScrollBarSkin(HWND window, TSkinHolder& holder, TSkinControlList& list) {
    auto* old = dynamic_cast<TSkinScrollbar*>(list.FindWindow(window));
    if (!old) return false;
    ui::TControl* control = old->Control();
    const bool listView = dynamic_cast<TSkinListView*>(old) != nullptr;
    const int kind = old->Kind;
    if (old->LifeState() != kLifeWindowDestroyed) old->Detach();
    delete old; // gives the control's handler back and leaves the list
    auto* windowed = dynamic_cast<ui::TWinControl*>(control);
    if (!windowed) return true;
    TSkinScrollbar* fresh = listView ? new TSkinListView(control) : new TSkinScrollbar(control);
    fresh->Kind = kind;
    fresh->AttachScrollBars(*control, &list, holder);
    return true;
}

} // namespace skin
