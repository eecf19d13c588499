#include "skin/frame/SkinMenus.h"

#include "platform/WindowProc.h"
#include "skin/GdiImage.h"
#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"
#include "skin/SkinManager.h"
#include "skin/SkinTypes.h"
#include "skin/frame/FramePainter.h"

#include <algorithm>

namespace skin {

namespace {

constexpr wchar_t kPopupProp[] = L"Sondrelk.PopupMenu";
// The procedure to call when ours could not be unlinked because another one
// was installed over it.
constexpr wchar_t kPassThroughProp[] = L"Sondrelk.PopupPrevious";
// The menu window's frame, covered by the background but not by the items.
constexpr int kMenuFrame = 3;
// Frame numbers of the menu item element.
constexpr int kItemNormal = 1;
constexpr int kItemSeparator = 2;
constexpr int kItemSelected = 4;
constexpr int kSeparatorHeight = 9;
constexpr int kShortcutGap = 10;

COLORREF ToRgb(Colour c) {
    return TSkinHolder::ToRGB(c);
}

bool SkinningOn() {
    TSkinManager* manager = TSkinManager::Instance();
    return manager && manager->SkinningEnabled();
}

} // namespace

// ---- TSkinPopupMenu ---------------------------------------------------------------

TSkinPopupMenu::TSkinPopupMenu(HWND menuWindow, TSkinHolder& holder)
    : window_(menuWindow), holder_(&holder) {
    unicode_ = IsWindowUnicode(window_) != FALSE;
    SetPropW(window_, kPopupProp, this);
    if (auto left = reinterpret_cast<WNDPROC>(RemovePropW(window_, kPassThroughProp)))
        previous_ = left; // our procedure from an earlier attach is still in the chain
    else
        previous_ = platform::ReplaceWindowProc(window_, unicode_, Procedure);
}

TSkinPopupMenu::~TSkinPopupMenu() {
    Detach();
}

void TSkinPopupMenu::Detach() {
    background_.Clear();
    if (!previous_) return;
    if (IsWindow(window_)) {
        if (platform::WindowProcOf(window_, unicode_) == Procedure)
            platform::ReplaceWindowProc(window_, unicode_, previous_);
        else
            SetPropW(window_, kPassThroughProp, reinterpret_cast<HANDLE>(previous_));
        RemovePropW(window_, kPopupProp);
    }
    previous_ = nullptr;
}

POINT TSkinPopupMenu::ClientOffset() const {
    RECT w{};
    GetWindowRect(window_, &w);
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    return {origin.x - w.left, origin.y - w.top};
}

LRESULT CALLBACK TSkinPopupMenu::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (auto* popup = static_cast<TSkinPopupMenu*>(GetPropW(window, kPopupProp)))
        return popup->HandleMessage(msg, wParam, lParam);
    return platform::PassThrough(window, kPassThroughProp, msg, wParam, lParam);
}

LRESULT TSkinPopupMenu::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
    return platform::CallWindowProcAs(previous_, window_, unicode_, msg, wParam, lParam);
}

bool TSkinPopupMenu::CanPaint() const {
    if (!holder_ || !holder_->SkinLoaded() || !holder_->Data()) return false;
    const TSkinElement* background = holder_->Data()->MenuBackground.get();
    return background && !background->Bitmap.Empty();
}

LRESULT TSkinPopupMenu::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SKIN_QUERY) return 1;
    if (msg == WM_DESTROY) {
        WNDPROC previous = previous_;
        const bool unicode = unicode_;
        HWND window = window_;
        Detach();
        return platform::CallWindowProcAs(previous, window, unicode, msg, wParam, lParam);
    }
    if (!SkinningOn() || !CanPaint()) return CallPrevious(msg, wParam, lParam);
    switch (msg) {
    case WM_NCPAINT:
        PaintNonClient(wParam == 1 ? nullptr : reinterpret_cast<HRGN>(wParam));
        return 0;
    case WM_ERASEBKGND:
        if (!holder_->Options.Has(soMenuBG)) CallPrevious(msg, wParam, lParam);
        return 1;
    case WM_PRINTCLIENT:
        Render(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_PAINT: {
        // The system fills the items with the plain menu colour; drawing
        // them off-screen lets the skin's background show through there.
        platform::PaintDC paint(window_);
        Render(paint.get());
        return 0;
    }
    default:
        break;
    }
    return CallPrevious(msg, wParam, lParam);
}

