#include "skin/ImageOps.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <vector>

namespace skin {
namespace {

// Distinct colours for readable pixel maps.
constexpr Colour A = 0x0000A1, B = 0x0000B2, C = 0x0000C3, D = 0x00D400, E = 0x00E500, F = 0x00F600,
                 G = 0x170000, H = 0x280000, I = 0x390000, K = kMagenta, Z = 0x000000, W = 0x777777;

Pixmap Image(std::initializer_list<std::initializer_list<Colour>> rows) {
    const int h = static_cast<int>(rows.size());
    const int w = static_cast<int>(rows.begin()->size());
    Pixmap p(w, h);
    int y = 0;
    for (const auto& row : rows) {
        int x = 0;
        for (Colour c : row)
            p.SetPixel(x++, y, c);
        ++y;
    }
    return p;
}

void ExpectImage(const Pixmap& actual, std::initializer_list<std::initializer_list<Colour>> rows) {
    const Pixmap expected = Image(rows);
    ASSERT_EQ(actual.Width(), expected.Width());
    ASSERT_EQ(actual.Height(), expected.Height());
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            EXPECT_EQ(actual.Pixel(x, y), expected.Pixel(x, y)) << "at " << x << "," << y;
}

const TSkinMargins kOnes{1, 1, 1, 1};

// ---- stretching and composing ---------------------------------------------------

TEST(StretchTest, NearestPixelUnderTheLeftEdge) {
    const Pixmap src = Image({{A, B}});
    Pixmap wide(5, 1);
    StretchCopy(wide, wide.Bounds(), src, src.Bounds());
    ExpectImage(wide, {{A, A, A, B, B}});

    const Pixmap four = Image({{A, B, C, D}});
    Pixmap narrow(2, 1);
    StretchCopy(narrow, narrow.Bounds(), four, four.Bounds());
    ExpectImage(narrow, {{A, C}});
}

TEST(StretchTest, SourceOutsideTheImageIsNotDrawn) {
    const Pixmap src = Image({{A, B}});
    Pixmap dst(4, 1, W);
    StretchCopy(dst, dst.Bounds(), src, Rect{1, 0, 5, 1});
    ExpectImage(dst, {{B, W, W, W}});
}

TEST(ComposeElementTest, NineRegionsCornersUnscaled) {
    const Pixmap bmp = Image({{A, B, C}, {D, E, F}, {G, H, I}});
    const Pixmap out = ComposeElement(Rect{10, 20, 15, 24}, bmp, kOnes, false, false, 1, 1);
    ExpectImage(out, {{A, B, B, B, C}, {D, E, E, E, F}, {D, E, E, E, F}, {G, H, H, H, I}});
}

TEST(ComposeElementTest, PicksTheFrameInBothLayouts) {
    // Two frames side by side: frame 2 is the right half.
    const Pixmap side = Image({{Z, Z, A, B}, {Z, Z, C, D}});
    ExpectImage(ComposeElement(Rect{0, 0, 2, 2}, side, {}, false, false, 2, 2), {{A, B}, {C, D}});
    // Stacked: frame 2 is the lower half.
    const Pixmap stacked = Image({{Z, Z}, {Z, Z}, {A, B}, {C, D}});
    ExpectImage(ComposeElement(Rect{0, 0, 2, 2}, stacked, {}, true, false, 2, 2), {{A, B}, {C, D}});
    // A frame count of 0 draws the whole image as one frame.
    ExpectImage(ComposeElement(Rect{0, 0, 4, 2}, side, {}, false, false, 0, 1),
                {{Z, Z, A, B}, {Z, Z, C, D}});
}

TEST(ComposeElementTest, MarginsDroppedInPairsOnSmallTargets) {
    const Pixmap bmp = Image({{A, B, C}, {D, E, F}, {G, H, I}});
    // 2 wide < 1 + 1 is false: margins kept. 1 wide: horizontal margins go,
    // the whole frame width is stretched, vertical margins stay.
    ExpectImage(ComposeElement(Rect{0, 0, 1, 3}, bmp, kOnes, false, false, 1, 1), {{A}, {D}, {G}});
    ExpectImage(ComposeElement(Rect{0, 0, 3, 1}, bmp, kOnes, false, false, 1, 1), {{A, B, C}});
    // Only the pair that does not fit is dropped.
    ExpectImage(ComposeElement(Rect{0, 0, 2, 2}, bmp, TSkinMargins{1, 1, 1, 2}, false, false, 1, 1),
                {{A, C}, {D, F}});
}

TEST(ComposeElementTest, OnePixelTargetOfTiledElementShowsFrameTopLeft) {
    const Pixmap bmp = Image({{A, B, C, D, E, F}, {G, H, I, A, B, C}, {D, E, F, G, H, I}});
    ExpectImage(ComposeElement(Rect{0, 0, 1, 1}, bmp, kOnes, false, true, 2, 2), {{D}});
    ExpectImage(ComposeElement(Rect{0, 0, 1, 1}, bmp, kOnes, false, true, 2, 1), {{A}});
}

TEST(ComposeElementTest, TiledCentreOverrunCoveredByRightAndBottomPieces) {
    // Inner piece 3 x 1 (E1 E2 E3) in a 5 x 3 image with margins of 1.
    constexpr Colour E1 = 0x010101, E2 = 0x020202, E3 = 0x030303;
    const Pixmap bmp = Image({{A, B, B, B, C}, {D, E1, E2, E3, F}, {G, H, H, H, I}});
    // Centre 5 wide: tiles at x = 1 and x = 4; the second one's last column
    // (x = 6) lies under the right edge, which is drawn after it.
    ExpectImage(ComposeElement(Rect{0, 0, 7, 3}, bmp, kOnes, false, true, 1, 1),
                {{A, B, B, B, B, B, C}, {D, E1, E2, E3, E1, E2, F}, {G, H, H, H, H, H, I}});

    // Inner piece 1 x 2 (E1 over E2); centre 3 high: tiles at y = 1 and y = 3,
    // the second reaching into the bottom row, which covers it.
    const Pixmap tall = Image({{A, B, C}, {D, E1, F}, {D, E2, F}, {G, H, I}});
    ExpectImage(ComposeElement(Rect{0, 0, 3, 5}, tall, kOnes, false, true, 1, 1),
                {{A, B, C}, {D, E1, F}, {D, E2, F}, {D, E1, F}, {G, H, I}});
    // Stretched instead, the same target samples rows 1, 1 and 2 of the inner piece.
    ExpectImage(ComposeElement(Rect{0, 0, 3, 5}, tall, kOnes, false, false, 1, 1),
                {{A, B, C}, {D, E1, F}, {D, E1, F}, {D, E2, F}, {G, H, I}});
}

TEST(ComposeElementTest, EmptyOrBrokenInputsDrawNothing) {
    const Pixmap bmp = Image({{A, B, C}});
    EXPECT_TRUE(ComposeElement(Rect{0, 0, 0, 5}, bmp, {}, false, false, 1, 1).Empty());
    EXPECT_TRUE(ComposeElement(Rect{5, 0, 0, 5}, bmp, {}, false, false, 1, 1).Empty());
    // Frame index beyond the frames: the composed image stays black.
    ExpectImage(ComposeElement(Rect{0, 0, 2, 1}, bmp, {}, false, false, 3, 7), {{Z, Z}});
    // Margins wider than the frame and negative ones neither crash nor read outside.
    const Pixmap odd =
        ComposeElement(Rect{0, 0, 40, 40}, bmp, TSkinMargins{30, -4, 9, 2}, false, true, 1, 1);
    EXPECT_EQ(odd.Width(), 40);
}

// ---- drawing onto a canvas --------------------------------------------------------

TEST(DrawTest, TransparentKeyLeavesCanvasUnchanged) {
    Pixmap canvas(3, 2, W);
    DrawTransparent(canvas, Rect{1, 0, 3, 2}, Image({{K, A}, {B, K}}), kMagenta);
    ExpectImage(canvas, {{W, W, A}, {W, B, W}});

    // Near-magenta is not the key.
    Pixmap near(1, 1, W);
    DrawTransparent(near, near.Bounds(), Image({{0xFE00FF}}), kMagenta);
    EXPECT_EQ(near.Pixel(0, 0), 0xFE00FFu);
}

TEST(DrawTest, DrawElementTransparentOpaqueAndNegativeSizes) {
    const Pixmap bmp = Image({{K, A}});
    Pixmap canvas(2, 1, W);
    DrawElement(canvas, canvas.Bounds(), bmp, false, false, true, 1, 1, {});
    ExpectImage(canvas, {{W, A}});
    DrawElement(canvas, canvas.Bounds(), bmp, false, false, false, 1, 1, {});
    ExpectImage(canvas, {{K, A}});

    Pixmap untouched(2, 1, W);
    DrawElement(untouched, Rect{2, 0, 0, 1}, bmp, false, false, false, 1, 1, {});
    DrawElement(untouched, Rect{0, 1, 2, 0}, bmp, false, false, false, 1, 1, {});
    ExpectImage(untouched, {{W, W}});
}

TEST(DrawTest, FrameStretchedAndCentred) {
    const Pixmap bmp = Image({{A, B, K, C}}); // two frames of 2 x 1
    Pixmap canvas(4, 1, W);
    DrawFrameStretched(canvas, canvas.Bounds(), bmp, true, 2, 2);
    ExpectImage(canvas, {{W, W, C, C}});

    // Width 5, frame 2: left at (5 - 2) / 2 = 1.
    Pixmap centred(5, 3, W);
    DrawFrameCentred(centred, centred.Bounds(), bmp, false, 2, 1);
    ExpectImage(centred, {{W, W, W, W, W}, {W, A, B, W, W}, {W, W, W, W, W}});

    // A frame larger than the rectangle: (1 - 2) / 2 truncates to 0.
    Pixmap small(3, 1, W);
    DrawFrameCentred(small, Rect{1, 0, 2, 1}, bmp, false, 2, 1);
    ExpectImage(small, {{W, A, B}});
}

TEST(DrawTest, ThreeSlice) {
    // Frame 4 x 1: left margin A, middle B C, right margin D.
    const Pixmap bmp = Image({{A, B, C, D}});
    const TSkinMargins lr{1, 0, 1, 0};
    Pixmap wide(6, 2, W);
    DrawThreeSlice(wide, wide.Bounds(), bmp, false, 1, 1, lr);
    ExpectImage(wide, {{A, B, B, C, C, D}, {A, B, B, C, C, D}});

    // Narrower than the frame: the whole frame stretched.
    Pixmap narrow(2, 1, W);
    DrawThreeSlice(narrow, narrow.Bounds(), bmp, false, 1, 1, lr);
    ExpectImage(narrow, {{A, C}});
}

TEST(DrawTest, ThreeSliceRepeatedRightPieceCoversOverrun) {
    const Pixmap bmp = Image({{A, B, C, K}});
    const TSkinMargins lr{1, 0, 1, 0};
    Pixmap canvas(6, 1, W);
    // Middle B C at x = 1 and x = 3 fills 1..4 exactly; the right piece at 5.
    DrawThreeSliceRepeated(canvas, canvas.Bounds(), bmp, false, false, 1, 1, lr);
    ExpectImage(canvas, {{A, B, C, B, C, K}});

    // Width 5: copies at 1 and 3; the second overruns into x = 4, where the
    // right piece (magenta, transparent) is drawn last into the strip.
    Pixmap odd(5, 1, W);
    DrawThreeSliceRepeated(odd, odd.Bounds(), bmp, false, true, 1, 1, lr);
    ExpectImage(odd, {{A, B, C, B, W}});
}

TEST(DrawTest, TileRectRepeatsAndOverruns) {
    const Pixmap bmp = Image({{A, B}, {C, D}});
    Pixmap canvas(4, 3, W);
    TileRect(canvas, Rect{0, 0, 3, 1}, bmp, Rect{0, 0, 2, 1});
    ExpectImage(canvas, {{A, B, A, B}, {W, W, W, W}, {W, W, W, W}});

    Pixmap untouched(2, 2, W);
    TileRect(untouched, untouched.Bounds(), bmp, Rect{1, 0, 1, 2}); // zero width piece
    TileRect(untouched, untouched.Bounds(), bmp, Rect{0, 1, 2, 1}); // zero height piece
    ExpectImage(untouched, {{W, W}, {W, W}});
}

// ---- regions ------------------------------------------------------------------------

TEST(BitmapToRegionTest, RunsOfNonKeyPixelsWithOffset) {
    const Pixmap bmp = Image({{K, A, A, K, B}, {K, K, K, K, K}, {C, C, C, C, C}});
    const auto batches = BitmapToRegion(bmp, 10, 20, 1, 1, 1, kMagenta);
    ASSERT_EQ(batches.size(), 1u);
    const std::vector<Rect> expected = {{11, 20, 13, 21}, {14, 20, 15, 21}, {10, 22, 15, 23}};
    EXPECT_EQ(batches[0], expected);
}

TEST(BitmapToRegionTest, ToleranceAboveTheKeyOnly) {
    // Red 254 is below the key and never a key pixel; green 1 is within the
    // tolerance of 1, green 2 is not.
    const Pixmap bmp = Image({{Rgb(255, 1, 255), Rgb(255, 2, 255), Rgb(254, 0, 255)}});
    const auto batches = BitmapToRegion(bmp, 0, 0, 1, 1, 1, kMagenta);
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0], (std::vector<Rect>{{1, 0, 3, 1}}));
    EXPECT_TRUE(BitmapToRegion(Image({{Rgb(255, 1, 255)}}), 0, 0, 0, 1, 0, kMagenta).empty());
}

