// Drawing primitives and image utilities of the skin engine, on Pixmaps.
// The Windows layer (GdiImage.h) puts their results on device contexts.
//
// Stretching samples the nearest source pixel as the COLORONCOLOR stretch mode
// does: target pixel i of a piece n wide, filled from a source piece m wide,
// takes source pixel (i * m) / n (integer division, the pixel under the target
// pixel's left or top edge). Source pixels outside the source image are not
// drawn, so a frame index or margin that reaches past the image leaves those
// target pixels as they were.
#pragma once

#include "skin/Bitmap.h"
#include "skin/SkinElements.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace skin {

// ---- colours ----------------------------------------------------------------

// True for a reference to a system colour (0xFF0000nn).
constexpr bool IsSystemColour(Colour c) {
    return (c & 0xFF000000u) == 0xFF000000u;
}

// Maps a system colour index (COLOR_BTNFACE is 15) to its current RGB value.
using SystemColourResolver = std::function<Colour(int index)>;

// Installs the resolver used by every primitive that resolves colours. The
// Windows layer installs GetSysColor; without one, system colours are black.
void SetSystemColourResolver(SystemColourResolver resolver);
// A plain colour is returned as it is (top byte cleared); a system colour
// reference is resolved.
Colour ResolveColour(Colour c);

// Mixes two colours: weight p is a percentage of c1 below 100 and a per-mille
// from 100 on, so Blend(x, y, 100) is 10 % x and Blend(x, y, 150) 15 % x.
// Channels are rounded half up and kept within 0..255.
Colour Blend(Colour c1, Colour c2, int weight);

// Saturation scaled to 0..255 (halves rounded up), or 200 when every channel
// is below 160.
int Saturation255(Colour c);

// ---- primitives ---------------------------------------------------------------

// Stretches `srcRect` of `src` into `dstRect` of `dst` by nearest-pixel
// sampling. With `transparent`, source pixels equal to `key` are skipped.
void StretchCopy(Pixmap& dst, const Rect& dstRect, const Pixmap& src, const Rect& srcRect,
                 bool transparent = false, Colour key = kMagenta);

// Composes frame `frameIndex` of `bitmap` at the size of `target`: corners
// unscaled, edges stretched, centre stretched or tiled. Margins that do not
// fit the target are dropped in pairs (both horizontal or both vertical).
// An empty target gives an empty image.
Pixmap ComposeElement(const Rect& target, const Pixmap& bitmap, const TSkinMargins& margins,
                      bool verticalFrames, bool tileCentre, int frameCount, int frameIndex);

// Copies `bitmap` 1:1 to `target` of `canvas` (as many pixels as both have):
// pixels equal to `key` leave the canvas unchanged.
void DrawTransparent(Pixmap& canvas, const Rect& target, const Pixmap& bitmap, Colour key);
// The same without a key.
void DrawOpaque(Pixmap& canvas, const Rect& target, const Pixmap& bitmap);

// ComposeElement, then DrawTransparent with magenta or an opaque copy. Does
// nothing when the target has negative width or height.
void DrawElement(Pixmap& canvas, const Rect& target, const Pixmap& bitmap, bool verticalFrames,
                 bool tileCentre, bool transparent, int frameCount, int frameIndex,
                 const TSkinMargins& margins);

// The whole frame (normal layout) stretched to `rect`.
void DrawFrameStretched(Pixmap& canvas, const Rect& rect, const Pixmap& bitmap, bool transparent,
                        int frameCount, int frameIndex);
// The frame unscaled, centred in `rect` (halves truncated toward zero).
void DrawFrameCentred(Pixmap& canvas, const Rect& rect, const Pixmap& bitmap, bool transparent,
                      int frameCount, int frameIndex);
// Left margin, middle and right margin, each stretched; heights stretched.
// A rectangle narrower than the frame gets the whole frame stretched.
void DrawThreeSlice(Pixmap& canvas, const Rect& rect, const Pixmap& bitmap, bool verticalFrames,
                    int frameCount, int frameIndex, const TSkinMargins& margins);
// Left margin piece, the middle piece repeated, right margin piece last;
// heights stretched.
void DrawThreeSliceRepeated(Pixmap& canvas, const Rect& rect, const Pixmap& bitmap,
                            bool verticalFrames, bool transparent, int frameCount, int frameIndex,
                            const TSkinMargins& margins);
// Repeats `source` of `bitmap` unscaled from the top-left of `target` while
// the next copy starts inside it; the last copies may overrun `target` (they
// are clipped only by the canvas).
void TileRect(Pixmap& canvas, const Rect& target, const Pixmap& bitmap, const Rect& source);

// ---- regions ------------------------------------------------------------------

// Rectangles per region call when a region is built from an image.
constexpr std::size_t kRegionBatchSize = 2000;

// The opaque part of an image as rectangles: one per maximal run of non-key
// pixels in each row, offset by (xOffset, yOffset), in row order and split
// into batches of at most kRegionBatchSize. A pixel is a key pixel when each
// channel lies between the key's channel and that plus its tolerance (capped
// at 255). No batches means no region.
std::vector<std::vector<Rect>> BitmapToRegion(const Pixmap& bitmap, int xOffset, int yOffset,
                                              int blueTolerance, int greenTolerance,
                                              int redTolerance, Colour key);

// ---- image utilities ----------------------------------------------------------

// These convert to 24 bits per pixel, as their users expect.
void GrayBitmap(Pixmap& bitmap);
void ReplaceMagenta(Pixmap& bitmap, Colour colour);
void MirrorBitmap(Pixmap& bitmap);
void FlipBitmap(Pixmap& bitmap);
// 90 degrees counter-clockwise: the old top-right pixel becomes the new top-left.
Pixmap RotateLeft(const Pixmap& bitmap);
// 90 degrees clockwise: the old top-left pixel becomes the new top-right.
Pixmap RotateRight(const Pixmap& bitmap);

// ---- gradients ----------------------------------------------------------------

// The colours of a gradient of n steps from `first` to `last` (both plain):
// entry i is, per channel, first + ((n - 1) / 2 + i * (last - first)) / (n - 1),
// and a single step is the midpoint first + (last - first) / 2.
std::vector<Colour> GradientColours(int n, Colour first, Colour last);

// Sixteen gradients kept for reuse, replaced round-robin. A slot is reused
// when it was computed for the same length and the same two colours; slots
// are searched from 15 down to 0.
class GradientCache {
public:
    static constexpr int kSlots = 16;

    // The entries for (n, first, last); n must be positive, colours plain.
    const std::vector<Colour>& Get(int n, Colour first, Colour last);
    // Slot used by the last Get and whether it had to be computed.
    int LastSlot() const { return lastSlot_; }
    bool LastWasComputed() const { return lastComputed_; }
    void Clear();

    // The cache shared by every gradient fill of the program (GUI thread only).
    static GradientCache& Global();

private:
    struct Slot {
        int length = 0;
        Colour first = 0;
        Colour last = 0;
        std::vector<Colour> colours;
    };
    std::array<Slot, kSlots> slots_{};
    int next_ = 0;
    int lastSlot_ = -1;
    bool lastComputed_ = false;
};

// Paints a gradient into `rect` of `canvas`, one line per entry, top to
// bottom (vertical) or left to right; only lines inside the canvas are
// painted. Colours are resolved first; a length of 0 or less paints nothing.
void GradientFill(Pixmap& canvas, const Rect& rect, Colour first, bool vertical, Colour last,
                  GradientCache& cache = GradientCache::Global());

} // namespace skin
