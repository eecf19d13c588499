// Skinned menus on real menu windows: the skinned system menu of a window
// like the main window, opened by the frame painter and driven from inside
// the menu's own modal loop, and a system context menu of an edit field.
// What the menu window shows is read back from its window DC and compared
// with the skin elements composed at the same sizes.
#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"
#include "skin/SkinManager.h"
#include "skin/frame/FramePainter.h"
#include "skin/frame/SkinMenus.h"
#include "SkinnedApp.h"
#include "support/WindowTest.h"
#include "ui/Application.h"
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using skin::TFramePainter;
using skin::TSkinSystemMenu;
using testing_support::Pump;
using testing_support::RunSoon;

using testing_support::SkinnedApp;

// A window like the main window: single border, minimise box, no maximise box.
struct MenuApp : testing_support::SkinnedApp {
    ui::TForm* MainLike() {
        return Shown(Form(ui::TFormBorderStyle::bsSingle, ui::biSystemMenu | ui::biMinimize, 300,
                          200, L"Menus"));
    }
};

HWND MenuWindow() {
    return FindWindowW(L"#32768", nullptr);
}

void Key(HWND menu, WPARAM vk) {
    PostMessageW(menu, WM_KEYDOWN, vk, 0);
}

// What a window shows, read from its window DC.
skin::Pixmap Capture(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    skin::gdi::DibCanvas canvas(r.right - r.left, r.bottom - r.top);
    platform::WindowDC dc(window, true);
    BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), dc.get(), 0, 0, SRCCOPY);
    return canvas.ToPixmap();
}

// An item's rectangle in the menu window's coordinates.
RECT ItemRect(HMENU menu, int index, HWND menuWindow) {
    RECT item{}, window{};
    // No owner: for a popup menu the rectangle is the menu window's.
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(index), &item);
    GetWindowRect(menuWindow, &window);
    OffsetRect(&item, -window.left, -window.top);
    return item;
}

int IndexOf(const TSkinSystemMenu& menu, UINT command) {
    const auto& items = menu.Items();
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i]->Command == command) return static_cast<int>(i);
    return -1;
}

int CountColour(const skin::Pixmap& p, const RECT& r, skin::Colour c) {
    int n = 0;
    for (int y = std::max(0, static_cast<int>(r.top)); y < std::min<int>(p.Height(), r.bottom); ++y)
        for (int x = std::max(0, static_cast<int>(r.left)); x < std::min<int>(p.Width(), r.right);
             ++x)
            n += p.Pixel(x, y) == c;
    return n;
}