TEST(BitmapToRegionTest, AllKeyGivesNoRegion) {
    EXPECT_TRUE(BitmapToRegion(Pixmap(7, 3, kMagenta), 0, 0, 1, 1, 1, kMagenta).empty());
    EXPECT_TRUE(BitmapToRegion(Pixmap(), 0, 0, 1, 1, 1, kMagenta).empty());
}

TEST(BitmapToRegionTest, BatchesOfTwoThousand) {
    // Alternating pixels: 2 runs per row of 4 pixels.
    Pixmap striped(4, 1000, kMagenta);
    for (int y = 0; y < 1000; ++y) {
        striped.SetPixel(0, y, A);
        striped.SetPixel(2, y, A);
    }
    auto batches = BitmapToRegion(striped, 0, 0, 0, 0, 0, kMagenta);
    ASSERT_EQ(batches.size(), 1u); // exactly 2000
    EXPECT_EQ(batches[0].size(), 2000u);

    Pixmap more(4, 2001, kMagenta);
    for (int y = 0; y < 2001; ++y) {
        more.SetPixel(0, y, A);
        more.SetPixel(2, y, A);
    }
    batches = BitmapToRegion(more, 0, 0, 0, 0, 0, kMagenta);
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[0].size(), 2000u);
    EXPECT_EQ(batches[1].size(), 2000u);
    EXPECT_EQ(batches[2].size(), 2u);
    // Order is preserved across the boundary: rectangle 2000 starts row 1000.
    EXPECT_EQ(batches[1][0], (Rect{0, 1000, 1, 1001}));
    EXPECT_EQ(batches[2][1], (Rect{2, 2000, 3, 2001}));
}

