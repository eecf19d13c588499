// Skinned push buttons and speed buttons with real windows: the frame each
// state shows (against Button.bmp), the click that only a release over a
// pressed button gives, the space key, the caption break, the glyph layout of
// speed buttons, window mode in message boxes, and the GDI object count over
// many repaints.
#include "SkinControlsFixture.h"

#include "platform/GdiHandles.h"
#include "skin/ImageOps.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinControlList.h"
#include "skin/controls/SkinProgress.h"
#include "support/WindowTest.h"
#include "ui/Button.h"
#include "ui/Messages.h"
#include "ui/ProgressBar.h"
#include "ui/SpeedButton.h"

#include <gtest/gtest.h>
#include <winternl.h>

#include <cstdint>

using namespace skintest;
using skin::Pixmap;
using testing_support::Pump;

namespace {

constexpr int kW = 105, kH = 25;

void PointerAway() {
    SetCursorPos(0, 0);
    Pump(20);
}

void PointerOver(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Pump(20);
}

LPARAM Centre(int w, int h) {
    return MAKELPARAM(w / 2, h / 2);
}

// The outer rows and the four outer columns on each side, where no caption
// or focus mark ever lands: they identify the frame.
bool RingMatches(const Pixmap& shown, const Pixmap& frame) {
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) {
            const bool ring = x < 4 || x >= shown.Width() - 4 || y == 0 || y == shown.Height() - 1;
            if (ring && shown.Pixel(x, y) != frame.Pixel(x, y)) return false;
        }
    return true;
}

// Which of the five frames the button shows, 0 for none.
int ShownFrame(HWND window, int w = kW, int h = kH) {
    static const Pixmap bitmap = AssetBitmap("button.bmp");
    const Pixmap shown = Capture(window, RECT{0, 0, w, h});
    for (int i = 1; i <= 5; ++i)
        if (RingMatches(shown, ExpectedFrame(bitmap, kButtonMargins, false, 5, i, w, h))) return i;
    return 0;
}

struct ButtonRig {
    explicit ButtonRig(const wchar_t* caption = L"检测") {
        PointerAway();
        button = new ui::TButton(host.form);
        button->SetBounds(20, 20, kW, kH);
        button->SetCaption(caption);
        button->OnClick = [this](ui::TComponent*) { ++clicks; };
        button->SetParent(host.form);
        other = new ui::TButton(host.form);
        other->SetBounds(20, 70, kW, kH);
        other->SetParent(host.form);
        skinned = new skin::TSkinButton(button);
        skinned->Attach(*button, &list, *holder, false);
        SetForegroundWindow(host.form->Handle());
        other->SetFocus();
        Repaint(button->Handle());
    }
    HWND h() { return button->Handle(); }

    FormHost host{300, 120};
    std::unique_ptr<skin::TSkinHolder> holder = MakeHolder();
    skin::TSkinControlList list;
    ui::TButton* button = nullptr;
    ui::TButton* other = nullptr;
    skin::TSkinButton* skinned = nullptr;
    int clicks = 0;
};

