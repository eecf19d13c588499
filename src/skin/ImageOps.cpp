#include "skin/ImageOps.h"

#include <algorithm>
#include <utility>

namespace skin {

namespace {

SystemColourResolver& Resolver() {
    static SystemColourResolver resolver;
    return resolver;
}

int ClampChannel(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, 255));
}

// Margins as drawn: negative values from a broken skin count as 0.
struct Cut {
    int l, t, r, b;
};

Cut CutFor(const TSkinMargins& m, int w, int h) {
    Cut c{std::max(m.LeftWidth, 0), std::max(m.TopHeight, 0), std::max(m.RightWidth, 0),
          std::max(m.BottomHeight, 0)};
    if (std::int64_t{w} < std::int64_t{c.l} + c.r) c.l = c.r = 0;
    if (std::int64_t{h} < std::int64_t{c.t} + c.b) c.t = c.b = 0;
    return c;
}

} // namespace

// ---- colours ----------------------------------------------------------------

void SetSystemColourResolver(SystemColourResolver resolver) {
    Resolver() = std::move(resolver);
}

Colour ResolveColour(Colour c) {
    if (!IsSystemColour(c)) return c & 0xFFFFFF;
    const auto& resolve = Resolver();
    return resolve ? resolve(static_cast<int>(c & 0xFF)) & 0xFFFFFF : 0;
}

Colour Blend(Colour c1, Colour c2, int weight) {
    c1 = ResolveColour(c1);
    c2 = ResolveColour(c2);
    const std::int64_t s = weight < 100 ? 100 : 1000;
    const std::int64_t p = weight;
    auto mix = [&](int a, int b) { return ClampChannel((a * p + b * (s - p) + s / 2) / s); };
    return Rgb(mix(RedOf(c1), RedOf(c2)), mix(GreenOf(c1), GreenOf(c2)),
               mix(BlueOf(c1), BlueOf(c2)));
}

int Saturation255(Colour c) {
    c = ResolveColour(c);
    const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
    if (r < 160 && g < 160 && b < 160) return 200;
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
    // 255 * (hi - lo) / hi rounded, in integers so that halves do not depend
    // on floating-point representation.
    return (2 * 255 * (hi - lo) + hi) / (2 * hi);
}

// ---- primitives ---------------------------------------------------------------

void StretchCopy(Pixmap& dst, const Rect& dstRect, const Pixmap& src, const Rect& srcRect,
                 bool transparent, Colour key) {
    const int dw = dstRect.Width(), dh = dstRect.Height();
    const int sw = srcRect.Width(), sh = srcRect.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || dst.Empty() || src.Empty()) return;
    const int x0 = std::max(dstRect.Left, 0), x1 = std::min(dstRect.Right, dst.Width());
    const int y0 = std::max(dstRect.Top, 0), y1 = std::min(dstRect.Bottom, dst.Height());
    if (x0 >= x1 || y0 >= y1) return;
    key &= 0xFFFFFF;

    std::vector<int> columns(static_cast<std::size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x)
        columns[static_cast<std::size_t>(x - x0)] =
            static_cast<int>(srcRect.Left + std::int64_t{x - dstRect.Left} * sw / dw);

    for (int y = y0; y < y1; ++y) {
        const std::int64_t sy = srcRect.Top + std::int64_t{y - dstRect.Top} * sh / dh;
        if (sy < 0 || sy >= src.Height()) continue;
        const Colour* in = src.Row(static_cast<int>(sy));
        Colour* out = dst.Row(y);
        for (int x = x0; x < x1; ++x) {
            const int sx = columns[static_cast<std::size_t>(x - x0)];
            if (sx < 0 || sx >= src.Width()) continue;
            const Colour c = in[sx];
            if (transparent && c == key) continue;
            out[x] = c;
        }
    }
}

void TileRect(Pixmap& canvas, const Rect& target, const Pixmap& bitmap, const Rect& source) {
    const int pw = source.Width(), ph = source.Height();
    if (pw <= 0 || ph <= 0 || target.IsEmpty()) return;
    // Whole copies of the piece: the last column and row of copies may reach
    // past `target`.
    const std::int64_t extentW = (std::int64_t{target.Width()} + pw - 1) / pw * pw;
    const std::int64_t extentH = (std::int64_t{target.Height()} + ph - 1) / ph * ph;
    const int x0 = std::max(target.Left, 0);
    const int x1 = static_cast<int>(std::min<std::int64_t>(target.Left + extentW, canvas.Width()));
    const int y0 = std::max(target.Top, 0);
    const int y1 = static_cast<int>(std::min<std::int64_t>(target.Top + extentH, canvas.Height()));
    for (int y = y0; y < y1; ++y) {
        const int sy = source.Top + (y - target.Top) % ph;
        if (sy < 0 || sy >= bitmap.Height()) continue;
        const Colour* in = bitmap.Row(sy);
        Colour* out = canvas.Row(y);
        for (int x = x0; x < x1; ++x) {
            const int sx = source.Left + (x - target.Left) % pw;
            if (sx >= 0 && sx < bitmap.Width()) out[x] = in[sx];
        }
    }
}

