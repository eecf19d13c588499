#include "ui/Image.h"

#include "ui/WinControl.h"

namespace ui {

std::vector<std::wstring> TImage::ClassChain() const {
    auto chain = TGraphicControl::ClassChain();
    chain.insert(chain.begin(), L"TImage");
    return chain;
}

void TImage::SetPicture(HBITMAP bitmap) {
    picture_.reset(bitmap);
    Invalidate();
}

SIZE TImage::PictureSize() const {
    BITMAP bm{};
    if (picture_) GetObjectW(picture_.get(), sizeof(bm), &bm);
    return {bm.bmWidth, bm.bmHeight};
}

void TImage::Paint(HDC dc) {
    // Not stretched, not centred; the control's own background shows around it.
    RECT r{0, 0, Width(), Height()};
    platform::Brush brush(CreateSolidBrush(ColorToRGB(Parent() ? Parent()->Color() : Color())));
    FillRect(dc, &r, brush.get());
    if (!picture_) return;
    const SIZE size = PictureSize();
    platform::MemoryDC mem(dc);
    platform::SelectGuard sel(mem.get(), picture_.get());
    BitBlt(dc, 0, 0, size.cx, size.cy, mem.get(), 0, 0, SRCCOPY);
}

} // namespace ui
