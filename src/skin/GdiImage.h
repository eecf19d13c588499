// The Windows side of the skin images: Pixmaps onto device contexts, regions
// from images, gradients on a DC and the face brush. Everything is composed
// on Pixmaps first (ImageOps.h) and reaches GDI here in one step.
#pragma once

#include "platform/GdiHandles.h"
#include "skin/Bitmap.h"
#include "skin/ImageOps.h"
#include "skin/SkinElements.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace skin::gdi {

// Makes GetSysColor the resolver of system colour references.
void UseSystemColours();

// A top-down 32-bit DIB section holding the pixels of `image` (null when the
// image is empty or the section cannot be made).
platform::Bitmap CreateDibSection(const Pixmap& image);
// The pixels of any bitmap, read back through GetDIBits (empty on failure).
// The bitmap must not be selected into a DC.
Pixmap ReadBitmap(HBITMAP bitmap);
// A monochrome mask of `image`: bit 1 where the pixel is not `key`.
platform::Bitmap CreateKeyMask(const Pixmap& image, Colour key);

// Copies `image` 1:1 to the top-left of `target` (as much as both hold).
void DrawOpaque(HDC dc, const Rect& target, const Pixmap& image);
// The same, leaving the DC's pixels under `key` pixels unchanged: one MaskBlt
// that copies where the mask is set and keeps the target elsewhere.
void DrawTransparent(HDC dc, const Rect& target, const Pixmap& image, Colour key);
// Draws either way.
void DrawPixmap(HDC dc, const Rect& target, const Pixmap& image, bool transparent);

// ComposeElement, then a transparent (key magenta) or opaque copy. Does
// nothing when the target has negative width or height.
void DrawElement(HDC dc, const Rect& target, const Pixmap& bitmap, bool verticalFrames,
                 bool tileCentre, bool transparent, int frameCount, int frameIndex,
                 const TSkinMargins& margins);

// BitmapToRegion as a region handle: the region of the non-key pixels of `bitmap`, built with
// ExtCreateRegion per batch of rectangles and united with CombineRgn(RGN_OR). Null when the image
// has no such pixels.
platform::Region BitmapToRegionHandle(const Pixmap& bitmap, int xOffset, int yOffset,
                                      int blueTolerance, int greenTolerance, int redTolerance,
                                      Colour key);
// The region made of the given batches (see skin::BitmapToRegion).
platform::Region RegionFromBatches(const std::vector<std::vector<Rect>>& batches);

// Gradient in `rect`: one solid one-pixel line per entry, top to bottom
// (vertical) or left to right, skipping lines outside the DC's clip box.
void GradientFill(HDC dc, const Rect& rect, Colour first, bool vertical, Colour last,
                  GradientCache& cache = GradientCache::Global());

// Solid brush of the skin's ButtonFace colour, renewed at every skin load.
class FaceBrush {
public:
    // Deletes the previous brush, then makes one of `buttonFace` (resolved).
    void Reset(Colour buttonFace);
    HBRUSH get() const { return brush_.get(); }
    Colour colour() const { return colour_; }

private:
    platform::Brush brush_;
    Colour colour_ = 0;
};

// A memory DC with a top-down 32-bit DIB section selected into it: an
// off-screen canvas whose pixels can be read directly.
class DibCanvas {
public:
    DibCanvas(int width, int height, Colour fill = 0);
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;
    ~DibCanvas();

    bool valid() const { return bits_ != nullptr; }
    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // Flushes pending GDI work, then reads the pixel (no bounds check).
    Colour Pixel(int x, int y) const;
    Pixmap ToPixmap() const;

private:
    platform::MemoryDC dc_;
    platform::Bitmap bitmap_;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

} // namespace skin::gdi
