#include "skin/SkinManager.h"

#include "skin/SkinHolder.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/frame/FramePainter.h"
#include "skin/frame/SkinMenus.h"
#include "ui/Form.h"

#include <algorithm>
#include <cwctype>
#include <memory>

namespace skin {

namespace {

std::unique_ptr<TSkinManager, void (*)(TSkinManager*)> g_manager{nullptr, nullptr};

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

bool IsMdiChild(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
}

ui::TForm* FormOf(HWND window) {
    return dynamic_cast<ui::TForm*>(ui::TWinControl::FromHandle(window));
}

// The top-level forms of this thread, topmost first.
std::vector<ui::TForm*> ScreenForms() {
    std::vector<ui::TForm*> forms;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            if (ui::TForm* form = FormOf(window))
                reinterpret_cast<std::vector<ui::TForm*>*>(list)->push_back(form);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&forms));
    return forms;
}

} // namespace

TSkinManager* TSkinManager::Instance() {
    return g_manager.get();
}

TSkinManager& TSkinManager::Create() {
    if (!g_manager) g_manager = {new TSkinManager, [](TSkinManager* m) { delete m; }};
    return *g_manager;
}

void TSkinManager::Destroy() {
    g_manager.reset();
}

TSkinManager::~TSkinManager() {
    state_ = kShuttingDown;
    enabled_ = false;
    StopTimer();
    UnskinAll(nullptr);
    popups_.clear(); // each gives its menu window the procedure back
    if (hook_) UnhookWindowsHookEx(hook_);
}

// ---- skin data components -------------------------------------------------------

void TSkinManager::Register(TSkinHolder* holder) {
    if (std::find(holders_.begin(), holders_.end(), holder) != holders_.end()) return;
    holders_.push_back(holder);
    if (!main_ && holder->SkinFormtype == TSkinFormType::stMainform) main_ = holder;
}

void TSkinManager::Unregister(TSkinHolder* holder) {
    std::erase(holders_, holder);
    if (target_ == holder) {
        StopTimer();
        target_ = nullptr;
        action_ = 0;
    }
    // Windows and menus skinned with it lose their skin with it.
    std::erase_if(popups_, [&](const auto& popup) { return popup->Holder() == holder; });
    for (TFramePainter* painter : std::vector<TFramePainter*>(painters_))
        if (painter->Holder() == holder) {
            painter->Unskin();
            delete painter;
        }
    if (main_ == holder) {
        main_ = nullptr;
        for (TSkinHolder* h : holders_)
            if (h->SkinFormtype == TSkinFormType::stMainform) {
                main_ = h;
                break;
            }
    }
}

TSkinHolder* TSkinManager::ChooseSkinHolder(HWND window) const {
    auto lastOf = [&](auto&& wanted) -> TSkinHolder* {
        for (auto it = holders_.rbegin(); it != holders_.rend(); ++it)
            if (wanted(**it)) return *it;
        return nullptr;
    };
    if (TSkinHolder* h = lastOf([&](const TSkinHolder& h) {
            auto* owner = dynamic_cast<ui::TWinControl*>(h.Owner());
            return h.SkinFormtype == TSkinFormType::stOnlyThisForm && owner &&
                   owner->HandleIfAllocated() == window;
        }))
        return h;
    const std::wstring cls = Lower(ClassNameOf(window));
    if (cls == L"tmessageform" || cls == L"#32770")
        if (TSkinHolder* h = lastOf(
                [](const TSkinHolder& h) { return h.SkinFormtype == TSkinFormType::stDialog; }))
            return h;
    if (TSkinHolder* h = lastOf(
            [](const TSkinHolder& h) { return h.SkinFormtype == TSkinFormType::stMainform; }))
        return h;
    return holders_.empty() ? nullptr : holders_.front();
}

// ---- state ----------------------------------------------------------------------

void TSkinManager::SetStarted() {
    if (state_ != kShuttingDown) state_ = kStarted;
}

