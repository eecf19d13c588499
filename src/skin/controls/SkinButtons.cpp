#include "skin/controls/SkinButtons.h"

#include "skin/GdiImage.h"
#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"
#include "skin/controls/SkinControlList.h"
#include "ui/Messages.h"
#include "ui/WinControl.h"

#include <algorithm>
#include <cwctype>

namespace skin {

namespace {

// A control's Tag that asks for the parent's picture behind the button.
constexpr long long kTransparentTag = 5555;

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[101] = {};
    GetClassNameW(window, name, 101);
    return name;
}

// The cell of a glyph strip: cells of equal width, index from 1; an index past
// the cell count takes the first.
Pixmap GlyphCell(const Pixmap& glyph, int cells, int index) {
    cells = std::max(cells, 1);
    const int w = glyph.Width() / cells;
    if (w <= 0) return {};
    const int x = index > cells ? 0 : w * (index - 1);
    Pixmap cell(w, glyph.Height());
    StretchCopy(cell, cell.Bounds(), glyph, RectOfSize(x, 0, w, glyph.Height()));
    return cell;
}

} // namespace

// ---- TSkinButton --------------------------------------------------------------

void TSkinButton::Attach(ui::TControl& control, TSkinControlList* list, TSkinHolder& holder,
                         bool ownsColour) {
    if (attached_) return;
    TSkinControl::Attach(control, list, holder, ownsColour);
    const std::wstring cls = Lower(control.ClassName());
    // Such buttons take the mouse-down themselves.
    Kind = (cls.starts_with(L"trz") || cls.starts_with(L"tel")) ? 1 : 0;
    transparent_ = control.Tag == kTransparentTag || holder.Options.Has(soTransparent);
}

int TSkinButton::PushStateIndex(bool enabled, bool pressed, bool hot, bool focused) {
    if (!enabled) return bsiDisabled;
    if (pressed) return bsiPressed;
    if (hot) return bsiHot;
    if (focused) return bsiFocused;
    return bsiNormal;
}

bool TSkinButton::ButtonsUsable() const {
    const TSkinData* data = Data();
    return data && data->Buttons && !data->Buttons->Bitmap.Empty();
}

bool TSkinButton::BeforeMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_PAINT:
        StandardPaint(msg);
        return false;
    case WM_ERASEBKGND:
        msg.Result = 1;
        return false;
    case WM_TIMER:
        KillTimer(window_, 1);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The control never sees the button go down, so it never captures the
        // mouse: the click comes from the release (AfterMessage).
        if (window_ && GetFocus() != window_) SetFocus(window_);
        SetState(kStatePressed, true);
        PaintWindow(nullptr);
        return false;
    default:
        return TSkinControl::BeforeMessage(msg);
    }
}

void TSkinButton::AfterMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_SETTEXT:
        PaintWindow(nullptr);
        break;
    case WM_KEYDOWN:
        if (msg.WParam == VK_SPACE) {
            SetState(kStatePressed, true);
            Refresh();
        }
        break;
    case WM_KEYUP:
        if (msg.WParam == VK_SPACE) {
            SetState(kStatePressed, false);
            Refresh();
        }
        break;
    case WM_MOUSEMOVE:
        if (enabled_ && !Hot()) {
            SetState(kStateHot, true);
            Refresh();
        }
        TrackMouseLeave();
        break;
    case WM_MOUSELEAVE:
        SetState(kStateHot | kStatePressed, false);
        Refresh();
        break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        // Alt+Tab or a message box took the mouse away: no click later.
        if (Pressed()) {
            SetState(kStatePressed, false);
            Refresh();
        }
        break;
    case WM_KILLFOCUS:
        SetState(kStatePressed, false);
        Refresh();
        break;
    case WM_LBUTTONUP:
        if (Pressed()) {
            SetState(kStatePressed, false);
            Refresh();
            Click(); // last: the click may free the window and this object
        }
        break;
    case ui::CM_DIALOGKEY:
    case ui::CM_FOCUSCHANGED:
        Refresh();
        break;
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_UPDATEUISTATE:
        // The system button draws itself straight away on these (the dialog
        // manager moving the default button, the keyboard cues): cover it.
        PaintWindow(nullptr);
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

