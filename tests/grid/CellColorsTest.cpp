#include "grid/CellColors.h"

#include <gtest/gtest.h>

namespace {

using grid::MakeRGB;
using grid::SelectionTint;

TEST(SelectionTint, WhiteUnderNavyWithContrastStep) {
    EXPECT_EQ(SelectionTint(MakeRGB(255, 255, 255), MakeRGB(0, 0, 128), true),
              MakeRGB(202, 202, 234));
}

TEST(SelectionTint, WhiteUnderButtonShadowWithoutContrastIsLightGrey) {
    EXPECT_EQ(SelectionTint(MakeRGB(255, 255, 255), MakeRGB(128, 128, 128), false),
              MakeRGB(212, 212, 212));
}

TEST(SelectionTint, ChannelsAreIndependentAndClampedAtWhite) {
    // White under white with the contrast step would exceed 255.
    EXPECT_EQ(SelectionTint(MakeRGB(255, 255, 255), MakeRGB(255, 255, 255), true),
              MakeRGB(255, 255, 255));
    // Black under black: 0.4 * 0 + 135 per channel, then the contrast step.
    EXPECT_EQ(SelectionTint(MakeRGB(0, 0, 0), MakeRGB(0, 0, 0), false), MakeRGB(135, 135, 135));
    const grid::TRGB mixed = SelectionTint(MakeRGB(255, 0, 0), MakeRGB(0, 0, 0), false);
    EXPECT_EQ(grid::RedOf(mixed), 186); // 127.5 + 97.5 * 0.6
    EXPECT_EQ(grid::GreenOf(mixed), 135);
    EXPECT_EQ(grid::BlueOf(mixed), 135);
}

} // namespace
