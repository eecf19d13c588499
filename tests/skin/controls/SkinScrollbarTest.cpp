// Skinned scroll bars under Wine: overlays over real list boxes, a grid and a
// framework control, presses handed to the system's own tracking (its modal
// loop driven by posted mouse messages from RunSoon steps), and the pixels
// the overlays show compared with the skin's own bitmaps.
#include "SkinControlsFixture.h"

#include "data/ClientDataSet.h"
#include "grid/DataGrid.h"
#include "grid/ResultGridConfig.h"
#include "skin/ImageOps.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/controls/SkinControlList.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinScrollbars.h"
#include "support/WindowTest.h"
#include "ui/WinControl.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>

namespace {

using skin::Pixmap;
using skin::Rect;
using testing_support::Pump;
using testing_support::RunSoon;

SCROLLBARINFO Bar(HWND window, LONG object = OBJID_VSCROLL) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    GetScrollBarInfo(window, object, &info);
    return info;
}

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

int OverlayCount(HWND parent) {
    int n = 0;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(c, name, 64);
        if (std::wstring(name) == L"TScrollOverlay") ++n;
    }
    return n;
}

bool Same(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

LPARAM ClientPoint(HWND window, POINT screen) {
    ScreenToClient(window, &screen);
    return MAKELPARAM(screen.x, screen.y);
}

// A framework control with a vertical window scroll bar and, optionally, the
// properties the scroll bar skin reads by name.
class TScrollerBox : public ui::TWinControl {
public:
    TScrollerBox(ui::TComponent* owner, bool withProps, bool borderNone)
        : ui::TWinControl(owner), withProps_(withProps), borderNone_(borderNone) {}
    std::wstring ClassName() const override { return L"TScrollerBox"; }
    long long fixedColor = 0x0000FF; // red
    const ui::TPropInfo* FindProp(const std::wstring& name) const override {
        static const wchar_t* const kNames[] = {L"bsNone", L"bsSingle"};
        static const ui::TPropInfo kProps[] = {
            {L"BorderStyle",
             [](const ui::TControl& c) -> ui::TPropValue {
                 return ui::TEnumName{
                     kNames[static_cast<const TScrollerBox&>(c).borderNone_ ? 0 : 1]};
             },
             nullptr},
            {L"FixedColor",
             [](const ui::TControl& c) -> ui::TPropValue {
                 return static_cast<const TScrollerBox&>(c).fixedColor;
             },
             [](ui::TControl& c, const ui::TPropValue& v) {
                 static_cast<TScrollerBox&>(c).fixedColor = std::get<long long>(v);
             }},
        };
        if (withProps_)
            if (const ui::TPropInfo* p = FindIn(kProps, name)) return p;
        return ui::TWinControl::FindProp(name);
    }

protected:
    void CreateParams(ui::TCreateParams& params) override {
        ui::TWinControl::CreateParams(params);
        params.Style |= WS_VSCROLL;
        params.ExStyle |= WS_EX_CLIENTEDGE;
    }
    void WindowCreated() override {
        SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
        SetScrollInfo(HandleIfAllocated(), SB_VERT, &si, TRUE);
    }

private:
    bool withProps_;
    bool borderNone_;
};

class SkinScrollbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        holder = skintest::MakeHolder();
        ASSERT_NE(holder->Data(), nullptr);
        ASSERT_TRUE(holder->SkinControls.Has(skin::scScrollbar));
        face = skin::ResolveColour(holder->Data()->Colours.ButtonFace);
        b = GetSystemMetrics(SM_CXHSCROLL);
        arrows = skintest::AssetBitmap("arrows.bmp");
        tray = skintest::AssetBitmap("vscrolltray.bmp");
        thumb = skintest::AssetBitmap("scrollbutton.bmp");
        ASSERT_FALSE(arrows.Empty());
        ASSERT_FALSE(tray.Empty());
        ASSERT_FALSE(thumb.Empty());
    }

    HWND MakeList(HWND parent, int x, int y, int w, int h, int items, DWORD style = 0) {
        HWND lb = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPSIBLINGS |
                                      LBS_NOINTEGRALHEIGHT | style,
                                  x, y, w, h, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        for (int i = 0; i < items; ++i)
            SendMessageW(lb, LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>((L"Item " + std::to_wstring(i)).c_str()));
        return lb;
    }

    skin::TSkinScrollbar* Skin(HWND window) {
        auto* object = new skin::TSkinScrollbar(nullptr);
        object->AttachScrollBarsWindow(window, *holder, &list);
        Pump(30);
        return object;
    }

    // What the skin shows for each part, from the skin's own bitmaps.
    Pixmap Arrow(int frame, int w, int a) const {
        Pixmap p(w, a, face);
        skin::DrawFrameStretched(p, Rect{0, 0, w, a}, arrows, true, 23, frame);
        return p;
    }
    Pixmap Tray(int frame, int w, int len) const {
        Pixmap p(w, len, face);
        skin::DrawElement(p, Rect{0, 0, w, len}, tray, false, true, false, 4, frame,
                          skin::TSkinMargins{1, 10, 1, 1});
        return p;
    }
    Pixmap Thumb(int frame, int grip, int w, int len) const {
        Pixmap p(w, len, face);
        skin::DrawElement(p, Rect{0, 0, w, len}, thumb, false, false, false, 3, frame,
                          skin::TSkinMargins{4, 4, 4, 4});
        if (len > arrows.Height() + 2)
            skin::DrawFrameCentred(p, Rect{0, 0, w, len}, arrows, true, 23, grip);
        return p;
    }
    static Pixmap Shot(HWND overlay, int top, int bottom) {
        RECT c;
        GetClientRect(overlay, &c);
        return skintest::Capture(overlay, RECT{0, top, c.right, bottom});
    }
    // The overlay lies exactly over the vertical bar and shows it.
    void ExpectOverBar(const skin::TScrollOverlay& o, HWND target) {
        ASSERT_TRUE(o.Shown());
        EXPECT_TRUE(IsWindowVisible(o.Window()));
        EXPECT_TRUE(Same(WindowRect(o.Window()), Bar(target).rcScrollBar));
    }

    skintest::FormHost host{460, 340};
    std::unique_ptr<skin::TSkinHolder> holder;
    Pixmap arrows, tray, thumb;
    skin::Colour face = 0;
    int b = 16;
    skin::TSkinControlList list; // released first: the windows still live
};