TEST(SkinButton, EachStateShowsItsFrameOfButtonBmp) {
    ASSERT_EQ(AssetBitmap("button.bmp").Width(), 275);
    ButtonRig rig;
    EXPECT_EQ(ShownFrame(rig.h()), 1) << "normal";

    PointerOver(rig.h());
    SendMessageW(rig.h(), WM_MOUSEMOVE, 0, Centre(kW, kH));
    Pump();
    EXPECT_EQ(ShownFrame(rig.h()), 4) << "hot";

    // Hot, then disabled while still under the mouse: frame 3, never 4.
    rig.button->SetEnabled(false);
    Repaint(rig.h());
    EXPECT_EQ(ShownFrame(rig.h()), 3) << "disabled under the mouse";
    rig.button->SetEnabled(true);

    PointerAway();
    SendMessageW(rig.h(), WM_MOUSELEAVE, 0, 0);
    SendMessageW(rig.h(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(kW, kH));
    Pump();
    EXPECT_EQ(GetFocus(), rig.h()) << "a press takes the focus";
    EXPECT_EQ(ShownFrame(rig.h()), 2) << "pressed";

    SendMessageW(rig.h(), WM_MOUSELEAVE, 0, 0);
    Pump();
    EXPECT_EQ(ShownFrame(rig.h()), 5) << "focused";
}

TEST(SkinButton, FocusRectangleLiesTwoPixelsOutsideTheTextAndGoesWithSoNoFocusRect) {
    ButtonRig rig(L"退出");
    rig.button->SetFocus();
    Repaint(rig.h());
    ASSERT_EQ(ShownFrame(rig.h()), 5);
    const Pixmap withMark = Capture(rig.h(), RECT{0, 0, kW, kH});

    rig.holder->Options.Include(skin::soNoFocusRect);
    Repaint(rig.h());
    EXPECT_EQ(ShownFrame(rig.h()), 5) << "the frame stays";
    const Pixmap without = Capture(rig.h(), RECT{0, 0, kW, kH});

    // The text rectangle as the caption is measured: centred, 1 pixel up.
    platform::MemoryDC dc(nullptr);
    platform::SelectGuard font(dc.get(), rig.button->Font().Handle());
    RECT t{2, 2, kW - 2, kH - 2};
    DrawTextW(dc.get(), L"退出", -1, &t,
              DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK | DT_CALCRECT | DT_NOCLIP);
    const int w = t.right - t.left, h = t.bottom - t.top;
    const RECT mark{(kW - w) / 2 - 2, (kH - h) / 2 - 1 - 2, (kW - w) / 2 + w + 2,
                    (kH - h) / 2 - 1 + h + 2};
    RECT box;
    ASSERT_GT(DiffCount(withMark, without, &box), 10) << "a dotted rectangle was drawn";
    // The dots alternate, so a corner pixel may be off.
    EXPECT_NEAR(box.left, mark.left, 1);
    EXPECT_NEAR(box.top, mark.top, 1);
    EXPECT_NEAR(box.right, mark.right, 1);
    EXPECT_NEAR(box.bottom, mark.bottom, 1);
}

TEST(SkinButton, ClickComesOnlyFromAReleaseOverThePressedButton) {
    ButtonRig rig;
    // Press, leave, release elsewhere: no click.
    SendMessageW(rig.h(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(kW, kH));
    SendMessageW(rig.h(), WM_MOUSELEAVE, 0, 0);
    SendMessageW(rig.host.form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(rig.h(), WM_LBUTTONUP, 0, Centre(kW, kH));
    Pump(30);
    EXPECT_EQ(rig.clicks, 0);

    // Press and release over it: exactly one click.
    SendMessageW(rig.h(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(kW, kH));
    SendMessageW(rig.h(), WM_LBUTTONUP, 0, Centre(kW, kH));
    Pump(30);
    EXPECT_EQ(rig.clicks, 1);
    EXPECT_NE(ShownFrame(rig.h()), 2);

    // Losing the capture or the focus while pressed: no click later.
    for (UINT lost : {WM_CANCELMODE, WM_CAPTURECHANGED, WM_KILLFOCUS}) {
        SendMessageW(rig.h(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(kW, kH));
        ASSERT_EQ(ShownFrame(rig.h()), 2);
        SendMessageW(rig.h(), lost, 0, 0);
        Pump();
        EXPECT_NE(ShownFrame(rig.h()), 2) << std::hex << lost;
        SendMessageW(rig.h(), WM_LBUTTONUP, 0, Centre(kW, kH));
        Pump(30);
        EXPECT_EQ(rig.clicks, 1) << std::hex << lost;
    }
}

TEST(SkinButton, SpaceHeldShowsPressedFrameAndTheControlClicksOnRelease) {
    ButtonRig rig;
    rig.button->SetFocus();
    SendMessageW(rig.h(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    Pump();
    EXPECT_EQ(ShownFrame(rig.h()), 2);
    Pump(50);
    EXPECT_EQ(ShownFrame(rig.h()), 2) << "until the key is released";
    SendMessageW(rig.h(), WM_KEYUP, VK_SPACE, 0xC0390001);
    Pump(30);
    EXPECT_EQ(ShownFrame(rig.h()), 5);
    EXPECT_EQ(rig.clicks, 1);
}

TEST(SkinButton, FirstDoubleBarBreaksTheCaptionOnce) {
    ButtonRig rig(L"ab||cd||ef");
    rig.button->SetBounds(20, 20, kW, 40);
    Repaint(rig.h());
    EXPECT_EQ(rig.skinned->Text(), L"ab\r\ncd||ef");
    // Dark caption pixels on two lines.
    const Pixmap shown = Capture(rig.h(), RECT{0, 0, kW, 40});
    int top = 40, bottom = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 6; x < kW - 6; ++x)
            if (shown.Pixel(x, y) == 0) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    TEXTMETRICW tm{};
    platform::MemoryDC dc(nullptr);
    platform::SelectGuard font(dc.get(), rig.button->Font().Handle());
    GetTextMetricsW(dc.get(), &tm);
    EXPECT_GT(bottom - top, tm.tmHeight) << "two lines of text";
}

TEST(SkinButton, SkinEnableMessageSwitchesSkinningAndNeverReachesTheControl) {
    ButtonRig rig;
    // A recorder between the skinning object and the control.
    std::vector<UINT> seen;
    rig.list.ReleaseAll();
    ui::TWndMethod original = rig.button->WindowProc;
    rig.button->WindowProc = [&](ui::TMessage& m) {
        seen.push_back(m.Msg);
        original(m);
    };
    auto* skinned = new skin::TSkinButton(rig.button);
    skinned->Attach(*rig.button, &rig.list, *rig.holder, false);
    Repaint(rig.h());
    EXPECT_EQ(ShownFrame(rig.h()), 1);

    SendMessageW(rig.h(), skin::WM_SKIN_ENABLE, 0, 0);
    Repaint(rig.h());
    EXPECT_EQ(ShownFrame(rig.h()), 0) << "the control paints itself";
    EXPECT_EQ(SendMessageW(rig.h(), skin::WM_SKIN_QUERY, 0, 0), 0);

    SendMessageW(rig.h(), skin::WM_SKIN_ENABLE, 1, 0);
    EXPECT_EQ(ShownFrame(rig.h()), 1) << "skinned again at once";
    EXPECT_EQ(SendMessageW(rig.h(), skin::WM_SKIN_QUERY, 0, 0), 1);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), skin::WM_SKIN_ENABLE), 0);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), skin::WM_SKIN_QUERY), 1) << "only while off";

    rig.list.ReleaseAll();
    seen.clear();
    rig.button->Perform(WM_NULL);
    EXPECT_EQ(seen.size(), 1u) << "the recorder is the handler again";
    rig.button->WindowProc = original;
}

