// The author's home page link: the address is kept with a noise word
// inserted at several places, cleaned before each use and handed to the
// shell only when it is a web address.
#pragma once

#include "platform/Shell.h"

#include <string>
#include <string_view>

namespace app {

// Deletes the first occurrence of noise, searching from the beginning, until
// none is left; occurrences that form where two pieces meet go as well.
std::wstring RemoveNoiseWord(std::wstring text, std::wstring_view noise);

// Starts with "http://" or "https://": a page for the browser, never a
// program or a local file.
bool IsWebAddress(std::wstring_view address);

// Cleans the disguised address and asks the shell to open it with its default
// action, parented to `parent`; nothing happens for an empty or non-web
// address. The shell's answer is not looked at.
void OpenHomePage(HWND parent, std::wstring disguised, std::wstring_view noise,
                  const platform::ShellExecutor& shell);

} // namespace app
