#include "skin/frame/FramePainter.h"

#include "platform/WindowProc.h"
#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"
#include "skin/SkinManager.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/controls/SkinScrollbars.h"
#include "skin/frame/SkinMenus.h"
#include "ui/Form.h"

#include <windowsx.h>

#include <algorithm>

namespace skin {

namespace {

constexpr wchar_t kPainterProp[] = L"Sondrelk.FramePainter";
// The procedure to call when our procedure could not be unlinked because
// another one was installed over it.
constexpr wchar_t kPassThroughProp[] = L"Sondrelk.FramePrevious";
constexpr UINT_PTR kHoverTimer = 0x3500;
constexpr UINT kHoverInterval = 250;
// An undocumented message with which the system draws its own caption.
constexpr UINT WM_SYSTEM_DRAWCAPTION = 0x00AE;

ui::TColor ToFormColor(Colour c) {
    return IsSystemColour(c) ? ui::SystemColor(static_cast<int>(c & 0xFF))
                             : static_cast<ui::TColor>(c & 0xFFFFFF);
}

// The window commands a menu item may carry as its identifier.
bool IsSystemCommand(UINT id) {
    switch (id) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
        return true;
    default:
        return false;
    }
}

} // namespace

TFramePainter::SystemMenuPresenter& TFramePainter::SystemMenu() {
    static SystemMenuPresenter presenter = [](TFramePainter& painter, POINT screen) {
        painter.ShowSkinnedSystemMenu(screen);
    };
    return presenter;
}

TFramePainter::TFramePainter(ui::TForm* form, HWND window, HINSTANCE module, std::wstring className)
    : ui::TComponent(form), window_(window), form_(form), className_(std::move(className)),
      module_(module) {}

TFramePainter::~TFramePainter() {
    StopTimer();
    skinMenu_.reset();
    if (state_ != fsDestroyed && IsWindow(window_)) Unhook();
    controls_.ReleaseAll();
    ReleaseGdi();
    if (TSkinManager* manager = TSkinManager::Instance()) manager->Forget(this);
}

// ---- set-up ---------------------------------------------------------------------------

void TFramePainter::ReadStyles() {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
    buttonFlags_ = 0;
    if (style & WS_SYSMENU) buttonFlags_ |= kSystemMenu;
    if (style & WS_MINIMIZEBOX) buttonFlags_ |= kMinimizeBox;
    if (style & WS_MAXIMIZEBOX) buttonFlags_ |= kMaximizeBox;
    hadSysMenu_ = (style & WS_SYSMENU) != 0;
    childWindow_ = (style & WS_CHILD) != 0;

    kind_ = wkOrdinary;
    if (exStyle & WS_EX_MDICHILD)
        kind_ = wkMdiChild;
    else if (FindWindowExW(window_, nullptr, L"MDIClient", nullptr))
        kind_ = wkMdiFrame;

    systemDialog_ = className_ == L"#32770" || className_ == L"TMessageForm";
    if ((style & WS_CAPTION) != WS_CAPTION)
        border_ = bkNoCaption;
    else if ((style & DS_MODALFRAME) || (exStyle & WS_EX_DLGMODALFRAME) || systemDialog_)
        border_ = bkDialog;
    else if (style & WS_THICKFRAME)
        border_ = bkSizeable;
    else
        border_ = bkSingle;
}

void TFramePainter::ReadShowState() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window_, &placement)) return;
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        show_ = ssMinimized;
        break;
    case SW_SHOWMAXIMIZED:
        show_ = ssMaximized;
        break;
    default:
        show_ = ssNormal;
        break;
    }
}

