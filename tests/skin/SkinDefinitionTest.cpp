#include "skin/SkinDefinition.h"

#include "skin/SkinIni.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

namespace skin {
namespace {

// A package stand-in: entries by lower-cased name, and the names asked for.
struct FakePackage {
    std::map<std::wstring, std::vector<std::uint8_t>> entries;
    std::vector<std::wstring> asked;

    void Add(const std::wstring& name, int w, int h, Colour fill = Rgb(1, 2, 3)) {
        entries[AsciiLower(name)] = SaveBmp(Pixmap(w, h, fill));
    }
    SkinEntryReader Reader() {
        return [this](std::wstring_view name) {
            asked.emplace_back(name);
            auto it = entries.find(AsciiLower(name));
            return it == entries.end() ? std::vector<std::uint8_t>{} : it->second;
        };
    }
};

TSkinData Read(std::string_view text, FakePackage& package, const TSkinFallbacks& fb = {}) {
    TSkinIni ini;
    ini.LoadFromText(text);
    TSkinData data;
    ReadSkinDefinition(ini, package.Reader(), data, fb);
    return data;
}

TEST(SkinDefinition, BitmapNamesLoseFolderAndNeedLowerCaseBmp) {
    EXPECT_EQ(SkinBitmapName(L"Iridium\\Lines.bmp"), L"Lines.bmp");
    EXPECT_EQ(SkinBitmapName(L"C:Top.bmp"), L"Top.bmp");
    EXPECT_EQ(SkinBitmapName(L"TOP.BMP"), L"");
    EXPECT_EQ(SkinBitmapName(L"top.Bmp"), L"");
    EXPECT_EQ(SkinBitmapName(L"dir\\"), L"");
    EXPECT_EQ(SkinBitmapName(L"top.bmp.txt"), L"");

    FakePackage p;
    p.Add(L"lines.bmp", 8, 4);
    p.Add(L"top.bmp", 8, 4);
    const TSkinData d = Read("[Personality]\nTop=Iridium\\Lines.bmp\nBottom=TOP.BMP\n"
                             "Left=missing.bmp\n",
                             p);
    ASSERT_TRUE(d.Top && d.Bottom && d.Left);
    EXPECT_EQ(d.Top->Bitmap.Width(), 8);
    // A refused or missing file still creates the element, without an image.
    EXPECT_TRUE(d.Bottom->Bitmap.Empty());
    EXPECT_TRUE(d.Left->Bitmap.Empty());
    EXPECT_FALSE(d.Right);
    EXPECT_EQ(std::count(p.asked.begin(), p.asked.end(), L"TOP.BMP"), 0);
    EXPECT_EQ(std::count(p.asked.begin(), p.asked.end(), L"Lines.bmp"), 1);
}

TEST(SkinDefinition, EmptyDefinitionGivesDefaults) {
    FakePackage p;
    const Pixmap track(16, 4, Rgb(9, 9, 9));
    const TSkinData d = Read("", p, {&track, nullptr});
    EXPECT_EQ(d.Colours.ButtonFace, kSysBtnFace);
    EXPECT_EQ(d.Colours.Menubar, kSysBtnFace);
    EXPECT_EQ(d.Colours.Buttonlight, kSysBtnHighlight);
    EXPECT_EQ(d.Colours.TitleTextNoActive, kSysInactiveCaptionText);
    EXPECT_TRUE(d.ColourList.empty());
    EXPECT_EQ(d.CustomColours[9], 0xFFFFFFu);
    EXPECT_FALSE(d.Top || d.Buttons || d.Progress || d.MenuItem || d.TrackVert);
    ASSERT_TRUE(d.Title);
    EXPECT_EQ(d.Title->ActiveText, kCaptionColourNotSet);
    EXPECT_EQ(d.FontHeight, 14);
    // Only the three MDI buttons, without images.
    ASSERT_EQ(d.CaptionButtons.size(), 3u);
    EXPECT_EQ(d.CaptionButtons[0]->XCoord, 12);
    ASSERT_TRUE(d.Track);
    EXPECT_EQ(d.Track->Bitmap, track);
    EXPECT_EQ(d.Track->Margins, (TSkinMargins{3, 3, 3, 3}));
    EXPECT_EQ(d.Track->Frame, 1);
}

TEST(SkinDefinition, CaptionButtonsInFileOrderThenMdi) {
    FakePackage p;
    p.Add(L"b.bmp", 66, 12);
    p.Add(L"narrow.bmp", 30, 10);
    Pixmap strip(180, 14);
    for (int x = 0; x < 180; ++x)
        for (int y = 0; y < 14; ++y)
            strip.SetPixel(x, y, static_cast<Colour>(x));
    p.entries[L"mdi.bmp"] = SaveBmp(strip);
    const TSkinData d = Read("[Button2]\nAction=2\nAlign=1\nXCoord=46\nButtonImage=b.bmp\n"
                             "[Buttons]\n[Button.Radio]\n[button]\n"
                             "[ButtonHidden]\nAction=-1\n"
                             "[ButtonShown]\nAction=-1\nVisibility=0\nButtonImage=narrow.bmp\n"
                             "[Button0]\nAction=0\nButtonImage=narrow.bmp\nYCoord=8\n"
                             "[Button3]\nAction=3\nButtonImage=b.bmp\nFrame=2\n"
                             "[Button0]\nAction=9\n"
                             "[MDIControls]\nImage=mdi.bmp\n",
                             p);
    std::vector<std::wstring> names;
    for (const auto& b : d.CaptionButtons)
        names.push_back(b->Name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"BUTTON2", L"BUTTONSHOWN", L"BUTTON0", L"BUTTON3",
                                                L"BUTTON0", L"MDICONTROLS0", L"MDICONTROLS1",
                                                L"MDICONTROLS2"}));
    const auto& b = d.CaptionButtons;
    EXPECT_EQ(b[0]->Frame, 6); // 66 / 12 is above 3.8
    EXPECT_EQ(b[0]->XCoord, 46);
    EXPECT_EQ(b[0]->Align, 1);
    EXPECT_EQ(b[0]->CombineOp, -1);
    EXPECT_EQ(b[1]->Frame, 6); // a negative action always gets 6
    EXPECT_EQ(b[1]->Visibility1, -1);
    EXPECT_EQ(b[2]->Frame, 3); // 30 / 10 is at most 3.8
    EXPECT_EQ(b[2]->Visibility1, 0);
    EXPECT_EQ(b[3]->Frame, 2);
    EXPECT_TRUE(b[3]->Bitmap.Empty()); // icon button: image cleared
    // The second [Button0] reads the first one's keys.
    EXPECT_EQ(b[4]->Action, 0);
    EXPECT_EQ(b[4]->YCoord, 8);
    for (int k = 0; k < 3; ++k) {
        const auto& m = *b[5 + static_cast<std::size_t>(k)];
        EXPECT_EQ(m.Action, 7 + k);
        EXPECT_EQ(m.Align, 100);
        EXPECT_EQ(m.Visibility, 100);
        EXPECT_EQ(m.Visibility1, 100);
        EXPECT_EQ(m.Frame, 4);
        EXPECT_EQ(m.XCoord, 19 * (3 - k));
        ASSERT_EQ(m.Bitmap.Width(), 60);
        EXPECT_EQ(m.Bitmap.Height(), 14);
        EXPECT_EQ(m.Bitmap.Pixel(0, 0), static_cast<Colour>(60 * k));
        EXPECT_EQ(m.Bitmap.Pixel(59, 13), static_cast<Colour>(60 * k + 59));
    }
}

