#include "app/HomePage.h"

namespace app {

std::wstring RemoveNoiseWord(std::wstring text, std::wstring_view noise) {
    if (noise.empty()) return text;
    for (auto at = text.find(noise); at != std::wstring::npos; at = text.find(noise))
        text.erase(at, noise.size());
    return text;
}

bool IsWebAddress(std::wstring_view address) {
    return address.starts_with(L"http://") || address.starts_with(L"https://");
}

void OpenHomePage(HWND parent, std::wstring disguised, std::wstring_view noise,
                  const platform::ShellExecutor& shell) {
    const std::wstring address = RemoveNoiseWord(std::move(disguised), noise);
    if (!IsWebAddress(address) || !shell) return;
    platform::ShellRequest request;
    request.Parent = parent;
    request.File = address;
    request.ShowCommand = SW_SHOWNORMAL;
    shell(request);
}

} // namespace app
