// Edit boxes and combo boxes: the control paints its own text and list; the
// skin draws the edges over it. An edit gets a thin frame in the skin's
// shadow colour, a combo box its border and drop-down button from the
// ComboButton element.
#pragma once

#include "skin/controls/SkinControl.h"

namespace skin {

class TSkinEdit : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::wstring ClassName() const override { return L"TSkinEdit"; }

    void AfterMessage(ui::TMessage& msg) override;
    // The border, only when the window has one (window and client sizes differ).
    void Paint(HDC dc, const RECT& rect) override;
};

// Frames of the ComboButton element, from 1.
enum TComboButtonIndex : int {
    cbiNormal = 1,
    cbiPressed = 2,
    cbiDisabled = 3,
    cbiHot = 4,
};

class TSkinComboBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::wstring ClassName() const override { return L"TSkinComboBox"; }

    void Attach(ui::TControl& control, TSkinControlList* list, TSkinHolder& holder,
                bool ownsColour) override;
    void AttachWindow(HWND window, TSkinHolder& holder, TSkinControlList* list) override;
    void Detach() override;
    void AfterMessage(ui::TMessage& msg) override;
    void Paint(HDC dc, const RECT& rect) override;

    // The frame the button shows now.
    int ButtonFrame() const;
    // A simple combo box's list window, or null.
    HWND ListWindow() const { return listWindow_; }

private:
    void FindSimpleList();

    HWND listWindow_ = nullptr;
    TFaceBitmap face_;
};

} // namespace skin
