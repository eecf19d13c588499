#include "skin/SkinDefinition.h"

#include "skin/SkinIni.h"

#include <algorithm>
#include <type_traits>

namespace skin {

const std::array<std::wstring_view, 6> kTrackThumbSections = {
    L"Trackbar.ThumbHorz",  L"Trackbar.ThumbVert", L"Trackbar.ThumbLeft",
    L"Trackbar.ThumbRight", L"Trackbar.ThumbUp",   L"Trackbar.ThumbDown"};

namespace {

constexpr std::wstring_view kPersonality = L"Personality";
constexpr std::wstring_view kColours = L"Colours";

// Action values of caption buttons that carry no image of their own.
constexpr std::int32_t kActionIcon = 3;
constexpr std::int32_t kActionIconAlt = 11;
// The MDI child controls: actions, alignment and visibility they always get.
constexpr std::int32_t kMdiFirstAction = 7;
constexpr std::int32_t kMdiAlignVisibility = 100;
constexpr int kMdiFramesInImage = 12;
constexpr int kMdiFramesPerButton = 4;

std::int32_t ClampFlag(std::int32_t value, std::int32_t above) {
    return value > 1 ? above : value;
}

// Reads the pieces every element shares; fills nothing the caller sets itself.
class DefinitionReader {
public:
    DefinitionReader(const TSkinIni& ini, const SkinEntryReader& entries, TSkinData& data)
        : ini_(ini), entries_(entries), data_(data) {}

    void Run(const TSkinFallbacks& fallbacks);

private:
    Pixmap LoadBitmap(std::wstring_view value) const {
        const std::wstring name = SkinBitmapName(value);
        if (name.empty() || !entries_) return {};
        const std::vector<std::uint8_t> bytes = entries_(name);
        if (bytes.empty()) return {};
        return LoadBmp(bytes);
    }
    Pixmap ReadBitmap(std::wstring_view section, std::wstring_view key) const {
        return LoadBitmap(ini_.ReadString(section, key, L""));
    }
    std::int32_t Int(std::wstring_view section, std::wstring_view key, std::int32_t def) const {
        return ini_.ReadInteger(section, key, def);
    }
    void DefaultColours2(TSkinElement& e) const {
        e.NormalColour2 = e.MouseOverColour2 = e.PressedColour2 = data_.Colours.ButtonText;
    }

    void ReadColours();
    void ReadBorder(std::unique_ptr<TSkinBorderElement>& slot, std::wstring_view name);
    void ReadCaption();
    void ReadMenubar();
    void ReadCaptionButtons(const std::vector<std::wstring>& sections);
    void ReadMdiButtons();
    void ReadButtons();
    void ReadProgress();
    // An element section with the common keys. `secondImageKey` names the key of
    // Bitmap2 for border elements; empty for none.
    template <class E>
    void ReadImageSection(std::unique_ptr<E>& slot, std::wstring_view section, bool readFrame,
                          std::wstring_view secondImageKey = {});
    void ReadTrack(std::unique_ptr<TSkinElement>& slot, std::wstring_view section,
                   const Pixmap* fallback);
    void SetFixedFrameCounts();