TEST_F(SkinScrollbarTest, OverlayLiesOverTheListBarAndFollowsItsTarget) {
    HWND container =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, 300,
                        250, host.form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND lb = MakeList(container, 10, 10, 200, 150, 60);
    skin::TSkinScrollbar* skinned = Skin(lb);
    skin::TScrollOverlay& v = *skinned->Vertical();
    HWND overlay = v.Window();

    // A sibling directly above the list, over its bar; no horizontal bar.
    ExpectOverBar(v, lb);
    EXPECT_EQ(GetParent(overlay), container);
    EXPECT_EQ(GetWindow(lb, GW_HWNDPREV), overlay);
    EXPECT_FALSE(skinned->Horizontal()->Shown());
    EXPECT_TRUE(skinned->HasBorder());

    // Painted from the skin: up arrow 9, down arrow 13, thumb frame 1.
    auto expectPainted = [&](const char* when) {
        SCOPED_TRACE(when);
        Pump(30);
        const SCROLLBARINFO bar = Bar(lb);
        const int w = bar.rcScrollBar.right - bar.rcScrollBar.left;
        const int h = bar.rcScrollBar.bottom - bar.rcScrollBar.top;
        EXPECT_EQ(skintest::DiffCount(Shot(overlay, 0, b), Arrow(9, w, b)), 0);
        EXPECT_EQ(skintest::DiffCount(Shot(overlay, h - b, h), Arrow(13, w, b)), 0);
        EXPECT_EQ(skintest::DiffCount(Shot(overlay, bar.xyThumbTop, bar.xyThumbBottom),
                                      Thumb(1, 20, w, bar.xyThumbBottom - bar.xyThumbTop)),
                  0);
    };
    expectPainted("attached");

    // Moving and resizing the target's parent, and the target with it.
    SetWindowPos(container, nullptr, 70, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump(30);
    ExpectOverBar(v, lb);
    SetWindowPos(container, nullptr, 0, 0, 380, 290, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(lb, nullptr, 20, 5, 260, 230, SWP_NOZORDER);
    Pump(30);
    ExpectOverBar(v, lb);
    expectPainted("parent moved and resized");

    // Scrolled by the list's own call and by the wheel: the thumb follows.
    const int thumbTop = Bar(lb).xyThumbTop;
    SendMessageW(lb, LB_SETTOPINDEX, 40, 0);
    EXPECT_GT(Bar(lb).xyThumbTop, thumbTop);
    expectPainted("top index set");
    const int thumbBottom = Bar(lb).xyThumbTop;
    RECT lr = WindowRect(lb);
    SendMessageW(lb, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA * 2),
                 MAKELPARAM((lr.left + lr.right) / 2, (lr.top + lr.bottom) / 2));
    EXPECT_LT(Bar(lb).xyThumbTop, thumbBottom);
    expectPainted("wheel");

    // Hidden and shown with its target.
    ShowWindow(lb, SW_HIDE);
    Pump(20);
    EXPECT_FALSE(IsWindowVisible(overlay));
    ShowWindow(lb, SW_SHOW);
    Pump(20);
    ExpectOverBar(v, lb);

    // Gone with its target.
    HWND horizontal = skinned->Horizontal()->Window();
    DestroyWindow(lb);
    Pump(20);
    EXPECT_FALSE(IsWindow(overlay));
    EXPECT_FALSE(IsWindow(horizontal));
    EXPECT_EQ(skinned->LifeState(), skin::kLifeWindowDestroyed);
    list.Purge();
    EXPECT_TRUE(list.Items().empty());
}

TEST_F(SkinScrollbarTest, WithoutAScrollbarElementTheSystemBarStaysInSight) {
    holder->Data()->Scrollbar.reset();
    HWND lb = MakeList(host.form->Handle(), 20, 20, 200, 160, 100);
    skin::TSkinScrollbar* skinned = Skin(lb);
    EXPECT_FALSE(skinned->Vertical()->Shown());
    EXPECT_FALSE(IsWindowVisible(skinned->Vertical()->Window()));
    // Scrolling brings no overlay back either.
    SendMessageW(lb, LB_SETTOPINDEX, 30, 0);
    Pump(20);
    EXPECT_FALSE(IsWindowVisible(skinned->Vertical()->Window()));
}

// The list of a simple combo box is a bare list window: the same overlays.
TEST_F(SkinScrollbarTest, ListScrollbarsCoverABareListAndFollowIt) {
    HWND lb = MakeList(host.form->Handle(), 20, 20, 200, 160, 100);
    auto* skinned = new skin::TSkinListScrollbars(nullptr);
    skinned->AttachWindow(lb, *holder, &list);
    Pump(30);
    ExpectOverBar(*skinned->Vertical(), lb);
    EXPECT_FALSE(skinned->Horizontal()->Shown());
    SetWindowPos(lb, nullptr, 40, 30, 240, 200, SWP_NOZORDER);
    Pump(20);
    ExpectOverBar(*skinned->Vertical(), lb);
    ShowWindow(lb, SW_HIDE);
    Pump(20);
    EXPECT_FALSE(IsWindowVisible(skinned->Vertical()->Window()));
    // Released: the overlays go and the list has its own procedure again.
    HWND overlay = skinned->Vertical()->Window();
    list.ReleaseAll();
    EXPECT_FALSE(IsWindow(overlay));
    EXPECT_EQ(SendMessageW(lb, skin::WM_SKIN_QUERY, 0, 0), 0);
}

TEST_F(SkinScrollbarTest, HoldingTheDownArrowRepeatsAndShowsFrame14) {
    HWND lb = MakeList(host.form->Handle(), 20, 20, 200, 160, 100);
    skin::TScrollOverlay& v = *Skin(lb)->Vertical();
    ASSERT_TRUE(v.Shown());
    const RECT bar = Bar(lb).rcScrollBar;
    const int w = bar.right - bar.left, h = bar.bottom - bar.top;
    const POINT down{w / 2, h - b / 2};

    int topEarly = -1, topLate = -1;
    Pixmap arrowHeld;
    RunSoon(
        [&] {
            topEarly = static_cast<int>(SendMessageW(lb, LB_GETTOPINDEX, 0, 0));
            arrowHeld = Shot(v.Window(), h - b, h);
        },
        100); // at 100 ms, before the first repeat
    RunSoon(
        [&] {
            topLate = static_cast<int>(SendMessageW(lb, LB_GETTOPINDEX, 0, 0));
            PostMessageW(lb, WM_LBUTTONUP, 0, MAKELPARAM(w / 2, 10));
        },
        450); // at 900 ms
    // The system's tracking runs inside this call until the button goes up.
    SendMessageW(v.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));

    EXPECT_EQ(topEarly, 1);
    EXPECT_EQ(skintest::DiffCount(arrowHeld, Arrow(14, w, b)), 0);
    // Repeats after the first delay at the system's rate: several lines, not
    // one per timer tick of the test.
    EXPECT_GE(topLate, 5);
    EXPECT_LE(topLate, 40);
    EXPECT_FALSE(v.Pressed());
    Pump(20);
    EXPECT_EQ(skintest::DiffCount(Shot(v.Window(), h - b, h), Arrow(13, w, b)), 0);
}

