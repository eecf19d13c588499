// Push buttons and speed buttons painted from the skin's Buttons element: one
// bitmap of five state frames (normal, pressed, disabled, hot, focused) drawn
// nine-slice at the button's size, with the caption, a glyph and a focus mark
// on top.
//
// A skinned push button keeps the left mouse button from the control, so the
// control never captures the mouse: the click comes from a release over the
// button while it is pressed, and leaving the button, losing the focus or the
// capture clears the pressed state.
#pragma once

#include "skin/controls/SkinControl.h"

namespace skin {

// Frame indexes of the Buttons element, from 1.
enum TButtonStateIndex : int {
    bsiNormal = 1,
    bsiPressed = 2,
    bsiDisabled = 3,
    bsiHot = 4,
    bsiFocused = 5,
};

class TSkinButton : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::wstring ClassName() const override { return L"TSkinButton"; }

    void Attach(ui::TControl& control, TSkinControlList* list, TSkinHolder& holder,
                bool ownsColour) override;
    bool BeforeMessage(ui::TMessage& msg) override;
    void AfterMessage(ui::TMessage& msg) override;
    void Paint(HDC dc, const RECT& rect) override;

    bool Transparent() const { return transparent_; }
    // The frame a push button shows: disabled wins, then pressed, hot, focused.
    static int PushStateIndex(bool enabled, bool pressed, bool hot, bool focused);

protected:
    // Draws `text` centred or aligned (DT_LEFT, DT_CENTER, DT_RIGHT) in `rect`;
    // the first "||" breaks the line. With `focusMark` (and without the skin
    // option soNoFocusRect) a focus rectangle 2 pixels outside the text.
    void DrawCaption(HDC dc, const RECT& rect, UINT alignment, std::wstring text, bool focusMark);
    // The text colour of a state: the element's second colours where the skin
    // gives them, button shadow when disabled, else `normal`.
    COLORREF StateTextColour(int stateIndex, bool enabled, COLORREF normal) const;
    void Click();
    bool ButtonsUsable() const;

    TFaceBitmap face_;
    bool transparent_ = false;
};

// A push button with a glyph beside its caption (no window of this program
// has one; it is the base of the speed button's painting).
class TSkinBitButton : public TSkinButton {
public:
    using TSkinButton::TSkinButton;
    std::wstring ClassName() const override { return L"TSkinBitButton"; }
    void Paint(HDC dc, const RECT& rect) override;

    // Names the property holding a picture drawn unchanged instead of
    // "Glyph" ("PngImage" for that skin type).
    std::wstring GlyphPropertyName;

protected:
    // Glyph and caption laid out as the button's Layout, Margin and Spacing
    // say, onto the face bitmap of size w x h. `glyphIndex` is 1-based.
    void DrawGlyphAndCaption(const ui::TControl& button, int w, int h, int stateIndex,
                             int glyphIndex, bool enabled, COLORREF fontColour);
    // The glyph picture of `button`, read once per bitmap handle.
    const Pixmap& GlyphPixmap(const ui::TControl& button);

private:
    HBITMAP glyphSource_ = nullptr;
    Pixmap glyph_;
};

// A speed button: windowless, painted by its parent. It keeps its own click;
// the object only paints it and follows its hot and pressed states.
class TSkinSpeedButton : public TSkinBitButton {
public:
    using TSkinBitButton::TSkinBitButton;
    std::wstring ClassName() const override { return L"TSkinSpeedButton"; }

    // The speed button's own attach: the button becomes the paint target.
    void AttachSpeedButton(ui::TControl& button, TSkinControlList* list, TSkinHolder& holder);
    bool BeforeMessage(ui::TMessage& msg) override;
    void AfterMessage(ui::TMessage& msg) override;
    void PaintWindow(HDC dc) override;
    void Paint(HDC dc, const RECT& rect) override;

    static int SpeedStateIndex(bool down, bool enabled, bool pressed, bool hot);

private:
    void RestoreHandler();
    bool painting_ = false;
};

} // namespace skin
