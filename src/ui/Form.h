// TForm: a top-level window designed at 96 DPI and scaled to the screen's.
// Its window class is named after the concrete form class (TForm1,
// Tsp_jdt_frm), and it is owned by the application's hidden window.
#pragma once

#include "ui/WinControl.h"

namespace ui {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
enum class TPosition { poDesigned, poScreenCenter, poMainFormCenter };
enum class TCloseAction { caNone, caHide, caFree };

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    std::wstring ClassName() const override { return L"TForm"; }
    std::vector<std::wstring> ClassChain() const override;

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
    void Close();
    // Frees the form once the messages it is handling are done.
    void Release();

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // Moves the focus to the next (or previous) tab stop.
    void SelectNext(bool forward);
    std::vector<TWinControl*> TabList() const;

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

    int clientWidth_ = 0;
    int clientHeight_ = 0;
    bool placed_ = false;
    TWinControl* activeControl_ = nullptr;
};

} // namespace ui
