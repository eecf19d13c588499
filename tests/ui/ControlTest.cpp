#include "support/WindowTest.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/Messages.h"
#include "ui/ProgressBar.h"
#include "ui/SpeedButton.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>

using testing_support::Pump;

namespace {

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new ui::TForm(&app);
        form->BorderStyle = ui::TFormBorderStyle::bsSingle;
        form->SetClientSize(300, 200);
        form->SetColor(RGB(10, 20, 30));
    }
    ui::TApplication app;
    ui::TForm* form = nullptr;
};

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

TEST_F(ControlTest, WindowClassesCarryTheFrameworkClassNames) {
    auto* button = new ui::TButton(form);
    button->SetParent(form);
    auto* bar = new ui::TProgressBar(form);
    bar->SetParent(form);
    form->HandleNeeded();
    EXPECT_EQ(ClassOf(form->Handle()), L"TForm");
    EXPECT_EQ(ClassOf(button->Handle()), L"TButton");
    EXPECT_EQ(ClassOf(bar->Handle()), L"TProgressBar");
    EXPECT_EQ(ui::TWinControl::FromHandle(button->Handle()), button);
}

TEST_F(ControlTest, EveryMessagePassesThroughAReplaceableWindowProc) {
    auto* button = new ui::TButton(form);
    button->SetParent(form);
    form->HandleNeeded();
    int seen = 0;
    ui::TWndMethod previous = button->WindowProc;
    button->WindowProc = [&](ui::TMessage& m) {
        if (m.Msg == WM_USER + 7) {
            ++seen;
            m.Result = 42;
            return;
        }
        previous(m);
    };
    EXPECT_EQ(SendMessageW(button->Handle(), WM_USER + 7, 0, 0), 42);
    EXPECT_EQ(button->Perform(WM_USER + 7), 42);
    // Messages the replacement passes on still reach the system button.
    SetWindowTextW(button->Handle(), L"abc");
    wchar_t text[8] = {};
    GetWindowTextW(button->Handle(), text, 8);
    EXPECT_STREQ(text, L"abc");
    button->WindowProc = previous;
    EXPECT_EQ(SendMessageW(button->Handle(), WM_USER + 7, 0, 0), 0);
    EXPECT_EQ(seen, 2);
}

TEST_F(ControlTest, PushButtonClickReachesOnClick) {
    auto* button = new ui::TButton(form);
    button->SetBounds(10, 10, 80, 30);
    button->SetParent(form);
    int clicks = 0;
    button->OnClick = [&](ui::TComponent* sender) {
        EXPECT_EQ(sender, button);
        ++clicks;
    };
    form->Show();
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlTest, ParentRoutesMouseToGraphicChildren) {
    auto* speed = new ui::TSpeedButton(form);
    speed->SetBounds(50, 40, 100, 30);
    speed->SetParent(form);
    int clicks = 0;
    speed->OnClick = [&](ui::TComponent*) { ++clicks; };
    form->Show();
    HWND h = form->Handle();
    // Press and release inside: one click, in the button's own coordinates.
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(60, 50));
    EXPECT_TRUE(speed->MouseInControl());
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 50));
    EXPECT_TRUE(speed->Down());
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(60, 50));
    EXPECT_EQ(clicks, 1);
    // Press inside, release outside: no click.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 50));
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(speed->Down());
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
    // Leaving the parent ends the hover.
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(60, 50));
    SendMessageW(h, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(speed->MouseInControl());
}

TEST_F(ControlTest, DisabledOrHiddenGraphicChildrenGetNoMouse) {
    auto* speed = new ui::TSpeedButton(form);
    speed->SetBounds(50, 40, 100, 30);
    speed->SetParent(form);
    int clicks = 0;
    speed->OnClick = [&](ui::TComponent*) { ++clicks; };
    form->Show();
    speed->SetEnabled(false);
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 50));
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(60, 50));
    speed->SetEnabled(true);
    speed->Hide();
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 50));
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(60, 50));
    EXPECT_EQ(clicks, 0);
}

