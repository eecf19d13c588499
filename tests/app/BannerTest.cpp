// The banner picture and the home page link of the main window: the JPEG
// read at creation and decoded at the first paint, damaged streams, the date
// rule, the disguised address and what the clicks ask of the shell.
#include "app/HomePage.h"
#include "app/HomePageAddress.h"
#include "app/MainForm.h"
#include "app/Resources.h"
#include "HomePageSamples.h"
#include "platform/JpegPicture.h"
#include "support/WindowTest.h"
#include "ui/Application.h"
#include "ui/Image.h"
#include "ui/SpeedButton.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Offset just past the first frame header of a JPEG stream (walked segment
// by segment, so that table bytes are never taken for markers).
std::size_t EndOfFrameHeader(const Bytes& jpeg) {
    std::size_t at = 2;
    while (at + 4 <= jpeg.size()) {
        const std::uint8_t marker = jpeg[at + 1];
        const std::size_t length = jpeg[at + 2] << 8 | jpeg[at + 3];
        if (marker == 0xC0 || marker == 0xC2) return at + 2 + length;
        at += 2 + length;
    }
    return 0;
}

std::vector<COLORREF> PixelsOf(HBITMAP bitmap, int width, int height) {
    std::vector<COLORREF> pixels(static_cast<std::size_t>(width) * height);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, height, pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (COLORREF& p : pixels) // BGRX in memory: make it a COLORREF
        p = RGB(GetBValue(p), GetGValue(p), GetRValue(p));
    return pixels;
}

TEST(BannerPicture, HeaderReadAtCreationPixelsDecodedAtFirstPaintAndKept) {
    // The stored banner: a baseline frame (SOF0) of three components.
    const Bytes banner = app::LoadProgramData(app::kBannerId);
    const std::size_t frameEnd = EndOfFrameHeader(banner);
    ASSERT_GE(frameEnd, 19u);
    EXPECT_EQ(banner[frameEnd - 18], 0xC0);
    EXPECT_EQ(banner[frameEnd - 10], 3);

    ui::TApplication application;
    auto* form = new app::TForm1(&application);
    ui::TImage& image = *form->Image1;
    EXPECT_EQ(image.PictureSize().cx, 415);
    EXPECT_EQ(image.PictureSize().cy, 60);
    EXPECT_EQ(image.Picture(), nullptr) << "nothing is decoded before the first paint";

    image.SetVisible(true);
    form->Show();
    const int left = image.Left(), top = image.Top();
    testing_support::Snapshot shot(form->Handle(), left + image.Width() + 4,
                                   top + image.Height() + 4);
    const HBITMAP decoded = image.Picture();
    ASSERT_NE(decoded, nullptr) << "decoded when drawn";
    const auto pixels = PixelsOf(decoded, 415, 60);
    int mismatches = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 415; ++x)
            if (shot.at(left + x, top + y) != pixels[y * 415 + x]) ++mismatches;
    EXPECT_EQ(mismatches, 0) << "drawn 1:1 from the control's top-left corner";
    // Beyond the picture, inside the control, the window's face shows (the
    // skin's face colour once the window is skinned).
    const COLORREF face = ui::ColorToRGB(form->Color());
    EXPECT_EQ(shot.at(left + 416, top + 10), face);
    EXPECT_EQ(shot.at(left + 10, top + 60), face);
    // It is our banner: the caption's navy on the left, lighter blue on the right.
    const COLORREF west = pixels[30 * 415 + 2], east = pixels[30 * 415 + 412];
    EXPECT_GT(GetBValue(west), GetRValue(west) + 60);
    EXPECT_GT(GetGValue(east), GetGValue(west) + 60);

    testing_support::Snapshot again(form->Handle(), 8, 8);
    EXPECT_EQ(image.Picture(), decoded) << "decoded once and kept";
}

