#include "ui/WinControl.h"

#include "platform/GdiHandles.h"
#include "ui/Messages.h"

#include <windowsx.h>

#include <map>
#include <stdexcept>

namespace ui {

namespace {

constexpr wchar_t kControlProp[] = L"Sondrelk.Control";

// The control whose CreateWindowEx call is in progress on this thread; the
// first message of the new window attaches it.
thread_local TWinControl* t_creating = nullptr;

// Original window procedures of the system classes we superclass, by our
// class name.
std::map<std::wstring, WNDPROC>& BaseProcs() {
    static std::map<std::wstring, WNDPROC> procs;
    return procs;
}

WNDPROC BaseProcOf(HWND hwnd) {
    wchar_t name[256];
    if (GetClassNameW(hwnd, name, 256) > 0) {
        auto it = BaseProcs().find(name);
        if (it != BaseProcs().end()) return it->second;
    }
    return DefWindowProcW;
}

bool IsButtonDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
           msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}

bool IsButtonUp(UINT msg) {
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

bool IsMouseMessage(UINT msg) {
    return msg == WM_MOUSEMOVE || IsButtonDown(msg) || IsButtonUp(msg);
}

} // namespace

LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = TWinControl::FromHandle(hwnd);
    if (!control && t_creating) {
        control = std::exchange(t_creating, nullptr);
        control->Attach(hwnd);
    }
    if (!control) return CallWindowProcW(BaseProcOf(hwnd), hwnd, msg, wParam, lParam);

    TMessage m{msg, wParam, lParam, 0};
    try {
        control->WindowProc(m);
    } catch (...) {
        ReportException(std::current_exception());
    }
    if (msg == WM_NCDESTROY) control->Detach();
    return m.Result;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Children go first, while this object is still whole.
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children)
        c->SetParent(nullptr);
    if (handle_) {
        HWND h = handle_;
        Detach();
        DestroyWindow(h);
    }
}

std::vector<std::wstring> TWinControl::ClassChain() const {
    auto chain = TControl::ClassChain();
    chain.insert(chain.begin(), L"TWinControl");
    return chain;
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<TWinControl*>(GetPropW(hwnd, kControlProp)) : nullptr;
}

TWinControl* FindControl(HWND hwnd) {
    // The focus may sit in a system child of ours (a combo box's edit).
    for (; hwnd; hwnd = GetParent(hwnd))
        if (TWinControl* control = TWinControl::FromHandle(hwnd)) return control;
    return nullptr;
}

HWND TWinControl::Handle() {
    if (!handle_) CreateWnd();
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.WinClassName = ClassName();
    params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (TabStop) params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    if (Parent()) params.WndParent = Parent()->Handle();
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    HINSTANCE instance = GetModuleHandleW(nullptr);

    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (!GetClassInfoExW(instance, p.WinClassName.c_str(), &existing)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (p.BaseClass) {
            if (!GetClassInfoExW(nullptr, p.BaseClass, &wc))
                throw std::runtime_error("Cannot find the system window class to superclass");
            BaseProcs()[p.WinClassName] = wc.lpfnWndProc;
            wc.cbSize = sizeof(wc);
        } else {
            wc.style = p.ClassStyle;
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        }
        wc.hInstance = instance;
        wc.lpszClassName = p.WinClassName.c_str();
        wc.lpfnWndProc = StdWndProc;
        if (!RegisterClassExW(&wc)) throw std::runtime_error("Cannot register the window class");
    }
    ownClass_ = p.BaseClass == nullptr;
    defProc_ = ownClass_ ? DefWindowProcW : BaseProcs()[p.WinClassName];

    t_creating = this;
    HWND h = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), Caption().c_str(), p.Style, p.X,
                             p.Y, p.Width, p.Height, p.WndParent, nullptr, instance, nullptr);
    t_creating = nullptr;
    if (!h) throw std::runtime_error("Error creating window");
    if (!handle_) Attach(h);

    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    WindowCreated();
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && !w->handle_) w->CreateWnd();
}

void TWinControl::Attach(HWND hwnd) {
    handle_ = hwnd;
    SetPropW(hwnd, kControlProp, this);
}

void TWinControl::Detach() {
    if (!handle_) return;
    RemovePropW(handle_, kControlProp);
    handle_ = nullptr;
    captured_ = nullptr;
    hovered_ = nullptr;
    trackingLeave_ = false;
}

void TWinControl::DestroyHandle() {
    if (handle_) DestroyWindow(handle_);
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyHandle();
    CreateWnd();
}