void TFramePainter::Init(TSkinHolder& holder, ui::TForm* form) {
    if (previousProc_) return;
    if (TSkinManager* manager = TSkinManager::Instance()) manager->SetStarted();
    holder_ = &holder;
    form_ = form;
    frameSkinning_ = holder.SkinControls.Has(scMainMenu);
    ReadStyles();
    if (kind_ == wkMdiChild && holder.Options.Has(soMDIChildBorder)) frameSkinning_ = false;
    ReadShowState();
    active_ = GetActiveWindow() == window_;

    unicode_ = IsWindowUnicode(window_) != FALSE;
    SetPropW(window_, kPainterProp, this);
    if (auto left = reinterpret_cast<WNDPROC>(RemovePropW(window_, kPassThroughProp)))
        previousProc_ = left; // our procedure from an earlier skinning is still in the chain
    else
        previousProc_ = platform::ReplaceWindowProc(window_, unicode_, WindowProcedure);

    if (frameSkinning_) {
        if (GetMenu(window_) && kind_ != wkMdiChild) menuBarHeight_ = GetSystemMetrics(SM_CYMENU);
        Measure();
    } else {
        state_ = fsSkinned;
    }
    if (form_) {
        if (holder.OnBeforeSkinForm) holder.OnBeforeSkinForm(this, window_);
        savedColor_ = form_->Color();
        colorSaved_ = true;
        if (const TSkinData* data = holder.Data())
            form_->SetColor(ToFormColor(data->Colours.ButtonFace));
    }
}

void TFramePainter::Measure() {
    if (!holder_ || !holder_->SkinLoaded()) return;
    const TSkinData& data = *holder_->Data();
    if (border_ == bkNoCaption) {
        leftWidth_ = captionHeight_ = rightWidth_ = bottomHeight_ = menuBarHeight_ = 0;
    } else {
        captionHeight_ = data.Top ? data.Top->FrameHeight(true) : 0;
        leftWidth_ = data.Left ? data.Left->FrameWidth(false) : 0;
        rightWidth_ = data.Right ? data.Right->FrameWidth(false) : 0;
        bottomHeight_ = data.Bottom ? data.Bottom->FrameHeight(true) : 0;
    }
    Reload();
}

void TFramePainter::Reload() {
    current_ = nullptr;
    buttons_.clear();
    if (!holder_ || !holder_->Data()) return;
    TSkinData& data = *holder_->Data();
    for (auto& def : data.CaptionButtons) {
        auto button = std::make_unique<TCaptionButton>(*this, *def);
        if (button->IsIconButton()) {
            // The icon button takes the size of the small icon.
            if (iconBitmap_.Empty()) TakeIcon();
            if (def->Bitmap.Empty()) def->Bitmap = iconBitmap_;
            if (holder_->AppIconBitmap().Empty()) holder_->AppIconBitmap() = iconBitmap_;
            def->Frame = 1;
        }
        buttons_.push_back(std::move(button));
    }
}

void TFramePainter::TakeIcon() {
    icon_ = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0));
    if (!icon_) icon_ = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_BIG, 0));
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    gdi::DibCanvas canvas(cx, cy, kMagenta);
    if (!canvas.valid()) return;
    if (icon_) DrawIconEx(canvas.dc(), 0, 0, icon_, cx, cy, 0, nullptr, DI_NORMAL);
    iconBitmap_ = canvas.ToPixmap();
}

void TFramePainter::SkinStart() {
    // Once per attach: a second start would take the skinned frame for the
    // system's and give the window back at the wrong size.
    if (started_) return;
    started_ = true;
    systemMenu_ = GetSystemMenu(window_, FALSE);
    TakeIcon();
    RECT w{}, c{};
    GetWindowRect(window_, &w);
    GetClientRect(window_, &c);
    unskinnedFrame_ = {(w.right - w.left) - c.right, (w.bottom - w.top) - c.bottom};

    if (form_)
        SkinFormControls(*form_, *holder_, controls_, this);
    else
        SkinChildWindows(window_, *holder_, controls_);

    if (state_ == fsNew && frameSkinning_) {
        if (kind_ != wkMdiChild && !childWindow_ && border_ != bkNoCaption &&
            show_ != ssMinimized) {
            state_ = fsResizing;
            ResizeKeepingClient();
            state_ = fsSkinned;
            if (show_ != ssMaximized) BuildRegion();
        } else if (kind_ == wkMdiChild && show_ == ssNormal) {
            state_ = fsResizing;
            ResizeKeepingClient();
            state_ = fsSkinned;
            BuildRegion();
        }
    }
    if (form_ && holder_->OnAfterSkinForm) holder_->OnAfterSkinForm(this, window_);
    state_ = fsSkinned;
    if (active_) StartTimer();
    PaintFrame();
}