TEST(SkinnedSystemMenu, StatesGlyphsAndTheSelectedAndGrayedItemsFollowTheSkin) {
    MenuApp s;
    // Colours that nothing else in the menu uses, so text can be told apart.
    skin::TSkinData& data = *s.holder->Data();
    const skin::Colour hilightText = skin::Rgb(200, 0, 0);
    const skin::Colour shadow = skin::Rgb(0, 150, 0);
    data.Colours.HilightText = hilightText;
    data.Colours.ButtonShadow = shadow;
    const long gdiBefore = platform::LiveGdiHandles();

    ui::TForm* form = s.MainLike();
    HWND h = form->Handle();
    TFramePainter* painter = s.Painter(h);
    ASSERT_NE(painter, nullptr);

    struct Seen {
        bool skinned = false;
        LRESULT query = 0;
        int kind = -1;
        UINT maximize = 0, minimize = 0, restore = 0, close = 0;
        skin::Pixmap shot;
        RECT selected{}, grayed{}, normal{};
        int selectedIndex = -1;
    } seen;
    RunSoon([&] {
        HWND menu = MenuWindow();
        seen.skinned = SkinnedApp::Manager().PopupOf(menu) != nullptr;
        seen.query = SendMessageW(menu, skin::WM_SKIN_QUERY, 0, 0);
        seen.kind = SkinnedApp::Manager().MenuKind();
        // Past the grayed Restore to Move.
        Key(menu, VK_DOWN);
        Key(menu, VK_DOWN);
    });
    RunSoon(
        [&] {
            HWND menu = MenuWindow();
            const TSkinSystemMenu& m = *painter->SkinnedSystemMenu();
            HMENU hm = m.Handle();
            seen.maximize = GetMenuState(hm, SC_MAXIMIZE, MF_BYCOMMAND);
            seen.minimize = GetMenuState(hm, SC_MINIMIZE, MF_BYCOMMAND);
            seen.restore = GetMenuState(hm, SC_RESTORE, MF_BYCOMMAND);
            seen.close = GetMenuState(hm, SC_CLOSE, MF_BYCOMMAND);
            for (int i = 0; i < GetMenuItemCount(hm); ++i)
                if (GetMenuState(hm, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
                    seen.selectedIndex = i;
            if (seen.selectedIndex >= 0) seen.selected = ItemRect(hm, seen.selectedIndex, menu);
            seen.grayed = ItemRect(hm, IndexOf(m, SC_MAXIMIZE), menu);
            seen.normal = ItemRect(hm, IndexOf(m, SC_MINIMIZE), menu);
            seen.shot = Capture(menu);
            Key(menu, VK_ESCAPE);
        },
        150);
    painter->OpenSystemMenu({200, 200});
    Pump(50);

    EXPECT_TRUE(seen.skinned);
    EXPECT_EQ(seen.query, 1);
    EXPECT_EQ(seen.kind, 2);
    // Maximize disabled and Minimize enabled while the window is normal;
    // Restore disabled too, Close enabled.
    EXPECT_TRUE(seen.maximize & MF_GRAYED);
    EXPECT_FALSE(seen.minimize & MF_GRAYED);
    EXPECT_TRUE(seen.restore & MF_GRAYED);
    EXPECT_FALSE(seen.close & MF_GRAYED);
    const TSkinSystemMenu& m = *painter->SkinnedSystemMenu();
    EXPECT_EQ(m.Items()[static_cast<size_t>(IndexOf(m, SC_CLOSE))]->Glyph,
              TSkinSystemMenu::kGlyphClose);
    EXPECT_EQ(m.Items()[static_cast<size_t>(IndexOf(m, SC_MINIMIZE))]->Glyph,
              TSkinSystemMenu::kGlyphMinimize);

    // The selected item: frame 4 of the item image across the whole item
    // (checked where the left margin holds nothing but the image), its text
    // in HilightText.
    ASSERT_GE(seen.selectedIndex, 0);
    ASSERT_FALSE(seen.shot.Empty());
    for (const RECT& r : {seen.selected, seen.grayed, seen.normal}) {
        ASSERT_GE(r.left, 0);
        ASSERT_LE(r.right, seen.shot.Width());
        ASSERT_LE(r.bottom, seen.shot.Height());
    }
    const skin::TSkinElement& item = *data.MenuItem;
    const RECT& sel = seen.selected;
    const int w = sel.right - sel.left, ih = sel.bottom - sel.top;
    const skin::Pixmap frame4 = skin::ComposeElement(skin::Rect{0, 0, w, ih}, item.Bitmap,
                                                     item.Margins, false, item.Tile != 0, 5, 4);
    const skin::Pixmap frame1 = skin::ComposeElement(skin::Rect{0, 0, w, ih}, item.Bitmap,
                                                     item.Margins, false, item.Tile != 0, 5, 1);
    int compared = 0, differ = 0, mismatches = 0;
    for (int y = 0; y < ih; ++y)
        for (int x = 0; x < item.Margins.LeftWidth; ++x) {
            const skin::Colour c = frame4.Pixel(x, y);
            if (c == skin::kMagenta) continue;
            ++compared;
            differ += c != frame1.Pixel(x, y);
            mismatches += seen.shot.Pixel(sel.left + x, sel.top + y) != c;
        }
    EXPECT_GT(compared, 50);
    EXPECT_GT(differ, 0); // the check can tell the selected frame from the normal one
    EXPECT_EQ(mismatches, 0);
    RECT selText = sel;
    selText.left += item.Margins.LeftWidth + 20;
    EXPECT_GT(CountColour(seen.shot, selText, hilightText), 5);
    // Unselected enabled text is MenuText, never HilightText.
    RECT normalText = seen.normal;
    normalText.left += item.Margins.LeftWidth + 20;
    if (seen.normal.top != sel.top) {
        EXPECT_EQ(CountColour(seen.shot, normalText, hilightText), 0);
        EXPECT_GT(CountColour(seen.shot, normalText, skin::ResolveColour(data.Colours.MenuText)),
                  5);
    }
    // A grayed item: text and glyph in ButtonShadow.
    RECT grayed = seen.grayed;
    grayed.left += item.Margins.LeftWidth;
    EXPECT_GT(CountColour(seen.shot, grayed, shadow), 5);
    EXPECT_EQ(CountColour(seen.shot, grayed, hilightText), 0);

    // Escape chose nothing: the window is still there, the menu window and
    // its skinning are gone, the menu kind is cleared.
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_TRUE(s.Manager().PopupMenus().empty());
    EXPECT_EQ(s.Manager().MenuKind(), 0);
    delete form;
    Pump(20);
    EXPECT_EQ(platform::LiveGdiHandles(), gdiBefore);
}

TEST(SkinnedSystemMenu, ChoosingCloseClosesTheWindow) {
    MenuApp s;
    ui::TForm* form = s.MainLike();
    HWND h = form->Handle();
    TFramePainter* painter = s.Painter(h);
    ASSERT_NE(painter, nullptr);
    bool closeSelected = false;
    RunSoon([&] {
        HWND menu = MenuWindow();
        const TSkinSystemMenu& m = *painter->SkinnedSystemMenu();
        // Down once per item up to Close; separators are skipped.
        const int close = IndexOf(m, SC_CLOSE);
        for (int i = 0; i <= close; ++i)
            if (!m.Items()[static_cast<size_t>(i)]->Separator()) Key(menu, VK_DOWN);
    });
    RunSoon(
        [&] {
            HMENU hm = painter->SkinnedSystemMenu()->Handle();
            closeSelected = (GetMenuState(hm, SC_CLOSE, MF_BYCOMMAND) & MF_HILITE) != 0;
            Key(MenuWindow(), VK_RETURN);
        },
        100);
    testing_support::MessageRecorder recorder(h);
    painter->OpenSystemMenu({150, 150});
    Pump(100);
    EXPECT_TRUE(closeSelected);
    EXPECT_EQ(recorder.count(WM_CLOSE), 1);
    EXPECT_FALSE(IsWindowVisible(h));
}

TEST(SkinnedSystemMenu, AltSpaceOpensItAtTheClientAreasTopLeftCorner) {
    MenuApp s;
    ui::TForm* form = s.MainLike();
    HWND h = form->Handle();
    RECT menuRect{};
    bool skinned = false;
    RunSoon(
        [&] {
            HWND menu = MenuWindow();
            GetWindowRect(menu, &menuRect);
            skinned = SkinnedApp::Manager().PopupOf(menu) != nullptr;
            Key(menu, VK_ESCAPE);
        },
        100);
    // Alt+Space as the keyboard delivers it: the system character reaches
    // the window procedure, which turns it into the key menu command.
    PostMessageW(h, WM_SYSCHAR, L' ', 1 << 29);
    Pump(300);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    EXPECT_TRUE(skinned);
    EXPECT_EQ(menuRect.left, origin.x);
    EXPECT_EQ(menuRect.top, origin.y);
    ASSERT_NE(s.Painter(h)->SkinnedSystemMenu(), nullptr);
    // A system command that arrives as a menu command is carried out.
    SendMessageW(h, WM_COMMAND, SC_MINIMIZE, 0);
    Pump(100);
    EXPECT_TRUE(IsIconic(h));
}

TEST(SkinnedPopupMenu, AnEditFieldsContextMenuShowsTheMenuBackgroundUnderTheSystemsItems) {
    MenuApp s;
    ui::TForm* form = s.MainLike();
    HWND edit = CreateWindowExW(0, L"EDIT", L"text", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 150,
                                24, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    Pump(30);
    skin::Pixmap shot;
    RECT firstItem{};
    bool skinned = false;
    RunSoon(
        [&] {
            HWND menu = MenuWindow();
            skinned = SkinnedApp::Manager().PopupOf(menu) != nullptr;
            HMENU hm = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
            firstItem = ItemRect(hm, 0, menu);
            shot = Capture(menu);
            Key(menu, VK_ESCAPE);
        },
        100);
    RECT r{};
    GetWindowRect(edit, &r);
    SendMessageW(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit),
                 MAKELPARAM(r.left + 20, r.top + 10));
    Pump(30);
    ASSERT_TRUE(skinned);
    ASSERT_FALSE(shot.Empty());
    const skin::TSkinElement& e = *s.holder->Data()->MenuBackground;
    const skin::Pixmap bg = skin::ComposeElement(skin::Rect{0, 0, shot.Width(), shot.Height()},
                                                 e.Bitmap, e.Margins, false, e.Tile != 0, 1, 1);
    // The frame is the background's outer part.
    for (const POINT p : {POINT{0, 0}, POINT{1, shot.Height() / 2}, POINT{shot.Width() - 2, 1},
                          POINT{shot.Width() / 2, shot.Height() - 1}})
        EXPECT_EQ(shot.Pixel(p.x, p.y), bg.Pixel(p.x, p.y)) << p.x << "," << p.y;
    // Inside an item, right of its text, the background shows through.
    ASSERT_GT(firstItem.left, 0);
    ASSERT_LE(firstItem.right, shot.Width());
    ASSERT_LE(firstItem.bottom, shot.Height());
    const int y = (firstItem.top + firstItem.bottom) / 2;
    int same = 0;
    for (int x = firstItem.right - 12; x < firstItem.right - 4; ++x)
        same += shot.Pixel(x, y) == bg.Pixel(x, y);
    EXPECT_EQ(same, 8);
    DestroyWindow(edit);
}

TEST(SkinnedPopupMenu, GivesTheProcedureBackWhenDestroyedAndAtShutdown) {
    auto run = [](bool destroyFirst) {
        SkinnedApp s;
        HWND menu = CreateWindowExW(WS_EX_TOOLWINDOW, L"#32768", L"", WS_POPUP, 0, 0, 100, 60,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(menu, nullptr);
        const auto classProc = GetClassLongPtrW(menu, GCLP_WNDPROC);
        ASSERT_NE(s.Manager().PopupOf(menu), nullptr);
        EXPECT_NE(GetWindowLongPtrW(menu, GWLP_WNDPROC), classProc);
        EXPECT_EQ(SendMessageW(menu, skin::WM_SKIN_QUERY, 0, 0), 1);
        if (destroyFirst) {
            DestroyWindow(menu);
            EXPECT_TRUE(s.Manager().PopupMenus().empty());
            return;
        }
        skin::TSkinManager::Destroy();
        EXPECT_EQ(GetWindowLongPtrW(menu, GWLP_WNDPROC), classProc);
        EXPECT_EQ(SendMessageW(menu, skin::WM_SKIN_QUERY, 0, 0), 0);
        DestroyWindow(menu);
    };
    run(true);
    run(false);
}

} // namespace
