// Check boxes and radio buttons painted from the Buttons element's check and
// radio images: a box of one frame per state (4 or 12 frames), and, when the
// object paints the whole control, the background and the caption beside it.
//
// Kind 1 (a framework control and a skin with a check image) paints all of
// the control; kind 0 (a bare window, or no check image) lets the control
// paint itself and puts only the box over it.
#pragma once

#include "skin/controls/SkinControl.h"

namespace skin {

class TSkinButtonElement;

class TSkinCheckBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::wstring ClassName() const override { return L"TSkinCheckBox"; }

    void Attach(ui::TControl& control, TSkinControlList* list, TSkinHolder& holder,
                bool ownsColour) override;
    bool BeforeMessage(ui::TMessage& msg) override;
    void AfterMessage(ui::TMessage& msg) override;
    void Paint(HDC dc, const RECT& rect) override;

    // 0 until a BM_SETCHECK passed; then its wParam + 1.
    int CheckState() const { return checkState_; }
    bool Transparent() const { return transparent_; }
    // The frame (from 1) the box shows now, or 0 without a usable image.
    int BoxFrame() const;

    // The frame of an image of `frames` frames for a box whose base choice
    // (1 unchecked, 2 checked, 3 unchecked-disabled, 4 checked-disabled or
    // indeterminate) is `f`, with the window's indeterminate and disabled
    // states. Never past the image's last frame.
    static int MapFrame(int f, int frames, bool indeterminate, bool disabled);

protected:
    virtual const Pixmap& Image(const TSkinButtonElement& element) const;
    virtual int ImageFrames(const TSkinButtonElement& element) const;
    // The checked state the window reports.
    virtual bool WindowChecked() const;
    bool ImageUsable() const;

private:
    void Erase(ui::TMessage& msg);
    void DrawCaption(HDC dc, RECT area, UINT format, bool enabled);

    int checkState_ = 0;
    bool transparent_ = false;
    TFaceBitmap face_;
};

// The same for radio buttons, with the radio image; the checked state comes
// from BM_GETCHECK and the control's "Checked".
class TSkinRadioButton : public TSkinCheckBox {
public:
    using TSkinCheckBox::TSkinCheckBox;
    std::wstring ClassName() const override { return L"TSkinRadioButton"; }

protected:
    const Pixmap& Image(const TSkinButtonElement& element) const override;
    int ImageFrames(const TSkinButtonElement& element) const override;
    bool WindowChecked() const override;
};

} // namespace skin