// ---- colours ------------------------------------------------------------------------

class ColourTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSystemColourResolver([](int index) {
            static const std::map<int, Colour> table = {{15, Rgb(212, 208, 200)},
                                                        {5, Rgb(255, 255, 255)}};
            auto it = table.find(index);
            return it == table.end() ? Colour{0} : it->second;
        });
    }
    void TearDown() override { SetSystemColourResolver(nullptr); }
};

TEST_F(ColourTest, BlendPercentBelowHundredPerMilleFromHundred) {
    // 99 %: (200 * 99 + 0 * 1 + 50) / 100 = 198.5 -> 198
    EXPECT_EQ(Blend(Rgb(200, 0, 0), Rgb(0, 0, 0), 99), Rgb(198, 0, 0));
    // 100 is per mille: 10 % of the first colour.
    EXPECT_EQ(Blend(Rgb(200, 100, 0), Rgb(0, 0, 100), 100), Rgb(20, 10, 90));
    // 150: 15 % x, 85 % y; (255 * 150 + 0 + 500) / 1000 = 38.75 -> 38
    EXPECT_EQ(Blend(0xFFFFFF, 0, 150), Rgb(38, 38, 38));
    // Rounding half up: (1 * 50 + 0 + 50) / 100 = 1.
    EXPECT_EQ(Blend(Rgb(1, 0, 0), 0, 50), Rgb(1, 0, 0));
    EXPECT_EQ(Blend(Rgb(10, 20, 30), Rgb(90, 80, 70), 0), Rgb(90, 80, 70));
    // Weights beyond the scale stay within a channel.
    EXPECT_EQ(Blend(Rgb(255, 0, 0), Rgb(0, 255, 0), 5000), Rgb(255, 0, 0));
}

