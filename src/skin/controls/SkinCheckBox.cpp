#include "skin/controls/SkinCheckBox.h"

#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"
#include "ui/Messages.h"
#include "ui/WinControl.h"

#include <algorithm>
#include <cwctype>

namespace skin {

namespace {

// A control's Tag that asks for the parent's picture behind the box.
constexpr long long kTransparentTag = 5555;
// Sent by some check box classes when their state changed behind our back.
constexpr UINT kStateChangedNotice = 0xB0D0;

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

} // namespace

void TSkinCheckBox::Attach(ui::TControl& control, TSkinControlList* list, TSkinHolder& holder,
                           bool ownsColour) {
    if (attached_) return;
    TSkinControl::Attach(control, list, holder, ownsColour);
    checkState_ = 0;
    Kind = ImageUsable() ? 1 : 0;
    transparent_ = control.Tag == kTransparentTag || holder.Options.Has(soTransparent);
}

const Pixmap& TSkinCheckBox::Image(const TSkinButtonElement& element) const {
    return element.CheckBitmap;
}

int TSkinCheckBox::ImageFrames(const TSkinButtonElement& element) const {
    return std::max(element.CheckButtonFrame, 1);
}

bool TSkinCheckBox::WindowChecked() const {
    return window_ && (SendMessageW(window_, BM_GETSTATE, 0, 0) & BST_CHECKED) != 0;
}

bool TSkinCheckBox::ImageUsable() const {
    const TSkinData* data = Data();
    return data && data->Buttons && !Image(*data->Buttons).Empty();
}

int TSkinCheckBox::MapFrame(int f, int frames, bool indeterminate, bool disabled) {
    if (disabled) f += 2;
    // Grayed and disabled would point past the four base frames.
    f = std::clamp(f, 1, 4);
    if (indeterminate) f = 4;
    if (frames == 12) {
        if (indeterminate)
            f = disabled ? 12 : 9;
        else if (f == 2)
            f = 5;
        else if (f == 3)
            f = 4;
        else if (f == 4)
            f = 8;
    }
    return std::clamp(f, 1, std::max(frames, 1));
}

int TSkinCheckBox::BoxFrame() const {
    if (!ImageUsable() || !window_) return 0;
    int f = WindowChecked() ? 2 : 1;
    if (control_) {
        if (ui::HasProp(*control_, L"State")) {
            const std::wstring state = Lower(ui::PropEnumName(*control_, L"State"));
            if (state.find(L"uncheck") != std::wstring::npos)
                f = 1;
            else if (state.find(L"check") != std::wstring::npos)
                f = 2;
            else if (state.find(L"gray") != std::wstring::npos)
                f = 4;
        } else if (ui::HasProp(*control_, L"Checked")) {
            // Unchecked shows the unchecked frame, not the disabled one.
            f = ui::PropEnumName(*control_, L"Checked") == L"true" ? 2 : 1;
        }
        if (ui::HasProp(*control_, L"DataField") && checkState_ != 0)
            f = checkState_ == 3 ? 4 : checkState_;
        if (ui::HasProp(*control_, L"DataBinding")) f = 1;
    }
    const LRESULT state = SendMessageW(window_, BM_GETSTATE, 0, 0);
    const bool disabled = (GetWindowLongW(window_, GWL_STYLE) & WS_DISABLED) != 0;
    return MapFrame(f, ImageFrames(*Data()->Buttons), (state & BST_INDETERMINATE) != 0, disabled);
}

bool TSkinCheckBox::BeforeMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (Kind != 1) break;
        StandardPaint(msg);
        return false;
    case WM_ERASEBKGND:
        if (!transparent_) break;
        Erase(msg);
        msg.Result = 1;
        return false;
    default:
        break;
    }
    return TSkinControl::BeforeMessage(msg);
}

void TSkinCheckBox::AfterMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case BM_SETCHECK:
        checkState_ = static_cast<int>(msg.WParam) + 1;
        Refresh();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case kStateChangedNotice:
        Refresh();
        break;
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_UPDATEUISTATE:
        // The system box draws itself straight away on these (the pointer
        // leaving a pressed box, the keyboard cues): cover it.
        Refresh();
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