TEST_F(SkinScrollbarTest, DraggedThumbFollowsTheCursorClampedToTheTray) {
    HWND lb = MakeList(host.form->Handle(), 20, 20, 200, 200, 100);
    skin::TScrollOverlay& v = *Skin(lb)->Vertical();
    const SCROLLBARINFO info = Bar(lb);
    const RECT bar = info.rcScrollBar;
    const int w = bar.right - bar.left, h = bar.bottom - bar.top;
    const int start = info.xyThumbTop, size = info.xyThumbBottom - info.xyThumbTop;
    ASSERT_GT(size, 0);
    const POINT press{w / 2, start + size / 2};
    // Mouse moves in the list's client coordinates, as the capture gives them.
    auto moveBy = [&](int dy) {
        PostMessageW(lb, WM_MOUSEMOVE, MK_LBUTTON,
                     ClientPoint(lb, POINT{bar.left + press.x, bar.top + press.y + dy}));
    };
    const int below = h + 10 - press.y; // just past the bar's end
    Pixmap moved, clamped;
    RunSoon([&] { moveBy(30); }, 60);
    RunSoon([&] { moved = Shot(v.Window(), 0, h); }, 40);
    RunSoon([&] { moveBy(below); }, 30);
    RunSoon([&] { clamped = Shot(v.Window(), 0, h); }, 30);
    RunSoon(
        [&] {
            PostMessageW(lb, WM_LBUTTONUP, 0,
                         ClientPoint(lb, POINT{bar.left + press.x, bar.top + press.y + below}));
        },
        20);
    SendMessageW(v.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));

    auto part = [&](const Pixmap& shot, int top) {
        Pixmap p(w, size);
        skin::StretchCopy(p, Rect{0, 0, w, size}, shot, Rect{0, top, w, top + size});
        return p;
    };
    ASSERT_EQ(moved.Height(), h);
    ASSERT_EQ(clamped.Height(), h);
    // Pressed: thumb frame 2 and grip 21, 30 pixels further down.
    EXPECT_EQ(skintest::DiffCount(part(moved, start + 30), Thumb(2, 21, w, size)), 0);
    EXPECT_NE(skintest::DiffCount(part(moved, start), Thumb(2, 21, w, size)), 0);
    // Past the end of the bar: kept above the down arrow.
    EXPECT_EQ(skintest::DiffCount(part(clamped, h - b - size), Thumb(2, 21, w, size)), 0);
    // The list followed the system's drag to its end.
    const int visible = static_cast<int>(SendMessageW(lb, LB_GETTOPINDEX, 0, 0));
    EXPECT_GT(visible, 80);
    EXPECT_FALSE(v.Pressed());
}

