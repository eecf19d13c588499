#include "skin/frame/CaptionButton.h"

#include "platform/GdiHandles.h"
#include "skin/GdiImage.h"
#include "skin/ImageOps.h"
#include "skin/SkinElements.h"
#include "skin/frame/FramePainter.h"

namespace skin {

// ---- the state machine every non-client object shares -------------------------

void TFrameObject::Press() {
    TFramePainter& p = Painter();
    if (p.Current() && p.Current() != this) p.Current()->Leave();
    if (!Visible) return;
    p.SetCurrent(this);
    State = bsPressed;
    Repaint();
}

void TFrameObject::Release() {
    if (!Visible) return;
    State = bsHot;
    Repaint();
}

void TFrameObject::Hover() {
    TFramePainter& p = Painter();
    if (p.Current() == this) return;
    if (p.Current()) p.Current()->Leave();
    if (!Visible) return;
    p.SetCurrent(this);
    State = bsHot;
    Repaint();
}

void TFrameObject::Leave() {
    if (!Visible) return;
    Painter().SetCurrent(nullptr);
    State = bsNormal;
    Repaint();
}

// ---- caption buttons ---------------------------------------------------------------

int TCaptionButton::Action() const {
    return def_.Action;
}

bool TCaptionButton::IsIconButton() const {
    return def_.Action == caSystemMenu || def_.Action == caSystemMenuIcon;
}

bool TCaptionButton::IsMdiButton() const {
    return def_.Visibility == 100;
}

void TCaptionButton::DrawNormal(Pixmap& canvas) const {
    if (!Visible || def_.Bitmap.Empty() || IsMdiButton() || IsIconButton()) return;
    const int frame = Painter().Active() || def_.FrameCount() < 4 ? 1 : 4;
    DrawFrameStretched(canvas, Rect{Bounds.left, Bounds.top, Bounds.right, Bounds.bottom},
                       def_.Bitmap, true, def_.FrameCount(), frame);
}

void TCaptionButton::Repaint() {
    TFramePainter& p = Painter();
    if (!Visible || def_.Bitmap.Empty() || p.State() != TFramePainter::fsSkinned) return;
    platform::WindowDC dc(p.Handle(), true);
    if (!dc.get()) return;
    if (IsIconButton()) {
        p.DrawIcon(dc.get(), Bounds);
        return;
    }
    const int frame = IsMdiButton() && State == bsHot ? 4 : State;
    const int w = Bounds.right - Bounds.left;
    const int h = Bounds.bottom - Bounds.top;
    Pixmap face(w, h, kMagenta);
    DrawFrameStretched(face, Rect{0, 0, w, h}, def_.Bitmap, true, def_.FrameCount(), frame);
    gdi::DrawTransparent(dc.get(), Rect{Bounds.left, Bounds.top, Bounds.right, Bounds.bottom}, face,
                         kMagenta);
}

} // namespace skin