// ---- speed buttons -------------------------------------------------------------

// A glyph strip of `cells` 22 x 22 cells of the given colours; each cell's
// bottom-left pixel is magenta, the transparent colour taken from the cell.
platform::Bitmap MakeGlyph(std::initializer_list<COLORREF> colours) {
    const int cells = static_cast<int>(colours.size());
    skin::gdi::DibCanvas canvas(22 * cells, 22);
    int i = 0;
    for (COLORREF c : colours) {
        RECT r{22 * i, 0, 22 * i + 22, 22};
        platform::Brush b(CreateSolidBrush(c));
        FillRect(canvas.dc(), &r, b.get());
        SetPixel(canvas.dc(), 22 * i, 21, RGB(255, 0, 255));
        ++i;
    }
    GdiFlush();
    return platform::Bitmap(skin::gdi::CreateDibSection(canvas.ToPixmap()).release());
}

struct SpeedRig {
    SpeedRig() {
        PointerAway();
        speed = new ui::TSpeedButton(host.form);
        speed->SetBounds(243, 95, 65, 30);
        speed->SetCaption(L"中断&Q");
        speed->Flat = true;
        speed->Spacing = 0;
        speed->SetFont(ui::TFont(L"MS Sans Serif", 8, ui::clBlue));
        speed->OnClick = [this](ui::TComponent*) { ++clicks; };
        speed->SetParent(host.form);
        skinned = new skin::TSkinSpeedButton(speed);
        skinned->AttachSpeedButton(*speed, &list, *holder);
    }
    Pixmap Shown() {
        Repaint(host.form->Handle());
        return Capture(host.form->Handle(), speed->BoundsRect());
    }
    int Frame() {
        static const Pixmap bitmap = AssetBitmap("button.bmp");
        const Pixmap shown = Shown();
        for (int i = 1; i <= 5; ++i)
            if (RingMatches(shown, ExpectedFrame(bitmap, kButtonMargins, false, 5, i, 65, 30)))
                return i;
        return 0;
    }
    // The leftmost column holding `colour`, or -1.
    static int FirstColumnOf(const Pixmap& p, COLORREF colour) {
        const skin::Colour c = static_cast<skin::Colour>(colour);
        for (int x = 0; x < p.Width(); ++x)
            for (int y = 0; y < p.Height(); ++y)
                if (p.Pixel(x, y) == c) return x;
        return -1;
    }

