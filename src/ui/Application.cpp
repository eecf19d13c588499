#include "ui/Application.h"

#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/Messages.h"

#include <commctrl.h>

namespace ui {

TApplication* Application = nullptr;

namespace {

constexpr wchar_t kAppWindowClass[] = L"TApplication";

LRESULT CALLBACK AppWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

TApplication::TApplication() : TComponent(nullptr) {
    INITCOMMONCONTROLSEX icc{sizeof(icc),
                             ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, kAppWindowClass, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = AppWndProc;
        wc.hInstance = instance;
        wc.lpszClassName = kAppWindowClass;
        RegisterClassExW(&wc);
    }
    // Hidden and never shown: it only owns the forms and message boxes.
    handle_ = CreateWindowExW(0, kAppWindowClass, L"",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
    // The first icon resource is the program's icon, shown by every form.
    icon_ =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    if (handle_ && icon_) {
        SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    }
    Application = this;
    SetExceptionReporter([this](std::exception_ptr e) { HandleException(e); });
}

TApplication::~TApplication() {
    SetExceptionReporter(nullptr);
    // Forms first: they may still talk to the application window.
    while (ComponentCount() > 0)
        delete Components(ComponentCount() - 1);
    if (handle_) DestroyWindow(handle_);
    if (icon_) DestroyIcon(icon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
    if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const std::wstring& title) {
    title_ = title;
    if (handle_) SetWindowTextW(handle_, title_.c_str());
}

void TApplication::Notification(TComponent* component) {
    if (component == mainForm_) mainForm_ = nullptr;
}

void TApplication::Terminate() {
    if (!terminated_) {
        terminated_ = true;
        PostQuitMessage(0);
    }
}

bool ControlWantsKey(HWND focus, WPARAM key) {
    if (!focus) return false;
    MSG m{};
    m.hwnd = focus;
    m.message = WM_KEYDOWN;
    m.wParam = key;
    const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&m));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return true;
    return key == VK_TAB && (code & DLGC_WANTTAB);
}

bool TApplication::IsKeyMsg(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(GetAncestor(msg.hwnd, GA_ROOT)));
    if (!form) return false;
    if (form->PreviewKeyDown(static_cast<WORD>(msg.wParam))) return true;
    if (msg.wParam != VK_TAB && msg.wParam != VK_ESCAPE && msg.wParam != VK_RETURN) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    if (ControlWantsKey(msg.hwnd, msg.wParam)) return false;
    return form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (!IsKeyMsg(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) WaitMessage();
}

void TApplication::Run() {
    if (mainForm_) mainForm_->Show();
    MSG msg;
    while (!terminated_) {
        if (!ProcessMessage(msg)) WaitMessage();
    }
}

void TApplication::HandleException(std::exception_ptr e) {
    if (OnException) {
        OnException(e);
        return;
    }
    HWND owner = GetActiveWindow();
    if (!owner) owner = handle_;
    ::MessageBoxW(owner, ExceptionText(e).c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

int TApplication::ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags,
                                 HWND owner) {
    return ::MessageBoxW(owner ? owner : handle_, text.c_str(), caption.c_str(), flags);
}

} // namespace ui
