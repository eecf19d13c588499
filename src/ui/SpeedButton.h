// TSpeedButton: a windowless button painted by its parent. Flat buttons show
// their edge only while the mouse is over them; a picture, when given, stands
// left of the caption. The caption's "&" marks the accelerator.
#pragma once

#include "ui/GraphicControl.h"

namespace ui {

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner) : TGraphicControl(owner) {}
    std::wstring ClassName() const override { return L"TSpeedButton"; }
    std::vector<std::wstring> ClassChain() const override;

    bool Flat = false;
    int Spacing = 4; // pixels between picture and caption
    // The picture (not owned; a bitmap resource of the program, say).
    HBITMAP Glyph = nullptr;

    bool Down() const { return pressed_ && mouseInControl_; }

protected:
    void Paint(HDC dc) override;
    void WndProc(TMessage& msg) override;

private:
    // A mouse message's point (control coordinates) lies on the button.
    bool Contains(LPARAM point) const;

    bool pressed_ = false;
};

} // namespace ui