Pixmap ComposeElement(const Rect& target, const Pixmap& bitmap, const TSkinMargins& margins,
                      bool verticalFrames, bool tileCentre, int frameCount, int frameIndex) {
    const int w = target.Width(), h = target.Height();
    if (w <= 0 || h <= 0) return {};
    Pixmap out(w, h, 0, 24);
    if (out.Empty()) return out;

    const Rect f = FrameRect(bitmap, frameCount, frameIndex, verticalFrames);
    const int fw = f.Width(), fh = f.Height();
    const Cut c = CutFor(margins, w, h);
    const int innerSrcW = fw - c.l - c.r, innerSrcH = fh - c.t - c.b;
    const int innerW = w - c.l - c.r, innerH = h - c.t - c.b;

    auto piece = [&](int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
        StretchCopy(out, RectOfSize(dx, dy, dw, dh), bitmap,
                    RectOfSize(f.Left + sx, f.Top + sy, sw, sh));
    };

    // Order matters: the right and bottom pieces come after the centre so
    // that they cover tiles reaching past it.
    piece(0, 0, c.l, c.t, 0, 0, c.l, c.t);              // top-left
    piece(0, fh - c.b, c.l, c.b, 0, h - c.b, c.l, c.b); // bottom-left
    piece(fw - c.r, 0, c.r, c.t, w - c.r, 0, c.r, c.t); // top-right
    piece(0, c.t, c.l, innerSrcH, 0, c.t, c.l, innerH); // left edge
    piece(c.l, 0, innerSrcW, c.t, c.l, 0, innerW, c.t); // top edge
    if (tileCentre)
        TileRect(out, RectOfSize(c.l, c.t, innerW, innerH), bitmap,
                 RectOfSize(f.Left + c.l, f.Top + c.t, innerSrcW, innerSrcH));
    else
        piece(c.l, c.t, innerSrcW, innerSrcH, c.l, c.t, innerW, innerH); // centre
    piece(fw - c.r, fh - c.b, c.r, c.b, w - c.r, h - c.b, c.r, c.b);     // bottom-right
    piece(fw - c.r, c.t, c.r, innerSrcH, w - c.r, c.t, c.r, innerH);     // right edge
    piece(c.l, fh - c.b, innerSrcW, c.b, c.l, h - c.b, innerW, c.b);     // bottom edge
    return out;
}

void DrawTransparent(Pixmap& canvas, const Rect& target, const Pixmap& bitmap, Colour key) {
    const int w = std::min(target.Width(), bitmap.Width());
    const int h = std::min(target.Height(), bitmap.Height());
    StretchCopy(canvas, RectOfSize(target.Left, target.Top, w, h), bitmap, RectOfSize(0, 0, w, h),
                true, key);
}

void DrawOpaque(Pixmap& canvas, const Rect& target, const Pixmap& bitmap) {
    const int w = std::min(target.Width(), bitmap.Width());
    const int h = std::min(target.Height(), bitmap.Height());
    StretchCopy(canvas, RectOfSize(target.Left, target.Top, w, h), bitmap, RectOfSize(0, 0, w, h));
}

void DrawElement(Pixmap& canvas, const Rect& target, const Pixmap& bitmap, bool verticalFrames,
                 bool tileCentre, bool transparent, int frameCount, int frameIndex,
                 const TSkinMargins& margins) {
    if (target.Width() < 0 || target.Height() < 0) return;
    const Pixmap composed =
        ComposeElement(target, bitmap, margins, verticalFrames, tileCentre, frameCount, frameIndex);
    if (composed.Empty()) return;
    if (transparent)
        DrawTransparent(canvas, target, composed, kMagenta);
    else
        DrawOpaque(canvas, target, composed);
}

void DrawFrameStretched(Pixmap& canvas, const Rect& rect, const Pixmap& bitmap, bool transparent,
                        int frameCount, int frameIndex) {
    StretchCopy(canvas, rect, bitmap, FrameRect(bitmap, frameCount, frameIndex, false), transparent,
                kMagenta);
}

