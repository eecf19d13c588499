#include "skin/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace skin {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// Offsets of the header fields we tamper with.
constexpr std::size_t kOffBits = 10, kInfoSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26,
                      kBitCount = 28, kCompression = 30, kClrUsed = 46, kHeaders = 54;

// A BMP file built by hand: headers, `palette` (B, G, R, 0 per entry) and the
// rows exactly as given (file order, already padded).
Bytes MakeBmp(int width, int height, int bpp, const Bytes& palette, const Bytes& rows,
              std::uint32_t coloursUsed = 0) {
    Bytes b(kHeaders, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(kHeaders + palette.size() + rows.size()));
    Put32(b, kOffBits, static_cast<std::uint32_t>(kHeaders + palette.size()));
    Put32(b, kInfoSize, 40);
    Put32(b, kWidth, static_cast<std::uint32_t>(width));
    Put32(b, kHeight, static_cast<std::uint32_t>(height));
    Put16(b, kPlanes, 1);
    Put16(b, kBitCount, static_cast<std::uint32_t>(bpp));
    Put32(b, kClrUsed, coloursUsed);
    b.insert(b.end(), palette.begin(), palette.end());
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

Pixmap Sample(int w, int h) {
    Pixmap p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.SetPixel(x, y, Rgb(x * 40, y * 50, 7 + x + y));
    return p;
}

TEST(BitmapTest, WriterOutputReadsBackPixelExact) {
    for (int bpp : {24, 32}) {
        for (int w : {1, 2, 3, 5}) { // widths that need 0 to 3 padding bytes at 24 bits
            const Pixmap original = Sample(w, 3);
            BmpError error = BmpError::kTruncated;
            const Pixmap read = LoadBmp(SaveBmp(original, bpp), &error);
            EXPECT_EQ(error, BmpError::kOk);
            ASSERT_EQ(read.Width(), w);
            ASSERT_EQ(read.Height(), 3);
            EXPECT_EQ(read.BitDepth(), bpp);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < w; ++x)
                    EXPECT_EQ(read.Pixel(x, y), original.Pixel(x, y))
                        << bpp << " " << x << "," << y;
        }
    }
}

TEST(BitmapTest, EightBitPaletteBottomUpWithShortPalette) {
    // Two entries only; index 7 lies past them and reads black.
    const Bytes palette = {0x10, 0x20, 0x30, 0, 0xFF, 0x00, 0xFF, 0};
    // Rows in file order: bottom row first, each padded to 4 bytes.
    const Bytes rows = {1, 0, 7, 0, /* bottom */ 0, 1, 1, 0 /* top */};
    const Pixmap p = LoadBmp(MakeBmp(3, 2, 8, palette, rows, 2));
    ASSERT_EQ(p.Width(), 3);
    ASSERT_EQ(p.Height(), 2);
    EXPECT_EQ(p.BitDepth(), 8);
    EXPECT_EQ(p.Pixel(0, 0), Rgb(0x30, 0x20, 0x10));
    EXPECT_EQ(p.Pixel(1, 0), kMagenta);
    EXPECT_EQ(p.Pixel(0, 1), kMagenta);
    EXPECT_EQ(p.Pixel(2, 1), 0u);
}