void TSkinPopupMenu::ComposeBackground() {
    const TSkinElement& e = *holder_->Data()->MenuBackground;
    RECT w{};
    GetWindowRect(window_, &w);
    background_ = ComposeElement(Rect{0, 0, w.right - w.left, w.bottom - w.top}, e.Bitmap,
                                 e.Margins, false, e.Tile != 0, 1, 1);
}

void TSkinPopupMenu::PaintNonClient(HRGN update) {
    ComposeBackground();
    platform::WindowDC dc(window_, true);
    if (!dc.get()) return;
    if (update) {
        // The update region is in screen coordinates; clip to it.
        RECT w{};
        GetWindowRect(window_, &w);
        platform::Region clip(CreateRectRgn(0, 0, 0, 0));
        if (clip && CombineRgn(clip.get(), update, nullptr, RGN_COPY) != ERROR) {
            OffsetRgn(clip.get(), -w.left, -w.top);
            SelectClipRgn(dc.get(), clip.get());
        }
    }
    gdi::DrawOpaque(dc.get(), background_.Bounds(), background_);
}

void TSkinPopupMenu::Render(HDC target) {
    ComposeBackground();
    RECT client{};
    GetClientRect(window_, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return;
    const POINT offset = ClientOffset();
    // What the system draws for the items, on the plain menu colour.
    const Colour key = static_cast<Colour>(GetSysColor(COLOR_MENU));
    gdi::DibCanvas items(width, height, key);
    if (!items.valid()) return;
    RECT w{};
    GetWindowRect(window_, &w);
    const Rect inner{kMenuFrame - offset.x, kMenuFrame - offset.y,
                     (w.right - w.left) - kMenuFrame - offset.x,
                     (w.bottom - w.top) - kMenuFrame - offset.y};
    {
        const int saved = SaveDC(items.dc());
        IntersectClipRect(items.dc(), inner.Left, inner.Top, inner.Right, inner.Bottom);
        SetBkMode(items.dc(), TRANSPARENT);
        CallPrevious(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(items.dc()), PRF_CLIENT);
        RestoreDC(items.dc(), saved);
    }
    Pixmap out(width, height);
    StretchCopy(out, out.Bounds(), background_, RectOfSize(offset.x, offset.y, width, height));
    const Pixmap drawn = items.ToPixmap();
    const Colour plain = key & 0xFFFFFF;
    for (int y = std::max(0, inner.Top); y < std::min(height, inner.Bottom); ++y)
        for (int x = std::max(0, inner.Left); x < std::min(width, inner.Right); ++x)
            if (const Colour c = drawn.Pixel(x, y); c != plain) out.SetPixel(x, y, c);
    gdi::DrawOpaque(target, out.Bounds(), out);
}

// ---- TSkinSystemMenu ------------------------------------------------------------

TSkinSystemMenu::TSkinSystemMenu(TFramePainter& painter) : painter_(painter) {}

TSkinSystemMenu::~TSkinSystemMenu() {
    if (menu_) DestroyMenu(menu_);
}

void TSkinSystemMenu::Build() {
    if (menu_) DestroyMenu(menu_);
    menu_ = CreatePopupMenu();
    items_.clear();
    HWND window = painter_.Handle();
    HMENU source = GetSystemMenu(window, FALSE);
    if (!menu_ || !source) return;

    MENUINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIM_MENUDATA;
    info.dwMenuData = kTag;
    SetMenuInfo(menu_, &info);

    const int show = painter_.Show();
    const unsigned flags = painter_.ButtonFlags();
    const int count = GetMenuItemCount(source);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        if (!GetMenuItemInfoW(source, static_cast<UINT>(i), TRUE, &mii)) continue;
        std::wstring text(mii.cch + 1, L'\0');
        mii.dwTypeData = text.data();
        mii.cch = static_cast<UINT>(text.size());
        if (!GetMenuItemInfoW(source, static_cast<UINT>(i), TRUE, &mii)) continue;
        text.resize(mii.cch);

        auto item = std::make_unique<Item>();
        if ((mii.fType & MFT_SEPARATOR) || text.empty()) {
            item->Caption = L"-";
        } else {
            const size_t tab = text.find(L'\t');
            item->Caption = text.substr(0, tab);
            if (tab != std::wstring::npos) item->Shortcut = text.substr(tab + 1);
        }
        item->Command = mii.wID;
        item->Disabled = (mii.fState & (MFS_GRAYED | MFS_DISABLED)) != 0;
        item->Checked = (mii.fState & MFS_CHECKED) != 0;
        item->Default = (mii.fState & MFS_DEFAULT) != 0;
        switch (item->Command) {
        case SC_RESTORE:
            item->Glyph = kGlyphRestore;
            item->Disabled = show == TFramePainter::ssNormal;
            break;
        case SC_MAXIMIZE:
            item->Glyph = kGlyphMaximize;
            item->Disabled =
                show == TFramePainter::ssMaximized || !(flags & TFramePainter::kMaximizeBox);
            break;
        case SC_MINIMIZE:
            item->Glyph = kGlyphMinimize;
            item->Disabled =
                show == TFramePainter::ssMinimized || !(flags & TFramePainter::kMinimizeBox);
            break;
        case SC_CLOSE:
            item->Glyph = kGlyphClose;
            break;
        case SC_MOVE:
            item->Disabled = show == TFramePainter::ssMaximized;
            break;
        case SC_SIZE:
            // A window without a sizing border cannot be sized from here either.
            item->Disabled = show == TFramePainter::ssMaximized ||
                             painter_.Border() != TFramePainter::bkSizeable;
            break;
        default:
            break;
        }
        if (item->Separator()) item->Glyph = kNoGlyph;

        MENUITEMINFOW add{};
        add.cbSize = sizeof(add);
        add.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
        add.fType = MFT_OWNERDRAW | (item->Separator() ? MFT_SEPARATOR : 0);
        add.fState = (item->Disabled ? MFS_GRAYED | MFS_DISABLED : 0) |
                     (item->Checked ? MFS_CHECKED : 0) | (item->Default ? MFS_DEFAULT : 0);
        add.wID = item->Command;
        add.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        if (InsertMenuItemW(menu_, static_cast<UINT>(items_.size()), TRUE, &add))
            items_.push_back(std::move(item));
    }
}