void TFramePainter::FitDialogCaption(int& width) {
    const TSkinData* data = holder_->Data();
    if (!data || !data->Title) return;
    const int length = GetWindowTextLengthW(window_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window_, text.data(), length + 1)));
    platform::WindowDC dc(window_);
    platform::SelectGuard font(dc.get(), holder_->CaptionFont());
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    const int needed = data->Title->Margins.LeftWidth + extent.cx + data->Title->Margins.RightWidth;
    if (needed <= width) return;
    const int shift = (needed - width) / 2;
    width = needed;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TFramePainter::ResizeKeepingClient() {
    if (show_ == ssMaximized) {
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    RECT c{};
    GetClientRect(window_, &c);
    int width = c.right + leftWidth_ + rightWidth_;
    const int height = c.bottom + captionHeight_ + bottomHeight_ + menuBarHeight_;
    if (systemDialog_) FitDialogCaption(width);
    SetWindowPos(window_, nullptr, 0, 0, width, height,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFramePainter::AdoptSizeGrip(HWND grip) {
    if (holder_) SkinChildWindow(grip, *holder_, controls_);
}

// ---- tear-down -------------------------------------------------------------------------

void TFramePainter::Unhook() {
    if (!previousProc_) return;
    if (platform::WindowProcOf(window_, unicode_) == WindowProcedure) {
        platform::ReplaceWindowProc(window_, unicode_, previousProc_);
    } else {
        // Someone subclassed the window after us: our procedure stays in
        // their chain and from now on only passes every message on.
        SetPropW(window_, kPassThroughProp, reinterpret_cast<HANDLE>(previousProc_));
    }
    RemovePropW(window_, kPainterProp);
    previousProc_ = nullptr;
}

void TFramePainter::ReleaseGdi() {
    captionCanvas_.reset();
    captionFont_.reset();
}

void TFramePainter::Unskin() {
    if (state_ == fsDestroyed || !IsWindow(window_)) return;
    StopTimer();
    skinMenu_.reset();
    current_ = nullptr;
    Unhook();
    controls_.ReleaseAll();
    if (form_ && colorSaved_) form_->SetColor(static_cast<ui::TColor>(savedColor_));
    RestoreSysMenuStyle();
    if (frameSkinning_ && state_ != fsDestroying && (!childWindow_ || kind_ == wkMdiChild) &&
        state_ != fsNew) {
        RECT c{};
        GetClientRect(window_, &c);
        SetWindowPos(window_, nullptr, 0, 0, c.right + unskinnedFrame_.cx,
                     c.bottom + unskinnedFrame_.cy,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (regionSize_.cx || regionSize_.cy) SetWindowRgn(window_, nullptr, TRUE);
    regionSize_ = {};
    ReleaseGdi();
    RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    state_ = fsDestroyed;
}

void TFramePainter::Detach() {
    StopTimer();
    current_ = nullptr;
    Unhook();
    controls_.ReleaseAll();
    ReleaseGdi();
}

void TFramePainter::Refresh() {
    if (state_ == fsDestroyed || !holder_ || !holder_->Data()) return;
    const TSkinData& data = *holder_->Data();
    if (form_) form_->SetColor(ToFormColor(data.Colours.ButtonFace));
    controls_.ReapplyAll();
    state_ = fsRefreshing;
    Measure();
    ResizeKeepingClient();
    if (form_) {
        // Nudge the height so the form lays itself out again.
        RECT r{};
        GetWindowRect(window_, &r);
        SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + 1,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    BuildRegion();
    if (form_ && holder_->OnAfterSkinForm) holder_->OnAfterSkinForm(this, window_);
    state_ = fsSkinned;
    PaintFrame();
}

// ---- the replacement window procedure ------------------------------------------------

LRESULT CALLBACK TFramePainter::WindowProcedure(HWND window, UINT msg, WPARAM wParam,
                                                LPARAM lParam) {
    if (auto* painter = static_cast<TFramePainter*>(GetPropW(window, kPainterProp)))
        return painter->HandleMessage(msg, wParam, lParam);
    return platform::PassThrough(window, kPassThroughProp, msg, wParam, lParam);
}

LRESULT TFramePainter::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
    return platform::CallWindowProcAs(previousProc_, window_, unicode_, msg, wParam, lParam);
}

bool TFramePainter::NcMessagesApply() const {
    if (childWindow_ && kind_ != wkMdiChild) return false;
    if (state_ == fsNew || !frameSkinning_) return false;
    return !(kind_ == wkMdiChild && show_ == ssMaximized);
}

LRESULT TFramePainter::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Messages every skinned window handles, child windows included.
    switch (msg) {
    case WM_SKIN_QUERY:
        return 1;
    case WM_SKIN_START:
        SkinStart();
        return 0;
    case WM_SKIN_REBUILDSCROLL:
        if (holder_) RebuildScrollBarSkin(reinterpret_cast<HWND>(wParam), *holder_, controls_);
        return 0;
    case WM_NCDESTROY:
        OnNcDestroy();
        return CallPrevious(msg, wParam, lParam);
    case WM_ERASEBKGND:
        if (form_) break;
        {
            const LRESULT result = CallPrevious(msg, wParam, lParam);
            RECT client{};
            GetClientRect(window_, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, holder_->FaceBrush());
            (void)result;
            return 1;
        }
    case WM_MEASUREITEM:
        if (skinMenu_ && skinMenu_->Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_DRAWITEM:
        if (skinMenu_ && skinMenu_->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_CTLCOLORSTATIC:
        if (form_) break;
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(holder_->FaceBrush());
    case WM_CTLCOLORBTN:
        if (form_) break;
        {
            const LRESULT result = CallPrevious(msg, wParam, lParam);
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return result;
        }
    default:
        break;
    }
    if (childWindow_ && kind_ != wkMdiChild) return CallPrevious(msg, wParam, lParam);

    switch (msg) {
    case WM_SKIN_REPAINTFRAME:
        PaintFrame(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_NCCALCSIZE:
        return OnNcCalcSize(wParam, lParam);
    case WM_NCPAINT:
        if (state_ == fsNew) return 0;
        if (!NcMessagesApply()) break;
        PaintFrame();
        return 0;
    case WM_NCACTIVATE:
        return OnNcActivate(wParam, lParam);
    case WM_ACTIVATE:
        active_ = LOWORD(wParam) != WA_INACTIVE;
        break;
    case WM_NCHITTEST:
        return OnNcHitTest(wParam, lParam);
    case WM_NCMOUSEMOVE:
        return OnNcMouseMove(wParam, lParam);
    case WM_NCLBUTTONDOWN:
        return OnNcLButtonDown(wParam, lParam);
    case WM_NCLBUTTONUP:
        return OnNcLButtonUp(wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
        return OnNcLButtonDblClk(wParam, lParam);
    case WM_NCRBUTTONDOWN:
        return OnNcRButtonDown(wParam, lParam);
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam, lParam);
    case WM_SIZE:
        return OnSize(wParam, lParam);
    case WM_WINDOWPOSCHANGED:
    case WM_GETMINMAXINFO:
        ReadShowState();
        break;
    case WM_SETTEXT:
        return OnSetText(wParam, lParam);
    case WM_SETICON:
        return OnSetIcon(wParam, lParam);
    case WM_INITMENUPOPUP:
        if (TSkinManager* manager = TSkinManager::Instance()) {
            const auto menu = reinterpret_cast<HMENU>(wParam);
            const bool system =
                HIWORD(lParam) || menu == systemMenu_ || (skinMenu_ && menu == skinMenu_->Handle());
            manager->SetMenuKind(system ? 2 : 1);
        }
        break;
    case WM_COMMAND:
        // System commands chosen from a menu that reached us as commands.
        if (lParam == 0 && HIWORD(wParam) == 0 && IsSystemCommand(LOWORD(wParam))) {
            PostMessageW(window_, WM_SYSCOMMAND, LOWORD(wParam), 0);
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam != kHoverTimer) break;
        return OnTimer(wParam, lParam);
    case WM_SYSTEM_DRAWCAPTION:
        return 0;
    default:
        break;
    }
    return CallPrevious(msg, wParam, lParam);
}

void TFramePainter::OnNcDestroy() {
    state_ = fsDestroying;
    Detach();
    state_ = fsDestroyed;
}

// ---- non-client area --------------------------------------------------------------------

LRESULT TFramePainter::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    if (!NcMessagesApply() || border_ == bkNoCaption)
        return CallPrevious(WM_NCCALCSIZE, wParam, lParam);
    RECT proposed{};
    if (wParam) proposed = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
    CallPrevious(WM_NCCALCSIZE, wParam, lParam);
    if (!wParam) return 0;
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    RECT client{proposed.left + leftWidth_, proposed.top + captionHeight_ + menuBarHeight_,
                proposed.right - rightWidth_, proposed.bottom - bottomHeight_};
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    params->rgrc[0] = client;
    // Let the system keep the client pixels where they were (the default),
    // so a moved window is never shown with stale bits.
    return 0;
}

LRESULT TFramePainter::OnNcActivate(WPARAM wParam, LPARAM lParam) {
    active_ = wParam != FALSE;
    if (state_ == fsNew && kind_ != wkMdiChild) return wParam ? 0 : 1;
    if (!NcMessagesApply()) return CallPrevious(WM_NCACTIVATE, wParam, lParam);
    if (active_)
        StartTimer();
    else
        StopTimer();
    if (kind_ == wkMdiFrame) {
        if (HWND client = FindWindowExW(window_, nullptr, L"MDIClient", nullptr))
            SendMessageW(client, WM_NCACTIVATE, wParam, lParam);
    } else if (kind_ == wkMdiChild) {
        CallPrevious(WM_NCACTIVATE, wParam, lParam);
    }
    PaintFrame();
    return 1;
}

POINT TFramePainter::ScreenToWindow(POINT screen) const {
    POINT p = screen;
    ScreenToClient(window_, &p);
    if (!(kind_ == wkMdiChild && show_ == ssMinimized)) {
        p.x += leftWidth_;
        p.y += captionHeight_ + menuBarHeight_;
    }
    return p;
}

TFrameObject* TFramePainter::HitObject(POINT windowPoint) const {
    for (const auto& button : buttons_)
        if (button->Visible && button->Action() >= 0 && PtInRect(&button->Bounds, windowPoint))
            return button.get();
    return nullptr; // menu bar buttons come with the skinned menu bar
}

LRESULT TFramePainter::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
    LRESULT hit = CallPrevious(WM_NCHITTEST, wParam, lParam);
    if (!NcMessagesApply()) return hit;
    if (hit != HTNOWHERE && hit != HTCAPTION) return hit;
    RECT w{};
    GetWindowRect(window_, &w);
    const int y = GET_Y_LPARAM(lParam) - w.top;
    if (y > 3) hit = HTCAPTION;
    if (y >= captionHeight_ && menuBarHeight_ > 0) hit = HTMENU;
    return hit;
}

LRESULT TFramePainter::OnNcMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!NcMessagesApply() || !active_) return CallPrevious(WM_NCMOUSEMOVE, wParam, lParam);
    const POINT p = ScreenToWindow({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (TFrameObject* hit = HitObject(p)) {
        hit->Hover();
        return 0;
    }
    if (current_) current_->Leave();
    return CallPrevious(WM_NCMOUSEMOVE, wParam, lParam);
}

LRESULT TFramePainter::OnNcLButtonDown(WPARAM wParam, LPARAM lParam) {
    if (!NcMessagesApply()) return CallPrevious(WM_NCLBUTTONDOWN, wParam, lParam);
    const POINT p = ScreenToWindow({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (TFrameObject* hit = HitObject(p)) {
        if (!active_) SetForegroundWindow(window_);
        hit->Press();
        return 0;
    }
    // A maximised window is not dragged by its caption.
    if (show_ == ssMaximized && active_ && wParam == HTCAPTION) wParam = HTMENU;
    return CallPrevious(WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT TFramePainter::OnNcLButtonUp(WPARAM wParam, LPARAM lParam) {
    if (!NcMessagesApply()) return CallPrevious(WM_NCLBUTTONUP, wParam, lParam);
    const POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    TFrameObject* hit = HitObject(ScreenToWindow(screen));
    if (!hit) return CallPrevious(WM_NCLBUTTONUP, wParam, lParam);
    if (auto* button = dynamic_cast<TCaptionButton*>(hit); button && current_ == hit) {
        button->Release();
        RunAction(*button, screen);
    }
    return 0;
}

LRESULT TFramePainter::OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam) {
    if (!NcMessagesApply()) return CallPrevious(WM_NCLBUTTONDBLCLK, wParam, lParam);
    const POINT p = ScreenToWindow({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (TFrameObject* hit = HitObject(p)) {
        if (auto* button = dynamic_cast<TCaptionButton*>(hit); button && button->IsIconButton()) {
            StopTimer();
            PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    }
    if (show_ != ssNormal) {
        PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
        return 0;
    }
    if (buttonFlags_ & kMaximizeBox) {
        PostMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        return 0;
    }
    return CallPrevious(WM_NCLBUTTONDBLCLK, wParam, lParam);
}

LRESULT TFramePainter::OnNcRButtonDown(WPARAM wParam, LPARAM lParam) {
    if (!NcMessagesApply() || wParam != HTCAPTION || kind_ == wkMdiChild)
        return CallPrevious(WM_NCRBUTTONDOWN, wParam, lParam);
    POINT cursor{};
    GetCursorPos(&cursor);
    OpenSystemMenu(cursor);
    return 0;
}

LRESULT TFramePainter::OnSysCommand(WPARAM wParam, LPARAM lParam) {
    if (!NcMessagesApply()) return CallPrevious(WM_SYSCOMMAND, wParam, lParam);
    switch (wParam & 0xFFF0) {
    case SC_MINIMIZE:
        show_ = ssMinimized;
        break;
    case SC_MAXIMIZE:
        show_ = ssMaximized;
        break;
    case SC_RESTORE:
        show_ = ssNormal;
        break;
    case SC_KEYMENU:
        if (lParam == L' ') {
            POINT origin{0, 0};
            ClientToScreen(window_, &origin);
            OpenSystemMenu(origin);
            return 0;
        }
        break;
    default:
        break;
    }
    return CallPrevious(WM_SYSCOMMAND, wParam, lParam);
}

LRESULT TFramePainter::OnSize(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallPrevious(WM_SIZE, wParam, lParam);
    switch (wParam) {
    case SIZE_MINIMIZED:
        show_ = ssMinimized;
        break;
    case SIZE_MAXIMIZED:
        show_ = ssMaximized;
        break;
    case SIZE_RESTORED:
        show_ = ssNormal;
        break;
    default:
        break;
    }
    if (show_ != ssMinimized && (state_ == fsSkinned || state_ == fsRefreshing)) BuildRegion();
    return result;
}

LRESULT TFramePainter::OnSetText(WPARAM wParam, LPARAM lParam) {
    if (!NcMessagesApply() || !IsWindowVisible(window_))
        return CallPrevious(WM_SETTEXT, wParam, lParam);
    // The system would draw its own caption with the new text: keep it from
    // drawing while the text changes, then paint ours.
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    const LRESULT result = CallPrevious(WM_SETTEXT, wParam, lParam);
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    if (show_ == ssMinimized)
        PaintFrame();
    else
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return result;
}

LRESULT TFramePainter::OnSetIcon(WPARAM wParam, LPARAM lParam) {
    if (!NcMessagesApply() || !IsWindowVisible(window_))
        return CallPrevious(WM_SETICON, wParam, lParam);
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    const LRESULT result = CallPrevious(WM_SETICON, wParam, lParam);
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    TakeIcon();
    PaintFrame();
    return result;
}

LRESULT TFramePainter::OnTimer(WPARAM, LPARAM) {
    if (!current_) return 0;
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT p = ScreenToWindow(cursor);
    if (!PtInRect(&current_->Bounds, p)) current_->Leave();
    return 0;
}

void TFramePainter::StartTimer() {
    if (!timer_) timer_ = SetTimer(window_, kHoverTimer, kHoverInterval, nullptr);
}

void TFramePainter::StopTimer() {
    if (timer_ && IsWindow(window_)) KillTimer(window_, kHoverTimer);
    timer_ = 0;
}

// ---- caption button actions ----------------------------------------------------------

void TFramePainter::MaximizeRestore() {
    if (show_ == ssMaximized) {
        show_ = ssNormal;
        PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
        return;
    }
    show_ = ssMaximized;
    current_ = nullptr;
    PostMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void TFramePainter::MinimizeRestore() {
    if (show_ == ssMinimized) {
        show_ = ssNormal;
        PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
        return;
    }
    show_ = ssMinimized;
    RestoreSysMenuStyle();
    PostMessageW(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TFramePainter::CloseWindow() {
    if (!systemMenu_) systemMenu_ = GetSystemMenu(window_, FALSE);
    if (!systemMenu_ || GetMenuState(systemMenu_, SC_CLOSE, MF_BYCOMMAND) == static_cast<UINT>(-1))
        return;
    StopTimer();
    PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TFramePainter::OpenSystemMenu(POINT screen) {
    const DWORD now = GetTickCount();
    if (systemMenuOpened_ && now - lastSystemMenu_ <= GetDoubleClickTime()) {
        // The second click of a double-click on the icon.
        if (current_) {
            StopTimer();
            PostMessageW(window_, WM_CLOSE, 0, 0);
        }
        return;
    }
    if (TSkinManager* manager = TSkinManager::Instance()) manager->SetMenuKind(2);
    systemMenuOpened_ = true;
    lastSystemMenu_ = now;
    if (SystemMenu()) SystemMenu()(*this, screen);
}

void TFramePainter::ShowSkinnedSystemMenu(POINT screen) {
    skinMenu_ = std::make_unique<TSkinSystemMenu>(*this);
    skinMenu_->Show(screen);
}

void TFramePainter::RunAction(TCaptionButton& button, POINT screen) {
    HWND mdiChild = nullptr;
    if (kind_ == wkMdiFrame)
        if (HWND client = FindWindowExW(window_, nullptr, L"MDIClient", nullptr))
            mdiChild = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0));
    switch (button.Action()) {
    case caClose:
        CloseWindow();
        break;
    case caMaximize:
    case caMaximizeAlt:
        MaximizeRestore();
        break;
    case caMinimize:
    case caMinimizeAlt:
        MinimizeRestore();
        break;
    case caSystemMenu:
    case caSystemMenuIcon:
    case caSystemMenuAlt:
        OpenSystemMenu({screen.x + 1, screen.y + 1});
        break;
    case caMdiMinimize:
    case caMdiMinimizeAlt:
        if (mdiChild) SendMessageW(mdiChild, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case caMdiRestore:
    case caMdiRestoreAlt:
        if (mdiChild) SendMessageW(mdiChild, WM_SYSCOMMAND, SC_RESTORE, 0);
        break;
    case caMdiClose:
    case caMdiCloseAlt:
        if (mdiChild) SendMessageW(mdiChild, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    default:
        PostMessageW(window_, WM_SKIN_CAPTIONACTION, static_cast<WPARAM>(button.Action()), 0);
        break;
    }
}

} // namespace skin
