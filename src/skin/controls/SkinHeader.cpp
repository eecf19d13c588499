#include "skin/controls/SkinHeader.h"

#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"

#include <commctrl.h>
#include <windowsx.h>

namespace skin {

bool TSkinHeader::ElementUsable() const {
    const TSkinData* data = Data();
    return data && data->Headerbar && !data->Headerbar->Bitmap.Empty();
}

int TSkinHeader::ItemAt(POINT p) const {
    HDHITTESTINFO hit{};
    hit.pt = p;
    const int item =
        static_cast<int>(SendMessageW(window_, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & HHT_ONHEADER) ? item : -1;
}

bool TSkinHeader::BeforeMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_PAINT:
        if (!ElementUsable()) return true;
        StandardPaint(msg);
        return false;
    case WM_ERASEBKGND:
        if (!ElementUsable()) return true;
        msg.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(msg);
    }
}

void TSkinHeader::AfterMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_MOUSEMOVE: {
        const int item = ItemAt({GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)});
        if (item != hotItem_) {
            hotItem_ = item;
            TrackMouseLeave();
            InvalidateRect(window_, nullptr, FALSE);
        }
        break;
    }
    case WM_MOUSELEAVE:
        hotItem_ = -1;
        InvalidateRect(window_, nullptr, FALSE);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        down_ = msg.Msg == WM_LBUTTONDOWN;
        InvalidateRect(window_, nullptr, FALSE);
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

void TSkinHeader::Paint(HDC dc, const RECT& rect) {
    if (!ElementUsable()) return;
    const TSkinData& data = *Data();
    const TSkinElement& bar = *data.Headerbar;
    RECT client;
    GetClientRect(window_, &client);
    const int w = client.right, h = client.bottom;
    if (w < 1 || h < 1) return;
    Pixmap canvas(w, h, ResolveColour(data.Colours.ButtonFace));
    const int count = static_cast<int>(SendMessageW(window_, HDM_GETITEMCOUNT, 0, 0));
    int right = 0;
    std::vector<std::pair<RECT, std::wstring>> texts;
    for (int i = 0; i < count; ++i) {
        RECT r{};
        if (!SendMessageW(window_, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
        right = std::max<int>(right, r.right);
        const int frame = i == hotItem_ ? (down_ ? 3 : 2) : 1;
        DrawElement(canvas, Rect{r.left, r.top, r.right, r.bottom}, bar.Bitmap, false,
                    bar.Tile != 0, bar.Trans != 0, bar.FrameCount(), frame, bar.Margins);
        wchar_t text[260] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 260;
        SendMessageW(window_, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(r, text);
    }
    // The space right of the last section.
    if (right < w)
        DrawElement(canvas, Rect{right, 0, w, h}, bar.Bitmap, false, bar.Tile != 0, bar.Trans != 0,
                    bar.FrameCount(), 1, bar.Margins);
    if (!face_.Resize(w, h)) return;
    face_.Put(canvas, 0, 0, false);
    HDC fd = face_.dc();
    const HGDIOBJ oldFont =
        SelectObject(fd, reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0)));
    SetBkMode(fd, TRANSPARENT);
    SetTextColor(fd, TSkinHolder::ToRGB(data.Colours.ButtonText));
    for (auto& [r, text] : texts) {
        RECT tr = r;
        InflateRect(&tr, -4, 0);
        DrawTextW(fd, text.c_str(), -1, &tr,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | RtlFlags());
    }
    SelectObject(fd, oldFont);
    face_.CopyTo(dc, rect.left, rect.top);
}

} // namespace skin