void TSkinSystemMenu::Show(POINT screen) {
    Build();
    if (!menu_) return;
    HWND window = painter_.Handle();
    const UINT command =
        TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                       screen.x, screen.y, 0, window, nullptr);
    if (command && IsWindow(window)) PostMessageW(window, WM_SYSCOMMAND, command, 0);
}

TSkinSystemMenu::Item* TSkinSystemMenu::ItemOf(ULONG_PTR data) const {
    for (const auto& item : items_)
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
    return nullptr;
}

HFONT TSkinSystemMenu::MenuFont(bool bold) {
    platform::Font& font = bold ? boldFont_ : font_;
    if (!font) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
            if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
            font.reset(CreateFontIndirectW(&metrics.lfMenuFont));
        }
    }
    return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool TSkinSystemMenu::Measure(MEASUREITEMSTRUCT& measure) {
    if (measure.CtlType != ODT_MENU) return false;
    const Item* item = ItemOf(measure.itemData);
    if (!item) return false;
    const TSkinData* data = painter_.Holder() ? painter_.Holder()->Data() : nullptr;
    const TSkinElement* element = data ? data->MenuItem.get() : nullptr;
    const TSkinHolder* holder = painter_.Holder();
    const bool glyphs = holder && holder->MenuGlyphCount() > 0;

    platform::WindowDC screen(nullptr);
    platform::SelectGuard font(screen.get(), MenuFont(item->Default));
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    auto textWidth = [&](const std::wstring& text) {
        RECT r{0, 0, 0, 0};
        const std::wstring shown = text.empty() || text == L"&" ? L" " : text;
        DrawTextW(screen.get(), shown.c_str(), static_cast<int>(shown.size()), &r,
                  DT_SINGLELINE | DT_CALCRECT | DT_EXPANDTABS);
        return static_cast<int>(r.right);
    };
    // What a menu proposes for an item: glyph box, caption and shortcut.
    int width = TSkinHolder::kMenuGlyphSize + 3;
    if (!item->Separator()) {
        width += textWidth(item->Caption);
        if (!item->Shortcut.empty()) width += 2 * kShortcutGap + textWidth(item->Shortcut);
    }
    int height = item->Separator()
                     ? kSeparatorHeight
                     : std::max<int>(metrics.tmHeight + 4, TSkinHolder::kMenuGlyphSize + 2);
    width += (element ? element->Margins.LeftWidth : 0) + 12;
    if (!glyphs) width += 23;
    measure.itemWidth = static_cast<UINT>(width);
    measure.itemHeight = static_cast<UINT>(height);
    return true;
}

