// Skinned scroll bars. The control's own scroll bars are not redrawn in
// place: a TScrollOverlay, a real sibling window laid exactly over each bar,
// is painted from the skin's scroll bar elements, and every press on it is
// handed to the control as a press on its real bar, so that the system's own
// tracking (auto-repeat, thumb dragging, WM_HSCROLL/WM_VSCROLL) runs unchanged
// underneath. The skinning objects keep the overlays in place and repainted:
// TSkinScrollbar for window scroll bars (grids, list boxes, memos),
// TSkinListView for list views (plus their header), TSkinListScrollbars for
// the list of a simple combo box and TSkinScrollBarControl for stand-alone
// scroll bar controls.
#pragma once

#include "skin/controls/SkinControl.h"

#include <memory>

namespace skin {

class TSkinHeader;
class TScrollOverlay;

// Overlay modes.
enum TOverlayMode : int { omHorizontal = 0, omVertical = 1, omControl = 2 };

// Hot parts, the scroll codes of the part under the cursor.
constexpr int kPartNone = -1;
constexpr int kPartFirstArrow = 0;
constexpr int kPartSecondArrow = 1;
constexpr int kPartTrayBefore = 2;
constexpr int kPartTrayAfter = 3;
constexpr int kPartThumb = 5;

// The parts of one bar along its axis, in overlay pixels.
struct TScrollGeometry {
    int length = 0;     // along the axis
    int arrow = 0;      // arrow square size
    int thumbStart = 0; // thumbStart == thumbEnd: no thumb
    int thumbEnd = 0;
};

// Where a point `a` along the axis falls: a scroll code (kPart...).
int ScrollHitTest(const TScrollGeometry& g, int a);

// The thumb of a stand-alone scroll bar control, from its scroll information:
// sets g.thumbStart / g.thumbEnd for g.length and g.arrow.
void ControlThumb(TScrollGeometry& g, const SCROLLINFO& si);

class TScrollOverlay {
public:
    // Creates the overlay window in `target`'s parent; it stays hidden until
    // placed. `owner` is repainted and asked nothing; it is kept for tests.
    TScrollOverlay(HWND target, ui::TControl* targetControl, TSkinControl* owner, int mode,
                   TSkinHolder& holder);
    TScrollOverlay(const TScrollOverlay&) = delete;
    TScrollOverlay& operator=(const TScrollOverlay&) = delete;
    ~TScrollOverlay();

    // Lays the overlay over the bar, or hides it when the bar is not shown.
    void Place();
    void Hide();
    void SetEnabled(bool enabled);
    // Paints now when shown.
    void Repaint();
    // Places or repaints when the bar moved, changed or its thumb moved since
    // the last paint (the system changes bars without telling anyone).
    void Sync();
    void SetHotPart(int part) { hotPart_ = part; }
    // The target's window is going: the overlay goes with it.
    void DestroyWindowNow();