void DrawFrameCentred(Pixmap& canvas, const Rect& rect, const Pixmap& bitmap, bool transparent,
                      int frameCount, int frameIndex) {
    const Rect f = FrameRect(bitmap, frameCount, frameIndex, false);
    const int x = rect.Left + (rect.Width() - f.Width()) / 2;
    const int y = rect.Top + (rect.Height() - f.Height()) / 2;
    StretchCopy(canvas, RectOfSize(x, y, f.Width(), f.Height()), bitmap, f, transparent, kMagenta);
}

void DrawThreeSlice(Pixmap& canvas, const Rect& rect, const Pixmap& bitmap, bool verticalFrames,
                    int frameCount, int frameIndex, const TSkinMargins& margins) {
    const Rect f = FrameRect(bitmap, frameCount, frameIndex, verticalFrames);
    const int fw = f.Width(), fh = f.Height();
    const int w = rect.Width(), h = rect.Height();
    if (w < fw) {
        StretchCopy(canvas, rect, bitmap, f);
        return;
    }
    const int l = std::max(margins.LeftWidth, 0), r = std::max(margins.RightWidth, 0);
    StretchCopy(canvas, RectOfSize(rect.Left, rect.Top, l, h), bitmap,
                RectOfSize(f.Left, f.Top, l, fh));
    StretchCopy(canvas, RectOfSize(rect.Left + l, rect.Top, w - l - r, h), bitmap,
                RectOfSize(f.Left + l, f.Top, fw - l - r, fh));
    StretchCopy(canvas, RectOfSize(rect.Right - r, rect.Top, r, h), bitmap,
                RectOfSize(f.Right - r, f.Top, r, fh));
}

void DrawThreeSliceRepeated(Pixmap& canvas, const Rect& rect, const Pixmap& bitmap,
                            bool verticalFrames, bool transparent, int frameCount, int frameIndex,
                            const TSkinMargins& margins) {
    const int w = rect.Width(), h = rect.Height();
    if (w <= 0 || h <= 0) return;
    Pixmap strip(w, h, 0, 24);
    if (strip.Empty()) return;
    const Rect f = FrameRect(bitmap, frameCount, frameIndex, verticalFrames);
    const int fh = f.Height();
    const int l = std::max(margins.LeftWidth, 0), r = std::max(margins.RightWidth, 0);
    const int middle = f.Width() - l - r;

    StretchCopy(strip, RectOfSize(0, 0, l, h), bitmap, RectOfSize(f.Left, f.Top, l, fh));
    if (middle > 0)
        for (int x = l; x < w - r; x += middle)
            StretchCopy(strip, RectOfSize(x, 0, middle, h), bitmap,
                        RectOfSize(f.Left + l, f.Top, middle, fh));
    StretchCopy(strip, RectOfSize(w - r, 0, r, h), bitmap, RectOfSize(f.Right - r, f.Top, r, fh));

    if (transparent)
        DrawTransparent(canvas, rect, strip, kMagenta);
    else
        DrawOpaque(canvas, rect, strip);
}

// ---- regions ------------------------------------------------------------------

std::vector<std::vector<Rect>> BitmapToRegion(const Pixmap& bitmap, int xOffset, int yOffset,
                                              int blueTolerance, int greenTolerance,
                                              int redTolerance, Colour key) {
    key = ResolveColour(key);
    const int rLo = RedOf(key), rHi = std::min(255, rLo + redTolerance);
    const int gLo = GreenOf(key), gHi = std::min(255, gLo + greenTolerance);
    const int bLo = BlueOf(key), bHi = std::min(255, bLo + blueTolerance);
    auto isKey = [&](Colour c) {
        const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
        return r >= rLo && r <= rHi && g >= gLo && g <= gHi && b >= bLo && b <= bHi;
    };

    std::vector<std::vector<Rect>> batches;
    std::vector<Rect> current;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const Colour* row = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width();) {
            if (isKey(row[x])) {
                ++x;
                continue;
            }
            const int x1 = x;
            while (x < bitmap.Width() && !isKey(row[x]))
                ++x;
            current.push_back(Rect{x1 + xOffset, y + yOffset, x + xOffset, y + yOffset + 1});
            if (current.size() == kRegionBatchSize) {
                batches.push_back(std::move(current));
                current.clear();
            }
        }
    }
    if (!current.empty()) batches.push_back(std::move(current));
    return batches;
}

