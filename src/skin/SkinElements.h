// Skin elements: one image holding one or more equally sized state frames,
// cut into nine regions by four margins. The skin data component owns them;
// frame painters and control skinning objects draw with them.
#pragma once

#include "skin/Bitmap.h"

#include <cstdint>
#include <string>
#include <utility>

namespace skin {

// Text colour value meaning "no colour set" (NormalColour and friends).
constexpr std::int32_t kNoTextColour = -1;
// Caption text colour value meaning "not set" (ActiveText, InActiveText).
constexpr Colour kCaptionColourNotSet = 0x1FFFFFFF;

// The four margins of an element, kept together as one rectangle: widths of
// the left and right columns, heights of the top and bottom rows.
struct TSkinMargins {
    std::int32_t LeftWidth = 0;
    std::int32_t TopHeight = 0;
    std::int32_t RightWidth = 0;
    std::int32_t BottomHeight = 0;

    friend bool operator==(const TSkinMargins&, const TSkinMargins&) = default;
};

// Frames of an image are numbered from 1. In the normal layout they stand side
// by side, in the vertical layout they are stacked. A frame count below 1 is
// taken as 1, so that a skin that says 0 still draws its whole image.
int EffectiveFrameCount(int frameCount);
int FrameWidth(const Pixmap& image, int frameCount, bool verticalFrames);
int FrameHeight(const Pixmap& image, int frameCount, bool verticalFrames);
// Source rectangle of frame `frameIndex` (1-based). An index outside 1..count
// gives a rectangle outside the image, which draws nothing.
Rect FrameRect(const Pixmap& image, int frameCount, int frameIndex, bool verticalFrames);

class TSkinElement {
public:
    explicit TSkinElement(std::wstring name = {}) : Name(std::move(name)) {}
    virtual ~TSkinElement() = default;
    TSkinElement(const TSkinElement&) = delete;
    TSkinElement& operator=(const TSkinElement&) = delete;

    int FrameCount() const { return EffectiveFrameCount(Frame); }
    int FrameWidth(bool verticalFrames = false) const;
    int FrameHeight(bool verticalFrames = false) const;
    Rect FrameRect(int frameIndex, bool verticalFrames = false) const;

    TSkinMargins Margins;
    Pixmap Bitmap;
    std::int32_t Trans = 0;
    // For the four frame borders this holds the border's Stretch value.
    std::int32_t Tile = 0;
    std::wstring Name;
    std::int32_t Frame = 1;
    std::int32_t Style = 0;
    std::int32_t NormalColour = kNoTextColour;
    std::int32_t MouseOverColour = kNoTextColour;
    std::int32_t PressedColour = kNoTextColour;
    Colour NormalColour2 = 0;
    Colour MouseOverColour2 = 0;
    Colour PressedColour2 = 0;
};

// The four frame borders, Tabs, ComboButton, UpDown.Horz, UpDown.Vert and
// Progress: a second image beside the main one.
class TSkinBorderElement : public TSkinElement {
public:
    using TSkinElement::TSkinElement;
    Pixmap Bitmap2;
};

// Section Buttons: push button image plus check box and radio button images.
class TSkinButtonElement : public TSkinElement {
public:
    using TSkinElement::TSkinElement;
    Pixmap CheckBitmap;
    Pixmap RadioBitmap;
    std::int32_t RadioButtonFrame = 0;
    std::int32_t CheckButtonFrame = 0;
    // Whether the keys NormalColour2, MouseOverColour2, PressedColour2 were present.
    bool HasNormalColour2 = false;
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};

// Caption text settings. Its margins hold TextShift (LeftWidth), TextShiftVert
// (TopHeight), TextRightClip (RightWidth) and 0; its Bitmap is TextBack.
class TSkinTitleElement : public TSkinElement {
public:
    using TSkinElement::TSkinElement;
    std::int32_t TextAlignment = 0;
    std::int32_t Textbackground = 0;
    std::int32_t FontHeight = 14;
    std::int32_t TXTBackleft = 0;
    std::int32_t TXTBackRight = 0;
    Colour ActiveText = kCaptionColourNotSet;
    Colour InActiveText = kCaptionColourNotSet;
};

// One caption button.
class TSkinCaptionButtonDef : public TSkinElement {
public:
    using TSkinElement::TSkinElement;
    std::int32_t Action = 0;
    std::int32_t Align = 0;
    std::int32_t XCoord = 0;
    std::int32_t YCoord = 0;
    std::int32_t CombineOp = -1;
    std::int32_t Visibility = 0;
    std::int32_t Visibility1 = 0;
};

// Section GroupBox: the group box caption background.
class TSkinBoxLabelElement : public TSkinElement {
public:
    using TSkinElement::TSkinElement;
    std::int32_t BackgroundLeftShift = 0;
    std::int32_t BackgroundRightShift = 0;
    std::int32_t BackgroundAlignment = 0;
};

} // namespace skin
