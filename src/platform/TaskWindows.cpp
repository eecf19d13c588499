#include "platform/TaskWindows.h"

namespace platform {

namespace {

struct DisableState {
    HWND except = nullptr;
    std::vector<HWND> disabled;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM param) {
    auto& state = *reinterpret_cast<DisableState*>(param);
    if (window != state.except && IsWindowVisible(window) && IsWindowEnabled(window)) {
        state.disabled.push_back(window);
        EnableWindow(window, FALSE);
    }
    return TRUE;
}

} // namespace

TaskWindowList& TaskWindowList::operator=(TaskWindowList&& other) noexcept {
    if (this != &other) {
        EnableAll();
        windows_ = std::move(other.windows_);
        other.windows_.clear();
    }
    return *this;
}

TaskWindowList::~TaskWindowList() {
    EnableAll();
}

void TaskWindowList::EnableAll() noexcept {
    const DWORD thread = GetCurrentThreadId();
    for (HWND window : windows_) {
        // A destroyed window's handle may since name another window.
        if (IsWindow(window) && GetWindowThreadProcessId(window, nullptr) == thread)
            EnableWindow(window, TRUE);
    }
    windows_.clear();
}

TaskWindowList DisableTaskWindows(HWND except) {
    DisableState state;
    state.except = except;
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&state));
    return TaskWindowList(std::move(state.disabled));
}

void EnableTaskWindows(TaskWindowList& list) {
    list.EnableAll();
}

} // namespace platform
