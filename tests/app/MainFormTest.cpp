#include "app/MainForm.h"
#include "app/ProgressForm.h"
#include "grid/DataGrid.h"
#include "skin/SkinHolder.h"
#include "skin/SkinLoader.h"
#include "support/WindowTest.h"
#include "ui/Animate.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/ProgressBar.h"
#include "ui/SpeedButton.h"

#include <gtest/gtest.h>

namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

TEST(BannerDate, ShowsFromTheEighthOfMay2013) {
    EXPECT_EQ(app::DateSerial(1899, 12, 30), 0);
    EXPECT_EQ(app::DateSerial(1900, 3, 1), 61);
    EXPECT_EQ(app::DateSerial(2013, 5, 7), 41401);
    EXPECT_FALSE(app::BannerVisibleOn(app::DateSerial(2013, 5, 7)));
    EXPECT_TRUE(app::BannerVisibleOn(app::DateSerial(2013, 5, 8)));
    EXPECT_FALSE(app::BannerVisibleOn(app::DateSerial(2000, 1, 1)));
}

TEST(MainWindow, LayoutCaptionAndFrame) {
    ui::TApplication application;
    application.SetTitle(app::kApplicationTitle);
    auto* form = new app::TForm1(&application);
    application.SetMainForm(form);
    form->Show();
    HWND h = form->Handle();
    EXPECT_EQ(ClassOf(h), L"TForm1");
    wchar_t caption[64] = {};
    GetWindowTextW(h, caption, 64);
    EXPECT_STREQ(caption, L"SondrelkV1.02.07");
    RECT client;
    GetClientRect(h, &client);
    const int ppi = ui::ScreenPixelsPerInch();
    EXPECT_EQ(client.right, MulDiv(882, ppi, 96));
    EXPECT_EQ(client.bottom, MulDiv(369, ppi, 96));
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_TRUE(style & WS_MINIMIZEBOX);

    RECT r;
    GetWindowRect(form->Button1->Handle(), &r);
    MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, MulDiv(661, ppi, 96));
    EXPECT_EQ(r.top, MulDiv(296, ppi, 96));
    EXPECT_EQ(r.right - r.left, MulDiv(105, ppi, 96));
    EXPECT_EQ(ClassOf(form->Button1->Handle()), L"TButton");
    EXPECT_EQ(form->Button1->Caption(), L"检测");
    EXPECT_EQ(form->Button2->Caption(), L"退出");
    EXPECT_EQ(form->SpeedButton15->Caption(), L"作者主页");
    EXPECT_EQ(form->SpeedButton15->Font().Color(), ui::clBlue);
    EXPECT_EQ(form->Button1->Cursor, ui::TCursor::crHandPoint);
    EXPECT_EQ(form->Image1->Cursor, ui::TCursor::crHandPoint);
    EXPECT_EQ(form->Font().Name(), L"MS Sans Serif");
    EXPECT_EQ(form->Font().Size(), 8);
    EXPECT_EQ(form->Image1->Visible(), app::BannerVisibleOn(app::TodaySerial()));
    EXPECT_EQ(form->Image1->PictureSize().cx, 415);
    EXPECT_EQ(form->Image1->PictureSize().cy, 60);
    // The grid is first in tab order and has the focus when the window shows.
    testing_support::Pump();
    EXPECT_EQ(GetFocus(), form->DataGrid1->Handle());
    EXPECT_EQ(ClassOf(form->DataGrid1->Handle()), L"TDataGrid");
}

TEST(MainWindow, CarriesThePackedSkinAsSkinHolder1sStream) {
    ui::TApplication application;
    auto* form = new app::TForm1(&application);
    const auto& stream = form->SkinHolder1->SkinStream();
    ASSERT_GT(stream.size(), 4u);
    EXPECT_EQ(form->SkinHolder1->StoredSkinFile().size(), stream.size() - 4)
        << "length field then the skin file";
    skin::SkinLoadReport report;
    auto data = skin::LoadSkinStream(stream, &report);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(report.Result, skin::SkinLoadReport::Failure::kNone);
    EXPECT_EQ(report.PackageSize, 234786u);
    EXPECT_EQ(report.DefinitionName, L"iridium.ini");
    EXPECT_GT(report.BitmapsRequested, 0);
    EXPECT_EQ(report.BitmapsFound, report.BitmapsRequested);
}

TEST(MainWindow, ExitClosesTheProgram) {
    ui::TApplication application;
    auto* form = new app::TForm1(&application);
    application.SetMainForm(form);
    form->Show();
    SendMessageW(form->Button2->Handle(), BM_CLICK, 0, 0);
    testing_support::Pump();
    EXPECT_TRUE(application.Terminated());
}

TEST(ProgressWindow, CreatedHiddenWithItsControlsAndTheAnimationPlaying) {
    ui::TApplication application;
    auto* progress = new app::Tsp_jdt_frm(&application);
    HWND h = progress->Handle();
    EXPECT_EQ(ClassOf(h), L"Tsp_jdt_frm");
    EXPECT_FALSE(IsWindowVisible(h));
    wchar_t caption[16] = {};
    GetWindowTextW(h, caption, 16);
    EXPECT_STREQ(caption, L"进度");
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, MulDiv(342, ui::ScreenPixelsPerInch(), 96));
    EXPECT_EQ(client.bottom, MulDiv(130, ui::ScreenPixelsPerInch(), 96));
    EXPECT_EQ(progress->Cursor, ui::TCursor::crAppStart);
    EXPECT_TRUE(progress->Animate1->Opened()) << "the shell's copy-file clip is loaded";
    EXPECT_TRUE(progress->Animate1->Active());
    EXPECT_EQ(progress->ProgressBar1->Min(), 0);
    EXPECT_EQ(progress->ProgressBar1->Position(), 0);
    EXPECT_EQ(progress->ProgressBar1->Step(), 1);
    EXPECT_EQ(progress->Label1->Caption(), L"进度");
    EXPECT_EQ(progress->SpeedButton2->Caption(), L"中断&Q");
    EXPECT_NE(progress->SpeedButton2->Glyph, nullptr);
    EXPECT_EQ(progress->InterruptFlag(), L"N");
}

TEST(ProgressWindow, TheInterruptButtonSetsTheFlagOnce) {
    ui::TApplication application;
    auto* progress = new app::Tsp_jdt_frm(&application);
    progress->Show();
    const int x = progress->SpeedButton2->Left() + 5, y = progress->SpeedButton2->Top() + 5;
    for (int i = 0; i < 2; ++i) {
        SendMessageW(progress->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(progress->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        EXPECT_EQ(progress->InterruptFlag(), L"Y");
    }
}

} // namespace
