#include "ui/Image.h"

#include "platform/JpegPicture.h"
#include "ui/WinControl.h"

#include <windowsx.h>

#include <utility>

namespace ui {

std::vector<std::wstring> TImage::ClassChain() const {
    auto chain = TGraphicControl::ClassChain();
    chain.insert(chain.begin(), L"TImage");
    return chain;
}

void TImage::SetPicture(HBITMAP bitmap) {
    pendingJpeg_.clear();
    picture_.reset(bitmap);
    BITMAP bm{};
    if (bitmap) GetObjectW(bitmap, sizeof(bm), &bm);
    size_ = {bm.bmWidth, bm.bmHeight};
    Invalidate();
}

void TImage::LoadJpeg(std::vector<std::uint8_t> jpeg) {
    picture_.reset();
    pendingJpeg_.clear();
    size_ = {0, 0};
    if (const auto header = platform::ReadJpegSize(jpeg)) {
        size_ = {header->Width, header->Height};
        pendingJpeg_ = std::move(jpeg);
    }
    Invalidate();
}

void TImage::DecodePending() {
    if (pendingJpeg_.empty()) return;
    // Decoded once, whatever the outcome: a stream that fails stays empty.
    std::vector<std::uint8_t> jpeg = std::move(pendingJpeg_);
    pendingJpeg_ = {};
    picture_ = platform::DecodeJpeg(jpeg);
    BITMAP bm{};
    if (picture_) GetObjectW(picture_.get(), sizeof(bm), &bm);
    size_ = {bm.bmWidth, bm.bmHeight};
}

void TImage::Paint(HDC dc) {
    // Not stretched, not centred; the control's own background shows around it.
    RECT r{0, 0, Width(), Height()};
    platform::Brush brush(CreateSolidBrush(ColorToRGB(Parent() ? Parent()->Color() : Color())));
    FillRect(dc, &r, brush.get());
    DecodePending();
    if (!picture_) return;
    platform::MemoryDC mem(dc);
    platform::SelectGuard sel(mem.get(), picture_.get());
    BitBlt(dc, 0, 0, size_.cx, size_.cy, mem.get(), 0, 0, SRCCOPY);
}

bool TImage::Contains(LPARAM point) const {
    const POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    const RECT r{0, 0, Width(), Height()};
    return PtInRect(&r, p) != FALSE;
}

void TImage::WndProc(TMessage& msg) {
    // A click is a press and a release of the left button on the image.
    switch (msg.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        return;
    case WM_LBUTTONUP:
        if (std::exchange(pressed_, false) && Contains(msg.LParam)) Click();
        return;
    case WM_CANCELMODE:
        pressed_ = false;
        return;
    default:
        break;
    }
    TGraphicControl::WndProc(msg);
}

} // namespace ui
