// TSkinProgress: a progress bar painted from the skin's Progress element: the
// trough from its first frame, the filled part from its second, as wide as
// the position is far into the range. Vertical bars are painted lying down
// and turned, so that they fill from the bottom. The control keeps its range
// and position; the object reads them when it paints.
#pragma once

#include "skin/controls/SkinControl.h"

namespace skin {

class TSkinProgress : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::wstring ClassName() const override { return L"TSkinProgress"; }

    bool BeforeMessage(ui::TMessage& msg) override;
    void Paint(HDC dc, const RECT& rect) override;

    // The bar's picture at w x h for a position of `pos` in 0..`max`.
    Pixmap Compose(int w, int h, bool vertical, int pos, int max) const;

private:
    bool ElementUsable() const;
    Pixmap ComposeChunks(int w, int h, int pos, int max) const;

    TFaceBitmap face_;
};

} // namespace skin
