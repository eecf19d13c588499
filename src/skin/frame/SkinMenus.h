// Skinned menus. TSkinPopupMenu takes over one menu window (class "#32768")
// and paints its frame and background from the skin's menu background; the
// items are drawn over it, by the system or by their owner. TSkinSystemMenu
// is the owner-drawn system menu of a skinned window, rebuilt from the
// window's own system menu every time it opens.
#pragma once

#include "platform/GdiHandles.h"
#include "skin/Bitmap.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace skin {

class TSkinHolder;
class TFramePainter;

class TSkinPopupMenu {
public:
    // Replaces the menu window's procedure.
    TSkinPopupMenu(HWND menuWindow, TSkinHolder& holder);
    ~TSkinPopupMenu();
    TSkinPopupMenu(const TSkinPopupMenu&) = delete;
    TSkinPopupMenu& operator=(const TSkinPopupMenu&) = delete;

    // Gives the window its procedure back and frees the background.
    void Detach();
    bool Attached() const { return previous_ != nullptr; }

    HWND Window() const { return window_; }
    TSkinHolder* Holder() const { return holder_; }
    // The menu shown in the window, known once one of its items was drawn.
    HMENU Menu() const { return menu_; }
    void SetMenu(HMENU menu) { menu_ = menu; }
    // The composed background of the whole menu window (empty before the
    // first paint).
    const Pixmap& Background() const { return background_; }
    // Where the client area starts in window coordinates: item rectangles are
    // client coordinates, the background covers the window.
    POINT ClientOffset() const;

private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
    bool CanPaint() const;
    void ComposeBackground();
    void PaintNonClient(HRGN update);
    void Render(HDC dc);

    HWND window_ = nullptr;
    TSkinHolder* holder_ = nullptr;
    HMENU menu_ = nullptr;
    WNDPROC previous_ = nullptr;
    bool unicode_ = true;
    Pixmap background_;
};

class TSkinSystemMenu {
public:
    // Marks the menu as the skinned system menu.
    static constexpr ULONG_PTR kTag = 33333;
    // Glyph indexes of the menu glyph list.
    enum Glyph { kNoGlyph = -1, kGlyphRestore = 0, kGlyphMaximize, kGlyphMinimize, kGlyphClose };

    struct Item {
        std::wstring Caption;  // "-" for a separator
        std::wstring Shortcut; // the text after a tab, right-aligned
        UINT Command = 0;
        int Glyph = kNoGlyph;
        bool Disabled = false;
        bool Checked = false;
        bool Default = false;
        ULONG_PTR Tag = kTag;
        bool Separator() const { return Caption == L"-"; }
    };

    explicit TSkinSystemMenu(TFramePainter& painter);
    ~TSkinSystemMenu();
    TSkinSystemMenu(const TSkinSystemMenu&) = delete;
    TSkinSystemMenu& operator=(const TSkinSystemMenu&) = delete;

    // Copies the window's system menu with the enabling rules of its state.
    void Build();
    // Builds, shows the menu at a screen point and posts WM_SYSCOMMAND with
    // the chosen command. Returns once the menu is closed.
    void Show(POINT screen);

    HMENU Handle() const { return menu_; }
    const std::vector<std::unique_ptr<Item>>& Items() const { return items_; }

    // WM_MEASUREITEM and WM_DRAWITEM of the owner window: true when the item
    // was one of this menu's.
    bool Measure(MEASUREITEMSTRUCT& measure);
    bool Draw(const DRAWITEMSTRUCT& draw);

private:
    Item* ItemOf(ULONG_PTR data) const;
    HFONT MenuFont(bool bold);
    void DrawContent(HDC dc, const Item& item, int width, int height, bool selected);

    TFramePainter& painter_;
    HMENU menu_ = nullptr;
    std::vector<std::unique_ptr<Item>> items_;
    platform::Font font_;
    platform::Font boldFont_;
};

} // namespace skin
