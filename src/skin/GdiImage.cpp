#include "skin/GdiImage.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace skin::gdi {

namespace {

// Pixmaps keep COLORREF order (0x00BBGGRR); 32-bit DIB pixels are B, G, R, X
// in memory, that is 0x00RRGGBB.
std::uint32_t ToDib(Colour c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
Colour FromDib(std::uint32_t p) {
    return Rgb(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
               static_cast<int>(p & 0xFF));
}

BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::vector<std::uint32_t> DibPixels(const Pixmap& image, int width, int height) {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) *
                                   static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const Colour* row = image.Row(y);
        std::uint32_t* dst = out.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            dst[x] = ToDib(row[x]);
    }
    return out;
}

// The part of `image` that lands in `target`: both sizes limit it.
SIZE CopySize(const Rect& target, const Pixmap& image) {
    return SIZE{std::max(0, std::min(target.Width(), image.Width())),
                std::max(0, std::min(target.Height(), image.Height()))};
}

Pixmap Cropped(const Pixmap& image, SIZE size) {
    if (size.cx == image.Width() && size.cy == image.Height()) return image;
    Pixmap out(size.cx, size.cy, 0, image.BitDepth());
    skin::DrawOpaque(out, out.Bounds(), image);
    return out;
}

} // namespace

void UseSystemColours() {
    SetSystemColourResolver([](int index) {
        const COLORREF c = GetSysColor(index);
        return static_cast<Colour>(c);
    });
}

platform::Bitmap CreateDibSection(const Pixmap& image) {
    if (image.Empty()) return {};
    const BITMAPINFO info = TopDownInfo(image.Width(), image.Height());
    void* bits = nullptr;
    platform::Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    const auto pixels = DibPixels(image, image.Width(), image.Height());
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(std::uint32_t));
    return bitmap;
}

Pixmap ReadBitmap(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || GetObjectW(bitmap, sizeof bm, &bm) == 0) return {};
    Pixmap out(bm.bmWidth, bm.bmHeight, 0, bm.bmBitsPixel);
    if (out.Empty()) return {};
    BITMAPINFO info = TopDownInfo(out.Width(), out.Height());
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(out.Width()) *
                                      static_cast<std::size_t>(out.Height()));
    platform::MemoryDC dc;
    if (GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(out.Height()), pixels.data(), &info,
                  DIB_RGB_COLORS) != out.Height())
        return {};
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            out.SetPixel(x, y, FromDib(pixels[static_cast<std::size_t>(y) * out.Width() + x]));
    return out;
}

platform::Bitmap CreateKeyMask(const Pixmap& image, Colour key) {
    if (image.Empty()) return {};
    key &= 0xFFFFFF;
    // Monochrome rows are padded to 16 bits; the leftmost pixel is the top bit.
    const std::size_t stride = (static_cast<std::size_t>(image.Width()) + 15) / 16 * 2;
    std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(image.Height()), 0);
    for (int y = 0; y < image.Height(); ++y) {
        const Colour* row = image.Row(y);
        std::uint8_t* out = bits.data() + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < image.Width(); ++x)
            if (row[x] != key) out[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    return platform::Bitmap(CreateBitmap(image.Width(), image.Height(), 1, 1, bits.data()));
}

void DrawOpaque(HDC dc, const Rect& target, const Pixmap& image) {
    const SIZE size = CopySize(target, image);
    if (size.cx == 0 || size.cy == 0) return;
    BITMAPINFO info = TopDownInfo(size.cx, size.cy);
    const auto pixels = DibPixels(image, size.cx, size.cy);
    SetDIBitsToDevice(dc, target.Left, target.Top, static_cast<DWORD>(size.cx),
                      static_cast<DWORD>(size.cy), 0, 0, 0, static_cast<UINT>(size.cy),
                      pixels.data(), &info, DIB_RGB_COLORS);
}

void DrawTransparent(HDC dc, const Rect& target, const Pixmap& image, Colour key) {
    const SIZE size = CopySize(target, image);
    if (size.cx == 0 || size.cy == 0) return;
    const Pixmap part = Cropped(image, size);
    platform::Bitmap source = CreateDibSection(part);
    platform::Bitmap mask = CreateKeyMask(part, key);
    if (!source || !mask) return;
    platform::MemoryDC sourceDC(dc);
    platform::SelectGuard select(sourceDC.get(), source.get());
    // Mask bit 1 (not key): SRCCOPY; bit 0 (key): keep the target.
    constexpr DWORD kKeepTarget = 0x00AA0029;
    MaskBlt(dc, target.Left, target.Top, size.cx, size.cy, sourceDC.get(), 0, 0, mask.get(), 0, 0,
            MAKEROP4(SRCCOPY, kKeepTarget));
}

