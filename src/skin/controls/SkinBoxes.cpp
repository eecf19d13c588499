#include "skin/controls/SkinBoxes.h"

#include "skin/SkinHolder.h"
#include "ui/WinControl.h"

#include <algorithm>

namespace skin {

// ---- TSkinGroupBox ------------------------------------------------------------

void TSkinGroupBox::Attach(ui::TControl& control, TSkinControlList* list, TSkinHolder& holder,
                           bool ownsColour) {
    if (attached_) return;
    TSkinControl::Attach(control, list, holder, ownsColour);
}

bool TSkinGroupBox::BeforeMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        StandardPaint(msg);
        return false;
    case WM_ERASEBKGND:
        msg.Result = 1; // the paint covers everything
        return false;
    default:
        return TSkinControl::BeforeMessage(msg);
    }
}

void TSkinGroupBox::Paint(HDC dc, const RECT& rect) {
    if (!Data() || !window_) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w < 1 || h < 1 || !face_.Resize(w, h)) return;
    HDC face = face_.dc();
    FillButtonFace(face, RECT{0, 0, w, h});
    enabled_ = !(GetWindowLongW(window_, GWL_STYLE) & WS_DISABLED);

    const TCaptionLook look = ReadCaptionLook(TSkinHolder::ToRGB(Data()->Colours.ButtonText));
    const std::wstring& text = look.Text;
    HFONT font = look.Font;
    COLORREF colour = look.Colour;
    if (!enabled_) colour = GetSysColor(COLOR_BTNSHADOW);
    platform::SelectGuard selectFont(face, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(face, &tm);
    const int frameTop = tm.tmHeight / 2;

    // The frame: a rounded rectangle in the shadow colour, light lines inside.
    const COLORREF shadow = TSkinHolder::ToRGB(Data()->Colours.ButtonShadow);
    const COLORREF light = TSkinHolder::ToRGB(Data()->Colours.ButtonHilight);
    platform::SelectGuard nullBrush(face, GetStockObject(NULL_BRUSH));
    platform::SelectGuard pen(face, GetStockObject(DC_PEN));
    SetDCPenColor(face, shadow);
    RoundRect(face, 0, frameTop, w, h, 5, 5);
    SetDCPenColor(face, light);
    MoveToEx(face, 2, frameTop + 1, nullptr);
    LineTo(face, w - 2, frameTop + 1);
    MoveToEx(face, 1, frameTop + 2, nullptr);
    LineTo(face, 1, h - 2);

    if (!text.empty()) {
        RECT t{0, 0, w - 16, tm.tmHeight};
        DrawTextW(face, text.c_str(), -1, &t, DT_SINGLELINE | DT_CALCRECT);
        t.right = std::min<LONG>(t.right, w - 16);
        OffsetRect(&t, 8, 0);
        RECT gap = t;
        InflateRect(&gap, 2, 0);
        FillButtonFace(face, gap);
        SetBkMode(face, TRANSPARENT);
        SetTextColor(face, colour);
        DrawTextW(face, text.c_str(), -1, &t, DT_SINGLELINE | DT_END_ELLIPSIS | RtlFlags());
        SetBkMode(face, OPAQUE);
    }
    face_.CopyTo(dc, rect.left, rect.top);
}

// ---- TSkinDialogBox -----------------------------------------------------------

bool TSkinDialogBox::BeforeMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(window_, &r);
        FillButtonFace(reinterpret_cast<HDC>(msg.WParam), r);
        msg.Result = 1;
        return false;
    }
    case WM_CTLCOLORSTATIC:
        if (!Holder() || !Holder()->FaceBrush()) break;
        SetBkColor(reinterpret_cast<HDC>(msg.WParam), ButtonFace());
        msg.Result = reinterpret_cast<LRESULT>(Holder()->FaceBrush());
        return false;
    default:
        break;
    }
    return TSkinControl::BeforeMessage(msg);
}

// ---- TSkinSizer ---------------------------------------------------------------

bool TSkinSizer::BeforeMessage(ui::TMessage& msg) {
    if (msg.Msg != WM_PAINT) return TSkinControl::BeforeMessage(msg);
    CallPrevious(msg);
    PaintWindow(nullptr);
    return false;
}

void TSkinSizer::Paint(HDC dc, const RECT& rect) {
    FillButtonFace(dc, rect);
}

} // namespace skin
