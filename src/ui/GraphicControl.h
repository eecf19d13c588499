// TGraphicControl: a control without a window of its own. Its parent paints
// it (WM_PAINT arrives with the parent's DC in wParam, the origin moved to the
// control's top-left corner) and routes mouse messages and enter/leave
// notifications to it in the control's own coordinates.
#pragma once

#include "ui/Control.h"

namespace ui {

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
    std::wstring ClassName() const override { return L"TGraphicControl"; }
    std::vector<std::wstring> ClassChain() const override;

    bool MouseInControl() const { return mouseInControl_; }

protected:
    virtual void Paint(HDC dc) = 0;
    void WndProc(TMessage& msg) override;

    bool mouseInControl_ = false;
};

} // namespace ui