void TSkinButton::Click() {
    if (control_) {
        control_->Click();
        return;
    }
    if (!window_) return;
    const WPARAM id =
        Lower(ClassNameOf(window_)) == L"tbutton" ? 0 : static_cast<WPARAM>(GetDlgCtrlID(window_));
    PostMessageW(GetParent(window_), WM_COMMAND, id, reinterpret_cast<LPARAM>(window_));
}

COLORREF TSkinButton::StateTextColour(int stateIndex, bool enabled, COLORREF normal) const {
    COLORREF colour = normal;
    if (const TSkinData* data = Data(); data && data->Buttons) {
        const TSkinButtonElement& b = *data->Buttons;
        if (stateIndex == bsiNormal && b.HasNormalColour2)
            colour = TSkinHolder::ToRGB(b.NormalColour2);
        else if (stateIndex == bsiHot && b.HasMouseOverColour2)
            colour = TSkinHolder::ToRGB(b.MouseOverColour2);
        else if (stateIndex == bsiPressed && b.HasPressedColour2)
            colour = TSkinHolder::ToRGB(b.PressedColour2);
    }
    if (!enabled) colour = GetSysColor(COLOR_BTNSHADOW);
    return colour;
}

void TSkinButton::DrawCaption(HDC dc, const RECT& rect, UINT alignment, std::wstring text,
                              bool focusMark) {
    if (const auto pos = text.find(L"||"); pos != std::wstring::npos) text.replace(pos, 2, L"\r\n");
    text_ = text;
    const UINT format = alignment | DT_EXPANDTABS | DT_WORDBREAK;
    RECT t = rect;
    InflateRect(&t, -2, -2);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), -1, &t, format | DT_CALCRECT | DT_NOCLIP);
    const int w = t.right - t.left, h = t.bottom - t.top;
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    if (alignment == DT_CENTER) {
        t = RECT{0, 0, w, h};
        OffsetRect(&t, rect.left + (W - w) / 2, rect.top + (H - h) / 2 - 1);
    } else {
        t = RECT{rect.left, 0, rect.right, h};
        OffsetRect(&t, 0, rect.top + (H - h) / 2 - 1);
    }
    DrawTextW(dc, text.c_str(), -1, &t, format | RtlFlags());
    SetBkMode(dc, OPAQUE);
    if (focusMark && !(holder_ && holder_->Options.Has(soNoFocusRect))) {
        InflateRect(&t, 2, 2);
        DrawFocusRect(dc, &t);
    }
}

void TSkinButton::Paint(HDC dc, const RECT& rect) {
    if (!ButtonsUsable()) return;
    const TSkinButtonElement& element = *Data()->Buttons;
    focused_ = window_ && GetFocus() == window_;
    enabled_ = !window_ || !(GetWindowLongW(window_, GWL_STYLE) & WS_DISABLED);
    const std::wstring text = control_ ? ui::PropText(*control_, L"Caption") : WindowText();
    const int state = PushStateIndex(enabled_, Pressed(), Hot(), focused_);

    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w < 1 || h < 1 || !face_.Resize(w, h)) return;
    HDC face = face_.dc();
    const RECT whole{0, 0, w, h};
    if (transparent_)
        PaintParentBackground(face);
    else
        FillButtonFace(face, whole);
    face_.Put(ComposeElement(Rect{0, 0, w, h}, element.Bitmap, element.Margins, false,
                             element.Tile != 0, 5, state),
              0, 0, element.Trans != 0);

    HFONT font = nullptr;
    COLORREF colour = 0;
    if (control_) {
        const ui::TFont* f = ui::PropObject(*control_, L"Font").Font;
        font = f ? f->Handle() : nullptr;
        colour = f ? ui::ColorToRGB(f->Color()) : GetSysColor(COLOR_BTNTEXT);
    } else {
        font = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
        colour = TSkinHolder::ToRGB(Data()->Colours.ButtonText);
    }
    platform::SelectGuard selectFont(face, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(face, StateTextColour(state, enabled_, colour));
    DrawCaption(face, whole, DT_CENTER, text, focused_);
    face_.CopyTo(dc, rect.left, rect.top);
}