    FormHost host{342, 130};
    std::unique_ptr<skin::TSkinHolder> holder = MakeHolder();
    skin::TSkinControlList list;
    ui::TSpeedButton* speed = nullptr;
    skin::TSkinSpeedButton* skinned = nullptr;
    int clicks = 0;
};

TEST(SkinSpeedButton, FlatButtonWithGlyphIdleHotAndPressed) {
    SpeedRig rig;
    platform::Bitmap glyph = MakeGlyph({RGB(255, 0, 0)});
    rig.speed->Glyph = glyph.get();

    // Idle: only the ButtonFace background, the glyph where the layout puts it.
    Pixmap idle = rig.Shown();
    EXPECT_EQ(idle.Pixel(1, 1), skin::Rgb(221, 221, 221));
    EXPECT_EQ(rig.Frame(), 0);
    platform::MemoryDC dc(nullptr);
    platform::SelectGuard font(dc.get(), rig.speed->Font().Handle());
    RECT area{2, 2, 65 - 2 - 24, 30 - 2};
    DrawTextW(dc.get(), L"中断&Q", -1, &area, DT_CALCRECT | DT_WORDBREAK);
    const int tw = area.right - area.left;
    const int gx = (65 - (22 + 0 + tw)) / 2 + 1;
    EXPECT_EQ(SpeedRig::FirstColumnOf(idle, RGB(255, 0, 0)), gx);
    EXPECT_EQ(SpeedRig::FirstColumnOf(idle, RGB(255, 0, 255)), -1) << "the key is transparent";
    // The caption starts right after the glyph (its pixels are smoothed
    // shades of the font's blue).
    int text = -1;
    for (int x = gx + 22; x < 65 && text < 0; ++x)
        for (int y = 0; y < 30; ++y)
            if (idle.Pixel(x, y) != skin::Rgb(221, 221, 221)) {
                text = x;
                break;
            }
    EXPECT_GE(text, gx + 22);
    EXPECT_LE(text, gx + 22 + 3);

    rig.speed->Perform(ui::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(rig.speed));
    EXPECT_EQ(rig.Frame(), 4) << "hot";
    rig.speed->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 15));
    EXPECT_EQ(rig.Frame(), 2) << "pressed";
    EXPECT_EQ(SpeedRig::FirstColumnOf(rig.Shown(), RGB(255, 0, 0)), gx);
    rig.speed->Perform(WM_LBUTTONUP, 0, MAKELPARAM(30, 15));
    EXPECT_EQ(rig.clicks, 1) << "the speed button keeps its own click";
    EXPECT_EQ(rig.Frame(), 4);
    rig.speed->Perform(ui::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(rig.speed));
    EXPECT_EQ(rig.Frame(), 0);
}

