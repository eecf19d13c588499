// Opening documents and addresses through the Windows shell. Callers hold a
// ShellExecutor, so that tests can take the request instead of the shell.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace platform {

// The arguments of one ShellExecute call; an empty text is passed as null
// (an empty verb is the shell's default action).
struct ShellRequest {
    HWND Parent = nullptr;
    std::wstring Verb;
    std::wstring File;
    std::wstring Parameters;
    std::wstring Directory;
    int ShowCommand = SW_SHOWNORMAL;
};

using ShellExecutor = std::function<void(const ShellRequest&)>;

// Hands the request to ShellExecuteW. Whether the shell managed is not
// reported: nobody is told when no program opens the file.
void ExecuteShellRequest(const ShellRequest& request);

} // namespace platform