TEST_F(SkinScrollbarTest, DisabledBarShowsTrayFrame3AndNoThumb) {
    struct Case {
        const char* name;
        int items;
        DWORD style;
        bool disableWindow;
    } const cases[] = {
        {"nothing to scroll", 2, LBS_DISABLENOSCROLL, false},
        {"disabled list", 100, 0, true},
    };
    int x = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND lb = MakeList(host.form->Handle(), x, 20, 180, 160, c.items, c.style);
        x += 200;
        if (c.disableWindow) EnableWindow(lb, FALSE);
        skin::TScrollOverlay& v = *Skin(lb)->Vertical();
        ASSERT_TRUE(v.Shown());
        const RECT bar = Bar(lb).rcScrollBar;
        const int w = bar.right - bar.left, h = bar.bottom - bar.top;
        // The whole tray is frame 3: no thumb drawn over it.
        EXPECT_EQ(skintest::DiffCount(Shot(v.Window(), b, h - b), Tray(3, w, h - 2 * b)), 0);
        EXPECT_EQ(skintest::DiffCount(Shot(v.Window(), 0, b), Arrow(9, w, b)), 0);
    }
}

TEST_F(SkinScrollbarTest, BorderFollowsBorderStyleAndFixedColorIsGivenBack) {
    holder->Data()->Colours.ButtonShadow = 0x0000C000; // a shadow no system draws
    auto* single = new TScrollerBox(host.form, true, false);
    auto* none = new TScrollerBox(host.form, true, true);
    auto* bare = new TScrollerBox(host.form, false, false);
    int x = 10;
    for (TScrollerBox* box : {single, none, bare}) {
        box->SetParent(host.form);
        box->SetBounds(x, 10, 120, 150);
        x += 140;
    }
    Pump(20);
    skin::SkinFormControls(*host.form, *holder, list, nullptr);
    Pump(30);

    struct Case {
        const char* name;
        TScrollerBox* box;
        bool border;
    } const cases[] = {
        {"bsSingle", single, true}, {"bsNone", none, false}, {"no property", bare, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* skinned = dynamic_cast<skin::TSkinScrollbar*>(list.FindControl(c.box));
        ASSERT_NE(skinned, nullptr);
        EXPECT_EQ(skinned->HasBorder(), c.border);
        ASSERT_TRUE(skinned->Vertical()->Shown());
        RedrawWindow(c.box->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(20);
        HDC dc = GetWindowDC(c.box->Handle());
        const COLORREF outer = GetPixel(dc, 0, 40), inner = GetPixel(dc, 1, 40);
        ReleaseDC(c.box->Handle(), dc);
        EXPECT_EQ(outer == 0x0000C000, c.border);
        EXPECT_EQ(inner == holder->ButtonFaceRGB(), c.border);
    }
    // FixedColor: taken over while skinned, given back after.
    EXPECT_EQ(single->fixedColor, static_cast<long long>(holder->ButtonFaceRGB()));
    list.ReleaseAll();
    EXPECT_EQ(single->fixedColor, 0x0000FF);
    // No overlay is left behind.
    EXPECT_EQ(OverlayCount(host.form->Handle()), 0);
}

} // namespace

namespace {

TEST(ScrollGeometry, HitTestAndControlThumbFollowTheirRules) {
    const skin::TScrollGeometry g{200, 16, 50, 80};
    const std::pair<int, int> hits[] = {{0, 0},  {15, 0}, {16, 2},  {49, 2},  {50, 5},
                                        {79, 5}, {80, 3}, {183, 3}, {184, 1}, {199, 1}};
    for (const auto& [a, part] : hits)
        EXPECT_EQ(skin::ScrollHitTest(g, a), part) << "at " << a;

    struct Case {
        const char* name;
        int nMin, nMax;
        UINT nPage;
        int nPos;
        int start, end;
    } const cases[] = {
        {"at the start", 0, 100, 10, 0, 16, 31},
        {"half way", 0, 100, 10, 50, 100, 115},
        {"small page: at least 8 pixels", 0, 100, 2, 50, 96, 104},
        {"no page: an arrow-sized thumb", 0, 100, 0, 50, 92, 108},
        {"empty range", 5, 5, 0, 5, 16, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        skin::TScrollGeometry t{200, 16, 0, 0};
        SCROLLINFO si{sizeof(si), SIF_ALL, c.nMin, c.nMax, c.nPage, c.nPos, 0};
        skin::ControlThumb(t, si);
        EXPECT_EQ(t.thumbStart, c.start);
        EXPECT_EQ(t.thumbEnd, c.end);
    }
}

TEST_F(SkinScrollbarTest, ScrollBarControlIsCoveredWholeAndItsPressesReachIt) {
    HWND sb = CreateWindowExW(0, L"SCROLLBAR", L"",
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_VERT, 20, 20, 18, 200,
                              host.form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 100, 10, 0, 0};
    SetScrollInfo(sb, SB_CTL, &si, TRUE);
    auto* skinned = new skin::TSkinScrollBarControl(nullptr);
    skinned->AttachWindow(sb, *holder, &list);
    Pump(30);
    skin::TScrollOverlay& o = *skinned->Overlay();
    ASSERT_TRUE(o.Shown());
    EXPECT_TRUE(Same(WindowRect(o.Window()), WindowRect(sb)));
    EXPECT_EQ(GetWindow(sb, GW_HWNDPREV), o.Window());

    // The thumb where the scroll information puts it, repainted on a change.
    si.fMask = SIF_POS;
    si.nPos = 50;
    SetScrollInfo(sb, SB_CTL, &si, TRUE);
    Pump(30);
    skin::TScrollGeometry g{200, std::min(b, 100), 0, 0};
    SCROLLINFO now{};
    now.cbSize = sizeof(now);
    now.fMask = SIF_ALL;
    GetScrollInfo(sb, SB_CTL, &now);
    skin::ControlThumb(g, now);
    EXPECT_EQ(skintest::DiffCount(Shot(o.Window(), g.thumbStart, g.thumbEnd),
                                  Thumb(1, 20, 18, g.thumbEnd - g.thumbStart)),
              0);
    EXPECT_EQ(skintest::DiffCount(Shot(o.Window(), 0, g.arrow), Arrow(9, 18, g.arrow)), 0);

    // A press on the down arrow is the control's own: its parent hears of it.
    testing_support::MessageRecorder parent(host.form->Handle());
    RunSoon([&] { PostMessageW(sb, WM_LBUTTONUP, 0, MAKELPARAM(9, 195)); }, 60);
    SendMessageW(o.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 195));
    EXPECT_GE(parent.count(WM_VSCROLL), 1);
    EXPECT_FALSE(o.Pressed());

    // Hidden with the control, gone with it.
    ShowWindow(sb, SW_HIDE);
    Pump(20);
    EXPECT_FALSE(IsWindowVisible(o.Window()));
    HWND overlay = o.Window();
    DestroyWindow(sb);
    EXPECT_FALSE(IsWindow(overlay));
}

TEST_F(SkinScrollbarTest, ListViewGetsItsBarsAndAHeaderFromTheSkin) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HWND lv = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LVS_REPORT,
        10, 10, 300, 150, host.form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < 2; ++i) {
        std::wstring title = L"Column " + std::to_wstring(i);
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 120;
        col.pszText = title.data();
        SendMessageW(lv, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
    }
    for (int i = 0; i < 40; ++i) {
        std::wstring text = L"Row " + std::to_wstring(i);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = text.data();
        SendMessageW(lv, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    auto* skinned = new skin::TSkinListView(nullptr);
    skinned->AttachScrollBarsWindow(lv, *holder, &list);
    Pump(30);
    ExpectOverBar(*skinned->Vertical(), lv);

    HWND header = reinterpret_cast<HWND>(SendMessageW(lv, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    ASSERT_NE(list.FindWindow(header), nullptr);
    EXPECT_EQ(list.FindWindow(header), skinned->Header());
    skintest::Repaint(header);
    RECT section{};
    SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&section));
    const int w = section.right - section.left, h = section.bottom - section.top;
    ASSERT_GT(w, 8);
    // The section's left margin, where no text goes, is the skin's frame 1.
    const Pixmap expected = skintest::ExpectedFrame(
        skintest::AssetBitmap("headerbar.bmp"), skin::TSkinMargins{4, 4, 4, 4}, false, 5, 1, w, h);
    Pixmap edge(4, h);
    skin::StretchCopy(edge, Rect{0, 0, 4, h}, expected, Rect{0, 0, 4, h});
    EXPECT_EQ(skintest::DiffCount(skintest::Capture(header, RECT{0, 0, 4, h}), edge), 0);
}

} // namespace