TEST(BannerPicture, StreamsThatDoNotDecodeLeaveTheImageEmpty) {
    const Bytes banner = app::LoadProgramData(app::kBannerId);
    const std::size_t frameEnd = EndOfFrameHeader(banner);
    ASSERT_GT(frameEnd, 0u);
    Bytes zeroWidth = banner;
    // The frame header ends with the width, the component count and three
    // component entries of three bytes.
    zeroWidth[frameEnd - 12] = 0;
    zeroWidth[frameEnd - 11] = 0;
    ASSERT_FALSE(platform::ReadJpegSize(zeroWidth));

    struct Case {
        const char* name;
        Bytes jpeg;
        std::optional<platform::PictureSize> header;
    };
    const Case cases[] = {
        {"no bytes", {}, std::nullopt},
        {"not a JPEG", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}, std::nullopt},
        {"start of image only", {0xFF, 0xD8}, std::nullopt},
        {"a segment longer than the stream",
         {0xFF, 0xD8, 0xFF, 0xE0, 0xFF, 0xFF, 0, 0},
         std::nullopt},
        {"a scan before any frame header",
         {0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9},
         std::nullopt},
        {"cut inside the frame header", Bytes(banner.begin(), banner.begin() + frameEnd - 8),
         std::nullopt},
        {"zero width", zeroWidth, std::nullopt},
        {"cut right after the frame header", Bytes(banner.begin(), banner.begin() + frameEnd),
         platform::PictureSize{415, 60}},
    };
    ui::TApplication application;
    auto* form = new ui::TForm(&application);
    form->SetClientSize(440, 80);
    auto* image = new ui::TImage(form);
    image->SetBounds(3, 5, 417, 61);
    image->SetParent(form);
    form->Show();
    const COLORREF face = ui::ColorToRGB(form->Color());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::ReadJpegSize(c.jpeg), c.header);
        image->LoadJpeg(c.jpeg);
        const platform::PictureSize read{image->PictureSize().cx, image->PictureSize().cy};
        EXPECT_EQ(read, c.header.value_or(platform::PictureSize{}));
        EXPECT_FALSE(platform::DecodeJpeg(c.jpeg));

        testing_support::Snapshot shot(form->Handle(), 440, 80);
        EXPECT_EQ(image->Picture(), nullptr);
        EXPECT_TRUE(image->Empty()) << "a picture that does not decode leaves the image empty";
        for (POINT p : {POINT{3, 5}, POINT{200, 30}, POINT{417, 64}})
            EXPECT_EQ(shot.at(p.x, p.y), face) << p.x << "," << p.y;
    }
    // The image takes a good picture again afterwards.
    image->LoadJpeg(banner);
    testing_support::Snapshot shot(form->Handle(), 440, 80);
    EXPECT_NE(image->Picture(), nullptr);
    EXPECT_NE(shot.at(3 + 2, 5 + 30), face);
}

TEST(BannerDate, TheCreationHandlerShowsTheBannerFromTheEighthOfMay2013) {
    struct Case {
        SYSTEMTIME now; // year, month, day of week, day, hour, minute, second, ms
        bool shown;
    };
    const Case cases[] = {
        {{2013, 5, 2, 7, 23, 59, 59, 999}, false}, {{2013, 5, 3, 8, 0, 0, 0, 0}, true},
        {{1999, 12, 5, 31, 12, 0, 0, 0}, false},   {{2026, 12, 4, 10, 5, 25, 0, 0}, true},
        {{2013, 4, 2, 30, 0, 0, 0, 0}, false},     {{2014, 1, 3, 1, 0, 0, 0, 0}, true},
    };
    ui::TApplication application;
    auto* form = new app::TForm1(&application);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.now.wYear << "-" << c.now.wMonth << "-" << c.now.wDay);
        form->Image1->SetVisible(!c.shown);
        form->LocalTime = [&c] { return c.now; };
        form->FormCreate(form);
        EXPECT_EQ(form->Image1->Visible(), c.shown);
    }
}

TEST(HomePage, NoiseWordRemovalSearchesAgainFromTheBeginning) {
    const std::wstring noise = app::kHomePageNoiseWord;
    ASSERT_EQ(noise.size(), 5u);
    const std::wstring n = noise, head = noise.substr(0, 3), tail = noise.substr(3);
    struct Case {
        std::wstring disguised, clean;
    };
    const Case cases[] = {
        {L"", L""},
        {L"https://example.com/", L"https://example.com/"},
        {n + L"https://ex" + n + L"ample.com/" + n, L"https://example.com/"},
        {L"ab" + n + n + L"cd", L"abcd"},
        // An occurrence that forms only once the inner one is gone.
        {head + n + tail + L"http://x/", L"http://x/"},
        {head + head + n + tail + tail + L"y", L"y"},
        {L"a" + head + L"b" + tail, L"a" + head + L"b" + tail},
    };
    for (const Case& c : cases) {
        const std::wstring cleaned = app::RemoveNoiseWord(c.disguised, noise);
        EXPECT_EQ(cleaned, c.clean) << "from " << testing::PrintToString(c.disguised);
        EXPECT_EQ(cleaned.find(noise), std::wstring::npos);
    }
    EXPECT_EQ(app::RemoveNoiseWord(L"abc", L""), L"abc") << "an empty word removes nothing";
}

