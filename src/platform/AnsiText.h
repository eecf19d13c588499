// Conversion between the program's UTF-16 text and 8-bit text in the
// system's ANSI code page, used where the platform hands out 8-bit text
// (registry values, the host name).
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Both keep embedded NULs; characters the target cannot hold become the
// code page's default character.
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);

} // namespace platform
