// Colours, fonts and cursors as the framework's controls hold them.
#pragma once

#include "platform/GdiHandles.h"

#include <windows.h>

#include <string>

namespace ui {

// A colour: 0x00BBGGRR, or a system colour written as 0x800000nn.
using TColor = std::int32_t;
constexpr TColor SystemColor(int index) {
    return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index));
}
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);

// Resolves system colours to their current RGB value.
COLORREF ColorToRGB(TColor color);

enum class TCursor { crDefault, crArrow, crHandPoint, crAppStart, crHourGlass, crIBeam, crSizeWE };
HCURSOR CursorHandle(TCursor cursor);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// The screen's logical pixels per inch; layouts are designed at 96.
int ScreenPixelsPerInch();
int ScaleForScreen(int designValue, int designPpi = 96);

// A font description with a lazily created, owned HFONT.
class TFont {
public:
    TFont() = default;
    TFont(std::wstring name, int sizePoints, TColor color = clWindowText, unsigned style = 0);
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    const std::wstring& Name() const { return name_; }
    void SetName(std::wstring name);
    int Size() const { return size_; }
    void SetSize(int points);
    // Height in pixels at the screen's resolution (positive = cell height).
    int Height() const;
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    unsigned Style() const { return style_; }
    void SetStyle(unsigned style);

    HFONT Handle() const;
    bool operator==(const TFont& o) const {
        return name_ == o.name_ && size_ == o.size_ && color_ == o.color_ && style_ == o.style_;
    }

private:
    std::wstring name_ = L"MS Sans Serif";
    int size_ = 8;
    TColor color_ = clWindowText;
    unsigned style_ = 0;
    mutable platform::Font handle_;
};

} // namespace ui
