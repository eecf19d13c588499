// TImage: a windowless picture drawn at its natural size from the control's
// top-left corner. The picture is a DIB the control owns.
#pragma once

#include "ui/GraphicControl.h"

#include "platform/GdiHandles.h"

namespace ui {

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner) : TGraphicControl(owner) {}
    std::wstring ClassName() const override { return L"TImage"; }
    std::vector<std::wstring> ClassChain() const override;

    // Takes ownership of the bitmap.
    void SetPicture(HBITMAP bitmap);
    HBITMAP Picture() const { return picture_.get(); }
    SIZE PictureSize() const;

protected:
    void Paint(HDC dc) override;

private:
    platform::Bitmap picture_;
};

} // namespace ui