// ---- TSkinBitButton -----------------------------------------------------------

const Pixmap& TSkinBitButton::GlyphPixmap(const ui::TControl& button) {
    const std::wstring name = GlyphPropertyName.empty() ? L"Glyph" : GlyphPropertyName;
    HBITMAP source = ui::PropObject(button, name).Bitmap;
    if (source != glyphSource_) {
        glyphSource_ = source;
        glyph_ = source ? gdi::ReadBitmap(source) : Pixmap{};
    }
    return glyph_;
}

void TSkinBitButton::DrawGlyphAndCaption(const ui::TControl& button, int W, int H, int stateIndex,
                                         int glyphIndex, bool enabled, COLORREF fontColour) {
    HDC face = face_.dc();
    const std::wstring text = ui::PropText(button, L"Caption");
    text_ = text;
    const Pixmap& glyph = GlyphPixmap(button);
    long long cells = ui::PropInt(button, L"NumGlyphs");
    // A picture named by GlyphPropertyName is drawn whole.
    if (cells < 1 || !GlyphPropertyName.empty()) cells = 1;
    const int gw = glyph.Empty() ? 0 : glyph.Width() / static_cast<int>(cells);
    const int gh = glyph.Empty() ? 0 : glyph.Height();

    std::wstring layout = ui::PropEnumName(button, L"Layout");
    for (wchar_t& c : layout)
        c = static_cast<wchar_t>(std::towlower(c));
    // Without a Layout property the glyph stands left of the caption.
    const bool vertical = layout == L"blglyphtop" || layout == L"blglyphbottom";

    RECT area{0, 0, W, H};
    InflateRect(&area, -2, -2);
    if (vertical)
        area.bottom -= gh + 2;
    else
        area.right -= gw + 2;
    int tw = 0, th = 0;
    if (!text.empty()) {
        RECT m = area;
        DrawTextW(face, text.c_str(), -1, &m, DT_CALCRECT | DT_WORDBREAK);
        tw = m.right - m.left;
        th = m.bottom - m.top;
    }
    const COLORREF colour = StateTextColour(stateIndex, enabled, fontColour);
    if (gw * gh == 0) {
        SetTextColor(face, colour);
        DrawCaption(face, RECT{0, 0, W, H}, DT_CENTER, text, false);
        return;
    }

    long long m = ui::PropInt(button, L"Margin");
    long long s = ui::PropInt(button, L"Spacing");
    if (ui::PropEnumName(button, L"Alignment") == L"tacenter") m = -1;
    int gx = 0, gy = 0, tx = 0, ty = 0;
    if (vertical) {
        gx = (W - gw + 1) / 2;
        tx = (W - tw + 1) / 2;
    } else {
        gy = (H - gh + 1) / 2;
        ty = (H - th + 1) / 2;
    }
    if (tw == 0) s = 0;
    const int room = vertical ? H : W;
    const int g = vertical ? gh : gw;
    const int t = vertical ? th : tw;
    if (m == -1 && s == -1) {
        m = (room - g - t) / 3;
        s = m;
    } else if (m == -1) {
        m = (room - (g + s + t)) / 2 + 1;
    } else if (s == -1) {
        s = (room - m - g - t) / 2;
    }
    const int mi = static_cast<int>(m), si = static_cast<int>(s);
    UINT format = DT_WORDBREAK;
    if (layout == L"blglyphright") {
        gx = W - mi - gw;
        tx = gx - si - tw;
        format = DT_RIGHT | DT_WORDBREAK;
    } else if (layout == L"blglyphtop") {
        gy = mi;
        ty = gy + gh + si;
        format = DT_CENTER | DT_WORDBREAK;
    } else if (layout == L"blglyphbottom") {
        gy = H - mi - gh;
        ty = gy - si - th;
        format = DT_CENTER | DT_WORDBREAK;
    } else {
        gx = mi;
        tx = gx + gw + si;
    }

    if (!GlyphPropertyName.empty()) {
        face_.Put(glyph, gx, gy, false);
    } else {
        Pixmap cell = GlyphCell(glyph, static_cast<int>(cells), glyphIndex);
        if (glyphIndex == 2) GrayBitmap(cell);
        if (!cell.Empty()) face_.Put(cell, gx, gy, true, cell.Pixel(0, cell.Height() - 1));
    }
    RECT textRect{tx, ty, tx + tw, ty + th};
    SetBkMode(face, TRANSPARENT);
    SetTextColor(face, colour);
    DrawTextW(face, text.c_str(), -1, &textRect, format | RtlFlags());
    SetBkMode(face, OPAQUE);
}

