#include "skin/Bitmap.h"

#include <algorithm>
#include <array>

namespace skin {

namespace {

// Layout of a Windows BMP file: BITMAPFILEHEADER (14 bytes) followed by
// BITMAPINFOHEADER (40 bytes), an optional RGBQUAD palette and the pixel rows,
// each padded to a multiple of 4 bytes.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
constexpr std::uint32_t kBiRgb = 0; // biCompression: uncompressed
constexpr std::size_t kPaletteEntrySize = 4;

std::uint16_t ReadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t ReadI32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(ReadU32(p));
}

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

std::int64_t RowStride(std::int64_t width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

Pixmap Fail(BmpError* error, BmpError why) {
    if (error) *error = why;
    return {};
}

} // namespace

Pixmap::Pixmap(int width, int height, Colour fill, int bitDepth) {
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
        std::int64_t{width} * height > kMaxPixels)
        return;
    width_ = width;
    height_ = height;
    bitDepth_ = bitDepth;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                   fill & 0xFFFFFF);
}

void Pixmap::FillRect(const Rect& r, Colour c) {
    const int left = std::max(r.Left, 0), right = std::min(r.Right, width_);
    const int top = std::max(r.Top, 0), bottom = std::min(r.Bottom, height_);
    if (left >= right || top >= bottom) return;
    for (int y = top; y < bottom; ++y)
        std::fill(Row(y) + left, Row(y) + right, c & 0xFFFFFF);
}

Pixmap LoadBmp(std::span<const std::uint8_t> bytes, BmpError* error) {
    // Every size and offset is checked here, against the real length of the
    // data; the copy loops below then trust them.
    if (bytes.size() < kHeadersSize) return Fail(error, BmpError::kTruncated);
    const std::uint8_t* p = bytes.data();
    if (p[0] != 'B' || p[1] != 'M') return Fail(error, BmpError::kNotBmp);
    // bfSize is not trusted: files in the wild often carry a wrong one, and
    // only the real length matters.
    const std::uint32_t pixelOffset = ReadU32(p + 10);

    const std::uint8_t* info = p + kFileHeaderSize;
    if (ReadU32(info) != kInfoHeaderSize) return Fail(error, BmpError::kBadHeader);
    const std::int32_t width = ReadI32(info + 4);
    const std::int32_t rawHeight = ReadI32(info + 8);
    const std::uint16_t planes = ReadU16(info + 12);
    const std::uint16_t bitsPerPixel = ReadU16(info + 14);
    const std::uint32_t compression = ReadU32(info + 16);
    const std::uint32_t coloursUsed = ReadU32(info + 32);

    if (planes != 1) return Fail(error, BmpError::kBadPlanes);
    if (bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return Fail(error, BmpError::kUnsupportedDepth);
    if (compression != kBiRgb) return Fail(error, BmpError::kCompressed);

    // A negative height marks a top-down image; INT32_MIN has no positive twin.
    const std::int64_t height = rawHeight < 0 ? -std::int64_t{rawHeight} : rawHeight;
    if (width <= 0 || height == 0 || width > Pixmap::kMaxDimension ||
        height > Pixmap::kMaxDimension || std::int64_t{width} * height > Pixmap::kMaxPixels)
        return Fail(error, BmpError::kBadDimensions);
    const bool topDown = rawHeight < 0;

    std::size_t paletteCount = 0;
    if (bitsPerPixel <= 8) {
        const std::uint32_t maxColours = 1u << bitsPerPixel;
        if (coloursUsed > maxColours) return Fail(error, BmpError::kBadPalette);
        paletteCount = coloursUsed == 0 ? maxColours : coloursUsed;
    }
    const std::size_t paletteEnd = kHeadersSize + paletteCount * kPaletteEntrySize;
    if (paletteEnd > bytes.size()) return Fail(error, BmpError::kTruncated);
    if (pixelOffset < paletteEnd || pixelOffset > bytes.size())
        return Fail(error, BmpError::kBadOffset);

    const std::int64_t stride = RowStride(width, bitsPerPixel);
    if (stride * height > static_cast<std::int64_t>(bytes.size() - pixelOffset))
        return Fail(error, BmpError::kTruncated);

    // Indices past the palette read black, as in an all-zero palette.
    std::array<Colour, 256> palette{};
    for (std::size_t i = 0; i < paletteCount; ++i) {
        const std::uint8_t* q = p + kHeadersSize + i * kPaletteEntrySize;
        palette[i] = Rgb(q[2], q[1], q[0]);
    }

    Pixmap image(width, static_cast<int>(height), 0, bitsPerPixel);
    for (int y = 0; y < image.Height(); ++y) {
        const int fileRow = topDown ? y : image.Height() - 1 - y;
        const std::uint8_t* src = p + pixelOffset + static_cast<std::size_t>(fileRow) * stride;
        Colour* dst = image.Row(y);
        switch (bitsPerPixel) {
        case 4:
            for (int x = 0; x < width; ++x) {
                const std::uint8_t b = src[x / 2];
                dst[x] = palette[(x % 2 == 0) ? (b >> 4) : (b & 0x0F)];
            }
            break;
        case 8:
            for (int x = 0; x < width; ++x)
                dst[x] = palette[src[x]];
            break;
        case 24:
            for (int x = 0; x < width; ++x, src += 3)
                dst[x] = Rgb(src[2], src[1], src[0]);
            break;
        default: // 32: the fourth byte is unused
            for (int x = 0; x < width; ++x, src += 4)
                dst[x] = Rgb(src[2], src[1], src[0]);
            break;
        }
    }
    if (error) *error = BmpError::kOk;
    return image;
}

std::vector<std::uint8_t> SaveBmp(const Pixmap& image, int bitsPerPixel) {
    if (bitsPerPixel != 32) bitsPerPixel = 24;
    const std::int64_t stride = RowStride(image.Width(), bitsPerPixel);
    const std::int64_t dataSize = stride * image.Height();
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(kHeadersSize + dataSize));

    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(kHeadersSize + dataSize));
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(kHeadersSize));

    PutU32(out, kInfoHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(image.Width()));
    PutU32(out, static_cast<std::uint32_t>(image.Height()));
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint32_t>(bitsPerPixel));
    PutU32(out, kBiRgb);
    PutU32(out, static_cast<std::uint32_t>(dataSize));
    PutU32(out, 2835); // 72 dpi, as most tools write
    PutU32(out, 2835);
    PutU32(out, 0);
    PutU32(out, 0);

    for (int y = image.Height() - 1; y >= 0; --y) {
        const Colour* row = image.Row(y);
        std::size_t written = 0;
        for (int x = 0; x < image.Width(); ++x) {
            out.push_back(static_cast<std::uint8_t>(BlueOf(row[x])));
            out.push_back(static_cast<std::uint8_t>(GreenOf(row[x])));
            out.push_back(static_cast<std::uint8_t>(RedOf(row[x])));
            written += 3;
            if (bitsPerPixel == 32) {
                out.push_back(0);
                ++written;
            }
        }
        for (; written < static_cast<std::size_t>(stride); ++written)
            out.push_back(0);
    }
    return out;
}

} // namespace skin
