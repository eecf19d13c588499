// What all grids share, created once: the indicator glyphs and sort markers
// (image lists), the sort number font, the three selection cursors and the
// grid style object. The bitmaps and cursors are resources of the program
// (assets/grid/Grid.rc).
#pragma once

#include "platform/GdiHandles.h"

#include <windows.h>

#include <commctrl.h>

namespace grid {

// Indices into the glyph list.
enum TGlyphIndex {
    giArrow = 0,
    giEdit = 1,
    giInsert = 2,
    giMultiDot = 3,
    giMultiArrow = 4,
    giArrowWhite = 5,
    giArrowYellow = 6,
};
constexpr int kGlyphWidth = 6;
constexpr int kGlyphHeight = 11;
constexpr int kSortMarkerWidth = 10;
constexpr int kSortMarkerHeight = 9;

// One per application: how highlighted cells look, and the colour depth of
// the screen, re-read whenever the system colours change.
class TDataGridStyle {
public:
    TDataGridStyle();
    TDataGridStyle(const TDataGridStyle&) = delete;
    TDataGridStyle& operator=(const TDataGridStyle&) = delete;
    ~TDataGridStyle();

    bool TintSelection = true; // tint highlighted cells other than the current one
    bool FocusRect = true;     // draw a focus rectangle on the focused cell
    // NUMCOLORS of the screen; -1 means more than 256 colours.
    int ScreenNumColors() const { return numColors_; }
    void UpdateColorCount();
    HWND Window() const { return wnd_; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND wnd_ = nullptr;
    int numColors_ = -1;
};

class TGridResources {
public:
    // Throws std::runtime_error("Cannot load cursor resource") when a cursor
    // resource is missing.
    TGridResources();
    TGridResources(const TGridResources&) = delete;
    TGridResources& operator=(const TGridResources&) = delete;
    ~TGridResources();

    HIMAGELIST Glyphs() const { return glyphs_; }
    HIMAGELIST SortMarkers() const { return sortMarkers_; }
    HFONT SortNumberFont() const { return sortFont_.get(); }
    HCURSOR DownCursor() const { return downCursor_; }
    HCURSOR RightCursor() const { return rightCursor_; }
    HCURSOR LeftCursor() const { return leftCursor_; }
    TDataGridStyle& Style() { return style_; }

private:
    HIMAGELIST glyphs_ = nullptr;
    HIMAGELIST sortMarkers_ = nullptr;
    platform::Font sortFont_;
    HCURSOR downCursor_ = nullptr, rightCursor_ = nullptr, leftCursor_ = nullptr;
    TDataGridStyle style_;
};

// Creates the shared objects on first use (the first grid, at start-up) and
// keeps them until the program ends.
TGridResources& GridResources();

} // namespace grid