void TSkinBitButton::Paint(HDC dc, const RECT& rect) {
    if (!ButtonsUsable() || !control_) {
        TSkinButton::Paint(dc, rect);
        return;
    }
    const TSkinButtonElement& element = *Data()->Buttons;
    focused_ = window_ && GetFocus() == window_;
    enabled_ = !window_ || !(GetWindowLongW(window_, GWL_STYLE) & WS_DISABLED);
    const int state = PushStateIndex(enabled_, Pressed(), Hot(), focused_);
    const int glyphIndex = state == bsiPressed ? 3 : state == bsiDisabled ? 2 : 1;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w < 1 || h < 1 || !face_.Resize(w, h)) return;
    HDC face = face_.dc();
    if (transparent_)
        PaintParentBackground(face);
    else
        FillButtonFace(face, RECT{0, 0, w, h});
    face_.Put(ComposeElement(Rect{0, 0, w, h}, element.Bitmap, element.Margins, false,
                             element.Tile != 0, 5, state),
              0, 0, element.Trans != 0);
    const ui::TFont* font = ui::PropObject(*control_, L"Font").Font;
    platform::SelectGuard selectFont(face,
                                     font ? font->Handle() : GetStockObject(DEFAULT_GUI_FONT));
    DrawGlyphAndCaption(*control_, w, h, state, glyphIndex, enabled_,
                        font ? ui::ColorToRGB(font->Color()) : GetSysColor(COLOR_BTNTEXT));
    if (focused_ && !holder_->Options.Has(soNoFocusRect))
        FocusMarkAroundText(face, text_, DT_CENTER | DT_WORDBREAK, RECT{0, 0, w, h});
    face_.CopyTo(dc, rect.left, rect.top);
}

// ---- TSkinSpeedButton ---------------------------------------------------------

void TSkinSpeedButton::AttachSpeedButton(ui::TControl& button, TSkinControlList* list,
                                         TSkinHolder& holder) {
    if (attached_) return;
    holder_ = &holder;
    list_ = list;
    paintTarget_ = &button;
    previousHandler_ = button.WindowProc;
    button.WindowProc = [this](ui::TMessage& m) { HandleMessage(m); };
    if (list_) list_->Register(this);
    transparent_ = button.Tag == 5555 || holder.Options.Has(soTransparent);
    attached_ = true;
    lifeState_ = kLifeAttached;
    button.Invalidate();
}

int TSkinSpeedButton::SpeedStateIndex(bool down, bool enabled, bool pressed, bool hot) {
    if (down) return bsiPressed;
    if (!enabled) return bsiDisabled;
    if (pressed) return bsiPressed;
    if (hot) return bsiHot;
    return bsiNormal;
}

void TSkinSpeedButton::RestoreHandler() {
    if (paintTarget_ && previousHandler_) paintTarget_->WindowProc = std::move(previousHandler_);
    previousHandler_ = nullptr;
}

