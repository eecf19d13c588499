// TFramePainter: the frame painter of one skinned top-level window. It takes
// over the window's procedure and non-client area: sizes the frame from the
// skin's border images, paints borders, caption text and caption buttons,
// shapes the window where the border images are transparent, follows the
// window's activation and show state, and hosts the skinning objects of the
// window's controls. Unskinning gives the window back exactly as it was.
#pragma once

#include "platform/GdiHandles.h"
#include "skin/Bitmap.h"
#include "skin/GdiImage.h"
#include "skin/controls/SkinControlList.h"
#include "skin/frame/CaptionButton.h"
#include "ui/Component.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {
class TForm;
} // namespace ui

namespace skin {

class TSkinHolder;
class TSkinElement;
class TSkinSystemMenu;

class TFramePainter : public ui::TComponent {
public:
    enum FrameState {
        fsNew = 0,
        fsSkinned = 1,
        fsRefreshing = 3,
        fsDestroying = 4,
        fsResizing = 5,
        fsDestroyed = 6
    };
    enum WindowKind { wkOrdinary = 0, wkMdiFrame = 1, wkMdiChild = 2 };
    enum BorderKind { bkSizeable = 0, bkSingle = 1, bkNoCaption = 2, bkDialog = 3 };
    enum ShowState { ssNormal = 0, ssMaximized = 1, ssMinimized = 2 };
    // Caption button flags.
    static constexpr unsigned kMaximizeBox = 1;
    static constexpr unsigned kMinimizeBox = 2;
    static constexpr unsigned kSystemMenu = 8;

    // Opens a window's system menu at a screen point. The default shows the
    // skinned system menu (ShowSkinnedSystemMenu).
    using SystemMenuPresenter = std::function<void(TFramePainter& painter, POINT screen)>;
    static SystemMenuPresenter& SystemMenu();

    TFramePainter(ui::TForm* form, HWND window, HINSTANCE module, std::wstring className);
    ~TFramePainter() override;
    std::wstring ClassName() const override { return L"TFramePainter"; }

    // Takes the window over (once); the skin start message finishes the set-up.
    void Init(TSkinHolder& holder, ui::TForm* form);
    // Gives the window back completely: procedure, styles, colour, outer size.
    void Unskin();
    // Rebuilds the caption buttons from the skin.
    void Reload();
    // Colours, control skins, measurements and the frame, anew.
    void Refresh();
    // A size grip created inside this window gets its skinning object.
    void AdoptSizeGrip(HWND grip);

    HWND Handle() const { return window_; }
    ui::TForm* Form() const { return form_; }
    TSkinHolder* Holder() const { return holder_; }
    const std::wstring& WindowClass() const { return className_; }
    int State() const { return state_; }
    bool Destroyed() const { return state_ == fsDestroyed; }
    int Kind() const { return kind_; }
    int Border() const { return border_; }
    int Show() const { return show_; }
    bool Active() const { return active_; }
    unsigned ButtonFlags() const { return buttonFlags_; }
    bool SystemDialog() const { return systemDialog_; }
    bool FrameSkinning() const { return frameSkinning_; }

    int LeftWidth() const { return leftWidth_; }
    int CaptionHeight() const { return captionHeight_; }
    int RightWidth() const { return rightWidth_; }
    int BottomHeight() const { return bottomHeight_; }
    int MenuBarHeight() const { return menuBarHeight_; }
    // Window width and height minus client width and height before skinning.
    SIZE UnskinnedFrame() const { return unskinnedFrame_; }
    // Size the current window region was built for (0 x 0: none set).
    SIZE RegionSize() const { return regionSize_; }
    int RegionBuilds() const { return regionBuilds_; }

