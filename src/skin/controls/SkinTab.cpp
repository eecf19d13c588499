#include "skin/controls/SkinTab.h"

#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"

#include <commctrl.h>

namespace skin {

namespace {

// The border image's corners.
constexpr TSkinMargins kBorderMargins{4, 4, 4, 4};

int HitTab(HWND window, LPARAM lParam) {
    TCHITTESTINFO hit{};
    hit.pt = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return static_cast<int>(SendMessageW(window, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

} // namespace

bool TSkinTab::BeforeMessage(ui::TMessage& msg) {
    const TSkinData* data = Data();
    const bool usable = data && data->Tabs && !data->Tabs->Bitmap.Empty();
    switch (msg.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (!usable) break;
        StandardPaint(msg);
        return false;
    case WM_ERASEBKGND:
        if (!usable) break;
        msg.Result = 1;
        return false;
    default:
        break;
    }
    return TSkinControl::BeforeMessage(msg);
}

void TSkinTab::AfterMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_MOUSEMOVE: {
        const int hot = HitTab(window_, msg.LParam);
        if (hot != hotTab_) {
            hotTab_ = hot;
            Refresh();
        }
        TrackMouseLeave();
        break;
    }
    case WM_MOUSELEAVE:
        hotTab_ = -1;
        Refresh();
        break;
    case TCM_SETCURSEL:
    case TCM_INSERTITEMW:
    case TCM_DELETEITEM:
    case TCM_SETITEMW:
        Refresh();
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

int TSkinTab::TabFrame(int index) const {
    if (!window_) return tsiNormal;
    const bool selected = SendMessageW(window_, TCM_GETCURSEL, 0, 0) == index;
    if (GetWindowLongW(window_, GWL_STYLE) & WS_DISABLED) return tsiDisabled;
    if (selected) return GetFocus() == window_ ? tsiFocused : tsiSelected;
    if (index == hotTab_) return tsiHot;
    return tsiNormal;
}

void TSkinTab::Paint(HDC dc, const RECT& rect) {
    const TSkinData* data = Data();
    if (!data || !data->Tabs || data->Tabs->Bitmap.Empty() || !window_) return;
    const TSkinBorderElement& tabs = *data->Tabs;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w < 1 || h < 1 || !face_.Resize(w, h)) return;
    HDC face = face_.dc();
    FillButtonFace(face, RECT{0, 0, w, h});

    // The page area.
    RECT pane{0, 0, w, h};
    SendMessageW(window_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
    InflateRect(&pane, 2, 2);
    const Rect paneRect{pane.left, pane.top, pane.right, pane.bottom};
    if (data->TabPane && !data->TabPane->Bitmap.Empty()) {
        const TSkinElement& p = *data->TabPane;
        face_.Put(ComposeElement(Rect{0, 0, paneRect.Width(), paneRect.Height()}, p.Bitmap,
                                 p.Margins, false, p.Tile != 0, 1, 1),
                  pane.left, pane.top, true);
    } else if (!tabs.Bitmap2.Empty()) {
        face_.Put(ComposeElement(Rect{0, 0, paneRect.Width(), paneRect.Height()}, tabs.Bitmap2,
                                 kBorderMargins, false, false, 1, 1),
                  pane.left, pane.top, true);
    }

    // The tabs, the selected one last and a little larger.
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
    platform::SelectGuard selectFont(face, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(face, TRANSPARENT);
    enabled_ = !(GetWindowLongW(window_, GWL_STYLE) & WS_DISABLED);
    SetTextColor(face, enabled_ ? TSkinHolder::ToRGB(data->Colours.ButtonText)
                                : GetSysColor(COLOR_BTNSHADOW));
    const int count = static_cast<int>(SendMessageW(window_, TCM_GETITEMCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(window_, TCM_GETCURSEL, 0, 0));
    auto drawTab = [&](int i) {
        RECT r{};
        if (!SendMessageW(window_, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) return;
        if (i == selected) InflateRect(&r, 2, 2);
        const int tw = r.right - r.left, th = r.bottom - r.top;
        if (tw < 1 || th < 1) return;
        face_.Put(ComposeElement(Rect{0, 0, tw, th}, tabs.Bitmap, tabs.Margins, false,
                                 tabs.Tile != 0, 5, TabFrame(i)),
                  r.left, r.top, tabs.Trans != 0);
        wchar_t text[260] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 260;
        SendMessageW(window_, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        DrawTextW(face, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | RtlFlags());
        if (i == selected && GetFocus() == window_) {
            InflateRect(&r, -3, -3);
            DrawFocusRect(face, &r);
        }
    };
    for (int i = 0; i < count; ++i)
        if (i != selected) drawTab(i);
    if (selected >= 0 && selected < count) drawTab(selected);
    SetBkMode(face, OPAQUE);
    face_.CopyTo(dc, rect.left, rect.top);
}

} // namespace skin
