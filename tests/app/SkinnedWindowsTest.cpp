// The program's own windows under its skin: the main window, the progress
// window and the find dialog, as the skin manager frames them.
#include "app/MainForm.h"
#include "app/ProgressForm.h"
#include "grid/GridFindDialog.h"
#include "skin/SkinHolder.h"
#include "skin/SkinManager.h"
#include "skin/frame/FramePainter.h"
#include "support/WindowTest.h"
#include "ui/Application.h"
#include "ui/Button.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using skin::TFramePainter;

struct ManagerEnd {
    ~ManagerEnd() { skin::TSkinManager::Destroy(); }
};

// Visible caption buttons by action, with their top-left corners.
std::map<int, POINT> VisibleButtons(TFramePainter& p) {
    p.LayoutButtons();
    std::map<int, POINT> shown;
    for (const auto& b : p.Buttons())
        if (b->Visible) shown[b->Action()] = {b->Bounds.left, b->Bounds.top};
    return shown;
}

TFramePainter* PainterOf(ui::TWinControl& form) {
    return skin::TSkinManager::Instance()->PainterOf(form.Handle());
}

TEST(SkinnedWindows, MainWindowProgressWindowAndFindDialogWearTheSkin) {
    ManagerEnd managerEnd;
    ui::TApplication application;
    application.SetTitle(app::kApplicationTitle);
    auto* form = new app::TForm1(&application);
    application.SetMainForm(form);
    EXPECT_TRUE(form->SkinHolder1->Active());
    form->Show();
    testing_support::Pump(60);
    HWND h = form->Handle();
    TFramePainter* p = PainterOf(*form);
    ASSERT_NE(p, nullptr);

    const int ppi = ui::ScreenPixelsPerInch();
    RECT window{}, client{};
    GetWindowRect(h, &window);
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, MulDiv(882, ppi, 96));
    EXPECT_EQ(client.bottom, MulDiv(369, ppi, 96));
    EXPECT_EQ(window.right - window.left, client.right + 10);
    EXPECT_EQ(window.bottom - window.top, client.bottom + 27);
    if (ppi == 96) {
        EXPECT_EQ(window.right - window.left, 892);
        EXPECT_EQ(window.bottom - window.top, 396);
    }
    EXPECT_EQ(form->Color(), static_cast<ui::TColor>(skin::Rgb(221, 221, 221)));

    // Close, minimise and the icon; the maximise button's place is dead.
    const int w = window.right - window.left;
    const auto shown = VisibleButtons(*p);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown.at(skin::caClose).x, w - 24);
    EXPECT_EQ(shown.at(skin::caClose).y, 8);
    EXPECT_EQ(shown.at(skin::caMinimize).x, w - 46);
    EXPECT_EQ(shown.at(skin::caSystemMenu).x, 10);
    EXPECT_EQ(shown.at(skin::caSystemMenu).y, 4);
    EXPECT_EQ(p->HitObject({w - 35 + 5, 12}), nullptr);
    EXPECT_NE(p->HitObject({w - 24 + 5, 12}), nullptr);

    // The progress window: a dialog frame without system menu, no buttons.
    auto* progress = new app::Tsp_jdt_frm(&application);
    progress->Show();
    testing_support::Pump(60);
    TFramePainter* pp = PainterOf(*progress);
    ASSERT_NE(pp, nullptr);
    EXPECT_EQ(pp->Border(), TFramePainter::bkDialog);
    EXPECT_TRUE(VisibleButtons(*pp).empty());
    delete progress;

    // The find dialog: close only.
    auto* find = new grid::TGridFindDlg(&application);
    find->Show();
    testing_support::Pump(60);
    TFramePainter* fp = PainterOf(*find);
    ASSERT_NE(fp, nullptr);
    const auto findButtons = VisibleButtons(*fp);
    ASSERT_EQ(findButtons.size(), 1u);
    EXPECT_EQ(findButtons.count(skin::caClose), 1u);
    delete find;

    // Unskinned, the main window gets the system's frame back, same client.
    form->SkinHolder1->SetActive(false);
    testing_support::Pump(400);
    EXPECT_EQ(PainterOf(*form), nullptr);
    RECT expected{0, 0, client.right, client.bottom};
    AdjustWindowRectEx(&expected, static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE)));
    GetWindowRect(h, &window);
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, MulDiv(882, ppi, 96));
    EXPECT_EQ(window.right - window.left, expected.right - expected.left);
    EXPECT_EQ(window.bottom - window.top, expected.bottom - expected.top);
}

} // namespace

namespace {

// The skinned main window ends the program by its close button, by "退出"
// and by WM_CLOSE alike.
TEST(SkinnedWindows, TheMainWindowClosesTheProgramEveryWay) {
    for (int way = 0; way < 3; ++way) {
        ManagerEnd managerEnd;
        ui::TApplication application;
        auto* form = new app::TForm1(&application);
        application.SetMainForm(form);
        form->Show();
        testing_support::Pump(60);
        HWND h = form->Handle();
        TFramePainter* p = PainterOf(*form);
        ASSERT_NE(p, nullptr);
        if (way == 0) {
            p->LayoutButtons();
            RECT close{};
            for (const auto& b : p->Buttons())
                if (b->Visible && b->Action() == skin::caClose) close = b->Bounds;
            RECT w{};
            GetWindowRect(h, &w);
            const LPARAM at = MAKELPARAM(w.left + close.left + 4, w.top + close.top + 4);
            SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, at);
            SendMessageW(h, WM_NCLBUTTONUP, HTCAPTION, at);
        } else if (way == 1) {
            SendMessageW(form->Button2->Handle(), BM_CLICK, 0, 0);
        } else {
            PostMessageW(h, WM_CLOSE, 0, 0);
        }
        testing_support::Pump(30);
        EXPECT_TRUE(application.Terminated()) << "way " << way;
    }
}

} // namespace
