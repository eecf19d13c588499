// Program entry: Windows Sockets 1.1 for the whole run, COM for ADO, the
// application object and its main window, the message loop.
#include "app/MainForm.h"
#include "platform/Com.h"
#include "platform/Sockets.h"
#include "skin/SkinManager.h"
#include "ui/Application.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::unique_ptr<platform::WinsockSession> sockets;
    try {
        sockets = std::make_unique<platform::WinsockSession>();
    } catch (const std::exception&) {
        MessageBoxW(nullptr, L"Windows Sockets 1.1 could not be started.", app::kApplicationTitle,
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    platform::ComInit com;

    // Declared before the application, so it ends after every window: the
    // skin manager then removes its hook last.
    struct SkinManagerEnd {
        ~SkinManagerEnd() { skin::TSkinManager::Destroy(); }
    } skinManagerEnd;
    ui::TApplication application;
    application.SetTitle(app::kApplicationTitle);
    try {
        auto* form = new app::TForm1(&application);
        application.SetMainForm(form);
        application.Run();
    } catch (...) {
        application.HandleException(std::current_exception());
        return 1;
    }
    return 0;
}