TEST_F(ColourTest, SystemColoursResolvedThroughTheHook) {
    EXPECT_EQ(ResolveColour(0xFF00000F), Rgb(212, 208, 200));
    EXPECT_EQ(ResolveColour(Rgb(1, 2, 3)), Rgb(1, 2, 3));
    EXPECT_EQ(Blend(0xFF00000F, 0xFF000005, 50), Rgb(234, 232, 228));
    SetSystemColourResolver(nullptr);
    EXPECT_EQ(ResolveColour(0xFF00000F), 0u);
}

TEST_F(ColourTest, Saturation255) {
    EXPECT_EQ(Saturation255(Rgb(159, 20, 0)), 200); // every channel below 160
    EXPECT_EQ(Saturation255(0), 200);
    EXPECT_EQ(Saturation255(0xFFFFFF), 0);
    EXPECT_EQ(Saturation255(Rgb(255, 0, 0)), 255);
    EXPECT_EQ(Saturation255(Rgb(200, 100, 100)), 128); // 127.5 rounds up
    EXPECT_EQ(Saturation255(Rgb(160, 120, 160)), 64);  // 63.75
    EXPECT_EQ(Saturation255(0xFF00000F), 14);          // resolved 212 / 200: 14.43
}

// ---- gradients ----------------------------------------------------------------------

