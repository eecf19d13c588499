// The skin as the skin data component keeps it after a load: the elements
// and colours read from the skin definition, and the rules that turn the
// definition's sections into them. Platform-free: bitmaps come through a
// callback that returns a package entry's bytes.
#pragma once

#include "skin/Bitmap.h"
#include "skin/SkinElements.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace skin {

class TSkinIni;

// System colour references used as defaults (0xFF0000nn, nn the COLOR_ index).
constexpr Colour SystemColour(int index) {
    return 0xFF000000u | static_cast<Colour>(index & 0xFF);
}
constexpr Colour kSysScrollBar = SystemColour(0);
constexpr Colour kSysMenu = SystemColour(4);
constexpr Colour kSysMenuText = SystemColour(7);
constexpr Colour kSysWindowText = SystemColour(8);
constexpr Colour kSysCaptionText = SystemColour(9);
constexpr Colour kSysHighlight = SystemColour(13);
constexpr Colour kSysHighlightText = SystemColour(14);
constexpr Colour kSysBtnFace = SystemColour(15);
constexpr Colour kSysBtnShadow = SystemColour(16);
constexpr Colour kSysBtnText = SystemColour(18);
constexpr Colour kSysInactiveCaptionText = SystemColour(19);
constexpr Colour kSysBtnHighlight = SystemColour(20);
constexpr Colour kSys3dDkShadow = SystemColour(21);

// The 16 named colours of section Colours, with their defaults.
struct TSkinColours {
    Colour WindowText = kSysWindowText;
    Colour ButtonFace = kSysBtnFace;
    Colour Scrollbar = kSysScrollBar;
    Colour HilightText = kSysHighlightText;
    Colour Hilight = kSysHighlight;
    Colour Menubar = kSysBtnFace;
    Colour Menu = kSysMenu;
    Colour MenuText = kSysMenuText;
    Colour ButtonText = kSysBtnText;
    Colour ButtonHilight = kSysBtnHighlight;
    Colour Buttonlight = kSysBtnHighlight;
    Colour ButtonShadow = kSysBtnShadow;
    Colour ButtonDkShadow = kSys3dDkShadow;
    Colour MenuBarText = kSysMenuText;
    Colour TitleTextActive = kSysCaptionText;
    Colour TitleTextNoActive = kSysInactiveCaptionText;
};

// Images a Track or TRACKVERT element falls back to when the skin
// has none: the program's own bitmaps, supplied by the caller.
struct TSkinFallbacks {
    const Pixmap* Track = nullptr;     // 16 x 4
    const Pixmap* TrackVert = nullptr; // 4 x 16
};

// Everything a skin load leaves behind. Absent elements are null.
struct TSkinData {
    std::wstring SkinName;
    std::int32_t FontHeight = 14;
    TSkinColours Colours;
    std::vector<Colour> ColourList;
    std::array<Colour, 10> CustomColours{};

    std::unique_ptr<TSkinBorderElement> Top, Bottom, Left, Right;
    std::unique_ptr<TSkinTitleElement> Title; // always present after a load
    std::unique_ptr<TSkinElement> Menubar;
    std::vector<std::unique_ptr<TSkinCaptionButtonDef>> CaptionButtons;
    std::unique_ptr<TSkinButtonElement> Buttons;
    std::unique_ptr<TSkinBorderElement> Progress;
    std::unique_ptr<TSkinElement> ProgressChunk;
    std::unique_ptr<TSkinElement> GroupBoxEdge;
    std::unique_ptr<TSkinBoxLabelElement> GroupBox;
    std::unique_ptr<TSkinBorderElement> Tabs;
    std::unique_ptr<TSkinElement> StatusBarEdges;
    std::unique_ptr<TSkinElement> TabPane;
    std::unique_ptr<TSkinElement> ToolBars;
    std::unique_ptr<TSkinBorderElement> ComboButton;
    std::unique_ptr<TSkinElement> SunkEdge;
    std::unique_ptr<TSkinElement> ExtraImages;
    std::unique_ptr<TSkinElement> Headerbar;
    std::unique_ptr<TSkinElement> MenuItem;
    std::unique_ptr<TSkinElement> MenuBackground;
    std::unique_ptr<TSkinElement> Scrollbar;
    std::unique_ptr<TSkinElement> HorzScroll, VertScroll;
    std::unique_ptr<TSkinElement> HorzScrollThumb, VertScrollThumb;
    // Track bar thumbs: ThumbHorz, ThumbVert, ThumbLeft, ThumbRight, ThumbUp, ThumbDown.
    std::array<std::unique_ptr<TSkinElement>, 6> TrackThumbs;
    std::unique_ptr<TSkinBorderElement> UpDownHorz, UpDownVert;
    std::unique_ptr<TSkinElement> Track, TrackVert;
    // Built from the others at the end of a load; they exist from the start.
    std::unique_ptr<TSkinElement> ComboxArrow = std::make_unique<TSkinElement>(L"ComboxArrow");
    std::unique_ptr<TSkinElement> Toolbar = std::make_unique<TSkinElement>(L"Toolbar");
};

// Section names of the six track bar thumbs, in TrackThumbs order.
extern const std::array<std::wstring_view, 6> kTrackThumbSections;

// Returns the bytes of the package entry of that name (compared without
// regard to case), or nothing when the package has no such entry.
using SkinEntryReader = std::function<std::vector<std::uint8_t>(std::wstring_view name)>;

// The package name a file-name value asks for: the part after the last "\"
// or ":", or empty when that is empty or does not end in exactly ".bmp".
std::wstring SkinBitmapName(std::wstring_view value);

// Reads the whole definition into `data`, replacing what it held, and sets
// the fixed frame counts. Derived elements are not built here.
void ReadSkinDefinition(const TSkinIni& ini, const SkinEntryReader& entries, TSkinData& data,
                        const TSkinFallbacks& fallbacks = {});

// Frame count of a check box or radio image whose frame key is 0.
int DeriveCheckFrameCount(const Pixmap& image);

} // namespace skin
