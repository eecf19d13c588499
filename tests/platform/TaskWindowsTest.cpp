// Task window disabling and the message pump, on real windows and messages.
#include "platform/MessagePump.h"
#include "platform/TaskWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

constexpr UINT kTick = WM_APP + 1;
std::vector<UINT> g_seen;

LRESULT CALLBACK RecordingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_APP) g_seen.push_back(msg);
    return DefWindowProcW(window, msg, wParam, lParam);
}

const wchar_t* RegisterTestClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SondrelkPlatformTestWindow";
        RegisterClassW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

// A top-level window destroyed with the test.
class Window {
public:
    explicit Window(bool visible, bool enabled = true, HWND parent = nullptr) {
        const DWORD style = (parent ? WS_CHILD : WS_OVERLAPPEDWINDOW) | (visible ? WS_VISIBLE : 0) |
                            (enabled ? 0 : WS_DISABLED);
        hwnd_ = CreateWindowExW(0, RegisterTestClass(), L"", style, 0, 0, 100, 80, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window() { Destroy(); }
    HWND get() const { return hwnd_; }
    void Destroy() {
        if (hwnd_) DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }

private:
    HWND hwnd_ = nullptr;
};

bool Listed(const platform::TaskWindowList& list, HWND window) {
    return std::find(list.Windows().begin(), list.Windows().end(), window) != list.Windows().end();
}

TEST(TaskWindows, DisablesOnlyVisibleEnabledTopLevelWindowsExceptTheGivenOne) {
    Window main(true), progress(true), hidden(false), disabled(true, false);
    ASSERT_TRUE(main.get() && progress.get() && hidden.get() && disabled.get());
    Window child(true, true, main.get());

    platform::TaskWindowList list = platform::DisableTaskWindows(progress.get());
    ASSERT_EQ(list.Windows().size(), 1u);
    EXPECT_TRUE(Listed(list, main.get()));
    EXPECT_FALSE(IsWindowEnabled(main.get()));
    EXPECT_TRUE(IsWindowEnabled(progress.get()));
    EXPECT_TRUE(IsWindowEnabled(hidden.get()));
    EXPECT_TRUE(IsWindowEnabled(child.get())); // children are not task windows

    platform::EnableTaskWindows(list);
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(IsWindowEnabled(main.get()));
    // A window that was disabled before stays disabled.
    EXPECT_FALSE(IsWindowEnabled(disabled.get()));
}

TEST(TaskWindows, LeavesOtherThreadsWindowsAlone) {
    Window mine(true);
    HWND theirs = nullptr;
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        Window window(true);
        theirs = window.get();
        SetEvent(created);
        WaitForSingleObject(done, 5000);
    });
    WaitForSingleObject(created, 5000);
    ASSERT_NE(theirs, nullptr);

    platform::TaskWindowList list = platform::DisableTaskWindows(nullptr);
    EXPECT_TRUE(Listed(list, mine.get()));
    EXPECT_FALSE(Listed(list, theirs));
    EXPECT_TRUE(IsWindowEnabled(theirs));
    platform::EnableTaskWindows(list);

    SetEvent(done);
    other.join();
    CloseHandle(created);
    CloseHandle(done);
}

TEST(TaskWindows, EnableSkipsDestroyedWindows) {
    Window main(true), gone(true);
    HWND goneHandle = gone.get();
    platform::TaskWindowList list = platform::DisableTaskWindows(nullptr);
    ASSERT_TRUE(Listed(list, main.get()));
    ASSERT_TRUE(Listed(list, goneHandle));
    gone.Destroy();

    platform::EnableTaskWindows(list);
    EXPECT_TRUE(IsWindowEnabled(main.get()));
    EXPECT_FALSE(IsWindow(goneHandle));
    EXPECT_TRUE(list.Empty());
}

TEST(TaskWindows, DroppedListEnablesItsWindows) {
    Window main(true);
    {
        platform::TaskWindowList list = platform::DisableTaskWindows(nullptr);
        ASSERT_FALSE(IsWindowEnabled(main.get()));
        platform::TaskWindowList moved = std::move(list);
        EXPECT_TRUE(list.Empty());
        EXPECT_FALSE(IsWindowEnabled(main.get()));
    }
    EXPECT_TRUE(IsWindowEnabled(main.get()));
}

class MessagePumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        Drain();
        g_seen.clear();
    }
    void TearDown() override { Drain(); }
    static void Drain() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    Window window_{false};
};

TEST_F(MessagePumpTest, DispatchesEverythingPendingThenReturns) {
    PostMessageW(window_.get(), kTick, 0, 0);
    PostMessageW(window_.get(), kTick + 1, 0, 0);
    PostMessageW(window_.get(), kTick + 2, 0, 0);
    platform::ProcessMessages();
    EXPECT_EQ(g_seen, (std::vector<UINT>{kTick, kTick + 1, kTick + 2}));
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    platform::ProcessMessages(); // nothing pending: returns at once
    EXPECT_EQ(g_seen.size(), 3u);
}

TEST_F(MessagePumpTest, LeavesQuitForTheMainLoop) {
    PostMessageW(window_.get(), kTick, 0, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 5, 0);
    PostMessageW(window_.get(), kTick + 1, 0, 0);
    platform::ProcessMessages();
    // Pumping stopped at the quit request.
    EXPECT_EQ(g_seen, (std::vector<UINT>{kTick}));

    // The main loop gets the rest and then ends with the quit code.
    MSG msg;
    int loops = 0;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0 && ++loops < 100)
        DispatchMessageW(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_EQ(g_seen, (std::vector<UINT>{kTick, kTick + 1}));
}

} // namespace
