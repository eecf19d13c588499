#include "skin/SkinPackage.h"

#include "LzhEncoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using skin::TSkinReader;
using Bytes = std::vector<std::uint8_t>;

void PutLe32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes Body(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// A package with a name list and size table written as given.
Bytes RawPackage(const std::string& list, const std::vector<std::int32_t>& sizes, const Bytes& body,
                 std::uint32_t marker = skin::package::kMarker) {
    Bytes out;
    PutLe32(out, marker);
    PutLe32(out, static_cast<std::uint32_t>(list.size()));
    PutLe32(out, skin::package::kReserved1);
    PutLe32(out, skin::package::kReserved2);
    out.insert(out.end(), list.begin(), list.end());
    for (auto s : sizes)
        PutLe32(out, static_cast<std::uint32_t>(s));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// Loads a package through the whole skin-file path and records refusals.
struct Loaded {
    TSkinReader reader;
    std::vector<std::wstring> messages;
    bool ok = false;

    explicit Loaded(const Bytes& skinFile) {
        reader.OnOlderFormat = [this](std::wstring_view m) { messages.emplace_back(m); };
        ok = reader.LoadPackage(skinFile);
    }
};

Bytes Pack(const Bytes& package) {
    return skinpack::MakeSkinFile(package);
}

Bytes SamplePackage() {
    return skinpack::BuildPackage({{"Top.bmp", Body("TOP")},
                                   {"iridium.ini", Body("[Skin]\r\n")},
                                   {"button.bmp", Body("BUTTON")},
                                   {"top.bmp", Body("second top")}});
}

TEST(SkinPackage, FindsEntriesByWholeNameIgnoringCase) {
    Loaded p(Pack(SamplePackage()));
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.messages.empty());
    ASSERT_EQ(p.reader.EntryCount(), 4u);
    Bytes out;
    for (const wchar_t* name : {L"top.bmp", L"TOP.bmp", L"Top.BMP"}) {
        p.reader.ExtractFile(name, out);
        EXPECT_EQ(out, Body("TOP")) << "first of two equal names wins";
    }
    p.reader.ExtractFile(L"Iridium\\Button.bmp", out);
    EXPECT_TRUE(out.empty());
    p.reader.ExtractFile(L"button", out);
    EXPECT_TRUE(out.empty());
    p.reader.ExtractFile(L"top.bmp\u0100", out);
    EXPECT_TRUE(out.empty());
}

TEST(SkinPackage, ExtractFirstMatchUsesASubstringOfTheLowerCasedName) {
    Loaded p(Pack(SamplePackage()));
    ASSERT_TRUE(p.ok);
    Bytes out{1, 2, 3};
    EXPECT_EQ(p.reader.ExtractFirstMatch(L".ini", out), L"iridium.ini");
    EXPECT_EQ(out, Body("[Skin]\r\n"));
    EXPECT_EQ(p.reader.ExtractFirstMatch(L"bmp", out), L"top.bmp");
    EXPECT_EQ(out, Body("TOP"));
    // The text is taken as given: upper case matches no lower-cased name.
    EXPECT_EQ(p.reader.ExtractFirstMatch(L".INI", out), L"");
    EXPECT_TRUE(out.empty());
}

TEST(SkinPackage, NameListLinesAndEmptyEntries) {
    EXPECT_EQ(skin::SplitNameList(Body("a\r\nB\rc\nd")),
              (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(skin::SplitNameList(Body("a\r\n\r\nb\r\n")),
              (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(skin::SplitNameList(Body(std::string("a\r\nb\0c\r\n", 8))),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(skin::SplitNameList({}).empty());

    // The empty line holds a size slot of its own, so "b" starts after it.
    Loaded p(Pack(RawPackage("a\r\n\r\nb\r\n", {1, 2, 3}, Body("AEEBBB"))));
    ASSERT_TRUE(p.ok);
    Bytes out;
    p.reader.ExtractFile(L"b", out);
    EXPECT_EQ(out, Body("BBB"));
    p.reader.ExtractFile(L"", out);
    EXPECT_EQ(out, Body("EE"));
}

TEST(SkinPackage, RefusesOlderOrUnusablePackagesWithTheOlderFormatMessage) {
    struct Case {
        const char* what;
        Bytes file;
    };
    Bytes declaresZero;
    PutLe32(declaresZero, 0);
    Bytes hugeSize;
    PutLe32(hugeSize, skin::package::kMaxPackageSize + 1);
    hugeSize.resize(64, 0);
    std::string manyNames;
    for (int i = 0; i < 1002; ++i)
        manyNames += "n\r\n";
    Bytes listPastEnd = RawPackage("", {}, {});
    listPastEnd[4] = 200;
    // Whole lines of a real package, then the stream stops halfway.
    std::string lines;
    for (int i = 0; i < 300; ++i)
        lines += "[Section" + std::to_string(i) + "]\r\n";
    Bytes cutShort =
        Pack(RawPackage("skin.ini\r\n", {static_cast<std::int32_t>(lines.size())}, Body(lines)));
    cutShort.resize(cutShort.size() / 2);

    const Case cases[] = {
        {"U = 0", declaresZero},
        {"empty file", {}},
        {"marker", Pack(RawPackage("a\r\n", {1}, Body("A"), 19999))},
        {"short header", Pack(Bytes{0x20, 0x4E, 0, 0, 3, 0})},
        {"list past the end", Pack(listPastEnd)},
        {"sizes past the end", Pack(RawPackage("a\r\nb\r\n", {1}, {}))},
        {"sizes beyond the body", Pack(RawPackage("a\r\nb\r\n", {2, 2}, Body("AAB")))},
        {"negative size", Pack(RawPackage("a\r\nb\r\n", {-1, 2}, Body("B")))},
        {"1002 entries", Pack(RawPackage(manyNames, std::vector<std::int32_t>(1002, 0), {}))},
        {"64 MiB + 1", hugeSize},
        {"stream cut short", cutShort},
    };
    for (const auto& c : cases) {
        Loaded p(c.file);
        EXPECT_FALSE(p.ok) << c.what;
        EXPECT_EQ(p.reader.EntryCount(), 0u) << c.what;
        ASSERT_EQ(p.messages.size(), 1u) << c.what;
        EXPECT_EQ(p.messages[0], L"This is Older Skin File\rPlease update to new version !");
        Bytes out;
        p.reader.ExtractFile(L"a", out);
        EXPECT_TRUE(out.empty()) << c.what;
    }
}

TEST(SkinPackage, AcceptsTheLimitsThemselves) {
    std::string names;
    for (int i = 0; i < 1001; ++i)
        names += "e" + std::to_string(i) + "\r\n";
    std::vector<std::int32_t> sizes(1001, 0);
    sizes[1000] = 2;
    Loaded p(Pack(RawPackage(names, sizes, Body("ZZ"))));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.reader.EntryCount(), 1001u);
    Bytes out;
    p.reader.ExtractFile(L"E1000", out);
    EXPECT_EQ(out, Body("ZZ"));
}

#ifdef SONDRELK_SKIN_FILE_PATH
Bytes ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(EmbeddedSkinFile, DecodesToTheTwentyEightEntries) {
    const Bytes file = ReadFile(SONDRELK_SKIN_FILE_PATH);
    ASSERT_GT(file.size(), 4u);
    Loaded p(file);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.reader.PackageSize(), 234786u);
    const std::vector<std::pair<const wchar_t*, std::size_t>> table = {
        {L"top.bmp", 24518},         {L"bottom.bmp", 7454},        {L"left.bmp", 7774},
        {L"right.bmp", 7774},        {L"menu.bmp", 8110},          {L"plain.bmp", 7654},
        {L"button.bmp", 18270},      {L"check.bmp", 2082},         {L"radio.bmp", 2082},
        {L"progress.bmp", 1614},     {L"groupboxedge.bmp", 24630}, {L"tabborders.bmp", 2518},
        {L"tabs.bmp", 11454},        {L"combobutton.bmp", 4590},   {L"sunkedge.bmp", 1134},
        {L"headerbar.bmp", 16374},   {L"select.bmp", 25998},       {L"menuskin.bmp", 7654},
        {L"arrows.bmp", 17718},      {L"hscrolltray.bmp", 3894},   {L"vscrolltray.bmp", 4854},
        {L"scrollbutton.bmp", 2358}, {L"mdibutton.bmp", 7614},     {L"grouptop.bmp", 3702},
        {L"button0.bmp", 2454},      {L"button1.bmp", 2454},       {L"button2.bmp", 2454},
        {L"iridium.ini", 5100}};
    ASSERT_EQ(p.reader.EntryCount(), table.size());
    Bytes out;
    for (const auto& [name, size] : table) {
        p.reader.ExtractFile(name, out);
        EXPECT_EQ(out.size(), size);
    }
    EXPECT_EQ(p.reader.ExtractFirstMatch(L".ini", out), L"iridium.ini");
    p.reader.ExtractFile(L"Top.BMP", out);
    ASSERT_EQ(out.size(), 24518u);
    EXPECT_EQ(out[0], 'B');
    EXPECT_EQ(out[1], 'M');
}
#endif

} // namespace
