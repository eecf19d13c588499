// Elements the skin engine builds from the loaded ones at the end of every
// skin load: the combo box composite, the combo arrow and the tool bar
// gradient. The face brush is made by the Windows layer (GdiImage.h).
#pragma once

#include "skin/Bitmap.h"
#include "skin/SkinElements.h"

namespace skin {

// Elements taking part; absent ones are null. ComboxArrow and Toolbar are
// created once by the skin data component and refilled on every load.
struct DerivedElementSet {
    TSkinElement* SunkEdge = nullptr;
    TSkinBorderElement* ComboButton = nullptr;
    const TSkinElement* ExtraImages = nullptr;
    const TSkinElement* Top = nullptr; // the Top frame border
    TSkinElement* ComboxArrow = nullptr;
    TSkinElement* Toolbar = nullptr;
};

// Runs every step below in load order: the ComboButton's mirrored Bitmap2,
// the combo composite, ComboxArrow and Toolbar. `cxHScroll` is the system
// metric SM_CXHSCROLL; `buttonFace` the skin's ButtonFace colour.
void BuildDerivedElements(const DerivedElementSet& set, int cxHScroll, Colour buttonFace);

// Bitmap2 of ComboButton becomes a mirrored 24-bit copy of its Bitmap
// (left alone when Bitmap is empty).
void MirrorComboButton(TSkinBorderElement& comboButton);

// Combines SunkEdge, ComboButton and (when given) ExtraImages into one
// 50 x 21 cell per SunkEdge frame; ComboButton then holds the composite and
// SunkEdge its mirror image, with their margins adjusted.
void BuildComboComposite(TSkinElement& sunkEdge, TSkinBorderElement& comboButton,
                         const TSkinElement* extraImages, int cxHScroll);

// Refills `arrow` from ComboButton as the load left it (see the .cpp).
void BuildComboxArrow(TSkinElement& arrow, const TSkinElement* sunkEdge,
                      const TSkinElement* comboButton, Colour buttonFace);

// The caption sample colour: the pixel at (width / 3, frame height / 3) of
// the Top border image, or `buttonFace` without one.
Colour CaptionSampleColour(const TSkinElement* top, Colour buttonFace);
// Bottom colour of the tool bar gradient for the caption sample colour q.
Colour ToolbarBottomColour(Colour q);
// A 10 x 40 vertical gradient from Blend(buttonFace, white, 150) to the
// bottom colour, frame count 1.
void BuildToolbar(TSkinElement& toolbar, const TSkinElement* top, Colour buttonFace);

} // namespace skin
