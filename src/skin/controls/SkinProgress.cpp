#include "skin/controls/SkinProgress.h"

#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"

#include <commctrl.h>

namespace skin {

bool TSkinProgress::ElementUsable() const {
    const TSkinData* data = Data();
    return data && data->Progress && !data->Progress->Bitmap.Empty();
}

bool TSkinProgress::BeforeMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_PAINT:
        if (!ElementUsable()) return true; // the bar paints itself
        StandardPaint(msg);
        return false;
    case WM_ERASEBKGND:
        msg.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(msg);
    }
}

Pixmap TSkinProgress::Compose(int w, int h, bool vertical, int pos, int max) const {
    if (!ElementUsable() || w < 1 || h < 1) return {};
    const TSkinBorderElement& element = *Data()->Progress;
    // A vertical bar is painted lying down, then turned.
    const int workW = vertical ? h : w, workH = vertical ? w : h;
    Pixmap work;
    if (element.Style == 1) {
        work = ComposeChunks(workW, workH, pos, max);
    } else {
        work = Pixmap(workW, workH, ResolveColour(Data()->Colours.ButtonFace));
        const Rect whole{0, 0, workW, workH};
        // Magenta is transparent here whatever the element's Trans says.
        DrawTransparent(
            work, whole,
            ComposeElement(whole, element.Bitmap, element.Margins, false, element.Tile != 0, 2, 1),
            kMagenta);
        if (max > 0 && pos > 0) {
            const int fill = MulDiv(workW, pos, max);
            if (fill > 0) {
                const Rect filled{0, 0, fill, workH};
                DrawTransparent(work, filled,
                                ComposeElement(filled, element.Bitmap, element.Margins, false,
                                               element.Tile != 0, 2, 2),
                                kMagenta);
            }
        }
    }
    return vertical ? RotateLeft(work) : work;
}

Pixmap TSkinProgress::ComposeChunks(int w, int h, int pos, int max) const {
    const TSkinData& data = *Data();
    const TSkinElement* chunk = data.ProgressChunk.get();
    if (!chunk || chunk->Bitmap.Empty()) return {};
    Pixmap work(w, h, ResolveColour(data.Colours.ButtonFace));
    const Rect whole{0, 0, w, h};
    const TSkinBorderElement& element = *data.Progress;
    DrawTransparent(work, whole,
                    ComposeElement(whole, element.Bitmap, element.Margins, false, false, 1, 1),
                    kMagenta);
    if (max <= 0 || pos <= 0) return work;
    const int right = MulDiv(w, pos, max);
    if (right <= 0) return work;
    const Pixmap& image = chunk->Bitmap;
    const int cw = image.Width(), ch = image.Height();
    const int dy = (h - ch) / 2;
    if (chunk->Tile == 1) {
        Pixmap strip(right, ch, kMagenta);
        for (int i = 0, x = 0; i <= right / cw; ++i, x += cw)
            DrawOpaque(strip, RectOfSize(x, 0, cw, ch), image);
        DrawTransparent(work, RectOfSize(chunk->Margins.LeftWidth + 2, dy, right, ch), strip,
                        kMagenta);
    } else if (h > 4) {
        Pixmap slice(right, h - 4, kMagenta);
        DrawThreeSlice(slice, Rect{0, 0, right, h}, image, false, 1, 1, chunk->Margins);
        DrawTransparent(work, RectOfSize(2, 2, right, h - 4), slice, kMagenta);
    }
    return work;
}

void TSkinProgress::Paint(HDC dc, const RECT& rect) {
    if (!ElementUsable() || !window_) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const bool vertical = (GetWindowLongW(window_, GWL_STYLE) & PBS_VERTICAL) != 0;
    const int pos = static_cast<int>(SendMessageW(window_, PBM_GETPOS, 0, 0));
    const int max = static_cast<int>(SendMessageW(window_, PBM_GETRANGE, FALSE, 0));
    const Pixmap picture = Compose(w, h, vertical, pos, max);
    if (picture.Empty() || !face_.Resize(w, h)) return;
    face_.Put(picture, 0, 0, false);
    face_.CopyTo(dc, rect.left, rect.top);
}

} // namespace skin