void TSkinManager::InstallHook() {
    if (!hook_) hook_ = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

// ---- windows ----------------------------------------------------------------------

TFramePainter* TSkinManager::PainterOf(HWND window) const {
    for (TFramePainter* p : painters_)
        if (p->Handle() == window && !p->Destroyed()) return p;
    return nullptr;
}

void TSkinManager::Forget(TFramePainter* painter) {
    std::erase(painters_, painter);
}

void TSkinManager::Purge() {
    for (TFramePainter* painter : std::vector<TFramePainter*>(painters_))
        if (painter->Destroyed() || !IsWindow(painter->Handle())) delete painter;
}

bool TSkinManager::FormFilter(HWND window, const std::wstring& className) const {
    if (main_ && !main_->Options.Has(soPreview) &&
        Lower(className).find(L"preview") != std::wstring::npos)
        return false;
    if (main_ && main_->OnFormSkin) {
        bool skin = true;
        main_->OnFormSkin(main_, window, className, skin);
        return skin;
    }
    if (className == L"SysMonthCal32") return false;
    if (main_ && main_->SkinControls.Has(scReportForms) && className.rfind(L"Tfr", 0) == 0)
        return false;
    return true;
}

bool TSkinManager::SkinWindow(HWND window) {
    if (!enabled_ || !IsWindow(window)) return false;
    Purge();
    if (SendMessageW(window, WM_SKIN_QUERY, 0, 0) == 1 || PainterOf(window)) return false;
    ui::TForm* form = FormOf(window);
    const bool child = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
    const bool mdiChild = IsMdiChild(window);
    if (!bulk_ && child && !(mdiChild && Lower(ClassNameOf(GetParent(window))) == L"mdiclient"))
        return false;
    const std::wstring className = ClassNameOf(window);
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    if (!form && module != GetModuleHandleW(nullptr) && className != L"#32770") return false;
    RECT r{};
    GetWindowRect(window, &r);
    if (!mdiChild && (r.right - r.left) * (r.bottom - r.top) == 0) return false;
    if (form && form->Tag == 99) return false; // fixed: whatever DisableTag says
    if (className.find(L"TcxPopupEditPopupWindow") != std::wstring::npos ||
        className == L"TApplication")
        return false;
    if (!FormFilter(window, className)) return false;
    TSkinHolder* holder = ChooseSkinHolder(window);
    if (!holder || !holder->SkinLoaded()) return false;

    auto* painter = new TFramePainter(form, window, module, className);
    painters_.push_back(painter);
    painter->Init(*holder, form);
    PostMessageW(window, WM_SKIN_START, 0, 1000);
    return true;
}

// ---- CBT hook ---------------------------------------------------------------------

LRESULT CALLBACK TSkinManager::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManager* self = Instance();
    HHOOK hook = self ? self->hook_ : nullptr;
    if (self && code >= 0) {
        const auto window = reinterpret_cast<HWND>(wParam);
        switch (code) {
        case HCBT_CREATEWND:
            self->OnCreateWindow(window, *reinterpret_cast<CBT_CREATEWNDW*>(lParam));
            break;
        case HCBT_DESTROYWND:
            self->OnDestroyWindow(window);
            break;
        case HCBT_ACTIVATE:
            self->OnActivate(window);
            break;
        default:
            break;
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

void TSkinManager::OnCreateWindow(HWND window, const CBT_CREATEWNDW& create) {
    const CREATESTRUCTW* cs = create.lpcs;
    const std::wstring className = ClassNameOf(window);
    if (Lower(className) == L"scrollbar" && cs && (cs->style & SBS_SIZEGRIP))
        if (TFramePainter* parent = PainterOf(cs->hwndParent)) parent->AdoptSizeGrip(window);
    const bool child = cs && (cs->style & WS_CHILD);
    if (!child && className == L"#32768") AttachPopupMenu(window);
    if (cs && (cs->dwExStyle & WS_EX_MDICHILD)) SkinWindow(window);
}

void TSkinManager::OnDestroyWindow(HWND window) {
    ReleasePopupMenu(window);
}

// ---- skinned popup menus ------------------------------------------------------------

void TSkinManager::AttachPopupMenu(HWND menuWindow) {
    if (!enabled_ || state_ == kShuttingDown) return;
    if (SendMessageW(menuWindow, WM_SKIN_QUERY, 0, 0) == 1 || PopupOf(menuWindow)) return;
    TSkinHolder* holder = ChooseSkinHolder(menuWindow);
    if (!holder || !holder->SkinLoaded()) return;
    const TSkinControlTypes& kinds = holder->SkinControls;
    bool allowed = false;
    switch (menuKind_) {
    case 0:
        allowed = kinds.Has(scPopupMenu);
        break;
    case 1:
        allowed = kinds.Has(scMainMenu) || kinds.Has(scMenuItem);
        break;
    case 2:
        allowed = kinds.Has(scSystemMenu);
        break;
    default:
        break;
    }
    if (allowed) popups_.push_back(std::make_unique<TSkinPopupMenu>(menuWindow, *holder));
}

void TSkinManager::ReleasePopupMenu(HWND window) {
    const bool had = !popups_.empty();
    std::erase_if(popups_, [&](const auto& popup) { return popup->Window() == window; });
    if (had && popups_.empty()) menuKind_ = 0;
}

TSkinPopupMenu* TSkinManager::PopupOf(HWND menuWindow) const {
    for (const auto& popup : popups_)
        if (popup->Window() == menuWindow) return popup.get();
    return nullptr;
}

void TSkinManager::RegisterMenuHandle(HMENU menu) {
    if (PopupOfMenu(menu)) return;
    for (auto it = popups_.rbegin(); it != popups_.rend(); ++it)
        if (!(*it)->Menu()) {
            (*it)->SetMenu(menu);
            return;
        }
}

TSkinPopupMenu* TSkinManager::PopupOfMenu(HMENU menu) const {
    for (const auto& popup : popups_)
        if (popup->Menu() == menu) return popup.get();
    return nullptr;
}

void TSkinManager::OnActivate(HWND window) {
    if (state_ == kNotStarted) state_ = kStarted;
    SkinWindow(window);
}

// ---- deferred actions -----------------------------------------------------------

void TSkinManager::StopTimer() {
    if (timer_) KillTimer(nullptr, timer_);
    timer_ = 0;
}

void TSkinManager::ScheduleAction(int action, int delayMs, TSkinHolder* target) {
    action_ = action;
    target_ = target;
    interval_ = delayMs;
    if (Started()) {
        StopTimer();
        timer_ = SetTimer(nullptr, 0, static_cast<UINT>(interval_), TimerProc);
        return;
    }
    // Before the first activation there is nothing to skin or unskin yet.
    if (action == saSkinAll) enabled_ = true;
    if (action == saUnskinAll) enabled_ = false;
}

void CALLBACK TSkinManager::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    TSkinManager* self = Instance();
    if (!self || self->timer_ != id) {
        KillTimer(nullptr, id);
        return;
    }
    self->RunPendingAction();
}

void TSkinManager::UnskinAll(TSkinHolder* only) {
    for (TFramePainter* painter : std::vector<TFramePainter*>(painters_)) {
        if (only && painter->Holder() != only) continue;
        if (!painter->Destroyed()) painter->Unskin();
        delete painter;
    }
}

void TSkinManager::SkinAllForms(TSkinHolder* only) {
    bulk_ = true;
    struct BulkEnd {
        bool& flag;
        ~BulkEnd() { flag = false; }
    } end{bulk_};
    std::vector<ui::TForm*> forms = ScreenForms();
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        ui::TForm* form = *it;
        HWND window = form->HandleIfAllocated();
        if (only && form != only->Owner()) continue;
        if (!IsWindowVisible(window) || (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) continue;
        SkinWindow(window);
    }
}

void TSkinManager::RunPendingAction() {
    StopTimer();
    TSkinHolder* target = target_;
    if (!target) return;
    const int action = action_;
    const bool onlyThis = target->SkinFormtype == TSkinFormType::stOnlyThisForm;
    switch (action) {
    case saSkinAll:
        enabled_ = true;
        SkinAllForms(onlyThis ? target : nullptr);
        break;
    case saUnskinAll:
        enabled_ = false;
        Purge();
        if (onlyThis) {
            for (TFramePainter* painter : painters_)
                if (painter->Holder() == target) {
                    painter->Unskin();
                    delete painter;
                    break;
                }
        } else {
            UnskinAll(nullptr);
        }
        break;
    case saRefresh:
        Purge();
        for (TFramePainter* painter : std::vector<TFramePainter*>(painters_)) {
            if (painter->Holder() != target) continue;
            painter->Reload();
            if (onlyThis) {
                painter->Refresh();
                break;
            }
        }
        if (!onlyThis)
            for (TFramePainter* painter : std::vector<TFramePainter*>(painters_))
                if (painter->Holder() == target) painter->Refresh();
        break;
    case saPurgeDestroyed:
        Purge();
        break;
    case saReskinWindow:
        if (TFramePainter* painter = PainterOf(reskinWindow_)) {
            painter->Unskin();
            delete painter;
        }
        SkinWindow(reskinWindow_);
        return;
    default:
        break;
    }
    if (target->OnSkinChanged) target->OnSkinChanged(target);
    if (target_ == target) target_ = nullptr;
}

} // namespace skin
