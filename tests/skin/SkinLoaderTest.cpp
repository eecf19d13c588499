#include "skin/SkinLoader.h"

#include <gtest/gtest.h>

#include "skin/SkinIni.h"

#include <fstream>
#include <iterator>
#include <map>
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

#ifdef SONDRELK_ASSETS_DIR
// The embedded definition over stand-in bitmaps of the embedded skin's sizes:
// everything after the package, derived elements included.
TEST(SkinLoader, BuildsEmbeddedDefinitionWithDerivedElements) {
    std::ifstream in(SONDRELK_ASSETS_DIR "/skin/iridium.ini", std::ios::binary);
    ASSERT_TRUE(in);
    const std::vector<std::uint8_t> ini((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
    const std::map<std::wstring, std::pair<int, int>> sizes = {
        {L"top.bmp", {185, 44}},         {L"bottom.bmp", {185, 10}},
        {L"left.bmp", {10, 193}},        {L"right.bmp", {10, 193}},
        {L"menu.bmp", {70, 38}},         {L"button.bmp", {275, 22}},
        {L"check.bmp", {52, 13}},        {L"radio.bmp", {52, 13}},
        {L"progress.bmp", {40, 13}},     {L"groupboxedge.bmp", {128, 64}},
        {L"tabborders.bmp", {29, 28}},   {L"tabs.bmp", {200, 19}},
        {L"combobutton.bmp", {72, 21}},  {L"sunkedge.bmp", {40, 9}},
        {L"headerbar.bmp", {320, 17}},   {L"select.bmp", {375, 23}},
        {L"menuskin.bmp", {50, 50}},     {L"arrows.bmp", {368, 16}},
        {L"hscrolltray.bmp", {80, 16}},  {L"vscrolltray.bmp", {64, 25}},
        {L"scrollbutton.bmp", {48, 16}}, {L"mdibutton.bmp", {180, 14}},
        {L"grouptop.bmp", {64, 19}},     {L"button0.bmp", {66, 12}},
        {L"button1.bmp", {66, 12}},      {L"button2.bmp", {66, 12}}};
    int missing = 0;
    const SkinEntryReader entries = [&](std::wstring_view name) {
        auto it = sizes.find(AsciiLower(name));
        if (it == sizes.end()) {
            ++missing;
            return std::vector<std::uint8_t>{};
        }
        return SaveBmp(Pixmap(it->second.first, it->second.second, Rgb(40, 80, 120)));
    };
    SkinLoadOptions options;
    options.CxHScroll = 17;
    const auto data = BuildSkinData(ini, entries, options);
    ASSERT_TRUE(data);
    EXPECT_EQ(missing, 0);
    ASSERT_TRUE(data->Top && data->Left && data->Buttons && data->Scrollbar && data->MenuItem);
    EXPECT_EQ(data->Top->FrameHeight(true), 22);
    EXPECT_EQ(data->Left->FrameWidth(), 5);
    EXPECT_EQ(data->Buttons->FrameWidth(), 55);
    EXPECT_EQ(data->Buttons->CheckButtonFrame, 4);
    EXPECT_EQ(data->Scrollbar->FrameWidth(), 16);
    EXPECT_EQ(data->MenuItem->Frame, 5);
    ASSERT_EQ(data->CaptionButtons.size(), 7u);
    EXPECT_EQ(data->CaptionButtons[0]->Frame, 6);
    EXPECT_EQ(data->CaptionButtons[0]->FrameWidth(), 11);
    EXPECT_EQ(data->CaptionButtons[4]->XCoord, 57);
    EXPECT_EQ(data->CaptionButtons[4]->Bitmap.Width(), 60);
    // Derived elements were built from the loaded ones.
    EXPECT_EQ(data->Toolbar->Bitmap.Width(), 10);
    EXPECT_EQ(data->Toolbar->Bitmap.Height(), 40);
    EXPECT_FALSE(data->ComboxArrow->Bitmap.Empty());
}
#endif

#ifdef SONDRELK_SKIN_FILE
// The packed embedded skin, as the build makes it from assets/skin.
TEST(SkinLoader, LoadsTheEmbeddedSkin) {
    std::ifstream in(SONDRELK_SKIN_FILE, std::ios::binary);
    ASSERT_TRUE(in);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    std::vector<std::uint8_t> payload = Le32(static_cast<std::uint32_t>(file.size()));
    payload.insert(payload.end(), file.begin(), file.end());

    SkinLoadReport report;
    const auto data = LoadSkinStream(payload, &report);
    ASSERT_TRUE(data);
    EXPECT_EQ(report.Result, Failure::kNone);
    EXPECT_EQ(report.DefinitionName, L"iridium.ini");
    EXPECT_GT(report.BitmapsRequested, 26);
    EXPECT_EQ(report.BitmapsFound, report.BitmapsRequested);

    ASSERT_TRUE(data->Top && data->Bottom && data->Left && data->Right);
    EXPECT_EQ(data->Top->Name, L"Top");
    EXPECT_EQ(data->Top->Bitmap.Width(), 185);
    EXPECT_EQ(data->Top->Bitmap.Height(), 44);
    EXPECT_EQ(data->Top->Frame, 2);
    EXPECT_EQ(data->Top->Margins, (TSkinMargins{17, 0, 22, 0}));
    EXPECT_EQ(data->Bottom->Trans, 0);
    EXPECT_EQ(data->Left->Margins, (TSkinMargins{0, 30, 0, 4}));
    ASSERT_TRUE(data->Buttons && data->Progress && data->Scrollbar && data->HorzScroll);
    EXPECT_EQ(data->Buttons->FrameWidth(), 55);
    EXPECT_EQ(data->Buttons->CheckButtonFrame, 4);
    EXPECT_EQ(data->Progress->FrameWidth(), 20);
    EXPECT_EQ(data->Progress->Margins, (TSkinMargins{3, 6, 3, 6}));
    EXPECT_EQ(data->Scrollbar->FrameWidth(), 16);
    EXPECT_EQ(data->HorzScroll->Name, L"HorzScroll");
    EXPECT_EQ(data->HorzScroll->Frame, 4);
    EXPECT_EQ(data->Colours.Hilight, Rgb(132, 130, 247));
    EXPECT_EQ(data->Colours.ButtonFace, Rgb(221, 221, 221));
    EXPECT_EQ(data->Title->ActiveText, Rgb(255, 255, 255));
    ASSERT_EQ(data->CaptionButtons.size(), 7u);
    EXPECT_EQ(data->CaptionButtons[0]->Name, L"BUTTON0");
    EXPECT_EQ(data->CaptionButtons[0]->FrameWidth(), 11);
    EXPECT_EQ(data->CaptionButtons[0]->FrameHeight(), 12);
    EXPECT_EQ(data->CaptionButtons[2]->XCoord, 46);
    EXPECT_TRUE(data->CaptionButtons[3]->Bitmap.Empty());
    EXPECT_EQ(data->CaptionButtons[6]->Action, 9);
    EXPECT_EQ(data->Toolbar->Bitmap.Height(), 40);

    // The same file without its last 100 bytes: far more is missing than
    // the last symbol's padding, so it is refused as unusable.
    std::vector<std::wstring> messages;
    SkinLoadOptions options;
    options.OnOlderFormat = [&](std::wstring_view m) { messages.emplace_back(m); };
    const std::vector<std::uint8_t> cut(file.begin(), file.end() - 100);
    EXPECT_EQ(LoadSkinFile(cut, &report, options), nullptr);
    EXPECT_EQ(report.Result, Failure::kOlderFormat);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], kOlderSkinMessage);
}
#endif

} // namespace
} // namespace skin