TEST(GradientTest, EntriesAndSingleStepMidpoint) {
    EXPECT_EQ(GradientColours(1, Rgb(0, 100, 255), Rgb(100, 0, 255)),
              (std::vector<Colour>{Rgb(50, 50, 255)}));
    EXPECT_EQ(GradientColours(1, Rgb(0, 0, 0), Rgb(3, 0, 0)), (std::vector<Colour>{Rgb(1, 0, 0)}));
    // n = 3, rising by 10: (1 + i * 10) / 2 -> 0, 5, 10
    EXPECT_EQ(GradientColours(3, Rgb(0, 0, 0), Rgb(10, 0, 0)),
              (std::vector<Colour>{Rgb(0, 0, 0), Rgb(5, 0, 0), Rgb(10, 0, 0)}));
    // Falling: (1 - 10 i) / 2 truncates toward zero: 0, -4, -9
    EXPECT_EQ(GradientColours(3, Rgb(10, 0, 0), Rgb(0, 0, 0)),
              (std::vector<Colour>{Rgb(10, 0, 0), Rgb(6, 0, 0), Rgb(1, 0, 0)}));
    EXPECT_TRUE(GradientColours(0, 0, 0).empty());
}

TEST(GradientTest, CacheReusesAndReplacesRoundRobin) {
    GradientCache cache;
    const auto first = cache.Get(40, Rgb(10, 20, 30), Rgb(200, 100, 0));
    EXPECT_TRUE(cache.LastWasComputed());
    EXPECT_EQ(cache.LastSlot(), 0);
    const auto again = cache.Get(40, Rgb(10, 20, 30), Rgb(200, 100, 0));
    EXPECT_FALSE(cache.LastWasComputed());
    EXPECT_EQ(cache.LastSlot(), 0);
    EXPECT_EQ(first, again);

    // A falling gradient whose last entry is not its last colour is still
    // reused, and never confused with the one ending one step lower.
    const auto down = cache.Get(3, Rgb(10, 0, 0), Rgb(0, 0, 0));
    EXPECT_TRUE(cache.LastWasComputed());
    cache.Get(3, Rgb(10, 0, 0), Rgb(1, 0, 0));
    EXPECT_TRUE(cache.LastWasComputed());
    EXPECT_EQ(cache.Get(3, Rgb(10, 0, 0), Rgb(0, 0, 0)), down);
    EXPECT_FALSE(cache.LastWasComputed());

    // Fill the remaining slots; the seventeenth distinct gradient replaces slot 0.
    for (int n = 1; n <= 13; ++n)
        cache.Get(n, 0, 0xFFFFFF);
    EXPECT_EQ(cache.LastSlot(), 15);
    cache.Get(99, 0, 0xFFFFFF);
    EXPECT_EQ(cache.LastSlot(), 0);
    cache.Get(40, Rgb(10, 20, 30), Rgb(200, 100, 0));
    EXPECT_TRUE(cache.LastWasComputed());
    EXPECT_EQ(cache.LastSlot(), 1);
}

