#include "skin/DerivedElements.h"

#include "skin/ImageOps.h"

#include <utility>

namespace skin {

namespace {

// One combo box cell of the composite image.
constexpr int kComboCellWidth = 50;
constexpr int kComboCellHeight = 21;
// One arrow of ComboxArrow, cut from the composite's button part.
constexpr int kArrowSize = 17;
// Size of the tool bar gradient image.
constexpr int kToolbarWidth = 10;
constexpr int kToolbarHeight = 40;
constexpr Colour kWhite = 0xFFFFFF;

} // namespace

void MirrorComboButton(TSkinBorderElement& comboButton) {
    if (comboButton.Bitmap.Empty()) return;
    comboButton.Bitmap2 = comboButton.Bitmap;
    MirrorBitmap(comboButton.Bitmap2);
}

void BuildComboComposite(TSkinElement& sunkEdge, TSkinBorderElement& comboButton,
                         const TSkinElement* extraImages, int cxHScroll) {
    const int frames = sunkEdge.FrameCount();
    const int button = cxHScroll + 2;
    Pixmap composite(kComboCellWidth * frames, kComboCellHeight, kMagenta, 24);
    const Rect cellRect{0, 0, kComboCellWidth, kComboCellHeight};
    const Rect buttonRect{kComboCellWidth - button, 0, kComboCellWidth, kComboCellHeight};

    for (int k = 1; k <= frames; ++k) {
        Pixmap cell(kComboCellWidth, kComboCellHeight, kMagenta, 24);
        DrawElement(cell, cellRect, sunkEdge.Bitmap, false, false, sunkEdge.Trans != 0,
                    sunkEdge.Frame, k, sunkEdge.Margins);
        DrawElement(cell, buttonRect, comboButton.Bitmap, false, false, true, comboButton.Frame, k,
                    comboButton.Margins);
        if (extraImages)
            DrawFrameCentred(cell, buttonRect, extraImages->Bitmap, true, extraImages->Frame, k);
        // The edit part stays see-through: the control paints its own text there.
        cell.FillRect(Rect{2, 2, kComboCellWidth - 1 - button, 18}, kMagenta);
        DrawOpaque(composite,
                   RectOfSize((k - 1) * kComboCellWidth, 0, kComboCellWidth, kComboCellHeight),
                   cell);
    }

    comboButton.Style = 2;
    comboButton.Margins = sunkEdge.Margins;
    comboButton.Margins.LeftWidth = 2;
    comboButton.Margins.RightWidth = button + 2;
    comboButton.Bitmap = composite;

    MirrorBitmap(composite);
    sunkEdge.Bitmap = std::move(composite);
    sunkEdge.Margins.LeftWidth = button + 2;
    sunkEdge.Margins.RightWidth = 2;
}

void BuildComboxArrow(TSkinElement& arrow, const TSkinElement* sunkEdge,
                      const TSkinElement* comboButton, Colour buttonFace) {
    if (!sunkEdge) {
        if (!comboButton) return;
        arrow.Bitmap = comboButton->Bitmap;
        ReplaceMagenta(arrow.Bitmap, buttonFace);
        arrow.Frame = comboButton->Frame;
        return;
    }
    if (!comboButton || comboButton->Style != 2) return;

    // The composite holds one cell per SunkEdge frame; each arrow is the
    // 17 x 17 square just inside the right end of its cell.
    const int frames = sunkEdge->FrameCount();
    const int cell = comboButton->Bitmap.Width() / frames;
    Pixmap arrows(kArrowSize * frames, kArrowSize, 0, 24);
    for (int k = 1; k <= frames; ++k)
        StretchCopy(arrows, RectOfSize((k - 1) * kArrowSize, 0, kArrowSize, kArrowSize),
                    comboButton->Bitmap, RectOfSize(k * cell - 19, 2, kArrowSize, kArrowSize));
    arrow.Bitmap = std::move(arrows);
    arrow.Frame = frames;
}

Colour CaptionSampleColour(const TSkinElement* top, Colour buttonFace) {
    if (!top || top->Bitmap.Empty()) return buttonFace;
    const Pixmap& image = top->Bitmap;
    return image.Pixel(image.Width() / 3, image.Height() / top->FrameCount() / 3);
}

Colour ToolbarBottomColour(Colour q) {
    const int saturation = Saturation255(q);
    if (saturation > 110) return Blend(q, kWhite, (5625 - 25 * saturation) / 140 + 50);
    return Blend(0x808080, q, 150);
}

void BuildToolbar(TSkinElement& toolbar, const TSkinElement* top, Colour buttonFace) {
    Pixmap image(kToolbarWidth, kToolbarHeight, 0, 24);
    GradientFill(image, image.Bounds(), Blend(buttonFace, kWhite, 150), true,
                 ToolbarBottomColour(CaptionSampleColour(top, buttonFace)));
    toolbar.Bitmap = std::move(image);
    toolbar.Frame = 1;
}

void BuildDerivedElements(const DerivedElementSet& set, int cxHScroll, Colour buttonFace) {
    if (set.ComboButton) MirrorComboButton(*set.ComboButton);
    if (set.SunkEdge && set.ComboButton)
        BuildComboComposite(*set.SunkEdge, *set.ComboButton, set.ExtraImages, cxHScroll);
    if (set.ComboxArrow)
        BuildComboxArrow(*set.ComboxArrow, set.SunkEdge, set.ComboButton, buttonFace);
    if (set.Toolbar) BuildToolbar(*set.Toolbar, set.Top, buttonFace);
}

} // namespace skin