bool TSkinSystemMenu::Draw(const DRAWITEMSTRUCT& draw) {
    if (draw.CtlType != ODT_MENU || reinterpret_cast<HMENU>(draw.hwndItem) != menu_) return false;
    const Item* item = ItemOf(draw.itemData);
    TSkinHolder* holder = painter_.Holder();
    if (!item || !holder || !holder->Data()) return false;
    const TSkinData& data = *holder->Data();
    const int width = draw.rcItem.right - draw.rcItem.left;
    const int height = draw.rcItem.bottom - draw.rcItem.top;
    if (width <= 0 || height <= 0) return true;

    TSkinManager* manager = TSkinManager::Instance();
    if (manager) manager->RegisterMenuHandle(menu_);
    Pixmap canvas(width, height, ResolveColour(data.Colours.Menu));
    if (const TSkinPopupMenu* popup = manager ? manager->PopupOfMenu(menu_) : nullptr;
        popup && !popup->Background().Empty()) {
        const POINT offset = popup->ClientOffset();
        StretchCopy(
            canvas, canvas.Bounds(), popup->Background(),
            RectOfSize(draw.rcItem.left + offset.x, draw.rcItem.top + offset.y, width, height));
    }
    const TSkinElement* element = data.MenuItem.get();
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    if (item->Separator()) {
        if (element && !element->Bitmap.Empty()) {
            // Three slices of the second frame, from the bottom of the image
            // when the separator is lower than it.
            const Pixmap& image = element->Bitmap;
            const int frameWidth = image.Width() / 5;
            const int left = element->Margins.LeftWidth;
            const int right = element->Margins.RightWidth;
            const int top = height < image.Height() ? image.Height() - height : 0;
            const int rows = image.Height() - top;
            const int x0 = frameWidth * (kItemSeparator - 1);
            StretchCopy(canvas, Rect{0, 0, left, height}, image,
                        Rect{x0, top, x0 + left, top + rows}, true);
            StretchCopy(canvas, Rect{width - right, 0, width, height}, image,
                        Rect{x0 + frameWidth - right, top, x0 + frameWidth, top + rows}, true);
            StretchCopy(canvas, Rect{left, 0, width - right, height}, image,
                        Rect{x0 + left, top, x0 + frameWidth - right, top + rows}, true);
        } else {
            canvas.FillRect(Rect{2, height / 2 - 1, width - 2, height / 2},
                            ResolveColour(data.Colours.ButtonShadow));
            canvas.FillRect(Rect{2, height / 2, width - 2, height / 2 + 1},
                            ResolveColour(data.Colours.ButtonHilight));
        }
    } else if (element && !element->Bitmap.Empty()) {
        DrawElement(canvas, canvas.Bounds(), element->Bitmap, false, element->Tile != 0,
                    element->Trans != 0, element->FrameCount(),
                    selected ? kItemSelected : kItemNormal, element->Margins);
    } else if (selected) {
        canvas.Fill(ResolveColour(data.Colours.Hilight));
    }

    gdi::DibCanvas off(width, height);
    if (!off.valid()) return true;
    gdi::DrawOpaque(off.dc(), canvas.Bounds(), canvas);
    if (!item->Separator()) DrawContent(off.dc(), *item, width, height, selected);
    BitBlt(draw.hDC, draw.rcItem.left, draw.rcItem.top, width, height, off.dc(), 0, 0, SRCCOPY);
    return true;
}

