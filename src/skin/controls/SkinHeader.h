// TSkinHeader: a header control (the column titles of a list view) painted
// from the skin's Headerbar element: one section per item, frame 1, the hot
// section frame 2 and the pressed one frame 3, each with its text.
#pragma once

#include "skin/controls/SkinControl.h"

namespace skin {

class TSkinHeader : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::wstring ClassName() const override { return L"TSkinHeader"; }

    bool BeforeMessage(ui::TMessage& msg) override;
    void AfterMessage(ui::TMessage& msg) override;
    void Paint(HDC dc, const RECT& rect) override;

    // The item under the mouse, or -1.
    int HotItem() const { return hotItem_; }

private:
    bool ElementUsable() const;
    int ItemAt(POINT p) const;

    int hotItem_ = -1;
    bool down_ = false;
    TFaceBitmap face_;
};

} // namespace skin
