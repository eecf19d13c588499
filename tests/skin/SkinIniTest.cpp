#include "skin/SkinIni.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TSkinIni Parse(std::string_view text) {
    TSkinIni ini;
    ini.LoadFromText(text);
    return ini;
}

TEST(SkinIni, SectionsMatchWithoutCaseButNotWithInnerSpaces) {
    const TSkinIni ini = Parse("[personality]\r\nTopFrame=2\r\n[ Fonts ]\r\nFontHeight=9\r\n");
    EXPECT_EQ(ini.ReadInteger(L"Personality", L"TopFrame", 1), 2);
    EXPECT_EQ(ini.ReadInteger(L"PERSONALITY", L"TopFrame", 1), 2);
    EXPECT_EQ(ini.ReadInteger(L"Fonts", L"FontHeight", 14), 14);
    // Bytes read as Latin-1: its letters fold too, the multiplication sign
    // (0xD7) is no capital of the division sign (0xF7).
    const TSkinIni latin = Parse("[\xC4rger]\r\nK=3\r\n[a\xD7"
                                 "b]\r\nK=4\r\n");
    EXPECT_EQ(latin.ReadInteger(L"\u00E4RGER", L"K", 0), 3);
    EXPECT_EQ(latin.ReadInteger(L"A\u00D7B", L"K", 0), 4);
    EXPECT_EQ(latin.ReadInteger(L"a\u00F7b", L"K", 0), 0);
}

TEST(SkinIni, KeysIgnoreCaseAndBlanksAroundEquals) {
    const TSkinIni ini = Parse("[P]\nTopFrame = 2\ntopframe2=3\r  LeftFrame\t=\t4  \n");
    EXPECT_EQ(ini.ReadInteger(L"P", L"topframe", 0), 2);
    EXPECT_EQ(ini.ReadInteger(L"P", L"TOPFRAME2", 0), 3);
    EXPECT_EQ(ini.ReadInteger(L"P", L"LeftFrame", 0), 4);
}

TEST(SkinIni, FirstOccurrenceOfKeyDecidesEvenWhenEmpty) {
    const TSkinIni ini = Parse("[P]\nTextShift=\nTextShift=18\nA=1\nA=2\n");
    EXPECT_EQ(ini.ReadInteger(L"P", L"TextShift", 0), 0);
    EXPECT_EQ(ini.ReadString(L"P", L"TextShift", L"dflt"), L"dflt");
    EXPECT_EQ(ini.ReadInteger(L"P", L"A", 0), 1);
}

TEST(SkinIni, KeysOutsideTheirSectionAreNotFound) {
    const TSkinIni ini = Parse("Orphan=5\n[A]\nX=1\n[B]\nY=2\n");
    EXPECT_EQ(ini.ReadInteger(L"A", L"Orphan", -7), -7);
    EXPECT_EQ(ini.ReadInteger(L"A", L"Y", -7), -7);
    EXPECT_EQ(ini.ReadInteger(L"B", L"X", -7), -7);
    EXPECT_EQ(ini.ReadInteger(L"Missing", L"X", -7), -7);
}

TEST(SkinIni, CommentsOnlyAtLineStartAndValueKeepsSemicolons) {
    const TSkinIni ini = Parse("; [A]\n[A]\n  ;X=9\nX=1 ; not a comment\n");
    EXPECT_EQ(ini.ReadString(L"A", L"X", L""), L"1 ; not a comment");
    EXPECT_EQ(ini.ReadSections(), std::vector<std::wstring>{L"A"});
}

TEST(SkinIni, DuplicateSectionIsListedButNeverRead) {
    const TSkinIni ini = Parse("[Button0]\nAction=1\n[Other]\n[button0]\nAction=5\nExtra=3\n");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::wstring>{L"Button0", L"Other", L"button0"}));
    EXPECT_EQ(ini.ReadInteger(L"Button0", L"Action", 0), 1);
    EXPECT_EQ(ini.ReadInteger(L"Button0", L"Extra", 0), 0);
}

