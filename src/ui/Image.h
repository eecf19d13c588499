// TImage: a windowless picture drawn at its natural size from the control's
// top-left corner. The picture is a DIB the control owns, or a JPEG stream
// whose header is read when it is given and whose pixels are decoded the
// first time the image paints, then kept.
#pragma once

#include "ui/GraphicControl.h"

#include "platform/GdiHandles.h"

#include <cstdint>
#include <vector>

namespace ui {

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner) : TGraphicControl(owner) {}
    std::wstring ClassName() const override { return L"TImage"; }
    std::vector<std::wstring> ClassChain() const override;

    // Takes ownership of the bitmap.
    void SetPicture(HBITMAP bitmap);
    // Keeps the JPEG stream and reads only its frame header, for the size.
    // A stream without a readable header, or one that later fails to decode,
    // leaves the image empty.
    void LoadJpeg(std::vector<std::uint8_t> jpeg);

    // The decoded picture; nullptr while a JPEG waits for its first paint.
    HBITMAP Picture() const { return picture_.get(); }
    SIZE PictureSize() const { return size_; }
    bool Empty() const { return size_.cx == 0 || size_.cy == 0; }

protected:
    void Paint(HDC dc) override;
    void WndProc(TMessage& msg) override;

private:
    void DecodePending();
    bool Contains(LPARAM point) const;

    platform::Bitmap picture_;
    std::vector<std::uint8_t> pendingJpeg_;
    SIZE size_{0, 0};
    bool pressed_ = false;
};

} // namespace ui