void DrawPixmap(HDC dc, const Rect& target, const Pixmap& image, bool transparent) {
    if (transparent)
        DrawTransparent(dc, target, image, kMagenta);
    else
        DrawOpaque(dc, target, image);
}

void DrawElement(HDC dc, const Rect& target, const Pixmap& bitmap, bool verticalFrames,
                 bool tileCentre, bool transparent, int frameCount, int frameIndex,
                 const TSkinMargins& margins) {
    if (target.Width() < 0 || target.Height() < 0) return;
    const Pixmap composed =
        ComposeElement(target, bitmap, margins, verticalFrames, tileCentre, frameCount, frameIndex);
    if (!composed.Empty()) DrawPixmap(dc, target, composed, transparent);
}

platform::Region RegionFromBatches(const std::vector<std::vector<Rect>>& batches) {
    platform::Region result;
    std::vector<std::uint8_t> buffer;
    for (const auto& batch : batches) {
        if (batch.empty()) continue;
        const DWORD rectBytes = static_cast<DWORD>(batch.size() * sizeof(RECT));
        buffer.assign(sizeof(RGNDATAHEADER) + rectBytes, 0);
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = static_cast<DWORD>(batch.size());
        data->rdh.nRgnSize = rectBytes;
        RECT bound{batch[0].Left, batch[0].Top, batch[0].Right, batch[0].Bottom};
        auto* rects = reinterpret_cast<RECT*>(data->Buffer);
        for (std::size_t i = 0; i < batch.size(); ++i) {
            const Rect& r = batch[i];
            rects[i] = RECT{r.Left, r.Top, r.Right, r.Bottom};
            bound.left = std::min<LONG>(bound.left, r.Left);
            bound.top = std::min<LONG>(bound.top, r.Top);
            bound.right = std::max<LONG>(bound.right, r.Right);
            bound.bottom = std::max<LONG>(bound.bottom, r.Bottom);
        }
        data->rdh.rcBound = bound;
        platform::Region part(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
        if (!part) continue;
        if (!result)
            result = std::move(part);
        else
            CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
    }
    return result;
}

platform::Region BitmapToRegionHandle(const Pixmap& bitmap, int xOffset, int yOffset,
                                      int blueTolerance, int greenTolerance, int redTolerance,
                                      Colour key) {
    return RegionFromBatches(skin::BitmapToRegion(bitmap, xOffset, yOffset, blueTolerance,
                                                  greenTolerance, redTolerance, key));
}

void GradientFill(HDC dc, const Rect& rect, Colour first, bool vertical, Colour last,
                  GradientCache& cache) {
    first = ResolveColour(first);
    last = ResolveColour(last);
    const int n = vertical ? rect.Height() : rect.Width();
    if (n <= 0) return;
    const std::vector<Colour>& colours = cache.Get(n, first, last);
    RECT clip{};
    const int clipKind = GetClipBox(dc, &clip);
    if (clipKind == NULLREGION) return;
    const bool clipped = clipKind != ERROR;
    for (int i = 0; i < n; ++i) {
        const RECT line = vertical ? RECT{rect.Left, rect.Top + i, rect.Right, rect.Top + i + 1}
                                   : RECT{rect.Left + i, rect.Top, rect.Left + i + 1, rect.Bottom};
        RECT visible{};
        if (clipped && !IntersectRect(&visible, &line, &clip)) continue;
        platform::Brush brush(CreateSolidBrush(colours[static_cast<std::size_t>(i)]));
        FillRect(dc, &line, brush.get());
    }
}

void FaceBrush::Reset(Colour buttonFace) {
    brush_.reset();
    colour_ = ResolveColour(buttonFace);
    brush_.reset(CreateSolidBrush(colour_));
}

DibCanvas::DibCanvas(int width, int height, Colour fill) {
    if (width <= 0 || height <= 0) return;
    const BITMAPINFO info = TopDownInfo(width, height);
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits || !dc_.get()) return;
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    std::fill(bits_, bits_ + static_cast<std::size_t>(width) * height, ToDib(fill & 0xFFFFFF));
    old_ = SelectObject(dc_.get(), bitmap_.get());
}

DibCanvas::~DibCanvas() {
    if (old_) SelectObject(dc_.get(), old_);
}

Colour DibCanvas::Pixel(int x, int y) const {
    GdiFlush();
    return FromDib(bits_[static_cast<std::size_t>(y) * width_ + x]);
}

Pixmap DibCanvas::ToPixmap() const {
    if (!bits_) return {};
    GdiFlush();
    Pixmap out(width_, height_, 0, 32);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out.SetPixel(x, y, FromDib(bits_[static_cast<std::size_t>(y) * width_ + x]));
    return out;
}

} // namespace skin::gdi