    HWND Window() const { return window_; }
    HWND Target() const { return target_; }
    int Mode() const { return mode_; }
    bool Shown() const { return shown_; }
    bool Pressed() const { return pressed_; }
    int HotPart() const { return hotPart_; }
    bool Vertical() const { return vertical_; }
    int ArrowSize() const { return arrowSize_; }
    // The bar in the target's client coordinates as last placed.
    const RECT& BarRect() const { return barRect_; }
    // The bar's parts as last painted (or now, when not painted yet).
    TScrollGeometry Geometry() const;
    TSkinControl* Owner() const { return owner_; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The bar in screen coordinates and its state; false when unavailable.
    bool BarInfo(RECT& screen, DWORD& state, TScrollGeometry& g) const;
    bool BarEnabled(DWORD state) const;
    bool SkinUsable() const;
    void Paint(HDC dc);
    void OnButtonDown(POINT p);
    void OnButtonUp(POINT p);
    int AxisOf(POINT p) const { return vertical_ ? p.y : p.x; }

    HWND window_ = nullptr;
    HWND target_ = nullptr;
    ui::TControl* targetControl_ = nullptr;
    TSkinControl* owner_ = nullptr;
    TSkinHolder& holder_;
    int mode_ = omVertical;
    bool vertical_ = true;
    int arrowSize_ = 16;
    int length_ = 0;
    int thumbStart_ = 0, thumbEnd_ = 0;
    POINT pressPoint_{};
    int pressThumbStart_ = 0;
    bool pressed_ = false;
    int hotPart_ = kPartNone;
    RECT barRect_{};
    bool shown_ = false;
    bool enabled_ = true;
    bool trackingLeave_ = false;
    // What the last paint showed, so that Sync sees changes.
    RECT paintedScreen_{};
    DWORD paintedState_ = 0;
    TScrollGeometry painted_{};
    TFaceBitmap face_;
    // Expires with the overlay: a press handed to the target may outlive it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Window scroll bars of a control: a horizontal and a vertical overlay, and a
// border of two one-pixel frames.
class TSkinScrollbar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    ~TSkinScrollbar() override;
    std::wstring ClassName() const override { return L"TSkinScrollbar"; }

    // Framework mode.
    virtual void AttachScrollBars(ui::TControl& control, TSkinControlList* list,
                                  TSkinHolder& holder);
    // Window mode, for a bare window (a list box or edit of a system dialog):
    // the border follows the window's own border styles.
    virtual void AttachScrollBarsWindow(HWND window, TSkinHolder& holder, TSkinControlList* list);
    void Detach() override;
    bool BeforeMessage(ui::TMessage& msg) override;
    void AfterMessage(ui::TMessage& msg) override;
    void PaintWindow(HDC dc) override;
    void Reapply() override;

    bool HasBorder() const { return border_; }
    TScrollOverlay* Horizontal() const { return horz_.get(); }
    TScrollOverlay* Vertical() const { return vert_.get(); }
    // Places both overlays again.
    void PlaceOverlays();
    void SyncOverlays();

protected:
    void CreateOverlays();
    void DestroyOverlays();
    void DrawBorder();

    std::unique_ptr<TScrollOverlay> horz_, vert_;
    bool border_ = false;
    bool ownsFixedColor_ = false;
    long long savedFixedColor_ = 0;
    bool syncing_ = false;
};

// A list view: its scroll bars and its header.
class TSkinListView : public TSkinScrollbar {
public:
    using TSkinScrollbar::TSkinScrollbar;
    ~TSkinListView() override;
    std::wstring ClassName() const override { return L"TSkinListView"; }
    void AttachScrollBars(ui::TControl& control, TSkinControlList* list,
                          TSkinHolder& holder) override;
    void AttachScrollBarsWindow(HWND window, TSkinHolder& holder, TSkinControlList* list) override;
    TSkinHeader* Header() const { return header_; }

private:
    void AttachHeader(TSkinHolder& holder, TSkinControlList* list);
    TSkinHeader* header_ = nullptr; // window mode: the list frees it
};

// The list of a simple combo box, a bare window: two overlays.
class TSkinListScrollbars : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    ~TSkinListScrollbars() override;
    std::wstring ClassName() const override { return L"TSkinListScrollbars"; }
    void AttachWindow(HWND window, TSkinHolder& holder, TSkinControlList* list) override;
    void Detach() override;
    bool BeforeMessage(ui::TMessage& msg) override;
    void AfterMessage(ui::TMessage& msg) override;
    void PaintWindow(HDC dc) override;
    TScrollOverlay* Horizontal() const { return horz_.get(); }
    TScrollOverlay* Vertical() const { return vert_.get(); }

private:
    void Sync();
    std::unique_ptr<TScrollOverlay> horz_, vert_;
    bool syncing_ = false;
};

// A stand-alone scroll bar control: one overlay over the whole control.
class TSkinScrollBarControl : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    ~TSkinScrollBarControl() override;
    std::wstring ClassName() const override { return L"TSkinScrollBarControl"; }
    void AttachScrollBar(ui::TControl& control, TSkinControlList* list, TSkinHolder& holder);
    // Window mode, for a bare SCROLLBAR window.
    void AttachWindow(HWND window, TSkinHolder& holder, TSkinControlList* list) override;
    void Detach() override;
    bool BeforeMessage(ui::TMessage& msg) override;
    void AfterMessage(ui::TMessage& msg) override;
    void PaintWindow(HDC dc) override;
    TScrollOverlay* Overlay() const { return overlay_.get(); }

private:
    void CreateOverlay();
    std::unique_ptr<TScrollOverlay> overlay_;
    bool syncing_ = false;
};

// The rebuild-scroll-bars message reached the form window: the scrolling
// object of `window` is freed and a new one of the same class attached to its
// control. False when no such object is listed.
bool RebuildScrollBarSkin(HWND window, TSkinHolder& holder, TSkinControlList& list);

} // namespace skin
