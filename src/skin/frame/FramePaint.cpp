// The drawing half of the frame painter: borders, caption bar, caption text,
// caption button layout and the window region.
#include "skin/frame/FramePainter.h"

#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"
#include "skin/SkinManager.h"

#include <algorithm>

namespace skin {

namespace {

// Caption buttons are told apart by these Visibility values.
constexpr int kVisibilityMdi = 100;
constexpr int kVisibilityDialog = 200;
constexpr int kVisibilityQueryFirst = 1000;
constexpr int kVisibilityQueryLast = 2000;
// Caption text alignment values of the skin.
constexpr int kAlignRight = 1;
constexpr int kAlignCentre = 2;
// Distance of the caption text from a visible window icon.
constexpr int kTextAfterIcon = 2;

Pixmap ComposeBorder(const TSkinBorderElement& e, int width, int height, bool vertical,
                     bool active) {
    const int frame = active || e.FrameCount() < 2 ? 1 : 2;
    return ComposeElement(Rect{0, 0, width, height}, e.Bitmap, e.Margins, vertical, e.Tile != 1,
                          e.FrameCount(), frame);
}

// Copies `source` 1:1 onto `canvas` at (x, y), as much as fits.
void Blit(Pixmap& canvas, int x, int y, const Pixmap& source) {
    DrawOpaque(canvas, RectOfSize(x, y, source.Width(), source.Height()), source);
}

} // namespace

// ---- caption buttons ---------------------------------------------------------------

bool TFramePainter::ButtonCondition(int value) const {
    const bool maximized = show_ == ssMaximized;
    switch (value) {
    case 0:
        return true;
    case 1:
        return maximized;
    case 2:
        return !maximized;
    case 3:
        return active_;
    case 4:
        return !active_;
    case 6:
        return (buttonFlags_ & kMaximizeBox) && (buttonFlags_ & kSystemMenu);
    case 7:
        return !(buttonFlags_ & kMaximizeBox);
    case 8:
        return (buttonFlags_ & kMinimizeBox) && (buttonFlags_ & kSystemMenu);
    case 9:
        return !(buttonFlags_ & kMinimizeBox);
    case kVisibilityMdi:
        return false; // needs a skinned menu bar with a maximised MDI child
    case kVisibilityDialog:
        return border_ == bkDialog && !systemDialog_;
    default:
        break;
    }
    return value > kVisibilityDialog && value < kVisibilityQueryFirst;
}

bool TFramePainter::ButtonVisible(const TCaptionButton& button) const {
    const TSkinCaptionButtonDef& def = button.Def();
    bool visible;
    if (def.Visibility >= kVisibilityQueryFirst && def.Visibility <= kVisibilityQueryLast)
        visible = SendMessageW(window_, WM_SKIN_BUTTONVISIBLE, static_cast<WPARAM>(def.Visibility),
                               def.Action) > 0;
    else
        visible = ButtonCondition(def.Visibility);
    if (!visible) return false;

    const bool maximized = show_ == ssMaximized;
    switch (def.Visibility1) {
    case 0:
        break;
    case 1:
        visible = maximized;
        break;
    case 2:
        visible = !maximized;
        break;
    case 3:
        visible = active_;
        break;
    case 4:
        visible = !active_;
        break;
    case 6:
        visible = (buttonFlags_ & kMaximizeBox) != 0;
        break;
    case 7:
        visible = !(buttonFlags_ & kMaximizeBox);
        break;
    case 8:
        visible = (buttonFlags_ & kMinimizeBox) != 0;
        break;
    case 9:
        visible = !(buttonFlags_ & kMinimizeBox);
        break;
    case kVisibilityMdi:
        break; // the same condition as Visibility, which held
    default:
        visible = false;
        break;
    }
    if (!visible) return false;

    switch (def.Action) {
    case caClose:
        return (buttonFlags_ & kSystemMenu) != 0;
    case caMaximize:
        return (buttonFlags_ & kMaximizeBox) != 0;
    case caMinimize:
        return (buttonFlags_ & kMinimizeBox) != 0;
    case caSystemMenu:
    case caSystemMenuIcon:
    case caSystemMenuAlt:
        return border_ != bkDialog;
    default:
        return true;
    }
}

void TFramePainter::LayoutButtons() {
    const int w = WindowSize().cx;
    const int menubarLeft = holder_ && holder_->Data() && holder_->Data()->Menubar
                                ? holder_->Data()->Menubar->Margins.LeftWidth
                                : 0;
    const bool leftScroll = (GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    for (auto& button : buttons_) {
        const TSkinCaptionButtonDef& def = button->Def();
        button->Visible = ButtonVisible(*button);
        if (!button->Visible || def.Bitmap.Empty()) continue;
        const int bw = def.FrameWidth();
        const int bh = def.Bitmap.Height();
        POINT at{0, 0};
        switch (def.Align) {
        case 0:
            at = {def.XCoord, def.YCoord};
            break;
        case 1:
            at = {w - def.XCoord, def.YCoord};
            break;
        case kVisibilityMdi:
            at.y = captionHeight_ + (menuBarHeight_ - bh) / 2;
            at.x = leftScroll ? def.XCoord + menubarLeft + leftWidth_
                              : w - def.XCoord - rightWidth_ - menubarLeft;
            break;
        default:
            break;
        }
        button->Bounds = {at.x, at.y, at.x + bw, at.y + bh};
    }
}

void TFramePainter::DrawIcon(HDC dc, const RECT& rect) const {
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    if (icon_) {
        DrawIconEx(dc, rect.left, rect.top, icon_, cx, cy, 0, nullptr, DI_NORMAL);
        return;
    }
    const Pixmap& fallback = !iconBitmap_.Empty() ? iconBitmap_
                             : holder_            ? holder_->AppIconBitmap()
                                                  : iconBitmap_;
    gdi::DrawTransparent(dc, Rect{rect.left, rect.top, rect.right, rect.bottom}, fallback,
                         kMagenta);
}

// ---- painting ---------------------------------------------------------------------------

SIZE TFramePainter::WindowSize() const {
    RECT r{};
    GetWindowRect(window_, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void TFramePainter::RemoveSysMenuStyle() {
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    if (style & WS_SYSMENU) SetWindowLongPtrW(window_, GWL_STYLE, style & ~WS_SYSMENU);
}

void TFramePainter::RestoreSysMenuStyle() {
    if (!hadSysMenu_ || !IsWindow(window_)) return;
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    if (!(style & WS_SYSMENU)) SetWindowLongPtrW(window_, GWL_STYLE, style | WS_SYSMENU);
}

void TFramePainter::PaintFrame(HDC given) {
    if (state_ != fsSkinned && state_ != fsRefreshing) return;
    if (!frameSkinning_ || border_ == bkNoCaption) return;
    if (kind_ == wkMdiChild && show_ == ssMaximized) return;
    if (!holder_ || !holder_->SkinLoaded()) return;
    if (show_ != ssMinimized) RemoveSysMenuStyle();
    try {
        const SIZE size = WindowSize();
        if (size.cx <= 0 || size.cy <= 0) return;
        platform::WindowDC windowDC(given ? nullptr : window_, true);
        HDC dc = given ? given : windowDC.get();
        if (!dc) return;
        const TSkinData& data = *holder_->Data();
        const int w = size.cx, h = size.cy;
        if (show_ == ssMinimized) {
            PaintCaption(dc, w, h, Pixmap(), Pixmap());
            return;
        }
        Pixmap left, right;
        if (data.Left && leftWidth_ > 0) {
            left = ComposeBorder(*data.Left, leftWidth_, h, false, active_);
            gdi::DrawOpaque(dc, Rect{0, 0, leftWidth_, h}, left);
        }
        if (data.Right && rightWidth_ > 0) {
            right = ComposeBorder(*data.Right, rightWidth_, h, false, active_);
            gdi::DrawOpaque(dc, Rect{w - rightWidth_, 0, w, h}, right);
        }
        if (data.Bottom && bottomHeight_ > 0 && w - leftWidth_ - rightWidth_ > 0) {
            const Pixmap bottom = ComposeBorder(*data.Bottom, w - leftWidth_ - rightWidth_,
                                                bottomHeight_, true, active_);
            gdi::DrawOpaque(dc, Rect{leftWidth_, h - bottomHeight_, w - rightWidth_, h}, bottom);
        }
        PaintCaption(dc, w, captionHeight_, left, right);
        if (menuBarHeight_ > 0) {
            // The skinned menu bar draws here; until then the face colour.
            RECT strip{leftWidth_, captionHeight_, w - rightWidth_,
                       captionHeight_ + menuBarHeight_};
            FillRect(dc, &strip, holder_->FaceBrush());
        }
    } catch (...) {
        // A frame that cannot be painted keeps what it showed.
    }
}

void TFramePainter::PaintCaption(HDC dc, int width, int height, const Pixmap& left,
                                 const Pixmap& right) {
    if (width <= 0 || height <= 0) return;
    const TSkinData& data = *holder_->Data();
    Pixmap strip(width, height, ResolveColour(data.Colours.ButtonFace));
    // The caption's ends belong to the side borders, already composed.
    Blit(strip, 0, 0, left);
    if (!right.Empty()) Blit(strip, width - right.Width(), 0, right);
    if (data.Top && captionHeight_ > 0 && width - leftWidth_ - rightWidth_ > 0) {
        const Pixmap top = ComposeBorder(*data.Top, width - leftWidth_ - rightWidth_,
                                         captionHeight_, true, active_);
        Blit(strip, leftWidth_, 0, top);
    }
    LayoutButtons();
    for (const auto& button : buttons_)
        button->DrawNormal(strip);

    if (!captionCanvas_ || captionCanvas_->width() != width || captionCanvas_->height() != height)
        captionCanvas_ = std::make_unique<gdi::DibCanvas>(width, height);
    if (!captionCanvas_->valid()) return;
    HDC canvas = captionCanvas_->dc();
    gdi::DrawOpaque(canvas, Rect{0, 0, width, height}, strip);
    DrawCaptionText(canvas, width);
    for (const auto& button : buttons_)
        if (button->Visible && button->IsIconButton() && !button->Def().Bitmap.Empty())
            DrawIcon(canvas, button->Bounds);
    BitBlt(dc, 0, 0, width, height, canvas, 0, 0, SRCCOPY);
}

HFONT TFramePainter::CaptionTextFont() {
    if (!captionFont_) {
        LOGFONTW font{};
        if (GetObjectW(holder_->CaptionFont(), sizeof(font), &font) == 0)
            return holder_->CaptionFont();
        const TSkinData* data = holder_->Data();
        if (data && data->Title && data->Title->FontHeight > 0)
            font.lfHeight = -data->Title->FontHeight;
        captionFont_.reset(CreateFontIndirectW(&font));
    }
    return captionFont_ ? captionFont_.get() : holder_->CaptionFont();
}

RECT TFramePainter::CaptionTextRect(int width) const {
    const TSkinTitleElement* title = holder_->Data()->Title.get();
    const int shift = title ? title->Margins.LeftWidth : 0;
    int left = shift;
    // Never under a visible window icon.
    for (const auto& button : buttons_)
        if (button->Visible && button->IsIconButton() && !button->Def().Bitmap.Empty() &&
            button->Bounds.right > shift)
            left = std::max<int>(left, button->Bounds.right + kTextAfterIcon);
    const int top = title ? title->Margins.TopHeight : 0;
    const int right = width - (title ? title->Margins.RightWidth : 0);
    return {left, top, std::max(left, right), std::max(top, captionHeight_)};
}

void TFramePainter::DrawCaptionText(HDC dc, int width) {
    const TSkinData& data = *holder_->Data();
    const int length = GetWindowTextLengthW(window_);
    if (length <= 0) return;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window_, text.data(), length + 1)));
    const TSkinTitleElement* title = data.Title.get();
    Colour colour = active_ ? data.Colours.TitleTextActive : data.Colours.TitleTextNoActive;
    if (title) {
        const Colour own = active_ ? title->ActiveText : title->InActiveText;
        if (own != kCaptionColourNotSet) colour = own;
    }
    RECT r = CaptionTextRect(width);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (title && title->TextAlignment == kAlignRight) format |= DT_RIGHT;
    if (title && title->TextAlignment == kAlignCentre) format |= DT_CENTER;
    platform::SelectGuard font(dc, CaptionTextFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TSkinHolder::ToRGB(colour));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

// ---- window region -----------------------------------------------------------------------

void TFramePainter::BuildRegion() {
    if (state_ == fsDestroyed || !frameSkinning_) return;
    if (kind_ == wkMdiChild && show_ != ssNormal) return;
    if (!holder_ || !holder_->SkinLoaded()) return;
    const SIZE size = WindowSize();
    const int w = size.cx, h = size.cy;
    if (w <= 0 || h <= 0) return;
    if (state_ != fsRefreshing && size.cx == regionSize_.cx && size.cy == regionSize_.cy) return;

    const TSkinData& data = *holder_->Data();
    auto transparent = [](const auto& e) { return e && e->Trans != 0; };
    platform::Region region;
    if (!transparent(data.Top) && !transparent(data.Left) && !transparent(data.Right) &&
        !transparent(data.Bottom)) {
        region.reset(CreateRectRgn(0, 0, w, h));
    } else {
        region.reset(CreateRectRgn(leftWidth_, captionHeight_, w - rightWidth_, h - bottomHeight_));
        auto add = [&](platform::Region part) {
            if (part) CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
        };
        auto shaped = [&](const TSkinBorderElement* e, int x, int y, int bw, int bh, bool vertical,
                          bool usable) {
            if (e && e->Trans == 1 && usable) {
                const Pixmap border = ComposeBorder(*e, bw, bh, vertical, active_);
                add(gdi::BitmapToRegionHandle(border, x, y, 1, 1, 1, kMagenta));
            } else if (bw > 0 && bh > 0) {
                add(platform::Region(CreateRectRgn(x, y, x + bw, y + bh)));
            }
        };
        const int inner = w - leftWidth_ - rightWidth_;
        shaped(data.Top.get(), leftWidth_, 0, inner, captionHeight_, true,
               captionHeight_ > 1 && inner > 0);
        shaped(data.Left.get(), 0, 0, leftWidth_, h, false, h > 1);
        shaped(data.Right.get(), w - rightWidth_, 0, rightWidth_, h, false, h > 1);
        shaped(data.Bottom.get(), leftWidth_, h - bottomHeight_, inner, bottomHeight_, true,
               bottomHeight_ >= 2);
    }
    // The system owns the region from here on.
    if (SetWindowRgn(window_, region.get(), TRUE)) region.release();
    regionSize_ = size;
    ++regionBuilds_;
}

} // namespace skin
