#include "platform/AnsiText.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace platform {

namespace {

int CheckedLength(size_t size) {
    if (size > static_cast<size_t>(INT_MAX)) throw std::length_error("text too long to convert");
    return static_cast<int>(size);
}

} // namespace

std::wstring AnsiToWide(std::string_view text) {
    if (text.empty()) return {};
    const int length = CheckedLength(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring result(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, result.data(), needed);
    return result;
}

std::string WideToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = CheckedLength(text.size());
    const int needed =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string result(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, result.data(), needed, nullptr, nullptr);
    return result;
}

} // namespace platform
