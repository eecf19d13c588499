// Skinned windows end to end: real forms and message boxes, activated under a
// skin data component holding the program's own skin, checked by their sizes,
// regions, frame pixels and what real non-client mouse messages do.
#include "skin/ImageOps.h"
#include "skin/SkinHolder.h"
#include "skin/SkinManager.h"
#include "skin/frame/FramePainter.h"
#include "SkinnedApp.h"
#include "support/WindowTest.h"
#include "ui/Application.h"
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using skin::TFramePainter;
using testing_support::Pump;

using testing_support::SkinnedApp;

SIZE OuterSize(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE ClientSize(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    return {r.right, r.bottom};
}

// The screen point of a point in window coordinates, as mouse messages carry it.
LPARAM ScreenPoint(HWND h, int x, int y) {
    RECT r{};
    GetWindowRect(h, &r);
    return MAKELPARAM(r.left + x, r.top + y);
}

COLORREF WindowPixel(HWND h, int x, int y) {
    platform::WindowDC dc(h, true);
    return GetPixel(dc.get(), x, y);
}

skin::Colour ComposedPixel(const skin::TSkinBorderElement& e, int w, int h, bool vertical,
                           int frame, int x, int y) {
    const skin::Pixmap p = skin::ComposeElement(skin::Rect{0, 0, w, h}, e.Bitmap, e.Margins,
                                                vertical, e.Tile != 1, e.FrameCount(), frame);
    return p.Pixel(x, y);
}

TEST(SkinManager, DecidesWhichWindowsGetAFramePainter) {
    SkinnedApp s;
    // Skinning was switched on before any activation: the first one skins.
    EXPECT_TRUE(s.holder->SkinLoaded());
    EXPECT_TRUE(skin::TSkinManager::Instance()->SkinningEnabled());
    EXPECT_FALSE(skin::TSkinManager::Instance()->TimerArmed());
    ui::TForm* plain = s.Shown(s.Form(ui::TFormBorderStyle::bsSingle, ui::biSystemMenu, 200, 100));
    ASSERT_NE(s.Painter(plain->Handle()), nullptr);
    EXPECT_EQ(SendMessageW(plain->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1);

    // Tag 99 is refused whatever DisableTag says.
    s.holder->DisableTag = 5;
    ui::TForm* tagged = s.Form(ui::TFormBorderStyle::bsSingle, ui::biSystemMenu, 200, 100);
    tagged->Tag = 99;
    s.Shown(tagged);
    EXPECT_EQ(s.Painter(tagged->Handle()), nullptr);
    EXPECT_EQ(SendMessageW(tagged->Handle(), skin::WM_SKIN_QUERY, 0, 0), 0);

    // An empty window at activation stays plain and is tried again next time.
    ui::TForm* empty = s.Form(ui::TFormBorderStyle::bsNone, 0, 0, 0);
    s.Shown(empty);
    EXPECT_EQ(s.Painter(empty->Handle()), nullptr);
    empty->SetBounds(10, 10, 120, 80);
    SetForegroundWindow(plain->Handle());
    Pump(30);
    SetForegroundWindow(empty->Handle());
    Pump(60);
    EXPECT_NE(s.Painter(empty->Handle()), nullptr);

    // Message boxes are system dialogs without a form: skinned, close only.
    static std::vector<std::wstring> shown;
    shown.clear();
    testing_support::ModalCatcher catcher([](HWND box) {
        Pump(30);
        TFramePainter* p = SkinnedApp::Painter(box);
        if (!p) return;
        p->LayoutButtons();
        for (const auto& b : p->Buttons())
            if (b->Visible) shown.push_back(std::to_wstring(b->Action()));
    });
    MessageBoxW(plain->Handle(), L"text", L"caption", MB_OK);
    ASSERT_EQ(catcher.seen().size(), 1u);
    EXPECT_EQ(shown, std::vector<std::wstring>{L"0"});
}

TEST(SkinManager, ActiveOffUnskinsEveryWindowAfterTheDelayAndOnSkinsThemAgain) {
    SkinnedApp s;
    ui::TForm* form = s.Shown(s.Form(ui::TFormBorderStyle::bsSingle, ui::biSystemMenu, 300, 200));
    HWND h = form->Handle();
    TFramePainter* painter = s.Painter(h);
    ASSERT_NE(painter, nullptr);
    const SIZE unskinned = painter->UnskinnedFrame();
    EXPECT_EQ(ClientSize(h).cx, 300);
    EXPECT_EQ(OuterSize(h).cx, 300 + 5 + 5);
    EXPECT_EQ(OuterSize(h).cy, 200 + 22 + 5);
    EXPECT_EQ(form->Color(), static_cast<ui::TColor>(skin::Rgb(221, 221, 221)));

    s.holder->SetActive(false);
    Pump(100);
    EXPECT_NE(s.Painter(h), nullptr) << "unskinned before the delay";
    Pump(300);
    EXPECT_EQ(s.Painter(h), nullptr);
    EXPECT_EQ(SendMessageW(h, skin::WM_SKIN_QUERY, 0, 0), 0);
    EXPECT_EQ(ClientSize(h).cx, 300);
    EXPECT_EQ(ClientSize(h).cy, 200);
    EXPECT_EQ(OuterSize(h).cx, 300 + unskinned.cx);
    EXPECT_EQ(OuterSize(h).cy, 200 + unskinned.cy);
    EXPECT_EQ(form->Color(), ui::clBtnFace);
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_SYSMENU);

    s.holder->SetActive(true);
    Pump(400);
    ASSERT_NE(s.Painter(h), nullptr);
    EXPECT_EQ(OuterSize(h).cx, 310);
    EXPECT_EQ(ClientSize(h).cy, 200);
}

TEST(SkinManager, ASkinFileSetAtRunTimeReplacesTheSkinOfTheSkinnedWindows) {
    SkinnedApp s;
    ui::TForm* form = s.Shown(s.Form(ui::TFormBorderStyle::bsSingle, ui::biSystemMenu, 300, 200));
    HWND h = form->Handle();
    ASSERT_NE(s.Painter(h), nullptr);
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"skn", 0, path);
    const auto bytes = s.holder->StoredSkinFile();
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);

    const skin::TSkinData* before = s.holder->Data();
    int changed = 0;
    s.holder->OnSkinChanged = [&](ui::TComponent*) { ++changed; };
    s.holder->SetSkinFile(path);
    EXPECT_NE(s.holder->Data(), before) << "a new skin was built from the file";
    EXPECT_TRUE(s.holder->SkinLoaded());
    Pump(400);
    EXPECT_EQ(changed, 1);
    TFramePainter* p = s.Painter(h);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->State(), TFramePainter::fsSkinned);
    EXPECT_EQ(ClientSize(h).cx, 300);
    EXPECT_EQ(OuterSize(h).cy, 200 + 27);

    // A path that names no file changes nothing.
    const skin::TSkinData* now = s.holder->Data();
    s.holder->SetSkinFile(std::wstring(path) + L".missing");
    EXPECT_EQ(s.holder->Data(), now);
    DeleteFileW(path);
}

