#include "grid/CellText.h"

#include "platform/GdiHandles.h"

#include <algorithm>

namespace grid {

namespace {

// One off-screen bitmap for all grids, for fills the device cannot show
// exactly; it only ever grows.
struct SharedTextBitmap {
    platform::Bitmap bitmap;
    int width = 0, height = 0;
};
SharedTextBitmap& TextBitmap() {
    static SharedTextBitmap shared;
    return shared;
}

UINT FormatFlags(const TCellText& c) {
    UINT flags = DT_NOPREFIX;
    switch (c.Alignment) {
    case TAlignment::taLeftJustify:
        flags |= DT_LEFT;
        break;
    case TAlignment::taRightJustify:
        flags |= DT_RIGHT;
        break;
    case TAlignment::taCenter:
        flags |= DT_CENTER;
        break;
    }
    flags |= c.WordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    if (c.EndEllipsis) flags |= DT_END_ELLIPSIS;
    return flags;
}

void FillWith(HDC dc, const RECT& r, COLORREF color) {
    platform::Brush brush(CreateSolidBrush(color));
    FillRect(dc, &r, brush.get());
}

void WriteOffScreen(HDC dc, const TCellText& c, const std::wstring& text) {
    const int w = c.Rect.right - c.Rect.left, h = c.Rect.bottom - c.Rect.top;
    if (w <= 0 || h <= 0) return;
    SharedTextBitmap& shared = TextBitmap();
    if (!shared.bitmap || shared.width < w || shared.height < h) {
        shared.width = std::max(shared.width, w);
        shared.height = std::max(shared.height, h);
        shared.bitmap.reset(CreateCompatibleBitmap(dc, shared.width, shared.height));
    }
    platform::MemoryDC mem(dc);
    platform::SelectGuard selBmp(mem.get(), shared.bitmap.get());
    platform::SelectGuard selFont(mem.get(), GetCurrentObject(dc, OBJ_FONT));
    SetTextColor(mem.get(), GetTextColor(dc));
    SetBkMode(mem.get(), TRANSPARENT);
    RECT r{0, 0, w, h};
    FillWith(mem.get(), r, GetBkColor(dc));
    RECT t{c.Dx, c.Dy, w - c.Dx, h};
    DrawTextW(mem.get(), text.c_str(), static_cast<int>(text.size()), &t, FormatFlags(c));
    BitBlt(dc, c.Rect.left, c.Rect.top, w, h, mem.get(), 0, 0, SRCCOPY);
}

} // namespace

void WriteCellText(HDC dc, const TCellText& c, const std::wstring& text, bool boldOrItalic) {
    const COLORREF back = GetBkColor(dc);
    if (GetNearestColor(dc, back) != back) {
        WriteOffScreen(dc, c, text);
        return;
    }
    const RECT& r = c.Rect;
    if (c.WordWrap) {
        if (c.Fill) FillWith(dc, r, back);
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        RECT t{r.left + c.Dx, r.top + c.Dy, r.right - c.Dx, r.bottom};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t, FormatFlags(c));
        SetBkMode(dc, oldMode);
        return;
    }

    std::wstring shown = text;
    auto measure = [&](const std::wstring& s) {
        if (boldOrItalic && c.Alignment != TAlignment::taLeftJustify) {
            RECT m{0, 0, 0, 0};
            DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &m,
                      DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            return SIZE{m.right - m.left, m.bottom - m.top};
        }
        SIZE size{};
        GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return size;
    };
    SIZE size = measure(shown);
    if (c.EndEllipsis && size.cx > r.right - r.left - c.Dx) {
        while (!shown.empty()) {
            shown.pop_back();
            size = measure(shown + L"...");
            if (size.cx <= r.right - r.left - c.Dx) break;
        }
        shown += L"...";
        size = measure(shown);
    }
    if (shown.empty()) size.cy = 0;

    const int width = r.right - r.left, height = r.bottom - r.top;
    int x = r.left + c.Dx;
    if (c.Alignment == TAlignment::taRightJustify)
        x = r.right - size.cx - 3;
    else if (c.Alignment == TAlignment::taCenter)
        x = width > 0 ? r.left + width / 2 - size.cx / 2 : 0;
    int y = r.top + c.Dy;
    if (c.Layout != TTextLayout::tlTop && size.cy < height - c.Dy)
        y = c.Layout == TTextLayout::tlCenter ? (r.top + r.bottom - size.cy) / 2
                                              : r.bottom - size.cy;

    const UINT options = ETO_CLIPPED | (c.Fill ? ETO_OPAQUE : 0u);
    const int oldMode = SetBkMode(dc, c.Fill ? OPAQUE : TRANSPARENT);
    ExtTextOutW(dc, x, y, options, &r, shown.c_str(), static_cast<UINT>(shown.size()), nullptr);
    SetBkMode(dc, oldMode);
}

} // namespace grid
