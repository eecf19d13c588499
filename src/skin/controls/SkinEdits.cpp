#include "skin/controls/SkinEdits.h"

#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"

namespace skin {

// ---- TSkinEdit ----------------------------------------------------------------

void TSkinEdit::AfterMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_PAINT:
    case WM_NCPAINT:
        // The border lies outside the client area: always the window DC.
        PaintWindow(nullptr);
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
    // An up-down child (class "msctls_updown32", or one whose class holds
    // "spin" or "updown") would get an up-down skinning object here when
    // scSpin is set; this program has no such object, so it stays standard.
}

void TSkinEdit::Paint(HDC dc, const RECT& rect) {
    if (!window_ || !Data()) return;
    RECT client;
    GetClientRect(window_, &client);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (client.right == w && client.bottom == h) return; // no border to draw
    RECT r = rect;
    const COLORREF shadow = TSkinHolder::ToRGB(Data()->Colours.ButtonShadow);
    const COLORREF colours[] = {shadow, RGB(255, 255, 255), RGB(255, 255, 255)};
    for (COLORREF c : colours) {
        if (r.right - r.left < 2 || r.bottom - r.top < 2) break;
        const COLORREF old = SetDCBrushColor(dc, c);
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        SetDCBrushColor(dc, old);
        InflateRect(&r, -1, -1);
    }
}

// ---- TSkinComboBox ------------------------------------------------------------

void TSkinComboBox::Attach(ui::TControl& control, TSkinControlList* list, TSkinHolder& holder,
                           bool ownsColour) {
    if (attached_) return;
    TSkinControl::Attach(control, list, holder, ownsColour);
    FindSimpleList();
}

void TSkinComboBox::AttachWindow(HWND window, TSkinHolder& holder, TSkinControlList* list) {
    if (attached_) return;
    TSkinControl::AttachWindow(window, holder, list);
    FindSimpleList();
}

void TSkinComboBox::FindSimpleList() {
    listWindow_ = nullptr;
    if (!window_ || (GetWindowLongW(window_, GWL_STYLE) & 3) != CBS_SIMPLE) return;
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(window_, &info)) listWindow_ = info.hwndList;
    // The list of a simple combo box is a child window with its own scroll
    // bar; the scroll bar family's list object (TSkinListScrollbars) is to
    // attach to `listWindow_` here, in window mode, and be given back in
    // Detach. Until it exists the list keeps the standard bar.
}

void TSkinComboBox::Detach() {
    listWindow_ = nullptr;
    TSkinControl::Detach();
}

int TSkinComboBox::ButtonFrame() const {
    if (!window_) return cbiNormal;
    if (GetWindowLongW(window_, GWL_STYLE) & WS_DISABLED) return cbiDisabled;
    if (Pressed() || SendMessageW(window_, CB_GETDROPPEDSTATE, 0, 0)) return cbiPressed;
    if (Hot()) return cbiHot;
    return cbiNormal;
}

void TSkinComboBox::AfterMessage(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_MOUSEMOVE:
        if (!Hot()) {
            SetState(kStateHot, true);
            PaintWindow(nullptr);
        }
        TrackMouseLeave();
        break;
    case WM_MOUSELEAVE:
        SetState(kStateHot, false);
        PaintWindow(nullptr);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case CB_SHOWDROPDOWN:
    case CB_SETCURSEL:
        // The box draws its button straight away on these: cover it.
        PaintWindow(nullptr);
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

void TSkinComboBox::Paint(HDC dc, const RECT& rect) {
    const TSkinData* data = Data();
    if (!data || !data->ComboButton || data->ComboButton->Bitmap.Empty() || !window_) return;
    const TSkinBorderElement& element = *data->ComboButton;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w < 1 || h < 1) return;
    // With a SunkEdge element the button image is the whole box (border,
    // button and a magenta middle), drawn over the window; without one it
    // is the button alone, drawn over the system's button.
    RECT target{0, 0, w, h};
    if (element.Style != 2) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (!GetComboBoxInfo(window_, &info) || IsRectEmpty(&info.rcButton)) return;
        target = info.rcButton;
    }
    const int tw = target.right - target.left, th = target.bottom - target.top;
    if (!face_.Resize(tw, th)) return;
    BitBlt(face_.dc(), 0, 0, tw, th, dc, rect.left + target.left, rect.top + target.top, SRCCOPY);
    face_.Put(ComposeElement(Rect{0, 0, tw, th}, element.Bitmap, element.Margins, false,
                             element.Tile != 0, 4, ButtonFrame()),
              0, 0, true);
    face_.CopyTo(dc, rect.left + target.left, rect.top + target.top);
}

} // namespace skin