    // ---- caption buttons ----
    const std::vector<std::unique_ptr<TCaptionButton>>& Buttons() const { return buttons_; }
    TFrameObject* Current() const { return current_; }
    void SetCurrent(TFrameObject* object) { current_ = object; }
    // Window coordinates of a screen point.
    POINT ScreenToWindow(POINT screen) const;
    // The visible button with an action under a window point, or null.
    TFrameObject* HitObject(POINT windowPoint) const;
    // Places every button and evaluates its visibility for the present state.
    void LayoutButtons();
    // Where the caption text goes in a window `width` wide.
    RECT CaptionTextRect(int width) const;
    // The window's icon drawn into `rect` of `dc`.
    void DrawIcon(HDC dc, const RECT& rect) const;
    const Pixmap& IconBitmap() const { return iconBitmap_; }
    HMENU SystemMenuHandle() const { return systemMenu_; }

    // ---- operations of the caption buttons ----
    void MaximizeRestore();
    void MinimizeRestore();
    void CloseWindow();
    void OpenSystemMenu(POINT screen);
    // Rebuilds the skinned system menu and shows it (modal).
    void ShowSkinnedSystemMenu(POINT screen);
    // The skinned system menu of the last opening, or null.
    TSkinSystemMenu* SkinnedSystemMenu() const { return skinMenu_.get(); }
    void RunAction(TCaptionButton& button, POINT screen);

    // ---- painting ----
    // Paints the whole frame onto `dc`, or onto the window DC when null.
    void PaintFrame(HDC dc = nullptr);

    // ---- control skinning ----
    TSkinControlList& Controls() { return controls_; }

    // Dispatches one message of the window (the replacement procedure).
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);

    // set-up and tear-down
    void ReadStyles();
    void ReadShowState();
    void Measure();
    void SkinStart();
    void ResizeKeepingClient();
    void FitDialogCaption(int& width);
    void TakeIcon();
    void Unhook();
    void Detach();
    void ReleaseGdi();

    // message handlers
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcRButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetIcon(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    void OnNcDestroy();

    // painting
    SIZE WindowSize() const;
    bool ButtonCondition(int visibility) const;
    bool ButtonVisible(const TCaptionButton& button) const;
    void PaintCaption(HDC dc, int width, int height, const Pixmap& left, const Pixmap& right);
    HFONT CaptionTextFont();
    void DrawCaptionText(HDC dc, int width);
    void BuildRegion();
    void RemoveSysMenuStyle();
    void RestoreSysMenuStyle();
    void StartTimer();
    void StopTimer();
    bool NcMessagesApply() const;

    HWND window_ = nullptr;
    ui::TForm* form_ = nullptr;
    std::wstring className_;
    HINSTANCE module_ = nullptr;
    TSkinHolder* holder_ = nullptr;

    WNDPROC previousProc_ = nullptr;
    bool unicode_ = true;

    int state_ = fsNew;
    bool started_ = false;
    int kind_ = wkOrdinary;
    int border_ = bkSizeable;
    int show_ = ssNormal;
    bool active_ = false;
    unsigned buttonFlags_ = 0;
    bool hadSysMenu_ = false;
    bool systemDialog_ = false;
    bool frameSkinning_ = false;
    bool childWindow_ = false;

    int leftWidth_ = 0;
    int captionHeight_ = 0;
    int rightWidth_ = 0;
    int bottomHeight_ = 0;
    int menuBarHeight_ = 0;
    SIZE unskinnedFrame_{};

    std::vector<std::unique_ptr<TCaptionButton>> buttons_;
    TFrameObject* current_ = nullptr;
    HICON icon_ = nullptr;
    Pixmap iconBitmap_;
    HMENU systemMenu_ = nullptr;

    std::unique_ptr<gdi::DibCanvas> captionCanvas_;
    platform::Font captionFont_;
    SIZE regionSize_{};
    int regionBuilds_ = 0;
    long long savedColor_ = 0;
    bool colorSaved_ = false;

    UINT_PTR timer_ = 0;
    DWORD lastSystemMenu_ = 0;
    bool systemMenuOpened_ = false;

    TSkinControlList controls_;
    std::unique_ptr<TSkinSystemMenu> skinMenu_;
};

} // namespace skin
