// TApplication: the program-wide object. It owns the hidden application
// window (owner of every form and of the program's message boxes), runs the
// message loop, and is the default handler of errors nothing else caught.
#pragma once

#include "ui/Component.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace ui {

class TForm;

using TExceptionEvent = std::function<void(std::exception_ptr)>;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    std::wstring ClassName() const override { return L"TApplication"; }

    const std::wstring& Title() const { return title_; }
    void SetTitle(const std::wstring& title);

    HWND Handle() const { return handle_; }
    // The program's icon (its first icon resource), large and small; null
    // when the executable has none.
    HICON Icon() const { return icon_; }
    HICON SmallIcon() const { return smallIcon_; }

    TForm* MainForm() const { return mainForm_; }
    // The first form registered becomes the main form; closing it ends Run.
    void SetMainForm(TForm* form) { mainForm_ = form; }

    // Runs the message loop until the main form closes or Terminate is called.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Dispatches every message pending for the thread, then returns.
    void ProcessMessages();
    // Dispatches one message, waiting for one when none is pending (modal loops).
    void HandleMessage();

    // The default error handler: OnException when assigned, else a message
    // box with the error text, the title as caption and the error icon.
    void HandleException(std::exception_ptr e);
    TExceptionEvent OnException;

    // A message box owned by `owner`, by default the application window.
    int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags,
                       HWND owner = nullptr);

    void Notification(TComponent* component) override;

private:
    bool ProcessMessage(MSG& msg);
    // Key preview of the form, then the form's dialog keys (Tab, Esc, Enter);
    // true when one of them consumed the key.
    bool IsKeyMsg(const MSG& msg);

    std::wstring title_;
    HWND handle_ = nullptr;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

// Whether the window with the focus wants a key itself (an open drop-down
// list wants Enter and Esc, a grid wants Tab), by asking it as a dialog does.
bool ControlWantsKey(HWND focus, WPARAM key);

// The one application object of the program (null outside its lifetime).
extern TApplication* Application;

} // namespace ui