TEST(SkinIni, NulEndsTextAndReloadReplaces) {
    const std::uint8_t bytes[] = {'[', 'A', ']', '\n', 'X', '=', '1', 0, '\n', 'Y', '=', '2'};
    TSkinIni ini;
    ini.LoadFromText("[Old]\nZ=1\n");
    ini.LoadFromStream(bytes);
    EXPECT_EQ(ini.ReadInteger(L"A", L"X", 0), 1);
    EXPECT_EQ(ini.ReadInteger(L"A", L"Y", 0), 0);
    EXPECT_EQ(ini.ReadInteger(L"Old", L"Z", 0), 0);
}

TEST(SkinIni, IntegerFormats) {
    EXPECT_EQ(ParseSkinInteger(L"0x10"), 16);
    EXPECT_EQ(ParseSkinInteger(L"0X1f"), 31);
    EXPECT_EQ(ParseSkinInteger(L"$10"), 16);
    EXPECT_EQ(ParseSkinInteger(L"-12"), -12);
    EXPECT_EQ(ParseSkinInteger(L"+12"), 12);
    EXPECT_EQ(ParseSkinInteger(L"$FFFFFFFF"), -1);
    EXPECT_EQ(ParseSkinInteger(L"-2147483648"), INT32_MIN);
    EXPECT_FALSE(ParseSkinInteger(L"2147483648"));
    EXPECT_FALSE(ParseSkinInteger(L"$100000000"));
    EXPECT_FALSE(ParseSkinInteger(L"0x"));
    EXPECT_FALSE(ParseSkinInteger(L"$"));
    EXPECT_FALSE(ParseSkinInteger(L"abc"));
    EXPECT_FALSE(ParseSkinInteger(L"12px"));
    EXPECT_FALSE(ParseSkinInteger(L"-"));
    const TSkinIni ini = Parse("[A]\nX=letters\n");
    EXPECT_EQ(ini.ReadInteger(L"A", L"X", 42), 42);
}

TEST(SkinIni, RgbTexts) {
    EXPECT_EQ(ParseRgbText(L"132 130 247"), Rgb(132, 130, 247));
    EXPECT_EQ(ParseRgbText(L"10,20,30"), Rgb(10, 20, 30));
    EXPECT_EQ(ParseRgbText(L"255 0"), Rgb(255, 0, 0));
    EXPECT_EQ(ParseRgbText(L"1 2"), Rgb(1, 2, 0));
    EXPECT_EQ(ParseRgbText(L"255"), 0u);
    EXPECT_EQ(ParseRgbText(L"256 257 511"), Rgb(0, 1, 255));
    EXPECT_EQ(ParseRgbText(L"r=1;g=2;b=3;"), Rgb(1, 2, 3));
    EXPECT_EQ(ParseRgbText(L"1 2 3 4 5"), Rgb(1, 2, 3));
    EXPECT_EQ(ParseRgbText(L"99999999999 7 8 9"), Rgb(7, 8, 9));
    EXPECT_EQ(ParseRgbText(L"garbage"), 0u);
}

TEST(SkinIni, ColourKeys) {
    const TSkinIni ini = Parse("[C]\nA=1 2 3\nEmpty=\n[P]\nActiveTextR=300\nActiveTextG=0\n"
                               "ActiveTextB=$10\nInActiveTextR=1\nInActiveTextG=-1\n"
                               "InActiveTextB=1\n");
    EXPECT_EQ(ini.ReadColour(L"C", L"A", 0xFF00000F), Rgb(1, 2, 3));
    EXPECT_EQ(ini.ReadColour(L"C", L"Empty", 0xFF00000F), 0xFF00000Fu);
    EXPECT_EQ(ini.ReadColour(L"C", L"Absent", 0xFF000008), 0xFF000008u);
    Colour active = 5, inactive = 5;
    ini.ReadColour3(L"P", L"ActiveText", active);
    ini.ReadColour3(L"P", L"InactiveText", inactive);
    EXPECT_EQ(active, Rgb(300 % 256, 0, 16));
    EXPECT_EQ(inactive, 5u);
}

} // namespace
} // namespace skin
