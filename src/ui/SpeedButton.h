// TSpeedButton: a windowless button painted by its parent. Flat buttons show
// their edge only while the mouse is over them; a picture, when given, stands
// left of the caption. The caption's "&" marks the accelerator.
#pragma once

#include "ui/GraphicControl.h"

namespace ui {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner) : TGraphicControl(owner) {}
    std::wstring ClassName() const override { return L"TSpeedButton"; }
    std::vector<std::wstring> ClassChain() const override;
    const TPropInfo* FindProp(const std::wstring& name) const override;

    bool Flat = false;
    int Spacing = 4; // pixels between picture and caption
    int Margin = -1; // pixels from the edge to the picture; -1 centres
    TButtonLayout Layout = TButtonLayout::blGlyphLeft;
    // The picture (not owned; a bitmap resource of the program, say): a strip
    // of NumGlyphs equal cells (normal, disabled, pressed, down).
    HBITMAP Glyph = nullptr;
    int NumGlyphs = 1;

    // Held down by the mouse, or left down by the program.
    bool Down() const { return down_ || (pressed_ && mouseInControl_); }
    void SetDown(bool down);

protected:
    void Paint(HDC dc) override;
    void WndProc(TMessage& msg) override;

private:
    // A mouse message's point (control coordinates) lies on the button.
    bool Contains(LPARAM point) const;

    bool pressed_ = false;
    bool down_ = false;
};

} // namespace ui
