#include "support/WindowTest.h"

#include "platform/MessagePump.h"

#include <map>

namespace testing_support {

void Pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
        platform::ProcessMessages();
        if (ms > 0) Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

void SetKeyDown(int vk, bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[vk] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

namespace {

thread_local std::vector<std::function<void()>> t_steps;

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (t_steps.empty()) return;
    auto step = std::move(t_steps.front());
    t_steps.erase(t_steps.begin());
    step();
}

} // namespace

void RunSoon(std::function<void()> step, int ms) {
    t_steps.push_back(std::move(step));
    SetTimer(nullptr, 0, static_cast<UINT>(ms * static_cast<int>(t_steps.size())), RunNextStep);
}

namespace {

thread_local std::vector<ModalCatcher::Seen> t_seen;
thread_local void (*t_onShown)(HWND) = nullptr;

std::wstring TextOf(HWND hwnd) {
    wchar_t buf[1024] = {};
    GetWindowTextW(hwnd, buf, 1024);
    return buf;
}

void CALLBACK CloseDialog(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    if (t_onShown) t_onShown(hwnd);
    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        wchar_t cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        if (std::wstring(cls) == L"#32770") {
            ModalCatcher::Seen seen;
            seen.caption = TextOf(hwnd);
            seen.text = TextOf(GetDlgItem(hwnd, 0xFFFF));
            // The icon's static control: id 20 on Windows, 1088 under Wine.
            HWND icon = GetDlgItem(hwnd, 0x0014);
            if (!icon) icon = GetDlgItem(hwnd, 0x0440);
            if (icon) seen.icon = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
            t_seen.push_back(seen);
            // Closed from a timer once the dialog's own loop runs.
            SetTimer(hwnd, 0x5E5E, 10, CloseDialog);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

ModalCatcher::ModalCatcher(void (*onShown)(HWND)) {
    t_seen.clear();
    t_onShown = onShown;
    hook_ = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

ModalCatcher::~ModalCatcher() {
    if (hook_) UnhookWindowsHookEx(hook_);
    t_onShown = nullptr;
}

const std::vector<ModalCatcher::Seen>& ModalCatcher::seen() const {
    return t_seen;
}

namespace {
std::map<HWND, MessageRecorder*>& Recorders() {
    static std::map<HWND, MessageRecorder*> map;
    return map;
}
} // namespace

MessageRecorder::MessageRecorder(HWND hwnd) : hwnd_(hwnd) {
    Recorders()[hwnd] = this;
    old_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
}

MessageRecorder::~MessageRecorder() {
    if (IsWindow(hwnd_)) SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_));
    Recorders().erase(hwnd_);
}

int MessageRecorder::count(UINT msg) const {
    int n = 0;
    for (UINT m : messages_)
        n += m == msg;
    return n;
}

LRESULT CALLBACK MessageRecorder::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MessageRecorder* self = Recorders()[hwnd];
    self->messages_.push_back(msg);
    return CallWindowProcW(self->old_, hwnd, msg, wParam, lParam);
}

Snapshot::Snapshot(HWND hwnd, int width, int height) : width_(width), height_(height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<const DWORD*>(bits);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
}

Snapshot::~Snapshot() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

COLORREF Snapshot::at(int x, int y) const {
    const DWORD p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

} // namespace testing_support
