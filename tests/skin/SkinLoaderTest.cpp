#include "skin/SkinLoader.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace skin {
namespace {

using Failure = SkinLoadReport::Failure;

std::vector<std::uint8_t> Le32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

std::vector<std::uint8_t> Framed(std::int32_t n, std::vector<std::uint8_t> file) {
    std::vector<std::uint8_t> out = Le32(static_cast<std::uint32_t>(n));
    out.insert(out.end(), file.begin(), file.end());
    return out;
}

TEST(SkinLoader, StreamFramingRejectsBadLengths) {
    const std::vector<std::uint8_t> file = {1, 2, 3, 4, 5};
    EXPECT_FALSE(SkinFileOfStream({}));
    EXPECT_FALSE(SkinFileOfStream(std::vector<std::uint8_t>{5, 0, 0}));
    EXPECT_FALSE(SkinFileOfStream(Framed(0, file)));
    EXPECT_FALSE(SkinFileOfStream(Framed(-5, file)));
    EXPECT_FALSE(SkinFileOfStream(Framed(6, file)));
    const auto payload = Framed(3, file);
    const auto inner = SkinFileOfStream(payload);
    ASSERT_TRUE(inner);
    EXPECT_EQ(std::vector<std::uint8_t>(inner->begin(), inner->end()),
              (std::vector<std::uint8_t>{1, 2, 3}));

    SkinLoadReport report;
    report.BitmapsFound = 99;
    EXPECT_EQ(LoadSkinStream(Framed(0, file), &report), nullptr);
    EXPECT_EQ(report.Result, Failure::kBadFraming);
    EXPECT_EQ(report.BitmapsFound, 0);
}

TEST(SkinLoader, EmptyOrOlderPackagesBuildNoSkin) {
    SkinLoadReport report;
    // A declared size of 0 decodes to an empty package, whose marker reads 0.
    EXPECT_EQ(LoadSkinFile(Le32(0), &report), nullptr);
    EXPECT_EQ(report.Result, Failure::kOlderFormat);
    EXPECT_EQ(LoadSkinFile({}, &report), nullptr);
    EXPECT_NE(report.Result, Failure::kNone);
}

TEST(SkinLoader, AbsurdPackageSizeIsRefusedBeforeDecoding) {
    SkinLoadReport report;
    auto file = Le32(0xFFFFFFF0u);
    file.resize(64, 0xAB);
    EXPECT_EQ(LoadSkinFile(file, &report), nullptr);
    EXPECT_EQ(report.Result, Failure::kTooLarge);
}

// Random bytes through the whole load: any outcome but a crash (the
// sanitizers watch the rest). A built skin still has its fixed parts.
TEST(SkinLoader, SurvivesGarbage) {
    std::mt19937 rng(20240607);
    int built = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> bytes(rng() % 600);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(rng());
        // Keep the declared size small so each round decodes quickly.
        if (bytes.size() >= 4) {
            bytes[2] = bytes[3] = 0;
            bytes[1] &= 0x3F;
        }
        SkinLoadReport report;
        auto data = round % 2 ? LoadSkinFile(bytes, &report) : LoadSkinStream(bytes, &report);
        if (data) {
            ++built;
            EXPECT_EQ(report.Result, Failure::kNone);
            EXPECT_TRUE(data->Title);
            EXPECT_EQ(data->CaptionButtons.size(), 3u);
        } else {
            EXPECT_NE(report.Result, Failure::kNone);
        }
    }
    // Random data almost never carries the package marker.
    EXPECT_LE(built, 3);
}

} // namespace
} // namespace skin
