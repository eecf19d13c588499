#include "support/WindowTest.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/Messages.h"

#include <gtest/gtest.h>

#include <stdexcept>

using testing_support::MessageRecorder;
using testing_support::Pump;
using testing_support::RunSoon;

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

// A dialog-like form: an OK button (default), a Cancel button and an edit box.
struct ModalFixture {
    ModalFixture() {
        // A quit request another test's application left in the queue.
        MSG stale;
        PeekMessageW(&stale, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        main = new ui::TForm(&app);
        main->SetClientSize(200, 100);
        app.SetMainForm(main);
        main->Show();
        dialog = new ui::TForm(&app);
        dialog->BorderStyle = ui::TFormBorderStyle::bsDialog;
        dialog->SetClientSize(200, 100);
        ok = AddButton(L"OK", 10, ui::mrOk);
        ok->Default = true;
        cancel = AddButton(L"Cancel", 50, ui::mrCancel);
        cancel->Cancel = true;
    }
    ui::TButton* AddButton(const wchar_t* caption, int top, int result) {
        auto* b = new ui::TButton(dialog);
        b->SetCaption(caption);
        b->SetBounds(10, top, 80, 25);
        b->ModalResult = result;
        b->OnClick = [this, caption](ui::TComponent*) { clicked += caption; };
        b->SetParent(dialog);
        return b;
    }
    // Posts a key press to the window with the focus, as the keyboard would.
    static void Press(WPARAM vk) { PostMessageW(GetFocus(), WM_KEYDOWN, vk, 1); }

    ui::TApplication app;
    ui::TForm* main = nullptr;
    ui::TForm* dialog = nullptr;
    ui::TButton* ok = nullptr;
    ui::TButton* cancel = nullptr;
    std::wstring clicked;
};

TEST(ModalForm, RunsUntilAButtonGivesTheResultWithTheOtherWindowsDisabled) {
    ModalFixture f;
    bool mainEnabledDuring = true, modalDuring = false;
    RunSoon([&] {
        mainEnabledDuring = IsWindowEnabled(f.main->Handle()) != FALSE;
        modalDuring = f.dialog->Modal();
        SendMessageW(f.ok->Handle(), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(f.dialog->ShowModal(), ui::mrOk);
    EXPECT_FALSE(mainEnabledDuring);
    EXPECT_TRUE(modalDuring);
    EXPECT_EQ(f.clicked, L"OK");
    EXPECT_FALSE(f.dialog->Modal());
    EXPECT_FALSE(IsWindowVisible(f.dialog->Handle()));
    EXPECT_TRUE(IsWindowEnabled(f.main->Handle()));
    // Shown again later, it starts without the old result.
    RunSoon([&] { PostMessageW(f.dialog->Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(f.dialog->ShowModal(), ui::mrCancel);
    EXPECT_FALSE(IsWindowVisible(f.dialog->Handle()));
    EXPECT_EQ(f.app.ComponentCount(), 2) << "closing a modal form hides it; it is not freed";
}

TEST(ModalForm, EscClicksTheCancelButtonAndEnterTheDefaultOrFocusedButton) {
    ModalFixture f;
    RunSoon([&] { ModalFixture::Press(VK_ESCAPE); });
    EXPECT_EQ(f.dialog->ShowModal(), ui::mrCancel);
    EXPECT_EQ(f.clicked, L"Cancel");

    f.clicked.clear();
    RunSoon([&] {
        f.dialog->SetActiveControl(f.cancel);
        ModalFixture::Press(VK_RETURN); // the focused button answers Enter
    });
    EXPECT_EQ(f.dialog->ShowModal(), ui::mrCancel);
    EXPECT_EQ(f.clicked, L"Cancel");

    // Without a default or cancel button these keys reach the control.
    f.ok->Default = false;
    f.cancel->Cancel = false;
    f.dialog->SetActiveControl(f.ok);
    MessageRecorder seen(f.ok->Handle());
    f.clicked.clear();
    RunSoon([&] {
        ModalFixture::Press(VK_ESCAPE);
        PostMessageW(f.dialog->Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(f.dialog->ShowModal(), ui::mrCancel);
    EXPECT_EQ(f.clicked, L"");
    EXPECT_EQ(seen.count(WM_KEYDOWN), 1);
}

TEST(ModalForm, EndsWhenTheApplicationQuits) {
    ModalFixture f;
    RunSoon([] { PostQuitMessage(0); });
    EXPECT_EQ(f.dialog->ShowModal(), ui::mrCancel);
    EXPECT_TRUE(f.app.Terminated());
    EXPECT_TRUE(IsWindowEnabled(f.main->Handle()));
}

TEST(ModalForm, AVisibleFormCannotBeShownModally) {
    ModalFixture f;
    f.dialog->Show();
    EXPECT_THROW(f.dialog->ShowModal(), std::logic_error);
    EXPECT_FALSE(f.dialog->Modal());
    EXPECT_TRUE(IsWindowEnabled(f.main->Handle()));
}

TEST(KeyPreview, TheFormSeesKeysFirstAndMayConsumeThem) {
    ModalFixture f;
    f.dialog->KeyPreview = true;
    std::vector<WORD> previewed;
    f.dialog->OnKeyDown = [&](ui::TComponent*, WORD& key, ui::TShiftState) {
        previewed.push_back(key);
        if (key == 'A' || key == VK_ESCAPE) key = 0;
    };
    f.dialog->Show();
    f.dialog->SetActiveControl(f.ok);
    MessageRecorder seen(f.ok->Handle());
    for (WPARAM vk : {WPARAM{'A'}, WPARAM{'B'}, WPARAM{VK_ESCAPE}})
        PostMessageW(f.ok->Handle(), WM_KEYDOWN, vk, 1);
    f.app.ProcessMessages();
    EXPECT_EQ(previewed, (std::vector<WORD>{'A', 'B', VK_ESCAPE}));
    EXPECT_EQ(seen.count(WM_KEYDOWN), 1) << "only B reaches the button";
    EXPECT_EQ(f.clicked, L"") << "a consumed Esc does not click the cancel button";
}

} // namespace
