#include "ui/SpeedButton.h"

#include "platform/GdiHandles.h"
#include "ui/Messages.h"

#include <windowsx.h>

namespace ui {

namespace {

const wchar_t* const kLayoutNames[] = {L"blGlyphLeft", L"blGlyphRight", L"blGlyphTop",
                                       L"blGlyphBottom"};

TSpeedButton& Speed(TControl& c) {
    return static_cast<TSpeedButton&>(c);
}
const TSpeedButton& Speed(const TControl& c) {
    return static_cast<const TSpeedButton&>(c);
}

const TPropInfo kSpeedButtonProps[] = {
    {L"Flat", [](const TControl& c) -> TPropValue { return Speed(c).Flat; },
     [](TControl& c, const TPropValue& v) {
         Speed(c).Flat = std::get<bool>(v);
         c.Invalidate();
     }},
    {L"Down", [](const TControl& c) -> TPropValue { return Speed(c).Down(); },
     [](TControl& c, const TPropValue& v) { Speed(c).SetDown(std::get<bool>(v)); }},
    {L"Spacing",
     [](const TControl& c) -> TPropValue { return static_cast<long long>(Speed(c).Spacing); },
     [](TControl& c, const TPropValue& v) {
         Speed(c).Spacing = static_cast<int>(std::get<long long>(v));
         c.Invalidate();
     }},
    {L"Margin",
     [](const TControl& c) -> TPropValue { return static_cast<long long>(Speed(c).Margin); },
     [](TControl& c, const TPropValue& v) {
         Speed(c).Margin = static_cast<int>(std::get<long long>(v));
         c.Invalidate();
     }},
    {L"NumGlyphs",
     [](const TControl& c) -> TPropValue { return static_cast<long long>(Speed(c).NumGlyphs); },
     [](TControl& c, const TPropValue& v) {
         Speed(c).NumGlyphs = static_cast<int>(std::get<long long>(v));
         c.Invalidate();
     }},
    {L"Layout",
     [](const TControl& c) -> TPropValue { return EnumValue(Speed(c).Layout, kLayoutNames); },
     [](TControl& c, const TPropValue& v) {
         Speed(c).Layout = EnumFrom<TButtonLayout>(v, kLayoutNames);
         c.Invalidate();
     }},
    {L"Glyph",
     [](const TControl& c) -> TPropValue {
         return TPropObject{nullptr, Speed(c).Glyph};
     },
     nullptr},
};

} // namespace

const TPropInfo* TSpeedButton::FindProp(const std::wstring& name) const {
    if (const TPropInfo* p = FindIn(kSpeedButtonProps, name)) return p;
    return TGraphicControl::FindProp(name);
}

void TSpeedButton::SetDown(bool down) {
    if (down_ == down) return;
    down_ = down;
    Invalidate();
}

std::vector<std::wstring> TSpeedButton::ClassChain() const {
    auto chain = TGraphicControl::ClassChain();
    chain.insert(chain.begin(), L"TSpeedButton");
    return chain;
}

void TSpeedButton::Paint(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    platform::Brush face(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, face.get());
    const bool down = Down();
    if (!Flat) {
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    } else if (Enabled() && (mouseInControl_ || down)) {
        DrawEdge(dc, &r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }

    // Picture and caption centred together; pressed content moves by a pixel.
    platform::SelectGuard font(dc, Font().Handle());
    RECT text{0, 0, 0, 0};
    DrawTextW(dc, Caption().c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
    BITMAP bm{};
    if (Glyph) GetObjectW(Glyph, sizeof(bm), &bm);
    const int cells = NumGlyphs > 0 ? NumGlyphs : 1;
    const int glyphW = Glyph ? bm.bmWidth / cells : 0;
    const int gap = (Glyph && !Caption().empty()) ? Spacing : 0;
    const int total = glyphW + gap + (text.right - text.left);
    const int shift = down ? 1 : 0;
    int x = (Width() - total) / 2 + shift;
    if (Glyph) {
        platform::MemoryDC mem(dc);
        platform::SelectGuard sel(mem.get(), Glyph);
        TransparentBlt(dc, x, (Height() - bm.bmHeight) / 2 + shift, glyphW, bm.bmHeight, mem.get(),
                       0, 0, glyphW, bm.bmHeight, GetPixel(mem.get(), 0, bm.bmHeight - 1));
        x += glyphW + gap;
    }
    SetBkMode(dc, TRANSPARENT);
    RECT cap{x, shift, x + (text.right - text.left), Height() + shift};
    if (Enabled()) {
        SetTextColor(dc, ColorToRGB(Font().Color()));
        DrawTextW(dc, Caption().c_str(), -1, &cap, DT_SINGLELINE | DT_VCENTER);
    } else {
        OffsetRect(&cap, 1, 1);
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        DrawTextW(dc, Caption().c_str(), -1, &cap, DT_SINGLELINE | DT_VCENTER);
        OffsetRect(&cap, -1, -1);
        SetTextColor(dc, ColorToRGB(clBtnShadow));
        DrawTextW(dc, Caption().c_str(), -1, &cap, DT_SINGLELINE | DT_VCENTER);
    }
}

bool TSpeedButton::Contains(LPARAM point) const {
    const POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    const RECT r{0, 0, Width(), Height()};
    return PtInRect(&r, p) != FALSE;
}

void TSpeedButton::WndProc(TMessage& msg) {
    switch (msg.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        mouseInControl_ = true;
        Invalidate();
        return;
    case WM_MOUSEMOVE:
        if (pressed_) {
            const bool inside = Contains(msg.LParam);
            if (inside != mouseInControl_) {
                mouseInControl_ = inside;
                Invalidate();
            }
        }
        return;
    case WM_LBUTTONUP:
        if (pressed_) {
            pressed_ = false;
            Invalidate();
            if (Contains(msg.LParam)) Click();
        }
        return;
    case WM_CANCELMODE:
        pressed_ = false;
        Invalidate();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TGraphicControl::WndProc(msg);
        Invalidate();
        return;
    default:
        break;
    }
    TGraphicControl::WndProc(msg);
}

} // namespace ui