bool TWinControl::CanFocus() const {
    if (!handle_) return false;
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return IsWindowEnabled(handle_) != FALSE;
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

void TWinControl::SetFocus() {
    ::SetFocus(Handle());
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    if (handle_)
        if (auto* w = dynamic_cast<TWinControl*>(control); w && !w->handle_) w->CreateWnd();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
    if (control == captured_) {
        captured_ = nullptr;
        if (handle_ && GetCapture() == handle_) ReleaseCapture();
    }
    if (control == hovered_) hovered_ = nullptr;
    control->Invalidate();
    std::erase(controls_, control);
    if (auto* w = dynamic_cast<TWinControl*>(control)) w->DestroyHandle();
}

TControl* TWinControl::GraphicControlAt(POINT p) const {
    // Later controls lie above earlier ones.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible() || !c->Enabled()) continue;
        RECT r = c->BoundsRect();
        if (PtInRect(&r, p)) return c;
    }
    return nullptr;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (handle_)
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, Width(), Height()};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::VisibleChanged() {
    if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::EnabledChanged() {
    if (handle_) EnableWindow(handle_, Enabled());
}

void TWinControl::TextChanged() {
    if (handle_) SetWindowTextW(handle_, Caption().c_str());
}

void TWinControl::FontChanged() {
    if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
}

void TWinControl::PaintWindow(HDC dc) {
    RECT r = ClientRect();
    platform::Brush brush(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, brush.get());
}

void TWinControl::PaintControls(HDC dc, const RECT& clip) {
    for (TControl* c : controls_) {
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        RECT bounds = c->BoundsRect(), hit;
        if (!IntersectRect(&hit, &bounds, &clip)) continue;
        const int saved = SaveDC(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + bounds.left, origin.y + bounds.top, nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintHandler() {
    platform::PaintDC paint(handle_);
    RECT client;
    GetClientRect(handle_, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    // Compose off-screen, copy once: no flicker, no half-painted frames.
    platform::MemoryDC mem(paint.get());
    platform::Bitmap bitmap(CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
    platform::SelectGuard select(mem.get(), bitmap.get());
    PaintWindow(mem.get());
    PaintControls(mem.get(), client);
    const RECT& r = paint.rect();
    BitBlt(paint.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, mem.get(), r.left, r.top,
           SRCCOPY);
}

void TWinControl::SetHovered(TControl* control) {
    if (control == hovered_) return;
    TControl* old = std::exchange(hovered_, control);
    if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    if (control) control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
}

bool TWinControl::RouteMouse(TMessage& msg) {
    POINT p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
    if (msg.Msg == WM_MOUSEMOVE) {
        SetHovered(GraphicControlAt(p));
        if (!trackingLeave_) {
            TRACKMOUSEEVENT tme{};
            tme.cbSize = sizeof(tme);
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = handle_;
            trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
        }
    }
    TControl* target = captured_ ? captured_ : GraphicControlAt(p);
    if (!target) return false;
    if (IsButtonDown(msg.Msg)) {
        captured_ = target;
        SetCapture(handle_);
    } else if (IsButtonUp(msg.Msg) && captured_) {
        captured_ = nullptr;
        ReleaseCapture();
    }
    msg.Result =
        target->Perform(msg.Msg, msg.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
    return true;
}

bool TWinControl::HandleSetCursor(TMessage& msg) {
    if (LOWORD(msg.LParam) != HTCLIENT) return false;
    TCursor cursor = TCursor::crDefault;
    if (reinterpret_cast<HWND>(msg.WParam) == handle_) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(handle_, &p);
        if (TControl* g = GraphicControlAt(p)) cursor = g->Cursor;
    }
    if (cursor == TCursor::crDefault) cursor = Cursor;
    if (cursor == TCursor::crDefault) return false;
    SetCursor(CursorHandle(cursor));
    msg.Result = TRUE;
    return true;
}

void TWinControl::WndProc(TMessage& msg) {
    switch (msg.Msg) {
    case WM_ERASEBKGND:
        if (!ownClass_) break;
        msg.Result = 1; // WM_PAINT covers every pixel
        return;
    case WM_PAINT:
        if (!ownClass_) break;
        PaintHandler();
        return;
    case WM_PRINTCLIENT:
        if (!ownClass_) break;
        {
            RECT client = ClientRect();
            PaintWindow(reinterpret_cast<HDC>(msg.WParam));
            PaintControls(reinterpret_cast<HDC>(msg.WParam), client);
        }
        return;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        SetHovered(nullptr);
        break;
    case WM_CAPTURECHANGED:
        if (captured_ && reinterpret_cast<HWND>(msg.LParam) != handle_) {
            TControl* c = std::exchange(captured_, nullptr);
            c->Perform(WM_CANCELMODE);
        }
        break;
    case WM_SETCURSOR:
        if (HandleSetCursor(msg)) return;
        break;
    case WM_COMMAND:
        if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(msg.LParam));
            child && child != this) {
            msg.Result = child->Perform(CN_COMMAND, msg.WParam, msg.LParam);
            return;
        }
        break;
    case WM_NOTIFY:
        if (auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam))
            if (TWinControl* child = FromHandle(hdr->hwndFrom); child && child != this) {
                msg.Result = child->Perform(CN_NOTIFY, msg.WParam, msg.LParam);
                return;
            }
        break;
    case WM_SETFOCUS:
        DefaultHandler(msg);
        if (TWinControl* root = FromHandle(GetAncestor(handle_, GA_ROOT)); root && root != this)
            root->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
        return;
    default:
        if (IsMouseMessage(msg.Msg) && RouteMouse(msg)) return;
        break;
    }
    DefaultHandler(msg);
}

void TWinControl::DefaultHandler(TMessage& msg) {
    if (msg.Msg >= CM_BASE && msg.Msg < CN_BASE + 0x100) return; // framework messages end here
    if (!handle_) return;
    msg.Result = CallWindowProcW(defProc_, handle_, msg.Msg, msg.WParam, msg.LParam);
}

} // namespace ui
