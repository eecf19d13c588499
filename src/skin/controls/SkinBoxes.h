// Plain surfaces of a skinned window: group boxes, panels, dialogs embedded
// in system dialogs and size grips. They take the skin's ButtonFace colour;
// the group box also draws its frame and caption.
#pragma once

#include "skin/controls/SkinControl.h"

namespace skin {

// A ButtonFace background, a rounded frame in the skin's shadow colour with a
// light line inside its top and left edges, and the caption on a gap of face
// colour in the top edge.
class TSkinGroupBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::wstring ClassName() const override { return L"TSkinGroupBox"; }

    void Attach(ui::TControl& control, TSkinControlList* list, TSkinHolder& holder,
                bool ownsColour) override;
    bool BeforeMessage(ui::TMessage& msg) override;
    void Paint(HDC dc, const RECT& rect) override;

private:
    TFaceBitmap face_;
};

// A panel or a form used as a control: it only takes over the control's
// Color (ButtonFace) and ParentBackground, and gives them back on detach.
class TSkinBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::wstring ClassName() const override { return L"TSkinBox"; }
    // Attached with owns colour set. Its handler only passes messages on
    // and learns that the window is gone; the box paints nothing itself.
    void AfterMessage(ui::TMessage&) override {}
};

// A dialog embedded in a system dialog: its background and the background of
// its static texts become ButtonFace.
class TSkinDialogBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::wstring ClassName() const override { return L"TSkinDialogBox"; }
    bool BeforeMessage(ui::TMessage& msg) override;
};

// A size-grip scroll bar of a system dialog: after the system paints it, it
// is filled with ButtonFace so that it matches the skinned face around it.
class TSkinSizer : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::wstring ClassName() const override { return L"TSkinSizer"; }
    bool BeforeMessage(ui::TMessage& msg) override;
    void Paint(HDC dc, const RECT& rect) override;
};

} // namespace skin
