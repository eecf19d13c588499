// Keeping the windows alive during long work on the GUI thread.
#pragma once

namespace platform {

// Dispatches every message pending for the calling thread, then returns.
// A WM_QUIT met on the way is posted again and ends the pumping, so that
// the main message loop still sees it.
void ProcessMessages();

} // namespace platform