TEST(FramePainter, ProcedureGivenBackEvenUnderAnotherSubclass) {
    SkinnedApp s;
    ui::TForm* form = s.Shown(s.Form(ui::TFormBorderStyle::bsSingle, ui::biSystemMenu, 200, 100));
    HWND h = form->Handle();
    TFramePainter* p = s.Painter(h);
    ASSERT_NE(p, nullptr);
    {
        // Someone subclasses the skinned window, then skinning goes away.
        testing_support::MessageRecorder recorder(h);
        p->Unskin();
        delete p;
        EXPECT_EQ(SendMessageW(h, skin::WM_SKIN_QUERY, 0, 0), 0) << "passes through now";
        recorder.clear();
        SendMessageW(h, WM_NCHITTEST, 0, ScreenPoint(h, 40, 10));
        EXPECT_EQ(recorder.count(WM_NCHITTEST), 1);
    }
    // Skinned again on top of what is left, and unskinned cleanly.
    ASSERT_TRUE(skin::TSkinManager::Instance()->SkinWindow(h));
    Pump();
    TFramePainter* again = s.Painter(h);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(OuterSize(h).cx, 210);
    EXPECT_EQ(SendMessageW(h, skin::WM_SKIN_QUERY, 0, 0), 1);
    again->Unskin();
    delete again;
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), GetClassLongPtrW(h, GCLP_WNDPROC))
        << "the window has its own procedure back";
    EXPECT_EQ(ClientSize(h).cx, 200);
}

