#include "support/WindowTest.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/Messages.h"

#include <gtest/gtest.h>

using testing_support::Pump;

namespace {

struct Probe : ui::TForm {
    Probe(ui::TComponent* owner, bool& freed) : ui::TForm(owner), freed_(freed) {}
    ~Probe() override { freed_ = true; }
    bool& freed_;
};

TEST(Form, SingleBorderFormHasTheDesignedClientSizeAndCannotBeResizedOrMaximised) {
    ui::TApplication app;
    auto* form = new ui::TForm(&app);
    form->BorderStyle = ui::TFormBorderStyle::bsSingle;
    form->BorderIcons = ui::biSystemMenu | ui::biMinimize;
    form->SetClientSize(882, 369);
    form->Show();
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 882);
    EXPECT_EQ(client.bottom, 369);
    const LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), app.Handle());
}

TEST(Form, ScreenCentredWhenFirstShown) {
    ui::TApplication app;
    auto* form = new ui::TForm(&app);
    form->Position = ui::TPosition::poScreenCenter;
    form->SetClientSize(400, 300);
    form->Show();
    RECT r;
    GetWindowRect(form->Handle(), &r);
    const int sx = GetSystemMetrics(SM_CXSCREEN), sy = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR((r.left + r.right) / 2, sx / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, sy / 2, 1);
}

TEST(Form, DialogFormWithoutIconsHasNoSystemMenuAndCentresOverTheMainForm) {
    ui::TApplication app;
    auto* main = new ui::TForm(&app);
    app.SetMainForm(main);
    main->SetClientSize(600, 400);
    main->Position = ui::TPosition::poDesigned;
    main->SetBounds(100, 50, 620, 440);
    main->Show();
    auto* dialog = new ui::TForm(&app);
    dialog->BorderStyle = ui::TFormBorderStyle::bsDialog;
    dialog->BorderIcons = 0;
    dialog->Position = ui::TPosition::poMainFormCenter;
    dialog->SetClientSize(200, 100);
    dialog->Show();
    const LONG style = GetWindowLongW(dialog->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU);
    RECT m, d;
    GetWindowRect(main->Handle(), &m);
    GetWindowRect(dialog->Handle(), &d);
    EXPECT_NEAR((d.left + d.right) / 2, (m.left + m.right) / 2, 1);
    EXPECT_NEAR((d.top + d.bottom) / 2, (m.top + m.bottom) / 2, 1);
}

TEST(Form, TabMovesThroughTabStopsInTabOrder) {
    ui::TApplication app;
    auto* form = new ui::TForm(&app);
    form->SetClientSize(300, 100);
    auto* second = new ui::TButton(form);
    second->TabOrder = 2;
    second->SetBounds(100, 10, 50, 20);
    second->SetParent(form);
    auto* first = new ui::TButton(form);
    first->TabOrder = 1;
    first->SetBounds(10, 10, 50, 20);
    first->SetParent(form);
    form->Show();
    Pump();
    EXPECT_EQ(GetFocus(), first->Handle()) << "the first control in tab order has the focus";
    form->Perform(ui::CM_DIALOGKEY, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), second->Handle());
    form->Perform(ui::CM_DIALOGKEY, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), first->Handle());
    first->SetEnabled(false);
    form->Perform(ui::CM_DIALOGKEY, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), second->Handle()) << "disabled controls are skipped";
}

TEST(Form, ClosingTheMainFormEndsTheMessageLoop) {
    ui::TApplication app;
    auto* form = new ui::TForm(&app);
    form->SetClientSize(100, 100);
    app.SetMainForm(form);
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    app.Run(); // returns only because the close ended it
    EXPECT_TRUE(app.Terminated());
}

TEST(Form, ClosingAnotherFormHidesItAndReleaseFreesItLater) {
    ui::TApplication app;
    bool freed = false;
    auto* form = new Probe(&app, freed);
    form->SetClientSize(100, 100);
    form->Show();
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(freed);
    HWND h = form->Handle();
    form->Release();
    EXPECT_FALSE(freed) << "freed only once its pending messages are done";
    Pump();
    EXPECT_TRUE(freed);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(app.ComponentCount(), 0);
}

} // namespace
