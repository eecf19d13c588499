#include "skin/GdiImage.h"

#include <gtest/gtest.h>

#include <vector>

namespace skin::gdi {
namespace {

constexpr Colour A = 0x0000A1, B = 0x0000B2, C = 0x0000C3, W = 0x777777, K = kMagenta;

Pixmap Pattern(int w, int h) {
    Pixmap p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.SetPixel(x, y, Rgb(x * 30, y * 40, (x * y) % 256));
    return p;
}

void ExpectSame(const Pixmap& actual, const Pixmap& expected) {
    ASSERT_EQ(actual.Width(), expected.Width());
    ASSERT_EQ(actual.Height(), expected.Height());
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            ASSERT_EQ(actual.Pixel(x, y), expected.Pixel(x, y)) << "at " << x << "," << y;
}

TEST(GdiImageTest, DibSectionRoundTrip) {
    const Pixmap image = Pattern(7, 5);
    platform::Bitmap dib = CreateDibSection(image);
    ASSERT_TRUE(dib);
    ExpectSame(ReadBitmap(dib.get()), image);
    EXPECT_FALSE(CreateDibSection(Pixmap()));
}

TEST(GdiImageTest, OpaqueCopyLimitedByTargetAndImage) {
    DibCanvas canvas(6, 4, W);
    ASSERT_TRUE(canvas.valid());
    const Pixmap image = Pattern(3, 3);
    DrawOpaque(canvas.dc(), Rect{2, 1, 4, 9}, image); // 2 wide target, 3 high image
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 2 && x < 4 && y >= 1 && y < 4;
            EXPECT_EQ(canvas.Pixel(x, y), inside ? image.Pixel(x - 2, y - 1) : W) << x << "," << y;
        }
}

TEST(GdiImageTest, MaskedCopyKeepsTargetUnderKey) {
    DibCanvas canvas(4, 2, W);
    ASSERT_TRUE(canvas.valid());
    Pixmap image(3, 2, K);
    image.SetPixel(0, 0, A);
    image.SetPixel(2, 0, 0xFE00FF); // near magenta is opaque
    image.SetPixel(1, 1, B);
    DrawTransparent(canvas.dc(), Rect{1, 0, 4, 2}, image, kMagenta);
    EXPECT_EQ(canvas.Pixel(0, 0), W);
    EXPECT_EQ(canvas.Pixel(1, 0), A);
    EXPECT_EQ(canvas.Pixel(2, 0), W);
    EXPECT_EQ(canvas.Pixel(3, 0), 0xFE00FFu);
    EXPECT_EQ(canvas.Pixel(1, 1), W);
    EXPECT_EQ(canvas.Pixel(2, 1), B);
    EXPECT_EQ(canvas.Pixel(3, 1), W);
}

TEST(GdiImageTest, KeyMaskBitsAcrossRowPadding) {
    // 17 pixels: the row takes 4 bytes; pixel 16 is the top bit of byte 2.
    Pixmap image(17, 1, K);
    image.SetPixel(0, 0, A);
    image.SetPixel(16, 0, A);
    platform::Bitmap mask = CreateKeyMask(image, kMagenta);
    ASSERT_TRUE(mask);
    const Pixmap bits = ReadBitmap(mask.get());
    ASSERT_EQ(bits.Width(), 17);
    EXPECT_EQ(bits.Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(bits.Pixel(1, 0), 0u);
    EXPECT_EQ(bits.Pixel(15, 0), 0u);
    EXPECT_EQ(bits.Pixel(16, 0), 0xFFFFFFu);
}

TEST(GdiImageTest, DrawElementMatchesThePixelBufferVersion) {
    // A 2-frame, 6 x 5 image with magenta spots, drawn tiled and transparent.
    Pixmap bmp = Pattern(12, 5);
    bmp.SetPixel(7, 2, K);
    bmp.SetPixel(6, 0, K);
    const TSkinMargins margins{2, 1, 1, 2};
    for (bool transparent : {false, true})
        for (bool tile : {false, true}) {
            DibCanvas canvas(20, 12, W);
            ASSERT_TRUE(canvas.valid());
            const Rect target{3, 2, 17, 11};
            DrawElement(canvas.dc(), target, bmp, false, tile, transparent, 2, 2, margins);
            Pixmap expected(20, 12, W);
            skin::DrawElement(expected, target, bmp, false, tile, transparent, 2, 2, margins);
            ExpectSame(canvas.ToPixmap(), expected);
        }
    DibCanvas untouched(4, 4, W);
    DrawElement(untouched.dc(), Rect{3, 0, 1, 4}, bmp, false, false, false, 2, 1, margins);
    ExpectSame(untouched.ToPixmap(), Pixmap(4, 4, W));
}

TEST(GdiImageTest, RegionFollowsOpaquePixels) {
    Pixmap image(5, 3, K);
    image.SetPixel(1, 0, A);
    image.SetPixel(2, 0, A);
    image.SetPixel(4, 0, B);
    image.FillRect(Rect{0, 2, 5, 3}, C);
    platform::Region rgn = BitmapToRegionHandle(image, 10, 20, 1, 1, 1, kMagenta);
    ASSERT_TRUE(rgn);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(PtInRegion(rgn.get(), x + 10, y + 20) != 0, image.Pixel(x, y) != K)
                << x << "," << y;
    RECT box{};
    EXPECT_EQ(GetRgnBox(rgn.get(), &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 20);
    EXPECT_EQ(box.right, 15);
    EXPECT_EQ(box.bottom, 23);

    EXPECT_FALSE(BitmapToRegionHandle(Pixmap(4, 4, K), 0, 0, 1, 1, 1, kMagenta));
}

TEST(GdiImageTest, RegionUnitesBatches) {
    // Two runs per row: 2 * 2001 rectangles, three region calls.
    Pixmap image(4, 2001, K);
    for (int y = 0; y < image.Height(); ++y) {
        image.SetPixel(0, y, A);
        image.SetPixel(2, y, A);
    }
    ASSERT_EQ(skin::BitmapToRegion(image, 0, 0, 0, 0, 0, kMagenta).size(), 3u);
    platform::Region rgn = BitmapToRegionHandle(image, 0, 0, 0, 0, 0, kMagenta);
    ASSERT_TRUE(rgn);
    for (int y : {0, 999, 1000, 1999, 2000}) {
        EXPECT_TRUE(PtInRegion(rgn.get(), 0, y)) << y;
        EXPECT_TRUE(PtInRegion(rgn.get(), 2, y)) << y;
        EXPECT_FALSE(PtInRegion(rgn.get(), 1, y)) << y;
        EXPECT_FALSE(PtInRegion(rgn.get(), 3, y)) << y;
    }
    EXPECT_FALSE(PtInRegion(rgn.get(), 0, 2001));
}

TEST(GdiImageTest, GradientLinesInsideTheClipBoxOnly) {
    DibCanvas canvas(3, 10, W);
    ASSERT_TRUE(canvas.valid());
    GradientCache cache;
    IntersectClipRect(canvas.dc(), 0, 2, 3, 6);
    GradientFill(canvas.dc(), Rect{0, 0, 2, 10}, Rgb(0, 0, 0), true, Rgb(90, 0, 180), cache);
    EXPECT_TRUE(cache.LastWasComputed());
    const auto entries = GradientColours(10, Rgb(0, 0, 0), Rgb(90, 0, 180));
    for (int y = 0; y < 10; ++y) {
        const bool painted = y >= 2 && y < 6;
        EXPECT_EQ(canvas.Pixel(0, y), painted ? entries[static_cast<std::size_t>(y)] : W) << y;
        EXPECT_EQ(canvas.Pixel(1, y), painted ? entries[static_cast<std::size_t>(y)] : W) << y;
        EXPECT_EQ(canvas.Pixel(2, y), W) << y;
    }
    SelectClipRgn(canvas.dc(), nullptr);
    GradientFill(canvas.dc(), Rect{0, 0, 2, 10}, Rgb(0, 0, 0), true, Rgb(90, 0, 180), cache);
    EXPECT_FALSE(cache.LastWasComputed());
    EXPECT_EQ(canvas.Pixel(0, 9), entries[9]);
}

TEST(GdiImageTest, FaceBrushResolvesSystemColours) {
    UseSystemColours();
    FaceBrush brush;
    brush.Reset(0xFF000000u | COLOR_BTNFACE);
    ASSERT_TRUE(brush.get());
    const Colour face = static_cast<Colour>(GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(brush.colour(), face);
    DibCanvas canvas(2, 2, W);
    RECT all{0, 0, 2, 2};
    FillRect(canvas.dc(), &all, brush.get());
    EXPECT_EQ(canvas.Pixel(1, 1), face);

    brush.Reset(Rgb(1, 2, 3));
    FillRect(canvas.dc(), &all, brush.get());
    EXPECT_EQ(canvas.Pixel(0, 0), Rgb(1, 2, 3));
    SetSystemColourResolver(nullptr);
}

} // namespace
} // namespace skin::gdi