TEST(SkinDefinition, ColourListCustomColoursAndSecondColours) {
    FakePackage p;
    const TSkinData d = Read("[Colours]\nButtonFace=1 2 3\nButtonText=7 7 7\n"
                             "[Colour7]\ncolor=10 20 30\n[colours]\ncolor=1 1 1\n[COLOUR0]\n"
                             "[Colourful]\nColor=4,5,6\n[Customcolors]\nColor3=9 9 9\n"
                             "[SunkEdge]\nImage=x.bmp\nNormalColour2=1 1 1\n",
                             p);
    EXPECT_EQ(d.Colours.Menubar, Rgb(1, 2, 3));
    EXPECT_EQ(d.ColourList, (std::vector<Colour>{Rgb(10, 20, 30), kSysWindowText, Rgb(4, 5, 6)}));
    EXPECT_EQ(d.CustomColours[3], Rgb(9, 9, 9));
    EXPECT_EQ(d.CustomColours[0], 0xFFFFFFu);
    ASSERT_TRUE(d.SunkEdge);
    EXPECT_EQ(d.SunkEdge->NormalColour2, Rgb(1, 1, 1));
    EXPECT_EQ(d.SunkEdge->PressedColour2, Rgb(7, 7, 7));
    EXPECT_EQ(d.SunkEdge->NormalColour, kNoTextColour);
}

