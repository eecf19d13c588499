#include "ui/Form.h"

#include "platform/TaskWindows.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Messages.h"

#include <algorithm>
#include <stdexcept>

namespace ui {

TShiftState KeyboardShiftState() {
    TShiftState state = 0;
    if (GetKeyState(VK_SHIFT) < 0) state |= ssShift;
    if (GetKeyState(VK_MENU) < 0) state |= ssAlt;
    if (GetKeyState(VK_CONTROL) < 0) state |= ssCtrl;
    return state;
}

TForm* GetParentForm(const TControl& control) {
    const TControl* c = &control;
    while (c->Parent())
        c = c->Parent();
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

namespace {

// The first button under `parent`, in creation order, that `wanted` accepts.
TButton* FindButton(const TWinControl& parent, const std::function<bool(const TButton&)>& wanted) {
    for (TControl* c : parent.Controls()) {
        if (auto* b = dynamic_cast<TButton*>(c); b && wanted(*b)) return b;
        if (auto* w = dynamic_cast<TWinControl*>(c))
            if (TButton* b = FindButton(*w, wanted)) return b;
    }
    return nullptr;
}

const wchar_t* const kBorderStyleNames[] = {L"bsNone", L"bsSingle", L"bsSizeable", L"bsDialog"};

// Read-only: the border style takes effect when the window is created.
const TPropInfo kFormProps[] = {
    {L"BorderStyle",
     [](const TControl& c) -> TPropValue {
         return EnumValue(static_cast<const TForm&>(c).BorderStyle, kBorderStyleNames);
     },
     nullptr},
};

} // namespace

const TPropInfo* TForm::FindProp(const std::wstring& name) const {
    if (const TPropInfo* p = FindIn(kFormProps, name)) return p;
    return TWinControl::FindProp(name);
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    TabStop = false;
}

TForm::~TForm() {
    if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
}

std::vector<std::wstring> TForm::ClassChain() const {
    auto chain = TWinControl::ClassChain();
    chain.insert(chain.begin(), {L"TForm", L"TCustomForm", L"TScrollingWinControl"});
    return chain;
}

void TForm::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    if (HandleAllocated()) {
        TCreateParams p;
        CreateParams(p);
        SetBounds(Left(), Top(), p.Width, p.Height);
    }
}

void TForm::ScaleToScreen(int designPpi) {
    const int ppi = ScreenPixelsPerInch();
    if (ppi == designPpi) return;
    auto scale = [&](int v) { return MulDiv(v, ppi, designPpi); };
    std::function<void(TWinControl&)> walk = [&](TWinControl& parent) {
        for (TControl* c : parent.Controls()) {
            c->SetBounds(scale(c->Left()), scale(c->Top()), scale(c->Width()), scale(c->Height()));
            if (auto* w = dynamic_cast<TWinControl*>(c)) walk(*w);
        }
    };
    walk(*this);
    SetClientSize(scale(clientWidth_), scale(clientHeight_));
}

void TForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    params.ExStyle = 0;
    switch (BorderStyle) {
    case TFormBorderStyle::bsNone:
        params.Style |= WS_POPUP;
        break;
    case TFormBorderStyle::bsSingle:
        params.Style |= WS_CAPTION;
        break;
    case TFormBorderStyle::bsSizeable:
        params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case TFormBorderStyle::bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION;
        params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (BorderStyle != TFormBorderStyle::bsNone) {
        if (BorderIcons & biSystemMenu) params.Style |= WS_SYSMENU;
        // Minimise and maximise boxes only where the frame can show them.
        if (BorderStyle != TFormBorderStyle::bsDialog) {
            if (BorderIcons & biMinimize) params.Style |= WS_MINIMIZEBOX;
            if (BorderIcons & biMaximize) params.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (!Enabled()) params.Style |= WS_DISABLED;
    RECT r{0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
    params.X = Left();
    params.Y = Top();
    params.Width = r.right - r.left;
    params.Height = r.bottom - r.top;
    params.WndParent = Application ? Application->Handle() : nullptr;
    if (Application && Application->MainForm() == this) params.ExStyle |= WS_EX_APPWINDOW;
}

void TForm::WindowCreated() {
    if (Application && Application->Icon()) {
        HWND h = HandleIfAllocated();
        SendMessageW(h, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Application->Icon()));
        SendMessageW(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Application->SmallIcon()));
    }
    RECT r;
    GetWindowRect(HandleIfAllocated(), &r);
    RecordBounds(r);
}

void TForm::PlaceOnScreen() {
    placed_ = true;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (Position == TPosition::poMainFormCenter && Application && Application->MainForm() &&
        Application->MainForm() != this && Application->MainForm()->HandleAllocated())
        GetWindowRect(Application->MainForm()->HandleIfAllocated(), &area);
    else if (Position == TPosition::poDesigned)
        return;
    const int x = area.left + (area.right - area.left - Width()) / 2;
    const int y = area.top + (area.bottom - area.top - Height()) / 2;
    SetBounds(std::max(0L, static_cast<long>(x)), std::max(0L, static_cast<long>(y)), Width(),
              Height());
}

void TForm::Show() {
    HandleNeeded();
    if (!placed_) PlaceOnScreen();
    if (Visible()) {
        SetForegroundWindow(HandleIfAllocated());
    } else {
        SetVisible(true);
    }
    if (OnShow) OnShow(this);
    if (!activeControl_) {
        auto tabs = TabList();
        for (TWinControl* c : tabs)
            if (c->CanFocus()) {
                activeControl_ = c;
                break;
            }
    }
    if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
}

int TForm::ShowModal() {
    if (modal_ || Visible()) throw std::logic_error("Cannot make a visible window modal");
    HWND previous = GetActiveWindow();
    HandleNeeded();
    // Dropped on every way out, so the other windows are enabled again.
    platform::TaskWindowList disabled = platform::DisableTaskWindows(HandleIfAllocated());
    struct ModalState {
        TForm& form;
        ~ModalState() { form.modal_ = false; }
    } state{*this};
    modal_ = true;
    modalResult_ = mrNone;
    Show();
    while (modalResult_ == mrNone) {
        if (!Application || Application->Terminated()) {
            modalResult_ = mrCancel;
            break;
        }
        Application->HandleMessage();
    }
    // Enabled before this one hides, so that the system activates them again.
    platform::EnableTaskWindows(disabled);
    Hide();
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
    return modalResult_;
}

bool TForm::PreviewKeyDown(WORD key) {
    if (!KeyPreview || !OnKeyDown) return false;
    OnKeyDown(this, key, KeyboardShiftState());
    return key == 0;
}

void TForm::VisibleChanged() {
    if (HandleAllocated()) ShowWindow(HandleIfAllocated(), Visible() ? SW_SHOW : SW_HIDE);
}

void TForm::Close() {
    const bool isMain = Application && Application->MainForm() == this;
    TCloseAction action = isMain ? TCloseAction::caFree : TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone) return;
    if (modal_) {
        // ShowModal hides the form when its loop ends.
        modalResult_ = mrCancel;
        return;
    }
    if (isMain) {
        Application->Terminate();
        return;
    }
    if (action == TCloseAction::caHide)
        Hide();
    else
        Release();
}

void TForm::Release() {
    if (HandleAllocated())
        PostMessageW(HandleIfAllocated(), CM_RELEASE, 0, 0);
    else
        delete this;
}

void TForm::SetActiveControl(TWinControl* control) {
    activeControl_ = control;
    if (control && HandleAllocated() && Visible() && control->CanFocus()) control->SetFocus();
}

std::vector<TWinControl*> TForm::TabList() const {
    std::vector<TWinControl*> list;
    std::function<void(const TWinControl&)> walk = [&](const TWinControl& parent) {
        std::vector<TWinControl*> level;
        for (TControl* c : parent.Controls())
            if (auto* w = dynamic_cast<TWinControl*>(c)) level.push_back(w);
        std::stable_sort(level.begin(), level.end(),
                         [](TWinControl* a, TWinControl* b) { return a->TabOrder < b->TabOrder; });
        for (TWinControl* w : level) {
            if (w->TabStop) list.push_back(w);
            walk(*w);
        }
    };
    walk(*this);
    return list;
}

void TForm::SelectNext(bool forward) {
    std::vector<TWinControl*> tabs;
    for (TWinControl* c : TabList())
        if (c->CanFocus()) tabs.push_back(c);
    if (tabs.empty()) return;
    TWinControl* current = FindControl(GetFocus());
    auto it = std::find(tabs.begin(), tabs.end(), current);
    size_t index = 0;
    if (it != tabs.end()) {
        const size_t at = static_cast<size_t>(it - tabs.begin());
        index = forward ? (at + 1) % tabs.size() : (at + tabs.size() - 1) % tabs.size();
    } else if (!forward) {
        index = tabs.size() - 1;
    }
    tabs[index]->SetFocus();
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TForm::Notification(TComponent* component) {
    if (component == activeControl_) activeControl_ = nullptr;
}

void TForm::DialogKey(TMessage& msg) {
    auto usable = [](const TButton& b) { return b.Showing() && b.Enabled(); };
    TButton* target = nullptr;
    switch (msg.WParam) {
    case VK_TAB:
        SelectNext(GetKeyState(VK_SHIFT) >= 0);
        msg.Result = 1;
        return;
    case VK_ESCAPE:
        target = FindButton(*this, [&](const TButton& b) { return b.Cancel && usable(b); });
        break;
    case VK_RETURN:
        // A focused button answers Enter itself; otherwise the default button does.
        target = dynamic_cast<TButton*>(FindControl(GetFocus()));
        if (!target || !usable(*target))
            target = FindButton(*this, [&](const TButton& b) { return b.Default && usable(b); });
        break;
    default:
        return;
    }
    if (!target) return;
    target->Click();
    msg.Result = 1;
}

void TForm::WndProc(TMessage& msg) {
    switch (msg.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case CM_RELEASE:
        delete this; // nothing of this object is touched after this point
        return;
    case CM_FOCUSCHANGED:
        activeControl_ = reinterpret_cast<TWinControl*>(msg.LParam);
        return;
    case CM_DIALOGKEY:
        DialogKey(msg);
        return;
    case WM_ACTIVATE:
        TWinControl::WndProc(msg);
        if (LOWORD(msg.WParam) != WA_INACTIVE && activeControl_ && activeControl_->CanFocus())
            activeControl_->SetFocus();
        return;
    case WM_MOVE:
    case WM_SIZE:
        TWinControl::WndProc(msg);
        if (HandleAllocated()) {
            RECT r;
            GetWindowRect(HandleIfAllocated(), &r);
            RecordBounds(r);
        }
        return;
    default:
        break;
    }
    TWinControl::WndProc(msg);
}

} // namespace ui