TEST(FramePainter, RegionAndBorderFramesFollowTheSkinImages) {
    SkinnedApp s;
    ui::TForm* sizeable = s.Shown(
        s.Form(ui::TFormBorderStyle::bsSizeable, ui::biSystemMenu | ui::biMaximize, 300, 200));
    HWND h = sizeable->Handle();
    TFramePainter* p = s.Painter(h);
    ASSERT_NE(p, nullptr);
    const SIZE size = OuterSize(h);
    const auto& left = *s.Data().Left;
    const auto& top = *s.Data().Top;

    // The corners follow the transparent pixels of the border images.
    platform::Region region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(h, region.get()), ERROR);
    ASSERT_EQ(ComposedPixel(left, 5, size.cy, false, 1, 0, 0), skin::kMagenta);
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.get(), size.cx / 2, 10));
    EXPECT_TRUE(PtInRegion(region.get(), 2, size.cy / 2));
    const int topRight = size.cx - 5 - 1; // last column of the top border
    EXPECT_EQ(PtInRegion(region.get(), topRight, 0) != FALSE,
              ComposedPixel(top, size.cx - 10, 22, true, 1, size.cx - 11, 0) != skin::kMagenta);

    // Rebuilt only when the size changes.
    const int builds = p->RegionBuilds();
    SetWindowPos(h, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(p->RegionBuilds(), builds);
    SetWindowPos(h, nullptr, 0, 0, size.cx + 40, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(p->RegionBuilds(), builds + 1);
    EXPECT_EQ(p->RegionSize().cx, size.cx + 40);

    // Active windows show frame 1 of every border, inactive ones frame 2.
    const SIZE now = OuterSize(h);
    const int y = now.cy / 2;
    auto leftPixel = [&](int frame) {
        return skin::TSkinHolder::ToRGB(ComposedPixel(left, 5, now.cy, false, frame, 2, y));
    };
    ASSERT_NE(leftPixel(1), leftPixel(2)) << "the skin's two frames must differ here";
    auto captionPixel = [&](int frame) {
        return skin::TSkinHolder::ToRGB(ComposedPixel(top, now.cx - 10, 22, true, frame, 60, 3));
    };
    EXPECT_EQ(WindowPixel(h, 2, y), leftPixel(1));
    EXPECT_EQ(WindowPixel(h, 65, 3), captionPixel(1));
    ui::TForm* other = s.Shown(s.Form(ui::TFormBorderStyle::bsSingle, ui::biSystemMenu, 100, 60));
    other->SetBounds(0, 0, other->Width(), other->Height());
    Pump(60);
    EXPECT_FALSE(p->Active());
    EXPECT_EQ(WindowPixel(h, 2, y), leftPixel(2));
    EXPECT_EQ(WindowPixel(h, 65, 3), captionPixel(2));

    // A window without a caption keeps the system's frame.
    ui::TForm* bare = s.Shown(s.Form(ui::TFormBorderStyle::bsNone, 0, 120, 90));
    TFramePainter* bp = s.Painter(bare->Handle());
    ASSERT_NE(bp, nullptr);
    EXPECT_EQ(bp->Border(), TFramePainter::bkNoCaption);
    EXPECT_EQ(bp->CaptionHeight() + bp->LeftWidth() + bp->BottomHeight(), 0);
    EXPECT_EQ(OuterSize(bare->Handle()).cx, 120);
}

TEST(FramePainter, CaptionTextStartsAfterTheIconOrAtTheSkinsShift) {
    SkinnedApp s;
    const int shift = s.Data().Title->Margins.LeftWidth;
    ui::TForm* withIcon = s.Shown(
        s.Form(ui::TFormBorderStyle::bsSingle, ui::biSystemMenu | ui::biMinimize, 400, 100));
    TFramePainter* p = s.Painter(withIcon->Handle());
    ASSERT_NE(p, nullptr);
    p->LayoutButtons();
    RECT icon{};
    for (const auto& b : p->Buttons())
        if (b->Visible && b->IsIconButton()) icon = b->Bounds;
    ASSERT_GT(icon.right, shift) << "the embedded skin's icon reaches past TextShift";
    EXPECT_EQ(p->CaptionTextRect(410).left, icon.right + 2);
    EXPECT_EQ(p->CaptionTextRect(410).right, 410 - s.Data().Title->Margins.RightWidth);

    // A dialog frame hides the icon: the text starts at TextShift.
    ui::TForm* dialog = s.Shown(s.Form(ui::TFormBorderStyle::bsDialog, ui::biSystemMenu, 300, 100));
    TFramePainter* d = s.Painter(dialog->Handle());
    ASSERT_NE(d, nullptr);
    d->LayoutButtons();
    EXPECT_EQ(d->CaptionTextRect(310).left, shift);
}

// Sends a non-client mouse message at a point in window coordinates.
void Mouse(HWND h, UINT msg, int x, int y, WPARAM hit = HTCAPTION) {
    SendMessageW(h, msg, hit, ScreenPoint(h, x, y));
}

POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

const RECT& ButtonOf(TFramePainter& p, int action) {
    for (const auto& b : p.Buttons())
        if (b->Action() == action) return b->Bounds;
    static const RECT none{};
    return none;
}

TEST(CaptionButtons, PressMoveAndReleaseRunOnlyTheButtonUnderTheRelease) {
    SkinnedApp s;
    ui::TForm* form = s.Shown(
        s.Form(ui::TFormBorderStyle::bsSingle, ui::biSystemMenu | ui::biMinimize, 400, 120));
    HWND h = form->Handle();
    TFramePainter* p = s.Painter(h);
    ASSERT_NE(p, nullptr);
    int closes = 0;
    form->OnClose = [&](ui::TComponent*, ui::TCloseAction& action) {
        ++closes;
        action = ui::TCloseAction::caNone;
    };
    const int w = OuterSize(h).cx;
    const RECT close = ButtonOf(*p, skin::caClose);
    const RECT minimize = ButtonOf(*p, skin::caMinimize);
    EXPECT_EQ(close.left, w - 24);
    EXPECT_EQ(minimize.left, w - 46);
    EXPECT_EQ(close.top, 8);

    // Press close, move off, release elsewhere: nothing.
    const POINT c = Centre(close);
    Mouse(h, WM_NCLBUTTONDOWN, c.x, c.y);
    EXPECT_EQ(p->Current() ? p->Current()->State : 0, skin::bsPressed);
    Mouse(h, WM_NCMOUSEMOVE, 150, 10);
    EXPECT_EQ(p->Current(), nullptr);
    Mouse(h, WM_NCLBUTTONUP, 150, 10);
    Pump(30);
    EXPECT_EQ(closes, 0);

    // Press minimise, move onto close, release there: closes.
    const POINT m = Centre(minimize);
    Mouse(h, WM_NCLBUTTONDOWN, m.x, m.y);
    Mouse(h, WM_NCMOUSEMOVE, c.x, c.y);
    Mouse(h, WM_NCLBUTTONUP, c.x, c.y);
    Pump(30);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(IsIconic(h));

    // The icon: a double-click closes, a caption double-click without a
    // maximise box does nothing.
    const POINT i = Centre(ButtonOf(*p, skin::caSystemMenu));
    Mouse(h, WM_NCLBUTTONDBLCLK, i.x, i.y);
    Pump(30);
    EXPECT_EQ(closes, 2);
    Mouse(h, WM_NCLBUTTONDBLCLK, 150, 10);
    Pump(30);
    EXPECT_FALSE(IsZoomed(h));
    EXPECT_EQ(closes, 2);

    // A single click on the icon opens the system menu at the release point.
    POINT opened{-1, -1};
    auto saved = TFramePainter::SystemMenu();
    TFramePainter::SystemMenu() = [&](TFramePainter&, POINT at) { opened = at; };
    Sleep(GetDoubleClickTime() + 10);
    Mouse(h, WM_NCLBUTTONDOWN, i.x, i.y);
    Mouse(h, WM_NCLBUTTONUP, i.x, i.y);
    TFramePainter::SystemMenu() = saved;
    RECT wr{};
    GetWindowRect(h, &wr);
    EXPECT_EQ(opened.x, wr.left + i.x + 1);
    EXPECT_EQ(opened.y, wr.top + i.y + 1);
}

TEST(CaptionButtons, CustomActionsAndMaximisedWindows) {
    SkinnedApp s;
    // A skin button of its own with action 5, left of the icon.
    auto def = std::make_unique<skin::TSkinCaptionButtonDef>(L"BUTTON9");
    def->Action = 5;
    def->Align = 0;
    def->XCoord = 40;
    def->YCoord = 6;
    def->Frame = 6;
    def->Bitmap = s.Data().CaptionButtons.front()->Bitmap;
    s.holder->Data()->CaptionButtons.push_back(std::move(def));

    ui::TForm* form = s.Shown(s.Form(ui::TFormBorderStyle::bsSizeable,
                                     ui::biSystemMenu | ui::biMinimize | ui::biMaximize, 400, 150));
    HWND h = form->Handle();
    TFramePainter* p = s.Painter(h);
    ASSERT_NE(p, nullptr);
    WPARAM action = 0;
    WPARAM downHit = 0;
    auto previous = form->WindowProc;
    form->WindowProc = [&](ui::TMessage& m) {
        if (m.Msg == skin::WM_SKIN_CAPTIONACTION) action = m.WParam;
        if (m.Msg == WM_NCLBUTTONDOWN) {
            downHit = m.WParam;
            return; // no move loop in a test
        }
        previous(m);
    };
    const POINT b = Centre(ButtonOf(*p, 5));
    Mouse(h, WM_NCLBUTTONDOWN, b.x, b.y);
    Mouse(h, WM_NCLBUTTONUP, b.x, b.y);
    Pump(30);
    EXPECT_EQ(action, 5u);

    // With a maximise box a caption double-click maximises; a press on the
    // caption of a maximised window then reaches the system as HTMENU.
    Mouse(h, WM_NCLBUTTONDBLCLK, 200, 10);
    Pump(60);
    ASSERT_TRUE(IsZoomed(h));
    EXPECT_EQ(p->Show(), TFramePainter::ssMaximized);
    Mouse(h, WM_NCLBUTTONDOWN, 200, 10);
    EXPECT_EQ(downHit, static_cast<WPARAM>(HTMENU));
    form->WindowProc = previous;
}

TEST(FramePainter, SkinningAThousandTimesLeavesNoGdiObjectsBehind) {
    SkinnedApp s;
    ui::TForm* form = s.Shown(s.Form(ui::TFormBorderStyle::bsSingle, ui::biSystemMenu, 200, 100));
    HWND h = form->Handle();
    skin::TSkinManager& manager = *skin::TSkinManager::Instance();
    auto cycle = [&] {
        TFramePainter* p = manager.PainterOf(h);
        ASSERT_NE(p, nullptr);
        p->Unskin();
        delete p;
        ASSERT_TRUE(manager.SkinWindow(h));
        Pump(); // the skin start message
        RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    };
    for (int i = 0; i < 5; ++i)
        cycle();
    Pump(30);
    // The system's count where it keeps one (Windows), ours everywhere.
    const DWORD systemBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const long oursBefore = platform::LiveGdiHandles();
    for (int i = 0; i < 1000; ++i)
        cycle();
    Pump(30);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), systemBefore);
    EXPECT_EQ(platform::LiveGdiHandles(), oursBefore);
    EXPECT_EQ(OuterSize(h).cx, 210);
    EXPECT_EQ(ClientSize(h).cx, 200);
}

} // namespace