bool TSkinSpeedButton::BeforeMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_PAINT:
        if (!msg.WParam) return true;
        if (paintTarget_)
            Paint(reinterpret_cast<HDC>(msg.WParam),
                  RECT{0, 0, paintTarget_->Width(), paintTarget_->Height()});
        msg.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallPrevious(msg); // the speed button keeps its own press and click
        SetState(kStatePressed, true);
        PaintWindow(nullptr);
        return false;
    case WM_LBUTTONUP:
        return true;
    default:
        return TSkinButton::BeforeMessage(msg);
    }
}

void TSkinSpeedButton::AfterMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_ENABLE:
    case ui::CM_FOCUSCHANGED:
    case ui::CM_ENABLEDCHANGED:
        break;
    case WM_NCDESTROY:
    case ui::CM_RELEASE:
        RestoreHandler();
        break;
    case WM_KEYDOWN:
        if (msg.WParam == VK_SPACE) {
            SetState(kStatePressed, true);
            PaintWindow(nullptr);
        }
        break;
    case WM_KEYUP:
        if (msg.WParam != VK_SPACE) break;
        [[fallthrough]];
    case WM_LBUTTONUP:
        SetState(kStatePressed, false);
        PaintWindow(nullptr);
        break;
    case ui::CM_MOUSEENTER:
        SetState(kStateHot, true);
        PaintWindow(nullptr);
        break;
    case ui::CM_MOUSELEAVE:
        SetState(kStateHot | kStatePressed, false);
        if (paintTarget_ && paintTarget_->Showing()) PaintWindow(nullptr);
        break;
    default:
        TSkinButton::AfterMessage(msg);
        break;
    }
}

void TSkinSpeedButton::PaintWindow(HDC) {
    // No window of its own: paint straight onto the parent at the button.
    if (!paintTarget_ || !paintTarget_->Parent() || !paintTarget_->Showing()) return;
    HWND parent = paintTarget_->Parent()->HandleIfAllocated();
    if (!parent) return;
    platform::WindowDC dc(parent);
    if (!dc.get()) return;
    const RECT b = paintTarget_->BoundsRect();
    const int saved = SaveDC(dc.get());
    IntersectClipRect(dc.get(), b.left, b.top, b.right, b.bottom);
    try {
        Paint(dc.get(), b);
    } catch (...) {
    }
    RestoreDC(dc.get(), saved);
}

void TSkinSpeedButton::Paint(HDC dc, const RECT& rect) {
    if (!ButtonsUsable() || painting_ || !paintTarget_) return;
    painting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{painting_};

    const ui::TControl& button = *paintTarget_;
    const bool down = ui::PropEnumName(button, L"Down") == L"true";
    const bool enabled = ui::PropEnumName(button, L"Enabled") != L"false";
    const int state = SpeedStateIndex(down, enabled, Pressed(), Hot());
    const int glyphIndex = down ? 4 : state == bsiPressed ? 3 : state == bsiDisabled ? 2 : 1;
    const bool flat = ui::PropEnumName(button, L"Flat") == L"true";
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    if (W < 1 || H < 1 || !face_.Resize(W, H)) return;
    HDC face = face_.dc();
    const ui::TFont* font = ui::PropObject(button, L"Font").Font;
    platform::SelectGuard selectFont(face,
                                     font ? font->Handle() : GetStockObject(DEFAULT_GUI_FONT));

    if (transparent_)
        PaintParentBackground(face);
    else
        FillButtonFace(face, RECT{0, 0, W, H});
    if (state == bsiPressed || state == bsiHot || !flat) {
        const TSkinButtonElement& element = *Data()->Buttons;
        face_.Put(ComposeElement(Rect{0, 0, W, H}, element.Bitmap, element.Margins, false,
                                 element.Tile != 0, 5, state),
                  0, 0, element.Trans != 0);
    }
    DrawGlyphAndCaption(button, W, H, state, glyphIndex, enabled,
                        font ? ui::ColorToRGB(font->Color()) : GetSysColor(COLOR_BTNTEXT));
    face_.CopyTo(dc, rect.left, rect.top);
}

} // namespace skin
