// Helpers for tests that drive real windows: pumping, catching modal message
// boxes without blocking, recording the messages a window sees, and reading
// back what a window painted.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Dispatches pending messages for about `ms` milliseconds.
void Pump(int ms = 0);

// Sets the thread's view of a key (what GetKeyState answers), as if it were
// held down or let go.
void SetKeyDown(int vk, bool down);

// Runs `step` from whichever message loop next waits for messages on this
// thread: the way a test acts inside a modal window's own loop. Steps run in
// the order they were queued, each about `ms` milliseconds after the last.
void RunSoon(std::function<void()> step, int ms = 20);

// While alive, every message box or dialog that the thread activates is
// recorded and closed with its default button, so a test never blocks on it.
class ModalCatcher {
public:
    struct Seen {
        std::wstring caption;
        std::wstring text;
        HICON icon = nullptr; // the icon shown, compare with LoadIcon(nullptr, IDI_...)
    };
    // onShown runs while the dialog is up, before it is closed.
    explicit ModalCatcher(void (*onShown)(HWND dialog) = nullptr);
    ModalCatcher(const ModalCatcher&) = delete;
    ModalCatcher& operator=(const ModalCatcher&) = delete;
    ~ModalCatcher();
    const std::vector<Seen>& seen() const;

private:
    HHOOK hook_ = nullptr;
};

// Records the messages a window receives (by subclassing it) until destroyed.
class MessageRecorder {
public:
    explicit MessageRecorder(HWND hwnd);
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
    ~MessageRecorder();
    const std::vector<UINT>& messages() const { return messages_; }
    int count(UINT msg) const;
    void clear() { messages_.clear(); }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_;
    WNDPROC old_;
    std::vector<UINT> messages_;
};

// A 32-bit top-down DIB section the window prints its client area into.
class Snapshot {
public:
    Snapshot(HWND hwnd, int width, int height);
    ~Snapshot();
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
    COLORREF at(int x, int y) const;

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    const DWORD* bits_ = nullptr;
    int width_, height_;
};

} // namespace testing_support