    const TSkinIni& ini_;
    const SkinEntryReader& entries_;
    TSkinData& data_;
    std::int32_t horzThumbFrames_ = 3;
    std::int32_t vertThumbFrames_ = 3;
};

void DefinitionReader::ReadColours() {
    TSkinColours& c = data_.Colours;
    c = TSkinColours{};
    c.WindowText = ini_.ReadColour(kColours, L"WindowText", kSysWindowText);
    c.ButtonFace = ini_.ReadColour(kColours, L"ButtonFace", kSysBtnFace);
    c.Scrollbar = ini_.ReadColour(kColours, L"Scrollbar", kSysScrollBar);
    c.HilightText = ini_.ReadColour(kColours, L"HilightText", kSysHighlightText);
    c.Hilight = ini_.ReadColour(kColours, L"Hilight", kSysHighlight);
    c.Menubar = ini_.ReadColour(kColours, L"Menubar", c.ButtonFace);
    c.Menu = ini_.ReadColour(kColours, L"Menu", kSysMenu);
    c.MenuText = ini_.ReadColour(kColours, L"MenuText", kSysMenuText);
    c.ButtonText = ini_.ReadColour(kColours, L"ButtonText", kSysBtnText);
    c.ButtonHilight = ini_.ReadColour(kColours, L"ButtonHilight", kSysBtnHighlight);
    c.Buttonlight = ini_.ReadColour(kColours, L"Buttonlight", kSysBtnHighlight);
    c.ButtonShadow = ini_.ReadColour(kColours, L"ButtonShadow", kSysBtnShadow);
    c.ButtonDkShadow = ini_.ReadColour(kColours, L"ButtonDkShadow", kSys3dDkShadow);
    c.MenuBarText = ini_.ReadColour(kColours, L"MenuBarText", kSysMenuText);
    c.TitleTextActive = ini_.ReadColour(kColours, L"TitleTextActive", kSysCaptionText);
    c.TitleTextNoActive = ini_.ReadColour(kColours, L"TitleTextNoActive", kSysInactiveCaptionText);
}

void DefinitionReader::ReadBorder(std::unique_ptr<TSkinBorderElement>& slot,
                                  std::wstring_view name) {
    slot.reset();
    const std::wstring image = ini_.ReadString(kPersonality, name, L"");
    if (image.empty()) return;
    auto e = std::make_unique<TSkinBorderElement>(std::wstring(name));
    DefaultColours2(*e);
    e->Bitmap = LoadBitmap(image);
    const std::wstring n(name);
    const std::int32_t topPart = Int(kPersonality, n + L"TopHeight", 0);
    const std::int32_t botPart = Int(kPersonality, n + L"BotHeight", 0);
    // Top and Bottom run horizontally: their fixed ends are left and right.
    if (name == L"Top" || name == L"Bottom") {
        e->Margins.LeftWidth = topPart;
        e->Margins.RightWidth = botPart;
    } else {
        e->Margins.TopHeight = topPart;
        e->Margins.BottomHeight = botPart;
    }
    e->Frame = Int(kPersonality, n + L"Frame", 1);
    e->Tile = ClampFlag(Int(kPersonality, n + L"Stretch", 1), 1);
    e->Trans = Int(kPersonality, n + L"Trans", 1);
    slot = std::move(e);
}

void DefinitionReader::ReadCaption() {
    auto t = std::make_unique<TSkinTitleElement>(L"Title");
    DefaultColours2(*t);
    t->Bitmap = ReadBitmap(kPersonality, L"TextBack");
    t->Margins.LeftWidth = Int(kPersonality, L"TextShift", 0);
    t->Margins.TopHeight = Int(kPersonality, L"TextShiftVert", 0);
    t->Margins.RightWidth = Int(kPersonality, L"TextRightClip", 0);
    t->TextAlignment = Int(kPersonality, L"TextAlignment", 0);
    t->Textbackground = Int(kPersonality, L"Textbackground", 0);
    t->TXTBackleft = Int(kPersonality, L"TXTBackleft", 0);
    t->TXTBackRight = Int(kPersonality, L"TXTBackRight", 0);
    t->FontHeight = Int(L"Fonts", L"FontHeight", 14);
    ini_.ReadColour3(kPersonality, L"ActiveText", t->ActiveText);
    ini_.ReadColour3(kPersonality, L"InActiveText", t->InActiveText);
    data_.FontHeight = t->FontHeight;
    data_.Title = std::move(t);
}

void DefinitionReader::ReadMenubar() {
    data_.Menubar.reset();
    const std::wstring image = ini_.ReadString(kPersonality, L"Menubar", L"");
    if (image.empty()) return;
    auto e = std::make_unique<TSkinElement>(L"Menubar");
    DefaultColours2(*e);
    e->Bitmap = LoadBitmap(image);
    e->Tile = ClampFlag(Int(kPersonality, L"TileMenu", 1), 1);
    e->Margins.LeftWidth = Int(kPersonality, L"TileLeftMenu", 1);
    e->Margins.RightWidth = Int(kPersonality, L"TileRightMenu", 1);
    data_.Menubar = std::move(e);
}

void DefinitionReader::ReadCaptionButtons(const std::vector<std::wstring>& sections) {
    data_.CaptionButtons.clear();
    for (const std::wstring& section : sections) {
        const std::wstring upper = AsciiUpper(section);
        if (upper.rfind(L"BUTTON", 0) != 0 || upper == L"BUTTON" || upper == L"BUTTONS" ||
            upper == L"BUTTON.RADIO" || upper == L"BUTTON.CHECKBOX") {
            continue;
        }
        const std::int32_t action = Int(section, L"Action", 0);
        if (action == -1 && Int(section, L"Visibility", -1) != 0) continue;

        auto b = std::make_unique<TSkinCaptionButtonDef>(upper);
        DefaultColours2(*b);
        b->Action = action;
        b->Align = Int(section, L"Align", 0);
        b->XCoord = Int(section, L"XCoord", 0);
        b->YCoord = Int(section, L"YCoord", 0);
        b->Visibility = Int(section, L"Visibility", 0);
        b->Visibility1 = Int(section, L"Visibility1", action == -1 ? -1 : 0);
        b->CombineOp = Int(section, L"CombineOp", -1);
        b->Frame = Int(section, L"Frame", 0);
        b->Bitmap = ReadBitmap(section, L"ButtonImage");
        if (b->Frame == 0) {
            const bool narrow = !b->Bitmap.Empty() &&
                                static_cast<double>(b->Bitmap.Width()) / b->Bitmap.Height() <= 3.8;
            b->Frame = narrow ? 3 : 6;
        }
        if (b->Action < 0) b->Frame = 6;
        if (b->Action == kActionIcon || b->Action == kActionIconAlt) b->Bitmap.Clear();
        data_.CaptionButtons.push_back(std::move(b));
    }
}

void DefinitionReader::ReadMdiButtons() {
    const Pixmap strip = ReadBitmap(L"MDIControls", L"Image");
    const int w = strip.Width() / kMdiFramesInImage;
    for (int k = 0; k < 3; ++k) {
        auto b = std::make_unique<TSkinCaptionButtonDef>(L"MDICONTROLS" + std::to_wstring(k));
        DefaultColours2(*b);
        b->Action = kMdiFirstAction + k;
        b->Align = kMdiAlignVisibility;
        b->Visibility = kMdiAlignVisibility;
        b->Visibility1 = kMdiAlignVisibility;
        b->Frame = kMdiFramesPerButton;
        b->XCoord = (w + 4) * (3 - k);
        if (w > 0) {
            Pixmap part(w * kMdiFramesPerButton, strip.Height(), 0, strip.BitDepth());
            const int x0 = w * kMdiFramesPerButton * k;
            for (int y = 0; y < part.Height(); ++y) {
                std::copy_n(strip.Row(y) + x0, part.Width(), part.Row(y));
            }
            b->Bitmap = std::move(part);
        }
        data_.CaptionButtons.push_back(std::move(b));
    }
}

void DefinitionReader::ReadButtons() {
    constexpr std::wstring_view s = L"Buttons";
    data_.Buttons.reset();
    const std::wstring image = ini_.ReadString(s, L"Bitmap", L"");
    if (image.empty()) return;
    auto e = std::make_unique<TSkinButtonElement>(L"Buttons");
    e->Bitmap = LoadBitmap(image);
    e->Margins = {Int(s, L"LeftWidth", 0), Int(s, L"TopHeight", 0), Int(s, L"RightWidth", 0),
                  Int(s, L"BottomHeight", 0)};
    e->Trans = Int(s, L"Trans", 0);
    e->Tile = ClampFlag(Int(s, L"Tile", 0), 0);
    e->CheckBitmap = ReadBitmap(s, L"CheckButton");
    e->RadioBitmap = ReadBitmap(s, L"RadioButton");
    e->CheckButtonFrame = Int(s, L"CheckButtonFrame", 0);
    e->RadioButtonFrame = Int(s, L"RadioButtonFrame", 0);
    e->NormalColour = Int(s, L"NormalColour", kNoTextColour);
    e->MouseOverColour = Int(s, L"MouseOverColour", kNoTextColour);
    e->PressedColour = Int(s, L"PressedColour", kNoTextColour);
    const Colour text = data_.Colours.ButtonText;
    e->HasNormalColour2 = !ini_.ReadString(s, L"NormalColour2", L"").empty();
    e->HasMouseOverColour2 = !ini_.ReadString(s, L"MouseOverColour2", L"").empty();
    e->HasPressedColour2 = !ini_.ReadString(s, L"PressedColour2", L"").empty();
    e->NormalColour2 = ini_.ReadColour(s, L"NormalColour2", text);
    e->MouseOverColour2 = ini_.ReadColour(s, L"MouseOverColour2", text);
    e->PressedColour2 = ini_.ReadColour(s, L"PressedColour2", text);
    data_.Buttons = std::move(e);
}

void DefinitionReader::ReadProgress() {
    constexpr std::wstring_view s = L"Progress";
    data_.Progress.reset();
    const std::wstring image = ini_.ReadString(s, L"Bitmap", L"");
    if (image.empty()) return;
    auto e = std::make_unique<TSkinBorderElement>(L"Progress");
    DefaultColours2(*e);
    e->Bitmap = LoadBitmap(image);
    e->Style = Int(s, L"Style", 0);
    e->Margins = {Int(s, L"LeftWidth", 0), Int(s, L"TopHeight", 0), Int(s, L"RightWidth", 0),
                  Int(s, L"BottomHeight", 0)};
    e->Trans = Int(s, L"Trans", 0);
    e->Tile = ClampFlag(Int(s, L"Tile", 0), 1);
    data_.Progress = std::move(e);
}

template <class E>
void DefinitionReader::ReadImageSection(std::unique_ptr<E>& slot, std::wstring_view s,
                                        bool readFrame, std::wstring_view secondImageKey) {
    slot.reset();
    const std::wstring image = ini_.ReadString(s, L"Image", L"");
    if (image.empty()) return;
    auto e = std::make_unique<E>(std::wstring(s));
    e->Bitmap = LoadBitmap(image);
    e->Style = Int(s, L"Style", 0);
    e->Margins = {Int(s, L"LeftWidth", 0), Int(s, L"TopHeight", 0), Int(s, L"RightWidth", 0),
                  Int(s, L"BottomHeight", 0)};
    if (readFrame) e->Frame = Int(s, L"Frame", 0);
    e->Trans = Int(s, L"Trans", 0);
    e->Tile = ClampFlag(Int(s, L"Tile", 0), 0);
    e->NormalColour = Int(s, L"NormalColour", kNoTextColour);
    e->MouseOverColour = Int(s, L"MouseOverColour", kNoTextColour);
    e->PressedColour = Int(s, L"PressedColour", kNoTextColour);
    const Colour text = data_.Colours.ButtonText;
    e->NormalColour2 = ini_.ReadColour(s, L"NormalColour2", text);
    e->MouseOverColour2 = ini_.ReadColour(s, L"MouseOverColour2", text);
    e->PressedColour2 = ini_.ReadColour(s, L"PressedColour2", text);
    if constexpr (std::is_base_of_v<TSkinBorderElement, E>) {
        if (!secondImageKey.empty()) e->Bitmap2 = ReadBitmap(s, secondImageKey);
    }
    slot = std::move(e);
}

void DefinitionReader::ReadTrack(std::unique_ptr<TSkinElement>& slot, std::wstring_view section,
                                 const Pixmap* fallback) {
    ReadImageSection(slot, section, true);
    if (slot || fallback == nullptr) return;
    auto e = std::make_unique<TSkinElement>(std::wstring(section));
    DefaultColours2(*e);
    e->Bitmap = *fallback;
    e->Margins = {3, 3, 3, 3};
    e->Tile = 0;
    e->Frame = 1;
    slot = std::move(e);
}

void DefinitionReader::SetFixedFrameCounts() {
    TSkinData& d = data_;
    auto set = [](auto& slot, std::int32_t frames) {
        if (slot) slot->Frame = frames;
    };
    if (d.Buttons) {
        d.Buttons->Frame = 5;
        if (d.Buttons->CheckButtonFrame == 0)
            d.Buttons->CheckButtonFrame = DeriveCheckFrameCount(d.Buttons->CheckBitmap);
        if (d.Buttons->RadioButtonFrame == 0)
            d.Buttons->RadioButtonFrame = DeriveCheckFrameCount(d.Buttons->RadioBitmap);
    }
    set(d.Title, 2);
    if (d.Progress) d.Progress->Frame = d.Progress->Style != 0 ? 1 : 2;
    set(d.Menubar, 2);
    set(d.GroupBoxEdge, 2);
    set(d.GroupBox, 1);
    set(d.ToolBars, 5);
    set(d.Tabs, 5);
    set(d.ExtraImages, 5);
    set(d.MenuItem, 5);
    for (auto& thumb : d.TrackThumbs)
        set(thumb, 5);
    set(d.TabPane, 1);
    set(d.MenuBackground, 1);
    set(d.StatusBarEdges, 3);
    set(d.ComboButton, 4);
    set(d.SunkEdge, 4);
    set(d.HorzScroll, 4);
    set(d.VertScroll, 4);
    set(d.Scrollbar, 23);
    set(d.UpDownHorz, 8);
    set(d.UpDownVert, 8);
    if (d.Headerbar && d.Headerbar->Frame == 0) d.Headerbar->Frame = 5;
    set(d.HorzScrollThumb, horzThumbFrames_);
    set(d.VertScrollThumb, vertThumbFrames_);
    // Progress.Chunk, Track, TRACKVERT, the borders and the caption buttons
    // keep the counts they were read with.
}

void DefinitionReader::Run(const TSkinFallbacks& fallbacks) {
    const std::vector<std::wstring> sections = ini_.ReadSections();
    data_.SkinName = ini_.ReadString(L"TitlebarSkin", L"SkinName", L"");
    // Colours first: every element defaults its second colours to ButtonText.
    ReadColours();
    data_.ColourList.clear();
    for (const std::wstring& section : sections) {
        const std::wstring upper = AsciiUpper(section);
        if (upper.rfind(L"COLOUR", 0) == 0 && upper != L"COLOURS")
            data_.ColourList.push_back(ini_.ReadColour(section, L"color", kSysWindowText));
    }
    for (int i = 0; i < 10; ++i) {
        data_.CustomColours[static_cast<std::size_t>(i)] =
            ini_.ReadColour(L"Customcolors", L"Color" + std::to_wstring(i), 0xFFFFFF);
    }
    ReadBorder(data_.Top, L"Top");
    ReadBorder(data_.Bottom, L"Bottom");
    ReadBorder(data_.Left, L"Left");
    ReadBorder(data_.Right, L"Right");
    ReadCaptionButtons(sections);
    ReadMdiButtons();
    ReadButtons();
    ReadCaption();
    ReadProgress();
    ReadImageSection(data_.ProgressChunk, L"Progress.Chunk", true);
    ReadMenubar();
    ReadImageSection(data_.GroupBoxEdge, L"GroupBoxEdge", true);
    ReadImageSection(data_.GroupBox, L"GroupBox", false);
    if (data_.GroupBox) {
        data_.GroupBox->BackgroundAlignment = Int(L"GroupBox", L"BackgroundAlignment", 0);
        data_.GroupBox->BackgroundLeftShift = Int(L"GroupBox", L"BackgroundLeftShift", 0);
        data_.GroupBox->BackgroundRightShift = Int(L"GroupBox", L"BackgroundRightShift", 0);
    }
    ReadImageSection(data_.Tabs, L"Tabs", false, L"Border");
    ReadImageSection(data_.StatusBarEdges, L"StatusBarEdges", true);
    ReadImageSection(data_.TabPane, L"Tab.Pane", true);
    if (data_.TabPane) {
        TSkinMargins& m = data_.TabPane->Margins;
        m.LeftWidth = std::min(m.LeftWidth, 4);
        m.TopHeight = std::min(m.TopHeight, 4);
        m.RightWidth = std::min(m.RightWidth, 4);
        m.BottomHeight = std::min(m.BottomHeight, 4);
    }
    ReadImageSection(data_.ToolBars, L"ToolBars", true);
    ReadImageSection(data_.ComboButton, L"ComboButton", false, L"****");
    ReadImageSection(data_.SunkEdge, L"SunkEdge", true);
    ReadImageSection(data_.ExtraImages, L"ExtraImages", true);
    ReadImageSection(data_.Headerbar, L"Headerbar", true);
    ReadImageSection(data_.MenuItem, L"MenuItem", true);
    ReadImageSection(data_.MenuBackground, L"MenuBackground", true);
    ReadImageSection(data_.Scrollbar, L"Scrollbar", true);
    ReadImageSection(data_.HorzScroll, L"HorzScroll", true);
    ReadImageSection(data_.VertScroll, L"VertScroll", true);
    ReadImageSection(data_.HorzScrollThumb, L"HorzScrollThumb", true);
    horzThumbFrames_ = Int(L"HorzScrollThumb", L"FrameCount", 3);
    ReadImageSection(data_.VertScrollThumb, L"VertScrollThumb", true);
    vertThumbFrames_ = Int(L"VertScrollThumb", L"FrameCount", 3);
    for (std::size_t i = 0; i < kTrackThumbSections.size(); ++i)
        ReadImageSection(data_.TrackThumbs[i], kTrackThumbSections[i], true);
    ReadImageSection(data_.UpDownHorz, L"UpDown.Horz", false, L"GlyphImage");
    ReadImageSection(data_.UpDownVert, L"UpDown.Vert", false, L"GlyphImage");
    ReadTrack(data_.Track, L"Track", fallbacks.Track);
    ReadTrack(data_.TrackVert, L"TRACKVERT", fallbacks.TrackVert);
    SetFixedFrameCounts();
}

} // namespace

std::wstring SkinBitmapName(std::wstring_view value) {
    const std::size_t cut = value.find_last_of(L"\\:");
    const std::wstring_view name = cut == std::wstring_view::npos ? value : value.substr(cut + 1);
    constexpr std::wstring_view ext = L".bmp";
    if (name.size() < ext.size() || name.substr(name.size() - ext.size()) != ext) return {};
    return std::wstring(name);
}

int DeriveCheckFrameCount(const Pixmap& image) {
    const int frames = image.Height() < 16 ? image.Width() / 13 : image.Width() / 16;
    return std::max(frames, 4);
}

void ReadSkinDefinition(const TSkinIni& ini, const SkinEntryReader& entries, TSkinData& data,
                        const TSkinFallbacks& fallbacks) {
    DefinitionReader(ini, entries, data).Run(fallbacks);
}

} // namespace skin
