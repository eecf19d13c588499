// TSkinManager: the one skin manager of the process. It watches window
// creation, destruction and activation on the GUI thread through a CBT hook,
// decides for every top-level window whether and with which skin data
// component it is skinned, attaches a frame painter to it, and runs the
// deferred actions (skin all, unskin all, refresh) from a one-shot timer.
#pragma once

#include "skin/SkinTypes.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace skin {

class TFramePainter;
class TSkinHolder;
class TSkinPopupMenu;

class TSkinManager {
public:
    // Manager states.
    static constexpr int kNotStarted = 0;
    static constexpr int kStarted = 1;
    static constexpr int kShuttingDown = 4;

    // The manager of the process, or null before the first skin data
    // component was loaded.
    static TSkinManager* Instance();
    // Creates the manager when there is none.
    static TSkinManager& Create();
    // Restores every skinned window, removes the hook and frees the manager.
    static void Destroy();

    TSkinManager(const TSkinManager&) = delete;
    TSkinManager& operator=(const TSkinManager&) = delete;

    // ---- skin data components ----
    void Register(TSkinHolder* holder);
    void Unregister(TSkinHolder* holder);
    // The first registered component with SkinFormtype stMainform.
    TSkinHolder* MainHolder() const { return main_; }
    const std::vector<TSkinHolder*>& Holders() const { return holders_; }
    TSkinHolder* ChooseSkinHolder(HWND window) const;

    // ---- state ----
    bool SkinningEnabled() const { return enabled_; }
    void EnableSkinning(bool enabled) { enabled_ = enabled; }
    int State() const { return state_; }
    bool Started() const { return state_ == kStarted; }
    void SetStarted();
    void InstallHook();
    bool HookInstalled() const { return hook_ != nullptr; }

    // ---- windows ----
    // Attaches a frame painter when the window qualifies.
    bool SkinWindow(HWND window);
    // The frame painter of a window, or null.
    TFramePainter* PainterOf(HWND window) const;
    const std::vector<TFramePainter*>& Painters() const { return painters_; }
    // A frame painter is being freed: forget it.
    void Forget(TFramePainter* painter);
    // Drops painters whose windows were destroyed or are no longer windows.
    void Purge();

    // ---- deferred actions ----
    // Remembers the action for `target` and arms the one-shot timer; before
    // the first activation, skin all and unskin all take effect at once.
    void ScheduleAction(int action, int delayMs, TSkinHolder* target);
    // The window re-skinned by saReskinWindow.
    void SetReskinWindow(HWND window) { reskinWindow_ = window; }
    int PendingAction() const { return action_; }
    bool TimerArmed() const { return timer_ != 0; }
    // Runs the pending action now (the timer's work).
    void RunPendingAction();

    // ---- menus ----
    // The kind of menu being opened: 0 popup, 1 main menu drop-down, 2 the
    // system menu (set by the frame painter).
    int MenuKind() const { return menuKind_; }
    void SetMenuKind(int kind) { menuKind_ = kind; }
    // Skinned popup menus: a menu window (class "#32768") just created gets
    // its skinning object when skinning is on and the menu kind is allowed.
    void AttachPopupMenu(HWND menuWindow);
    // A window is destroyed: its skinned popup menu goes with it; when none
    // remain the menu kind is cleared.
    void ReleasePopupMenu(HWND window);
    const std::vector<std::unique_ptr<TSkinPopupMenu>>& PopupMenus() const { return popups_; }
    TSkinPopupMenu* PopupOf(HWND menuWindow) const;
    // The last menu window that does not know its menu yet takes `menu` (the
    // menu whose item is being drawn), unless a window already shows it.
    void RegisterMenuHandle(HMENU menu);
    TSkinPopupMenu* PopupOfMenu(HMENU menu) const;

private:
    TSkinManager() = default;
    ~TSkinManager();

    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
    void OnCreateWindow(HWND window, const CBT_CREATEWNDW& create);
    void OnDestroyWindow(HWND window);
    void OnActivate(HWND window);
    void StopTimer();
    void UnskinAll(TSkinHolder* only);
    void SkinAllForms(TSkinHolder* only);
    bool FormFilter(HWND window, const std::wstring& className) const;

    bool enabled_ = false;
    int state_ = kNotStarted;
    bool bulk_ = false;
    std::vector<TFramePainter*> painters_;
    std::vector<TSkinHolder*> holders_;
    TSkinHolder* main_ = nullptr;
    int action_ = 0;
    TSkinHolder* target_ = nullptr;
    HWND reskinWindow_ = nullptr;
    UINT_PTR timer_ = 0;
    int interval_ = 100;
    HHOOK hook_ = nullptr;
    int menuKind_ = 0;
    std::vector<std::unique_ptr<TSkinPopupMenu>> popups_;
};

} // namespace skin
