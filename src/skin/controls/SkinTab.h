// Tab controls painted from the skin's Tabs element (five frames: normal,
// selected, disabled, hot, selected with the focus): each tab its frame with
// its text, the page area framed by the Tab.Pane element, or by the Tabs
// element's border image when the skin has no pane.
#pragma once

#include "skin/controls/SkinControl.h"

namespace skin {

enum TTabStateIndex : int {
    tsiNormal = 1,
    tsiSelected = 2,
    tsiDisabled = 3,
    tsiHot = 4,
    tsiFocused = 5,
};

class TSkinTab : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::wstring ClassName() const override { return L"TSkinTab"; }

    bool BeforeMessage(ui::TMessage& msg) override;
    void AfterMessage(ui::TMessage& msg) override;
    void Paint(HDC dc, const RECT& rect) override;

    // The frame tab `index` shows now.
    int TabFrame(int index) const;

private:
    int hotTab_ = -1;
    TFaceBitmap face_;
};

} // namespace skin
