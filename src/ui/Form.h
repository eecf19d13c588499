// TForm: a top-level window designed at 96 DPI and scaled to the screen's.
// Its window class is named after the concrete form class (TForm1,
// Tsp_jdt_frm), and it is owned by the application's hidden window. A form
// may run modally: ShowModal disables the thread's other windows and pumps
// messages until ModalResult is set.
#pragma once

#include "ui/WinControl.h"

namespace ui {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
enum class TPosition { poDesigned, poScreenCenter, poMainFormCenter };
enum class TCloseAction { caNone, caHide, caFree };

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;

// What a modal form answers; buttons carry one to close it.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;
// The modifier keys held at this moment.
TShiftState KeyboardShiftState();
// A key handler; setting key to 0 consumes the key.
using TKeyEvent = std::function<void(TComponent* sender, WORD& key, TShiftState shift)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    std::wstring ClassName() const override { return L"TForm"; }
    std::vector<std::wstring> ClassChain() const override;
    const TPropInfo* FindProp(const std::wstring& name) const override;

    TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
    unsigned BorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition Position = TPosition::poDesigned;

    // The client size; the window size follows from the border style.
    void SetClientSize(int width, int height);
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }

    // Scales the design-time layout (at designPpi) of every child to the screen.
    void ScaleToScreen(int designPpi = 96);

    void Show();
    // Shows the form modally and returns its ModalResult once it is set
    // (mrCancel when it was closed or the application is ending).
    int ShowModal();
    bool Modal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    void Close();
    // Frees the form once the messages it is handling are done.
    void Release();

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // Moves the focus to the next (or previous) tab stop.
    void SelectNext(bool forward);
    std::vector<TWinControl*> TabList() const;

    // With KeyPreview the form's OnKeyDown sees every key pressed in it
    // before the control with the focus does.
    bool KeyPreview = false;
    TKeyEvent OnKeyDown;
    // The application's message loop asks here first; true: the key was consumed.
    bool PreviewKeyDown(WORD key);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TCloseEvent OnClose;

    // Runs OnCreate; concrete forms call it when their controls are built.
    void DoCreate();

protected:
    void CreateParams(TCreateParams& params) override;
    void WindowCreated() override;
    void WndProc(TMessage& msg) override;
    void VisibleChanged() override;
    void Notification(TComponent* component) override;

private:
    void PlaceOnScreen();
    // Tab moves the focus, Esc clicks the cancel button, Enter the focused or
    // default button.
    void DialogKey(TMessage& msg);

    int clientWidth_ = 0;
    int clientHeight_ = 0;
    bool placed_ = false;
    bool modal_ = false;
    int modalResult_ = mrNone;
    TWinControl* activeControl_ = nullptr;
};

// The form a control sits in, or nullptr.
TForm* GetParentForm(const TControl& control);

} // namespace ui