TEST_F(ControlTest, FormPaintsItsColourAndItsGraphicChildren) {
    auto* label = new ui::TLabel(form);
    label->SetBounds(100, 100, 40, 20);
    label->SetColor(RGB(200, 0, 0));
    label->SetParent(form);
    form->Show();
    testing_support::Snapshot shot(form->Handle(), 300, 200);
    EXPECT_EQ(shot.at(5, 5), RGB(10, 20, 30));
    EXPECT_EQ(shot.at(299, 199), RGB(10, 20, 30));
    EXPECT_EQ(shot.at(138, 118), RGB(200, 0, 0)); // label fill, clipped to its bounds
    EXPECT_EQ(shot.at(141, 118), RGB(10, 20, 30));
}

TEST_F(ControlTest, FormRepaintsWithoutEraseAndWithoutLeakingGdiObjects) {
    new ui::TSpeedButton(form);
    form->Show();
    Pump();
    testing_support::MessageRecorder recorder(form->Handle());
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 200; ++i) {
        InvalidateRect(form->Handle(), nullptr, FALSE);
        UpdateWindow(form->Handle());
    }
    const DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    EXPECT_EQ(recorder.count(WM_PAINT), 200);
    EXPECT_EQ(recorder.count(WM_ERASEBKGND), 0);
    EXPECT_LE(after, before + 2) << "GDI objects leak across repaints";
}

TEST_F(ControlTest, PropertiesByName) {
    auto* bar = new ui::TProgressBar(form);
    bar->SetName(L"ProgressBar1");
    EXPECT_TRUE(bar->SetPropValue(L"max", 10LL));
    EXPECT_TRUE(bar->SetPropValue(L"Position", 4LL));
    EXPECT_EQ(std::get<long long>(*bar->GetPropValue(L"POSITION")), 4);
    EXPECT_EQ(std::get<std::wstring>(*bar->GetPropValue(L"Name")), L"ProgressBar1");
    EXPECT_FALSE(bar->SetPropValue(L"Name", std::wstring(L"x"))) << "read-only";
    EXPECT_FALSE(bar->SetPropValue(L"Position", std::wstring(L"4"))) << "wrong type";
    EXPECT_FALSE(bar->GetPropValue(L"NoSuchProperty").has_value());
    EXPECT_TRUE(bar->SetPropValue(L"Caption", std::wstring(L"x")));
    EXPECT_EQ(bar->Caption(), L"x");
}

TEST_F(ControlTest, ProgressBarStepsAndClampsLikeTheSystemBar) {
    auto* bar = new ui::TProgressBar(form);
    bar->SetParent(form);
    form->HandleNeeded();
    bar->SetRange(0, 3);
    bar->SetStep(1);
    for (int i = 0; i < 3; ++i)
        bar->StepIt();
    EXPECT_EQ(bar->Position(), 3);
    EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 3);
    bar->SetPosition(99);
    EXPECT_EQ(bar->Position(), 3);
}

TEST_F(ControlTest, AnErrorInAHandlerGoesToTheApplicationAndTheLoopCarriesOn) {
    auto* button = new ui::TButton(form);
    button->SetBounds(10, 10, 80, 30);
    button->SetParent(form);
    button->OnClick = [](ui::TComponent*) { throw std::runtime_error("broken handler"); };
    std::wstring reported;
    app.OnException = [&](std::exception_ptr e) { reported = ui::ExceptionText(e); };
    form->Show();
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(reported, L"broken handler");
    EXPECT_TRUE(IsWindow(form->Handle()));
}

TEST_F(ControlTest, DefaultErrorHandlerShowsTextTitleAndErrorIcon) {
    app.SetTitle(L"Title 标题");
    testing_support::ModalCatcher catcher;
    app.HandleException(std::make_exception_ptr(std::runtime_error("disk \xE6\xBB\xA1")));
    ASSERT_EQ(catcher.seen().size(), 1u);
    EXPECT_EQ(catcher.seen()[0].caption, L"Title 标题");
    EXPECT_EQ(catcher.seen()[0].text, L"disk 满");
    EXPECT_EQ(catcher.seen()[0].icon, LoadIconW(nullptr, IDI_ERROR));
}

} // namespace
