#include "skin/DerivedElements.h"
#include "skin/ImageOps.h"
#include "skin/SkinElements.h"

#include <gtest/gtest.h>

#include <climits>

namespace skin {
namespace {

Pixmap Frames(int frameWidth, int height, std::initializer_list<Colour> colours) {
    Pixmap p(frameWidth * static_cast<int>(colours.size()), height);
    int k = 0;
    for (Colour c : colours)
        p.FillRect(RectOfSize(k++ * frameWidth, 0, frameWidth, height), c);
    return p;
}

TEST(FrameGeometryTest, SideBySideAndStacked) {
    const Pixmap image(10, 4);
    EXPECT_EQ(FrameRect(image, 3, 1, false), (Rect{0, 0, 3, 4}));
    EXPECT_EQ(FrameRect(image, 3, 2, false), (Rect{3, 0, 6, 4}));
    EXPECT_EQ(FrameRect(image, 2, 2, true), (Rect{0, 2, 10, 4}));
    EXPECT_EQ(FrameWidth(image, 3, false), 3);
    EXPECT_EQ(FrameHeight(image, 2, true), 2);
    EXPECT_EQ(FrameWidth(image, 2, true), 10);
}

TEST(FrameGeometryTest, FrameCountZeroCountsAsOne) {
    TSkinElement e(L"Top");
    e.Bitmap = Pixmap(12, 6);
    e.Frame = 0;
    EXPECT_EQ(e.FrameCount(), 1);
    EXPECT_EQ(e.FrameWidth(), 12);
    EXPECT_EQ(e.FrameHeight(true), 6);
    EXPECT_EQ(e.FrameRect(1, true), (Rect{0, 0, 12, 6}));
    e.Frame = -3;
    EXPECT_EQ(e.FrameWidth(), 12);
}

TEST(FrameGeometryTest, IndicesOutsideTheFramesLieOutsideTheImage) {
    const Pixmap image(10, 4);
    const Rect before = FrameRect(image, 2, 0, false);
    EXPECT_LE(before.Right, 0);
    const Rect after = FrameRect(image, 2, INT_MAX, false);
    EXPECT_GE(after.Left, image.Width());
    EXPECT_LE(FrameRect(image, 2, INT_MIN, true).Bottom, 0);
}

// ---- derived elements -------------------------------------------------------------

constexpr Colour S1 = 0x000011, S2 = 0x000022, S3 = 0x000033, S4 = 0x000044;
constexpr Colour D1 = 0x110000, D2 = 0x220000, D3 = 0x330000, D4 = 0x440000;
constexpr Colour X1 = 0x001100, X2 = 0x002200, X3 = 0x003300, X4 = 0x004400;
constexpr Colour kFace = 0xDDDDDD;

struct ComboFixture : ::testing::Test {
    ComboFixture() {
        sunk.Bitmap = Frames(8, 8, {S1, S2, S3, S4});
        sunk.Frame = 4;
        sunk.Margins = {2, 2, 2, 2};
        combo.Bitmap = Frames(5, 5, {D1, D2, D3, D4});
        combo.Bitmap.SetPixel(0, 0, kMagenta); // top-left of frame 1 is see-through
        combo.Frame = 4;
        combo.Margins = {};
        extra.Bitmap = Frames(3, 3, {X1, X2, X3, X4});
        extra.Frame = 4;
    }
    TSkinElement sunk{L"SunkEdge"};
    TSkinBorderElement combo{L"ComboButton"};
    TSkinElement extra{L"ExtraImages"};
};

TEST_F(ComboFixture, CompositeCellsAndMargins) {
    const Pixmap originalCombo = combo.Bitmap;
    BuildDerivedElements({&sunk, &combo, &extra, nullptr, nullptr, nullptr}, 15, kFace);
    const int b = 17;

    // Bitmap2 is the mirror of the ComboButton image as loaded.
    ASSERT_EQ(combo.Bitmap2.Width(), originalCombo.Width());
    EXPECT_EQ(combo.Bitmap2.Pixel(originalCombo.Width() - 1, 0), kMagenta);
    EXPECT_EQ(combo.Bitmap2.Pixel(0, 0), D4);

    const Pixmap& composite = combo.Bitmap;
    ASSERT_EQ(composite.Width(), 200);
    ASSERT_EQ(composite.Height(), 21);
    const Colour s[] = {S1, S2, S3, S4}, d[] = {D1, D2, D3, D4}, x[] = {X1, X2, X3, X4};
    for (int k = 0; k < 4; ++k) {
        const int cell = k * 50;
        EXPECT_EQ(composite.Pixel(cell + 1, 1), s[k]) << k;           // SunkEdge border
        EXPECT_EQ(composite.Pixel(cell + 10, 10), kMagenta) << k;     // cleared edit part
        EXPECT_EQ(composite.Pixel(cell + 48 - b, 10), kMagenta) << k; // last cleared column
        EXPECT_EQ(composite.Pixel(cell + 49 - b, 10), s[k]) << k;     // first kept column
        EXPECT_EQ(composite.Pixel(cell + 10, 18), s[k]) << k;         // first kept row
        EXPECT_EQ(composite.Pixel(cell + 45, 3), d[k]) << k;          // button
        EXPECT_EQ(composite.Pixel(cell + 40, 9), x[k]) << k;          // glyph centred at 40, 9
        EXPECT_EQ(composite.Pixel(cell + 39, 9), d[k]) << k;
    }
    // The see-through corner of ComboButton frame 1 shows the SunkEdge beneath.
    EXPECT_EQ(composite.Pixel(50 - b, 0), S1);
    EXPECT_EQ(composite.Pixel(50 - b + 4, 5), D1);

    EXPECT_EQ(combo.Style, 2);
    EXPECT_EQ(combo.Margins, (TSkinMargins{2, 2, b + 2, 2}));
    EXPECT_EQ(sunk.Margins, (TSkinMargins{b + 2, 2, 2, 2}));
    ASSERT_EQ(sunk.Bitmap.Width(), 200);
    for (int xx = 0; xx < 200; xx += 7)
        EXPECT_EQ(sunk.Bitmap.Pixel(xx, 5), composite.Pixel(199 - xx, 5)) << xx;
}

TEST_F(ComboFixture, ArrowCutFromTheComposite) {
    TSkinElement arrow(L"ComboxArrow");
    BuildDerivedElements({&sunk, &combo, nullptr, nullptr, &arrow, nullptr}, 15, kFace);
    ASSERT_EQ(arrow.Bitmap.Width(), 68);
    ASSERT_EQ(arrow.Bitmap.Height(), 17);
    EXPECT_EQ(arrow.Frame, 4);
    const int c = combo.Bitmap.Width() / 4;
    for (int k = 1; k <= 4; ++k)
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x)
                ASSERT_EQ(arrow.Bitmap.Pixel((k - 1) * 17 + x, y),
                          combo.Bitmap.Pixel(k * c - 19 + x, 2 + y))
                    << k << " " << x << "," << y;
}

TEST_F(ComboFixture, ArrowWithoutSunkEdgeReplacesMagentaByFace) {
    TSkinElement arrow(L"ComboxArrow");
    BuildDerivedElements({nullptr, &combo, nullptr, nullptr, &arrow, nullptr}, 15, kFace);
    EXPECT_EQ(combo.Style, 0); // no composite without SunkEdge
    ASSERT_EQ(arrow.Bitmap.Width(), 20);
    EXPECT_EQ(arrow.Bitmap.Pixel(0, 0), kFace);
    EXPECT_EQ(arrow.Bitmap.Pixel(1, 0), D1);
    EXPECT_EQ(arrow.Frame, 4);
}

TEST_F(ComboFixture, ArrowKeptWhenNothingToDeriveFrom) {
    TSkinElement arrow(L"ComboxArrow");
    arrow.Bitmap = Pixmap(3, 3, X1);
    arrow.Frame = 7;
    BuildDerivedElements({&sunk, nullptr, nullptr, nullptr, &arrow, nullptr}, 15, kFace);
    EXPECT_EQ(arrow.Bitmap, Pixmap(3, 3, X1));
    EXPECT_EQ(arrow.Frame, 7);
    EXPECT_EQ(sunk.Bitmap.Width(), 32); // untouched without ComboButton
}

TEST_F(ComboFixture, SunkEdgeWithoutFramesStillComposesOneCell) {
    sunk.Frame = 0;
    BuildDerivedElements({&sunk, &combo, nullptr, nullptr, nullptr, nullptr}, 15, kFace);
    EXPECT_EQ(combo.Bitmap.Width(), 50);
}

TEST(ToolbarTest, BottomColourBranches) {
    // Saturation 0: mixed with mid grey. (128 * 150 + 200 * 850 + 500) / 1000 = 189
    EXPECT_EQ(ToolbarBottomColour(Rgb(200, 200, 200)), Rgb(189, 189, 189));
    // Saturation 204: Blend(q, white, 525 / 140 + 50 = 53).
    EXPECT_EQ(ToolbarBottomColour(Rgb(40, 80, 200)), Rgb(141, 162, 226));
    // Dark colours count as saturation 200: weight 54.
    EXPECT_EQ(ToolbarBottomColour(Rgb(10, 20, 30)), Rgb(123, 128, 134));
}

TEST(ToolbarTest, GradientFromFaceToCaptionSample) {
    TSkinBorderElement top(L"Top");
    top.Bitmap = Pixmap(30, 44, 0);
    top.Frame = 2;
    top.Bitmap.SetPixel(10, 7, Rgb(200, 200, 200)); // (30 / 3, 44 / 2 / 3)
    EXPECT_EQ(CaptionSampleColour(&top, kFace), Rgb(200, 200, 200));

    TSkinElement toolbar(L"Toolbar");
    toolbar.Frame = 9;
    BuildToolbar(toolbar, &top, Rgb(221, 221, 221));
    ASSERT_EQ(toolbar.Bitmap.Width(), 10);
    ASSERT_EQ(toolbar.Bitmap.Height(), 40);
    EXPECT_EQ(toolbar.Frame, 1);
    // Top: Blend(face, white, 150) = 250. Bottom entry of 250 -> 189 over 40
    // lines: 250 + (19 - 39 * 61) / 39 = 190 (truncated toward zero).
    EXPECT_EQ(toolbar.Bitmap.Pixel(0, 0), Rgb(250, 250, 250));
    EXPECT_EQ(toolbar.Bitmap.Pixel(9, 39), Rgb(190, 190, 190));
    EXPECT_EQ(toolbar.Bitmap.Pixel(5, 20),
              GradientColours(40, Rgb(250, 250, 250), Rgb(189, 189, 189))[20]);
}

TEST(ToolbarTest, CaptionSampleWithoutTopOrWithFrameCountZero) {
    EXPECT_EQ(CaptionSampleColour(nullptr, kFace), kFace);
    TSkinBorderElement top(L"Top");
    EXPECT_EQ(CaptionSampleColour(&top, kFace), kFace); // element without image
    top.Bitmap = Pixmap(30, 44, 0);
    top.Bitmap.SetPixel(10, 14, Rgb(1, 2, 3));
    top.Frame = 0;
    EXPECT_EQ(CaptionSampleColour(&top, kFace), Rgb(1, 2, 3));
}

} // namespace
} // namespace skin