TEST(HomePage, TheBuildStepDisguisesAddressesThatCleanBackExactly) {
    const std::wstring noise = app::kHomePageNoiseWord;
    const std::wstring sample = kSampleHomePage, disguised = kSampleHomePageDisguised;
    EXPECT_EQ(app::RemoveNoiseWord(disguised, noise), sample);
    EXPECT_EQ(disguised.find(sample.substr(0, 8)), std::wstring::npos)
        << "not stored as plain text";
    EXPECT_GE(disguised.size(), sample.size() + 5 * noise.size());

    // The program's own address, as configured for this build.
    const std::wstring configured = kConfiguredHomePage;
    EXPECT_EQ(app::RemoveNoiseWord(app::kHomePageDisguised, noise), configured);
    if (!configured.empty()) {
        EXPECT_EQ(std::wstring(app::kHomePageDisguised).find(configured.substr(0, 8)),
                  std::wstring::npos);
    }
}

class HomePageClicks : public testing::Test {
protected:
    void SetUp() override {
        form_ = new app::TForm1(&application_);
        form_->Image1->SetVisible(true);
        form_->ShellOpen = [this](const platform::ShellRequest& r) { requests_.push_back(r); };
        form_->Show();
        testing_support::Pump();
    }

    void ClickAt(const ui::TControl& control) {
        const LPARAM at =
            MAKELPARAM(control.Left() + control.Width() / 2, control.Top() + control.Height() / 2);
        SendMessageW(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(form_->Handle(), WM_LBUTTONUP, 0, at);
    }

    ui::TApplication application_;
    app::TForm1* form_ = nullptr;
    std::vector<platform::ShellRequest> requests_;
};

TEST_F(HomePageClicks, BannerAndButtonAskTheShellToOpenTheAddress) {
    form_->HomePageDisguised = kSampleHomePageDisguised;
    ClickAt(*form_->Image1);
    ClickAt(*form_->SpeedButton15);
    ASSERT_EQ(requests_.size(), 2u);
    for (const platform::ShellRequest& r : requests_) {
        EXPECT_EQ(r.Parent, form_->Handle());
        EXPECT_EQ(r.Verb, L"") << "the shell's default action";
        EXPECT_EQ(r.File, kSampleHomePage);
        EXPECT_EQ(r.Parameters, L"");
        EXPECT_EQ(r.Directory, L"");
        EXPECT_EQ(r.ShowCommand, SW_SHOWNORMAL);
    }
    // Pressed on the banner, released elsewhere: no click.
    const ui::TImage& image = *form_->Image1;
    SendMessageW(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(image.Left() + 5, image.Top() + 5));
    SendMessageW(form_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(image.Left() + 5, 10));
    EXPECT_EQ(requests_.size(), 2u);
}

TEST_F(HomePageClicks, TheBuildsOwnAddressOrNothingWhenItIsEmpty) {
    ClickAt(*form_->SpeedButton15);
    const std::wstring configured = kConfiguredHomePage;
    if (configured.empty()) {
        EXPECT_TRUE(requests_.empty()) << "no address: the click does nothing";
    } else {
        ASSERT_EQ(requests_.size(), 1u);
        EXPECT_EQ(requests_[0].File, configured);
    }
}

TEST_F(HomePageClicks, OnlyWebAddressesReachTheShell) {
    const std::wstring noise = app::kHomePageNoiseWord;
    const struct {
        const wchar_t* address;
        bool opened;
    } cases[] = {
        {L"https://example.com/", true},
        {L"http://example.com/a?b=c", true},
        {L"", false},
        {L"file:///C:/Windows/System32/calc.exe", false},
        {L"C:\\Windows\\System32\\calc.exe", false},
        {L"calc.exe", false},
        {L"\\\\server\\share\\setup.exe", false},
        {L"javascript:alert(1)", false},
        {L"mailto:someone@example.com", false},
        {L" https://example.com/", false},
        {L"https:example.com", false},
        {L"http:/example.com", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.address)));
        const std::wstring address = c.address;
        const std::size_t half = address.size() / 2;
        form_->HomePageDisguised =
            noise + address.substr(0, half) + noise + address.substr(half) + noise;
        requests_.clear();
        ClickAt(*form_->SpeedButton15);
        ClickAt(*form_->Image1);
        EXPECT_EQ(requests_.size(), c.opened ? 2u : 0u);
        for (const platform::ShellRequest& r : requests_)
            EXPECT_EQ(r.File, address);
    }
}

} // namespace
