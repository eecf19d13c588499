// In-memory images of the skin engine and the reader and writer of Windows
// BMP files. Platform-free: the Windows layer (GdiImage.h) turns a Pixmap into
// a DIB section when it must reach a device context.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace skin {

// A colour as Windows keeps it: 0x00BBGGRR for a plain colour, 0xFF0000nn for
// the system colour nn (resolved when drawn, see ImageOps.h).
using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// The transparent key of every skin image.
constexpr Colour kMagenta = 0xFF00FF;

// A rectangle in the Windows sense: right and bottom are exclusive.
struct Rect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

constexpr Rect RectOfSize(int x, int y, int w, int h) {
    return Rect{x, y, x + w, y + h};
}

// An image of 32-bit pixels, each a plain Colour (the top byte always 0), rows
// top-down. BitDepth records the depth the image had in its file or was last
// converted to; drawing does not depend on it.
class Pixmap {
public:
    // Largest width or height we accept from a file or a caller.
    static constexpr int kMaxDimension = 32767;
    // Largest pixel count, so that one image stays below 256 MB.
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

    Pixmap() = default;
    // An image of the given size filled with `fill`. Sizes that are not
    // positive or exceed the limits give an empty image.
    Pixmap(int width, int height, Colour fill = 0, int bitDepth = 24);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitDepth() const { return bitDepth_; }
    void SetBitDepth(int depth) { bitDepth_ = depth; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    Rect Bounds() const { return Rect{0, 0, width_, height_}; }
    void Clear() { *this = Pixmap(); }

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Unchecked: callers stay inside Bounds().
    Colour Pixel(int x, int y) const { return pixels_[Index(x, y)]; }
    void SetPixel(int x, int y, Colour c) { pixels_[Index(x, y)] = c & 0xFFFFFF; }
    Colour* Row(int y) { return pixels_.data() + Index(0, y); }
    const Colour* Row(int y) const { return pixels_.data() + Index(0, y); }

    // Fills the part of `r` that lies inside the image.
    void FillRect(const Rect& r, Colour c);
    void Fill(Colour c) { FillRect(Bounds(), c); }

    friend bool operator==(const Pixmap&, const Pixmap&) = default;

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    int bitDepth_ = 0;
    std::vector<Colour> pixels_;
};

// Why a BMP file was refused; kOk when it was read.
enum class BmpError {
    kOk,
    kTruncated,        // shorter than its headers, palette or pixel rows
    kNotBmp,           // no "BM" signature
    kBadHeader,        // information header other than the 40-byte one
    kBadDimensions,    // width or height 0, negative width, or beyond the limits
    kBadPlanes,        // plane count other than 1
    kUnsupportedDepth, // bits per pixel other than 4, 8, 24, 32
    kCompressed,       // any compression other than none
    kBadPalette,       // more palette entries than the depth can index
    kBadOffset,        // pixel data offset inside the headers or past the end
};

// Reads an uncompressed Windows BMP (40-byte information header, 4, 8, 24 or
// 32 bits per pixel, bottom-up or top-down). Anything else gives an empty
// image and, when `error` is given, the reason.
Pixmap LoadBmp(std::span<const std::uint8_t> bytes, BmpError* error = nullptr);

// Writes `image` as an uncompressed bottom-up BMP of 24 or 32 bits per pixel.
std::vector<std::uint8_t> SaveBmp(const Pixmap& image, int bitsPerPixel = 24);

} // namespace skin