// ---- image utilities ----------------------------------------------------------

void GrayBitmap(Pixmap& bitmap) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        Colour* row = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const int v = (RedOf(row[x]) + GreenOf(row[x]) + BlueOf(row[x])) / 3;
            row[x] = Rgb(v, v, v);
        }
    }
    bitmap.SetBitDepth(24);
}

void ReplaceMagenta(Pixmap& bitmap, Colour colour) {
    colour = ResolveColour(colour);
    for (int y = 0; y < bitmap.Height(); ++y) {
        Colour* row = bitmap.Row(y);
        std::replace(row, row + bitmap.Width(), kMagenta, colour);
    }
    bitmap.SetBitDepth(24);
}

void MirrorBitmap(Pixmap& bitmap) {
    for (int y = 0; y < bitmap.Height(); ++y)
        std::reverse(bitmap.Row(y), bitmap.Row(y) + bitmap.Width());
    bitmap.SetBitDepth(24);
}

void FlipBitmap(Pixmap& bitmap) {
    for (int top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(bitmap.Row(top), bitmap.Row(top) + bitmap.Width(), bitmap.Row(bottom));
}

Pixmap RotateLeft(const Pixmap& bitmap) {
    const int w = bitmap.Width(), h = bitmap.Height();
    Pixmap out(h, w, 0, bitmap.BitDepth());
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            out.SetPixel(x, y, bitmap.Pixel(w - 1 - y, x));
    return out;
}

Pixmap RotateRight(const Pixmap& bitmap) {
    const int h = bitmap.Height();
    Pixmap out(h, bitmap.Width(), 0, bitmap.BitDepth());
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            out.SetPixel(x, y, bitmap.Pixel(y, h - 1 - x));
    return out;
}

// ---- gradients ----------------------------------------------------------------

std::vector<Colour> GradientColours(int n, Colour first, Colour last) {
    std::vector<Colour> out;
    if (n <= 0) return out;
    out.reserve(static_cast<std::size_t>(n));
    auto channel = [&](int a, int b, int i) {
        if (n == 1) return a + (b - a) / 2;
        const std::int64_t m = n - 1;
        return static_cast<int>(a + (m / 2 + std::int64_t{i} * (b - a)) / m);
    };
    for (int i = 0; i < n; ++i)
        out.push_back(Rgb(channel(RedOf(first), RedOf(last), i),
                          channel(GreenOf(first), GreenOf(last), i),
                          channel(BlueOf(first), BlueOf(last), i)));
    return out;
}

const std::vector<Colour>& GradientCache::Get(int n, Colour first, Colour last) {
    for (int i = kSlots - 1; i >= 0; --i) {
        const Slot& s = slots_[static_cast<std::size_t>(i)];
        if (s.length == n && s.first == first && s.last == last && !s.colours.empty()) {
            lastSlot_ = i;
            lastComputed_ = false;
            return s.colours;
        }
    }
    Slot& s = slots_[static_cast<std::size_t>(next_)];
    s.length = n;
    s.first = first;
    s.last = last;
    s.colours = GradientColours(n, first, last);
    lastSlot_ = next_;
    lastComputed_ = true;
    next_ = (next_ + 1) % kSlots;
    return s.colours;
}

void GradientCache::Clear() {
    slots_ = {};
    next_ = 0;
    lastSlot_ = -1;
    lastComputed_ = false;
}

GradientCache& GradientCache::Global() {
    static GradientCache cache;
    return cache;
}

void GradientFill(Pixmap& canvas, const Rect& rect, Colour first, bool vertical, Colour last,
                  GradientCache& cache) {
    first = ResolveColour(first);
    last = ResolveColour(last);
    const int n = vertical ? rect.Height() : rect.Width();
    if (n <= 0) return;
    const std::vector<Colour>& colours = cache.Get(n, first, last);
    // Only lines that reach the canvas are painted.
    const int lo = vertical ? std::max(0, -rect.Top) : std::max(0, -rect.Left);
    const int hi = std::min(n, vertical ? canvas.Height() - rect.Top : canvas.Width() - rect.Left);
    for (int i = lo; i < hi; ++i) {
        const Colour c = colours[static_cast<std::size_t>(i)];
        if (vertical)
            canvas.FillRect(Rect{rect.Left, rect.Top + i, rect.Right, rect.Top + i + 1}, c);
        else
            canvas.FillRect(Rect{rect.Left + i, rect.Top, rect.Left + i + 1, rect.Bottom}, c);
    }
}

} // namespace skin
