// Prints the time to sort the result table of 100,000 rows on two keys, the
// second descending, through title clicks on the grid (a Ctrl+click on each
// title, then the release of Ctrl), and the time of a find-dialog search in
// all rows and columns that finds nothing, each against one full First/Next
// pass over the same table (with the grid's updates suspended).
#include "BenchGrid.h"
#include "data/ClientDataSet.h"
#include "grid/DataGrid.h"
#include "grid/GridFindDialog.h"
#include "grid/ResultGridConfig.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Form.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void Pump() {
    platform::ProcessMessages();
}

void SetCtrl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

void ClickTitle(HWND h, const grid::TCustomDataGrid& g, int col) {
    const RECT r = g.CellRect(col, 0);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at);
    SendMessageW(h, WM_LBUTTONUP, MK_CONTROL, at);
}

// The "not found" message box marks the end of the search: its activation
// time is taken and the box is closed at once.
Clock::time_point g_boxShown;
int g_boxes = 0;

LRESULT CALLBACK CloseMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        wchar_t cls[16] = {};
        GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 16);
        if (std::wstring(cls) == L"#32770") {
            if (g_boxes++ == 0) g_boxShown = Clock::now();
            PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A search for a text no cell holds, direction "所有", in "<All>" columns.
double SearchNothing(grid::TDataGrid& grid, int& messages) {
    auto* dlg = new grid::TGridFindDlg(ui::Application);
    dlg->Prepare(grid);
    dlg->cbFindIn->SetItemIndex(static_cast<int>(dlg->cbFindIn->Items().size()) - 1);
    dlg->cbFindInChange(dlg->cbFindIn);
    dlg->cbText->SetText(L"sqlexpress");
    dlg->cbTextChange(dlg->cbText);
    dlg->Show();
    Pump();
    HHOOK hook = SetWindowsHookExW(WH_CBT, CloseMessageBox, nullptr, GetCurrentThreadId());
    g_boxes = 0;
    const auto t0 = Clock::now();
    dlg->bFindClick(dlg->bFind);
    UnhookWindowsHookEx(hook);
    messages = g_boxes;
    delete dlg;
    return g_boxes > 0 ? Millis(g_boxShown - t0) : 0.0;
}

} // namespace

int main() {
    const int rows = 100000;
    data::TClientDataSet table;
    const wchar_t* fields[] = {L"fwq", L"sjkglxt", L"bbmc", L"bdmc", L"dkh", L"bz"};
    for (const wchar_t* f : fields)
        table.FieldDefs().Add(f, f == std::wstring(L"bz") ? 400 : 100);
    table.CreateDataSet();
    // A pseudo-random order, with few distinct keys in the first field so
    // the second one decides often.
    unsigned seed = 12345;
    for (int i = 0; i < rows; ++i) {
        seed = seed * 1103515245u + 12345u;
        table.Append();
        table.FieldByName(L"fwq")->SetAsString(L"HOST" + std::to_wstring(seed % 997));
        table.FieldByName(L"bbmc")->SetAsString(L"8.00." + std::to_wstring((seed >> 8) % 5000));
        table.FieldByName(L"dkh")->SetAsString(std::to_wstring(1000 + (seed >> 16) % 60000));
        table.Post();
    }
    table.First();
    data::TDataSource source(&table);

    ui::TApplication app;
    grid::TDataGrid* grid = bench::ShowResultGrid(app, source);
    HWND h = grid->Handle();
    SetFocus(h);

    // The pass runs with the grid's updates suspended, as a walk over the
    // table does, so it measures the table and not 100,000 repaints.
    table.DisableControls();
    auto t0 = Clock::now();
    long long visited = 0;
    for (table.First(); !table.Eof(); table.Next())
        ++visited;
    const double pass = Millis(Clock::now() - t0);
    table.First();
    table.EnableControls();
    Pump();

    // fwq ascending, then bbmc descending: Ctrl+click fwq, Ctrl+click bbmc
    // twice, release Ctrl. The sort runs once, at the release.
    SetCtrl(true);
    ClickTitle(h, *grid, 1);
    ClickTitle(h, *grid, 3);
    ClickTitle(h, *grid, 3);
    SetCtrl(false);
    t0 = Clock::now();
    SendMessageW(h, WM_KEYUP, VK_CONTROL, 0xC0000001);
    const double sort = Millis(Clock::now() - t0);
    Pump();

    // Check the order so the figure is of a real sort.
    table.DisableControls();
    bool ordered = table.IndexName() == L"GridSortIndex";
    std::wstring prevA, prevB;
    for (table.First(); ordered && !table.Eof(); table.Next()) {
        const std::wstring a = table.FieldByName(L"fwq")->AsString();
        const std::wstring b = table.FieldByName(L"bbmc")->AsString();
        if (!prevA.empty() && (a < prevA || (a == prevA && b > prevB))) ordered = false;
        prevA = a;
        prevB = b;
    }
    table.EnableControls();
    Pump();

    table.SetRecNo(rows / 2);
    const int recNoBefore = table.RecNo();
    int messages = 0;
    const double search = SearchNothing(*grid, messages);
    const bool searched = messages == 1 && table.RecNo() == recNoBefore;

    std::printf("rows:                             %d\n", rows);
    std::printf("First/Next pass (yardstick):      %8.1f ms (%lld records)\n", pass, visited);
    std::printf("title-click sort, 2 keys (1 desc):%8.1f ms\n", sort);
    std::printf("sort / pass:                      %8.2f\n", pass > 0 ? sort / pass : 0.0);
    std::printf("order verified:                   %s\n", ordered ? "yes" : "NO");
    std::printf("search finding nothing, all rows, 6 columns:\n");
    std::printf("  time to the not-found message:  %8.1f ms\n", search);
    std::printf("  search / pass:                  %8.2f\n", pass > 0 ? search / pass : 0.0);
    std::printf("  reported once, cursor kept:     %s\n", searched ? "yes" : "NO");
    delete grid->Parent(); // the form
    return ordered && searched ? 0 : 1;
}