TEST(SkinSpeedButton, DownAndDisabledButtonsShowTheirGlyphCells) {
    struct Case {
        const char* name;
        int cells;
        bool down, enabled;
        int frame;
        COLORREF expected;
    };
    const COLORREF c1 = RGB(255, 255, 90), c2 = RGB(0, 0, 255), c3 = RGB(0, 255, 0),
                   c4 = RGB(255, 0, 0);
    const Case cases[] = {
        {"down, four cells: cell 4", 4, true, true, 2, c4},
        {"down, one cell: cell 1", 1, true, true, 2, c1},
        {"disabled, two cells: grey cell 2", 2, false, false, 3, RGB(85, 85, 85)},
        {"disabled, one cell: grey cell 1", 1, false, false, 3, RGB(200, 200, 200)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpeedRig rig;
        rig.speed->Flat = false;
        platform::Bitmap glyph = c.cells == 4   ? MakeGlyph({c1, c2, c3, c4})
                                 : c.cells == 2 ? MakeGlyph({c1, c2})
                                                : MakeGlyph({c1});
        rig.speed->Glyph = glyph.get();
        rig.speed->NumGlyphs = c.cells;
        rig.speed->SetDown(c.down);
        rig.speed->SetEnabled(c.enabled);
        EXPECT_EQ(rig.Frame(), c.frame);
        EXPECT_GE(SpeedRig::FirstColumnOf(rig.Shown(), c.expected), 0);
        rig.list.ReleaseAll(); // before the glyph goes
    }
}

// ---- window mode ---------------------------------------------------------------

thread_local skin::TSkinHolder* t_holder = nullptr;
thread_local skin::TSkinControlList* t_list = nullptr;
thread_local HHOOK t_hook = nullptr;
thread_local bool t_okSkinned = false;
thread_local std::wstring t_okText;

void CALLBACK ClickSkinnedOk(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    skin::SkinChildWindows(dialog, *t_holder, *t_list);
    HWND ok = GetDlgItem(dialog, IDOK);
    skin::TSkinControl* object = t_list->FindWindow(ok);
    t_okSkinned = object != nullptr && SendMessageW(ok, skin::WM_SKIN_QUERY, 0, 0) == 1;
    if (object) {
        UpdateWindow(ok);
        object->PaintWindow(nullptr);
        t_okText = object->Text();
    }
    // Only the skinning object can turn these into a click: the button
    // itself never sees the press.
    SendMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    // Should nothing close it, cancel, so that the test fails instead of hanging.
    SetTimer(dialog, 2, 3000, [](HWND d, UINT, UINT_PTR t, DWORD) {
        KillTimer(d, t);
        EndDialog(d, IDCANCEL);
    });
}

LRESULT CALLBACK ActivateHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        wchar_t cls[32] = {};
        GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 32);
        if (std::wstring(cls) == L"#32770")
            SetTimer(reinterpret_cast<HWND>(wParam), 1, 50, ClickSkinnedOk);
    }
    return CallNextHookEx(t_hook, code, wParam, lParam);
}

