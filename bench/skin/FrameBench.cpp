// Prints how long the program takes from process start to the first paint of
// its main window with SkinHolder1 active and with it switched off (the median
// of repeated runs, each in a fresh process), their ratio, and the time of one
// full frame paint of the skinned main window.
//
// Run without arguments; it starts itself again with "--child active" or
// "--child inactive" for each measured start.
#include "app/MainForm.h"
#include "skin/SkinHolder.h"
#include "skin/SkinManager.h"
#include "skin/frame/FramePainter.h"
#include "ui/Application.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 9;
constexpr int kFramePaints = 500;

// Milliseconds since this process was created.
double SinceProcessStart() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    auto ticks = [](const FILETIME& f) {
        return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

// One start: the main window as the program makes it, shown, until its first
// paint is done. Prints the time and, when skinned, the frame paint time.
int Child(bool active, bool framePaint) {
    struct ManagerEnd {
        ~ManagerEnd() { skin::TSkinManager::Destroy(); }
    } managerEnd;
    ui::TApplication application;
    application.SetTitle(app::kApplicationTitle);
    auto* form = new app::TForm1(&application);
    application.SetMainForm(form);
    if (!active) form->SkinHolder1->SetActive(false);
    bool painted = false;
    auto previous = form->WindowProc;
    form->WindowProc = [&](ui::TMessage& m) {
        previous(m);
        if (m.Msg == WM_PAINT) painted = true;
    };
    form->Show();
    while (!painted)
        application.HandleMessage();
    const double ms = SinceProcessStart();
    form->WindowProc = previous;
    std::printf("%.3f\n", ms);

    if (framePaint) {
        skin::TFramePainter* painter = skin::TSkinManager::Instance()->PainterOf(form->Handle());
        if (!painter) return 2;
        painter->PaintFrame();
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < kFramePaints; ++i)
            painter->PaintFrame();
        GdiFlush();
        const auto t1 = std::chrono::steady_clock::now();
        std::printf("%.3f\n",
                    std::chrono::duration<double, std::micro>(t1 - t0).count() / kFramePaints);
    }
    return 0;
}

// Runs this program again as a child and reads the figures it prints.
std::vector<double> RunChild(const wchar_t* mode) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --child " + mode;
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return {};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &si, &pi);
    CloseHandle(writeEnd);
    std::string out;
    if (started) {
        char buffer[256];
        DWORD n = 0;
        while (ReadFile(readEnd, buffer, sizeof(buffer), &n, nullptr) && n > 0)
            out.append(buffer, n);
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(readEnd);
    std::vector<double> figures;
    for (const char* p = out.c_str(); *p;) {
        char* end = nullptr;
        const double v = std::strtod(p, &end);
        if (end == p) break;
        figures.push_back(v);
        p = end;
    }
    return figures;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"--child") {
        const std::wstring mode = argv[2];
        return Child(mode != L"inactive", mode == L"frame");
    }
    std::vector<double> skinned, plain;
    for (int i = 0; i < kRuns; ++i) {
        // Alternating, so that a busy moment of the machine hits both alike.
        const auto a = RunChild(L"active");
        const auto b = RunChild(L"inactive");
        if (!a.empty()) skinned.push_back(a[0]);
        if (!b.empty()) plain.push_back(b[0]);
    }
    const auto frame = RunChild(L"frame");
    if (skinned.empty() || plain.empty() || frame.size() < 2) {
        std::printf("a child run failed\n");
        return 1;
    }
    const double s = Median(skinned), p = Median(plain);
    std::printf("process start to first paint of the main window, median of %d runs:\n", kRuns);
    auto range = [](const std::vector<double>& v) {
        return std::make_pair(*std::min_element(v.begin(), v.end()),
                              *std::max_element(v.begin(), v.end()));
    };
    const auto rs = range(skinned), rp = range(plain);
    std::printf("  SkinHolder1 active:   %8.2f ms (%.2f to %.2f)\n", s, rs.first, rs.second);
    std::printf("  SkinHolder1 inactive: %8.2f ms (%.2f to %.2f)\n", p, rp.first, rp.second);
    std::printf("  ratio active/inactive: %.3f (goal: at most 1.15)\n", s / p);
    std::printf("one full frame paint of the skinned main window: %.1f us (mean of %d)\n", frame[1],
                kFramePaints);
    return 0;
}