void TSkinSystemMenu::DrawContent(HDC dc, const Item& item, int width, int height, bool selected) {
    const TSkinHolder& holder = *painter_.Holder();
    const TSkinData& data = *holder.Data();
    const TSkinElement* element = data.MenuItem.get();
    const int glyph = TSkinHolder::kMenuGlyphSize;
    const RECT box{1 + (element ? element->Margins.LeftWidth : 0), 1,
                   1 + (element ? element->Margins.LeftWidth : 0) + glyph, 1 + glyph};

    COLORREF text = ToRgb(selected ? data.Colours.HilightText : data.Colours.MenuText);
    if (item.Disabled)
        text = data.Colours.ButtonShadow == data.Colours.MenuText
                   ? GetSysColor(COLOR_BTNSHADOW)
                   : ToRgb(data.Colours.ButtonShadow);

    const bool hasGlyph = item.Glyph >= 0 && item.Glyph < holder.MenuGlyphCount();
    if (hasGlyph && item.Checked) {
        // The light dither of a checked button, sunken.
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                SetPixelV(dc, x, y, ((x + y) & 1) ? face : light);
        RECT edge = box;
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    if (hasGlyph) {
        // Every pixel of the glyph that is not the white mask, in the text
        // colour: grayed with the item.
        const Pixmap& glyphs = holder.MenuGlyphs();
        const int x0 = item.Glyph * glyph;
        for (int y = 0; y < glyph; ++y)
            for (int x = 0; x < glyph; ++x)
                if ((glyphs.Pixel(x0 + x, y) & 0xFFFFFF) != 0xFFFFFF)
                    SetPixelV(dc, box.left + x, box.top + y, text);
    } else if (item.Checked) {
        // The system check mark, centred in the box across and in the item down.
        LOGFONTW marlett{};
        marlett.lfHeight = -glyph + 2;
        marlett.lfCharSet = SYMBOL_CHARSET;
        wcscpy_s(marlett.lfFaceName, L"Marlett");
        platform::Font mark(CreateFontIndirectW(&marlett));
        platform::SelectGuard select(dc, mark.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, text);
        RECT r{box.left, 0, box.right, height};
        DrawTextW(dc, L"a", 1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }

    platform::SelectGuard font(dc, MenuFont(item.Default));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    RECT caption{box.right + 3, 0, width - 1, height};
    const std::wstring shown = item.Caption.empty() || item.Caption == L"&" ? L" " : item.Caption;
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &caption,
              DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_LEFT);
    if (!item.Shortcut.empty()) {
        RECT shortcut{box.right + 3, 0, width - 1 - kShortcutGap, height};
        DrawTextW(dc, item.Shortcut.c_str(), static_cast<int>(item.Shortcut.size()), &shortcut,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
}

} // namespace skin