TEST(SkinDefinition, FlagsClampsAndFixedFrameCounts) {
    FakePackage p;
    p.Add(L"check.bmp", 52, 13);
    p.Add(L"radio.bmp", 160, 16);
    const TSkinData d =
        Read("[Personality]\nTop=t.bmp\nTopStretch=5\nTopFrame=3\nTopTopHeight=17\n"
             "TopBotHeight=22\nLeft=l.bmp\nLeftTopHeight=30\nLeftBotHeight=4\n"
             "Menubar=m.bmp\nTileMenu=7\n"
             "[Buttons]\nBitmap=b.bmp\nTile=3\nCheckButton=check.bmp\nRadioButton=radio.bmp\n"
             "PressedColour2=1 2 3\n"
             "[Progress]\nBitmap=p.bmp\nTile=2\nStyle=1\n"
             "[Tab.Pane]\nImage=x.bmp\nLeftWidth=9\nTopHeight=2\n"
             "[Headerbar]\nImage=h.bmp\n[Scrollbar]\nImage=a.bmp\nFrame=2\nTile=4\n"
             "[HorzScrollThumb]\nImage=s.bmp\nFrameCount=7\n[VertScrollThumb]\nImage=s.bmp\n"
             "[Track]\nImage=t.bmp\nFrame=6\n[GroupBox]\nImage=g.bmp\nBackgroundLeftShift=3\n",
             p);
    ASSERT_TRUE(d.Top && d.Left && d.Menubar && d.Buttons && d.Progress && d.TabPane);
    EXPECT_EQ(d.Top->Tile, 1);
    EXPECT_EQ(d.Top->Frame, 3);
    EXPECT_EQ(d.Top->Trans, 1);
    EXPECT_EQ(d.Top->Margins, (TSkinMargins{17, 0, 22, 0}));
    EXPECT_EQ(d.Left->Margins, (TSkinMargins{0, 30, 0, 4}));
    EXPECT_EQ(d.Menubar->Tile, 1);
    EXPECT_EQ(d.Menubar->Frame, 2);
    EXPECT_EQ(d.Menubar->Margins, (TSkinMargins{1, 0, 1, 0}));
    EXPECT_EQ(d.Buttons->Tile, 0);
    EXPECT_EQ(d.Buttons->Frame, 5);
    EXPECT_EQ(d.Buttons->CheckButtonFrame, 4);
    EXPECT_EQ(d.Buttons->RadioButtonFrame, 10);
    EXPECT_FALSE(d.Buttons->HasNormalColour2);
    EXPECT_TRUE(d.Buttons->HasPressedColour2);
    EXPECT_EQ(d.Buttons->PressedColour2, Rgb(1, 2, 3));
    EXPECT_EQ(d.Progress->Tile, 1);
    EXPECT_EQ(d.Progress->Frame, 1);
    EXPECT_EQ(d.TabPane->Margins, (TSkinMargins{4, 2, 0, 0}));
    EXPECT_EQ(d.TabPane->Frame, 1);
    EXPECT_EQ(d.Headerbar->Frame, 5);
    EXPECT_EQ(d.Scrollbar->Frame, 23);
    EXPECT_EQ(d.Scrollbar->Tile, 0);
    EXPECT_EQ(d.HorzScrollThumb->Frame, 7);
    EXPECT_EQ(d.VertScrollThumb->Frame, 3);
    EXPECT_EQ(d.Track->Frame, 6);
    EXPECT_EQ(d.GroupBox->Frame, 1);
    EXPECT_EQ(d.GroupBox->BackgroundLeftShift, 3);
    EXPECT_EQ(DeriveCheckFrameCount(Pixmap()), 4);
    EXPECT_EQ(DeriveCheckFrameCount(Pixmap(26, 13)), 4);
}

#ifdef SONDRELK_ASSETS_DIR
// The embedded skin's definition, read without its bitmaps.
TEST(SkinDefinition, EmbeddedDefinitionValues) {
    std::ifstream in(SONDRELK_ASSETS_DIR "/skin/iridium.ini", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.size(), 5100u);
    FakePackage p;
    const TSkinData d = Read(text, p);
    ASSERT_TRUE(d.Top && d.Bottom && d.Left && d.Right && d.Title);
    EXPECT_EQ(d.Bottom->Trans, 0);
    EXPECT_EQ(d.Right->Trans, 1);
    EXPECT_EQ(d.Right->Margins, (TSkinMargins{0, 24, 0, 4}));
    EXPECT_EQ(d.Title->Margins, (TSkinMargins{18, 2, 47, 0}));
    EXPECT_EQ(d.Title->ActiveText, Rgb(255, 255, 255));
    EXPECT_EQ(d.Title->InActiveText, Rgb(0, 0, 0));
    EXPECT_EQ(d.Colours.Hilight, Rgb(132, 130, 247));
    EXPECT_EQ(d.Colours.Buttonlight, Rgb(129, 142, 150));
    EXPECT_EQ(d.ColourList, (std::vector<Colour>{0, Rgb(255, 255, 255), Rgb(104, 104, 104)}));
    EXPECT_EQ(d.CaptionButtons.size(), 7u);
    ASSERT_TRUE(d.MenuItem && d.Progress && d.Tabs && d.GroupBox);
    EXPECT_EQ(d.MenuItem->Margins, (TSkinMargins{32, 2, 4, 5}));
    EXPECT_EQ(d.Progress->Margins, (TSkinMargins{3, 6, 3, 6}));
    EXPECT_EQ(d.GroupBox->NormalColour, 0);
    std::vector<std::wstring> asked = p.asked;
    std::sort(asked.begin(), asked.end());
    asked.erase(std::unique(asked.begin(), asked.end()), asked.end());
    // Every bitmap except Plain.bmp, which only unread keys name.
    EXPECT_EQ(asked.size(), 26u);
}
#endif

} // namespace
} // namespace skin
