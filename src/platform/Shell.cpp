#include "platform/Shell.h"

#include <shellapi.h>

namespace platform {

namespace {

const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

} // namespace

void ExecuteShellRequest(const ShellRequest& request) {
    ShellExecuteW(request.Parent, OrNull(request.Verb), request.File.c_str(),
                  OrNull(request.Parameters), OrNull(request.Directory), request.ShowCommand);
}

} // namespace platform