TEST(SkinButtonWindowMode, MessageBoxOkClosesTheBoxThroughWmCommand) {
    PointerAway();
    auto holder = MakeHolder();
    skin::TSkinControlList list;
    t_holder = holder.get();
    t_list = &list;
    t_hook = SetWindowsHookExW(WH_CBT, ActivateHook, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxW(nullptr, L"检测完成", L"信息框", MB_OKCANCEL);
    UnhookWindowsHookEx(t_hook);
    EXPECT_TRUE(t_okSkinned);
    EXPECT_EQ(answer, IDOK);
    EXPECT_FALSE(t_okText.empty());
    // The box is gone: its objects saw their windows destroyed.
    ASSERT_FALSE(list.Items().empty());
    for (skin::TSkinControl* object : list.Items())
        EXPECT_EQ(object->LifeState(), skin::kLifeWindowDestroyed);
    list.Purge();
    EXPECT_TRUE(list.Items().empty());
}

TEST(SkinButtonWindowMode, UnicodeAndAnsiWindowsKeepTheirKindAndGetTheirProcedureBack) {
    FormHost host;
    auto holder = MakeHolder();
    HWND parent = host.form->Handle();
    HWND wide = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, parent,
                                reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
    HWND ansi = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 10, 50, 80, 24, parent,
                                reinterpret_cast<HMENU>(IDCANCEL), nullptr, nullptr);
    ASSERT_TRUE(IsWindowUnicode(wide));
    ASSERT_FALSE(IsWindowUnicode(ansi));
    const LONG_PTR wideProc = GetWindowLongPtrW(wide, GWLP_WNDPROC);
    const LONG_PTR ansiProc = GetWindowLongPtrA(ansi, GWLP_WNDPROC);
    {
        skin::TSkinControlList list;
        skin::SkinChildWindows(parent, *holder, list);
        ASSERT_NE(list.FindWindow(wide), nullptr);
        ASSERT_NE(list.FindWindow(ansi), nullptr);
        EXPECT_TRUE(IsWindowUnicode(wide));
        EXPECT_FALSE(IsWindowUnicode(ansi));
        SetWindowTextW(wide, L"确定");
        wchar_t text[16] = {};
        GetWindowTextW(wide, text, 16);
        EXPECT_STREQ(text, L"确定") << "no trip through the ANSI code page";
        SetWindowTextA(ansi, "Go");
        char a[16] = {};
        GetWindowTextA(ansi, a, 16);
        EXPECT_STREQ(a, "Go");
        Repaint(wide);
        EXPECT_EQ(ShownFrame(wide, 80, 24), 1);
        EXPECT_EQ(list.FindWindow(wide)->Text(), L"确定");
    }
    EXPECT_EQ(GetWindowLongPtrW(wide, GWLP_WNDPROC), wideProc);
    EXPECT_EQ(GetWindowLongPtrA(ansi, GWLP_WNDPROC), ansiProc);
    EXPECT_EQ(SendMessageW(wide, skin::WM_SKIN_QUERY, 0, 0), 0);
    DestroyWindow(wide);
    DestroyWindow(ansi);
}

// ---- resources -------------------------------------------------------------------

// Live GDI objects of this process. Wine's GetGuiResources answers 0, so
// there the objects are counted in the GDI handle table that the process
// environment block points to (the same 24-byte entries as on 64-bit
// Windows; an entry in use has a non-zero type).
int LiveGdiObjects() {
    if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return static_cast<int>(n);
    struct Entry {
        std::uint64_t object;
        std::uint32_t owner;
        std::uint16_t instance;
        std::uint8_t type;
        std::uint8_t flags;
        std::uint64_t user;
    };
    static_assert(sizeof(Entry) == 24);
    using QueryFn = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    if (!query ||
        query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info), nullptr) != 0)
        return -1;
    const auto* peb = reinterpret_cast<const std::uint8_t*>(info.PebBaseAddress);
    const auto* table = *reinterpret_cast<const Entry* const*>(peb + 0xF8); // GdiSharedHandleTable
    if (!table) return -1;
    int n = 0;
    for (int i = 0; i < 0x4000; ++i)
        if (table[i].type) ++n;
    return n;
}

TEST(SkinControls, ThousandRepaintsLeaveTheGdiObjectCountUnchanged) {
    ButtonRig rig;
    auto* speed = new ui::TSpeedButton(rig.host.form);
    speed->SetBounds(150, 20, 65, 30);
    speed->SetCaption(L"作者主页");
    speed->SetParent(rig.host.form);
    (new skin::TSkinSpeedButton(speed))->AttachSpeedButton(*speed, &rig.list, *rig.holder);
    auto* bar = new ui::TProgressBar(rig.host.form);
    bar->SetBounds(20, 64, 272, 25);
    bar->SetRange(0, 3);
    bar->SetPosition(1);
    bar->SetParent(rig.host.form);
    (new skin::TSkinProgress(bar))->Attach(*bar, &rig.list, *rig.holder, false);

    auto repaintAll = [&](int times) {
        for (int i = 0; i < times; ++i) {
            RedrawWindow(rig.h(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            speed->Invalidate();
            UpdateWindow(rig.host.form->Handle());
        }
        Pump();
    };
    repaintAll(5); // first paints make the face bitmaps
    const int before = LiveGdiObjects();
    ASSERT_GT(before, 0);
    repaintAll(1000);
    EXPECT_EQ(LiveGdiObjects(), before);
    // The check itself sees a leak.
    HBRUSH leak = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(LiveGdiObjects(), before + 1);
    DeleteObject(leak);
}

} // namespace