TEST(BitmapTest, FourBitTopDownHighNibbleFirst) {
    Bytes palette(16 * 4, 0);
    palette[1 * 4 + 2] = 0xFF;  // entry 1: red
    palette[2 * 4 + 1] = 0xFF;  // entry 2: green
    palette[15 * 4 + 0] = 0xFF; // entry 15: blue
    const Bytes rows = {0x12, 0xF0, 0, 0, /* top row */ 0x21, 0x00, 0, 0};
    Bytes file = MakeBmp(3, 2, 4, palette, rows);
    Put32(file, kHeight, static_cast<std::uint32_t>(-2));
    const Pixmap p = LoadBmp(file);
    ASSERT_EQ(p.Width(), 3);
    ASSERT_EQ(p.Height(), 2);
    EXPECT_EQ(p.Pixel(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(p.Pixel(1, 0), Rgb(0, 255, 0));
    EXPECT_EQ(p.Pixel(2, 0), Rgb(0, 0, 255));
    EXPECT_EQ(p.Pixel(0, 1), Rgb(0, 255, 0));
    EXPECT_EQ(p.Pixel(1, 1), Rgb(255, 0, 0));
}

TEST(BitmapTest, ThirtyTwoBitIgnoresFourthByte) {
    const Bytes rows = {1, 2, 3, 0xAA};
    const Pixmap p = LoadBmp(MakeBmp(1, 1, 32, {}, rows));
    ASSERT_FALSE(p.Empty());
    EXPECT_EQ(p.Pixel(0, 0), Rgb(3, 2, 1));
}

struct Malformed {
    const char* what;
    void (*tamper)(Bytes&);
    BmpError expected;
};

TEST(BitmapTest, MalformedHeadersGiveEmptyImageWithReason) {
    const Malformed cases[] = {
        {"no signature", [](Bytes& b) { b[0] = 'X'; }, BmpError::kNotBmp},
        {"V5 header", [](Bytes& b) { Put32(b, kInfoSize, 124); }, BmpError::kBadHeader},
        {"core header", [](Bytes& b) { Put32(b, kInfoSize, 12); }, BmpError::kBadHeader},
        {"RLE8", [](Bytes& b) { Put32(b, kCompression, 1); }, BmpError::kCompressed},
        {"bit fields", [](Bytes& b) { Put32(b, kCompression, 3); }, BmpError::kCompressed},
        {"16 bits", [](Bytes& b) { Put16(b, kBitCount, 16); }, BmpError::kUnsupportedDepth},
        {"1 bit", [](Bytes& b) { Put16(b, kBitCount, 1); }, BmpError::kUnsupportedDepth},
        {"two planes", [](Bytes& b) { Put16(b, kPlanes, 2); }, BmpError::kBadPlanes},
        {"width 0", [](Bytes& b) { Put32(b, kWidth, 0); }, BmpError::kBadDimensions},
        {"negative width", [](Bytes& b) { Put32(b, kWidth, static_cast<std::uint32_t>(-2)); },
         BmpError::kBadDimensions},
        {"height 0", [](Bytes& b) { Put32(b, kHeight, 0); }, BmpError::kBadDimensions},
        {"height INT_MIN", [](Bytes& b) { Put32(b, kHeight, 0x80000000u); },
         BmpError::kBadDimensions},
        {"width 2^31-1", [](Bytes& b) { Put32(b, kWidth, 0x7FFFFFFF); }, BmpError::kBadDimensions},
        {"30000 x 30000",
         [](Bytes& b) {
             Put32(b, kWidth, 30000);
             Put32(b, kHeight, 30000);
         },
         BmpError::kBadDimensions},
        {"rows past the end", [](Bytes& b) { Put32(b, kHeight, 3); }, BmpError::kTruncated},
        {"offset past the end", [](Bytes& b) { Put32(b, kOffBits, 0xFFFFFFF0u); },
         BmpError::kBadOffset},
        {"offset inside headers", [](Bytes& b) { Put32(b, kOffBits, 20); }, BmpError::kBadOffset},
        {"offset shifts rows past the end", [](Bytes& b) { Put32(b, kOffBits, 56); },
         BmpError::kTruncated},
    };
    for (const Malformed& c : cases) {
        Bytes file = SaveBmp(Sample(2, 2), 24);
        c.tamper(file);
        BmpError error = BmpError::kOk;
        EXPECT_TRUE(LoadBmp(file, &error).Empty()) << c.what;
        EXPECT_EQ(error, c.expected) << c.what;
    }
}

TEST(BitmapTest, PaletteLimits) {
    const Bytes rows = {0, 0, 0, 0};
    BmpError error = BmpError::kOk;
    // More colours than 8 bits can index.
    EXPECT_TRUE(LoadBmp(MakeBmp(1, 1, 8, Bytes(300 * 4, 0), rows, 300), &error).Empty());
    EXPECT_EQ(error, BmpError::kBadPalette);
    // A full 256-entry palette announced (0 used) but the file ends early.
    EXPECT_TRUE(LoadBmp(MakeBmp(1, 1, 8, Bytes(16, 0), {}), &error).Empty());
    EXPECT_EQ(error, BmpError::kTruncated);
}

TEST(BitmapTest, EveryTruncationIsRefused) {
    const Bytes file = SaveBmp(Sample(3, 2), 24);
    for (std::size_t n = 0; n < file.size(); ++n) {
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_TRUE(LoadBmp(cut).Empty()) << n;
    }
    EXPECT_FALSE(LoadBmp(file).Empty());
}

TEST(BitmapTest, PixmapRefusesAbsurdSizes) {
    EXPECT_TRUE(Pixmap(0, 5).Empty());
    EXPECT_TRUE(Pixmap(-1, 5).Empty());
    EXPECT_TRUE(Pixmap(Pixmap::kMaxDimension + 1, 1).Empty());
    EXPECT_TRUE(Pixmap(20000, 20000).Empty());
    EXPECT_FALSE(Pixmap(Pixmap::kMaxDimension, 1).Empty());
}

} // namespace
} // namespace skin