TEST(GradientTest, FillPaintsOnlyVisibleLines) {
    Pixmap canvas(3, 4, W);
    GradientCache cache;
    // Rows -2..3 of a 6-step gradient; rows 2.. of it land on the canvas.
    GradientFill(canvas, Rect{1, -2, 3, 4}, Rgb(0, 0, 0), true, Rgb(50, 0, 0), cache);
    const auto entries = GradientColours(6, Rgb(0, 0, 0), Rgb(50, 0, 0));
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(canvas.Pixel(0, y), W);
        EXPECT_EQ(canvas.Pixel(1, y), entries[static_cast<std::size_t>(y + 2)]);
        EXPECT_EQ(canvas.Pixel(2, y), entries[static_cast<std::size_t>(y + 2)]);
    }
    Pixmap across(4, 1, W);
    GradientFill(across, across.Bounds(), Rgb(0, 0, 0), false, Rgb(0, 0, 30), cache);
    EXPECT_EQ(across.Pixel(3, 0), Rgb(0, 0, 30));
    EXPECT_EQ(across.Pixel(1, 0), Rgb(0, 0, 10));
    Pixmap none(2, 2, W);
    GradientFill(none, Rect{0, 0, 2, 0}, 0, true, 0xFFFFFF, cache);
    EXPECT_EQ(none.Pixel(0, 0), W);
}

// ---- image utilities ------------------------------------------------------------------

TEST(ImageUtilityTest, GrayAndReplaceMagenta) {
    Pixmap p = Image({{Rgb(30, 60, 91), K}});
    p.SetBitDepth(8);
    GrayBitmap(p);
    EXPECT_EQ(p.Pixel(0, 0), Rgb(60, 60, 60));
    EXPECT_EQ(p.Pixel(1, 0), Rgb(170, 170, 170));
    EXPECT_EQ(p.BitDepth(), 24);

    Pixmap q = Image({{K, 0xFE00FF, Rgb(255, 1, 255)}});
    ReplaceMagenta(q, A);
    ExpectImage(q, {{A, 0xFE00FF, Rgb(255, 1, 255)}});
}

TEST(ImageUtilityTest, MirrorFlipAndRotate) {
    const Pixmap src = Image({{A, B, C}, {D, E, F}});
    Pixmap m = src;
    MirrorBitmap(m);
    ExpectImage(m, {{C, B, A}, {F, E, D}});
    Pixmap f = src;
    FlipBitmap(f);
    ExpectImage(f, {{D, E, F}, {A, B, C}});
    // Counter-clockwise: old top-right becomes top-left.
    ExpectImage(RotateLeft(src), {{C, F}, {B, E}, {A, D}});
    // Clockwise: old top-left becomes top-right.
    ExpectImage(RotateRight(src), {{D, A}, {E, B}, {F, C}});
    EXPECT_EQ(RotateRight(RotateLeft(src)), src);
    EXPECT_TRUE(RotateLeft(Pixmap()).Empty());
}

} // namespace
} // namespace skin