void TSkinCheckBox::Erase(ui::TMessage& msg) {
    HDC dc = reinterpret_cast<HDC>(msg.WParam);
    if (!dc) return;
    if (control_) {
        PaintParentBackground(dc);
    } else {
        RECT r;
        GetClientRect(window_, &r);
        FillParentColour(dc, r);
    }
}

void TSkinCheckBox::Paint(HDC dc, const RECT& rect) {
    if (!ImageUsable() || !window_) {
        Kind = 0;
        return;
    }
    const TSkinButtonElement& element = *Data()->Buttons;
    const Pixmap& image = Image(element);
    const int n = ImageFrames(element);
    const int cw = image.Width() / n, ch = image.Height();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (cw < 1 || w < 1 || h < 1) return;
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    enabled_ = (style & WS_DISABLED) == 0;
    focused_ = GetFocus() == window_;

    const int top = (h - ch) / 2;
    RECT box, area;
    UINT format = DT_LEFT;
    if (style & BS_LEFTTEXT) {
        box = RECT{w - cw, top, w, top + ch};
        area = RECT{0, 0, w - cw - 2, h};
        if (RtlFlags()) format = DT_RIGHT | DT_RTLREADING;
    } else {
        box = RECT{0, top, cw, top + ch};
        area = RECT{cw + 2, 0, w, h};
    }
    const Pixmap frame =
        ComposeElement(Rect{0, 0, cw, ch}, image, TSkinMargins{}, false, false, n, BoxFrame());

    if (Kind != 1) {
        // Over the control's own picture: only the box changes.
        if (!face_.Resize(cw, ch)) return;
        BitBlt(face_.dc(), 0, 0, cw, ch, dc, rect.left + box.left, rect.top + box.top, SRCCOPY);
        face_.Put(frame, 0, 0, true);
        face_.CopyTo(dc, rect.left + box.left, rect.top + box.top);
        return;
    }
    if (!face_.Resize(w, h)) return;
    if (transparent_)
        PaintParentBackground(face_.dc());
    else
        FillButtonFace(face_.dc(), RECT{0, 0, w, h});
    face_.Put(frame, box.left, box.top, true);
    DrawCaption(face_.dc(), area, format, enabled_);
    face_.CopyTo(dc, rect.left, rect.top);
}

void TSkinCheckBox::DrawCaption(HDC dc, RECT area, UINT format, bool enabled) {
    const TCaptionLook look = ReadCaptionLook(GetSysColor(COLOR_BTNTEXT));
    const std::wstring& text = look.Text;
    HFONT font = look.Font;
    COLORREF colour = look.Colour;
    if (!enabled) colour = GetSysColor(COLOR_BTNSHADOW);
    platform::SelectGuard selectFont(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    const COLORREF oldText = SetTextColor(dc, colour);
    const COLORREF oldBack = SetBkColor(dc, ButtonFace());
    const int oldMode = SetBkMode(dc, TRANSPARENT);

    const UINT drawFormat = format | DT_EXPANDTABS | DT_WORDBREAK;
    RECT measured = area;
    DrawTextW(dc, text.c_str(), -1, &measured, drawFormat | DT_CALCRECT | DT_NOCLIP);
    OffsetRect(&area, 0, ((area.bottom - area.top) - (measured.bottom - measured.top)) / 2);
    if (focused_ && !text.empty()) FocusMarkAroundText(dc, text, drawFormat, area);
    DrawTextW(dc, text.c_str(), -1, &area, drawFormat);

    SetBkMode(dc, oldMode);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

// ---- TSkinRadioButton ---------------------------------------------------------

const Pixmap& TSkinRadioButton::Image(const TSkinButtonElement& element) const {
    return element.RadioBitmap;
}

int TSkinRadioButton::ImageFrames(const TSkinButtonElement& element) const {
    return std::max(element.RadioButtonFrame, 1);
}

bool TSkinRadioButton::WindowChecked() const {
    return window_ && SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

} // namespace skin
