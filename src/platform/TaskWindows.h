// Disabling the thread's top-level windows while a long task runs, so that
// pumped messages cannot start anything from them, and enabling them again.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace platform {

// The windows DisableTaskWindows disabled. Dropping a list that was not
// given back to EnableTaskWindows re-enables its windows, so that a failure
// on the way cannot leave the program's windows disabled.
class TaskWindowList {
public:
    TaskWindowList() = default;
    explicit TaskWindowList(std::vector<HWND> windows) : windows_(std::move(windows)) {}
    TaskWindowList(TaskWindowList&& other) noexcept : windows_(std::move(other.windows_)) {
        other.windows_.clear();
    }
    TaskWindowList& operator=(TaskWindowList&& other) noexcept;
    TaskWindowList(const TaskWindowList&) = delete;
    TaskWindowList& operator=(const TaskWindowList&) = delete;
    ~TaskWindowList();

    const std::vector<HWND>& Windows() const { return windows_; }
    bool Empty() const { return windows_.empty(); }

private:
    friend void EnableTaskWindows(TaskWindowList& list);
    void EnableAll() noexcept;

    std::vector<HWND> windows_;
};

// Disables every visible, enabled top-level window of the calling thread
// except `except`, and returns those it disabled.
TaskWindowList DisableTaskWindows(HWND except);

// Re-enables each listed window that still exists and belongs to this
// thread, then empties the list.
void EnableTaskWindows(TaskWindowList& list);

} // namespace platform
