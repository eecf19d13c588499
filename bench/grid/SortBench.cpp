// Prints the time to sort the result table of 100,000 rows on two keys, the
// second descending, through title clicks on the grid (a Ctrl+click on each
// title, then the release of Ctrl), next to a std::stable_sort of the same
// two keys over a vector of row pointers; and the time of find-dialog
// searches in all rows and columns that find nothing (until the not-found
// message box is created, and until it is shown), next to a plain scan of
// the same 600,000 cells that upper-cases each one and looks for the
// upper-cased text in it: once over copies of the cells laid out one after
// the other, once reading them from the sorted table where they lie. Medians
// of repeated runs; the ratios are the figure over its yardstick.
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

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

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
    const WPARAM ctrl = GetKeyState(VK_CONTROL) < 0 ? MK_CONTROL : 0;
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON | ctrl, at);
    SendMessageW(h, WM_LBUTTONUP, ctrl, at);
}

// The "not found" message box marks the end of the search: the time its
// window is created (the search is over, the box begins) and the time it is
// activated (shown) are taken, and the box is closed at once.
Clock::time_point g_boxCreated;
Clock::time_point g_boxShown;
int g_boxes = 0;

LRESULT CALLBACK CloseMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && g_boxes == 0) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        if (create->lpcs->lpszClass == MAKEINTATOM(32770)) g_boxCreated = Clock::now();
    }
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

struct TSearchTimes {
    double ToBox = 0;   // until the message box's window is created
    double ToShown = 0; // until it is shown
};

// A search for a text no cell holds, direction "所有", in "<All>" columns;
// `messages` counts the message boxes, -1 when the dialog's text box did not
// hold the text searched for.
TSearchTimes SearchNothing(grid::TDataGrid& grid, const std::wstring& text, int& messages) {
    auto* dlg = new grid::TGridFindDlg(ui::Application);
    dlg->Prepare(grid);
    dlg->cbFindIn->SetItemIndex(static_cast<int>(dlg->cbFindIn->Items().size()) - 1);
    dlg->cbFindInChange(dlg->cbFindIn);
    dlg->cbText->SetText(text);
    dlg->cbTextChange(dlg->cbText);
    dlg->Show();
    Pump();
    if (dlg->cbText->Text() != text) {
        messages = -1;
        delete dlg;
        return {};
    }
    HHOOK hook = SetWindowsHookExW(WH_CBT, CloseMessageBox, nullptr, GetCurrentThreadId());
    g_boxes = 0;
    const auto t0 = Clock::now();
    g_boxCreated = t0;
    dlg->bFindClick(dlg->bFind);
    UnhookWindowsHookEx(hook);
    messages = g_boxes;
    delete dlg;
    if (g_boxes == 0) return {};
    return {Millis(g_boxCreated - t0), Millis(g_boxShown - t0)};
}

double MedianOf(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

template <typename F> double Median(int runs, F&& f) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i)
        ms.push_back(f());
    return MedianOf(std::move(ms));
}

// The medians of `runs` searches for `text`; `faithful` tells whether every
// one searched for the text given, reported it once and left the cursor
// where it stood.
TSearchTimes MedianSearch(grid::TDataGrid& grid, const std::wstring& text, int runs,
                          bool& faithful) {
    const data::TDataSet& table = *grid.DataSet();
    const int recNoBefore = table.RecNo();
    std::vector<double> toBox;
    std::vector<double> toShown;
    faithful = true;
    for (int i = 0; i < runs; ++i) {
        int messages = 0;
        const TSearchTimes times = SearchNothing(grid, text, messages);
        faithful = faithful && messages == 1 && table.RecNo() == recNoBefore;
        toBox.push_back(times.ToBox);
        toShown.push_back(times.ToShown);
    }
    return {MedianOf(std::move(toBox)), MedianOf(std::move(toShown))};
}

// The sort yardstick: the two keys of every row, compared as plain strings.
struct Row {
    std::wstring Fwq;
    std::wstring Bbmc;
};

double StableSortYardstick(const std::vector<Row>& rows) {
    std::vector<const Row*> order;
    for (const Row& r : rows)
        order.push_back(&r);
    const auto t0 = Clock::now();
    std::stable_sort(order.begin(), order.end(), [](const Row* a, const Row* b) {
        const int c = a->Fwq.compare(b->Fwq);
        if (c != 0) return c < 0;
        return a->Bbmc.compare(b->Bbmc) > 0;
    });
    return Millis(Clock::now() - t0);
}

// The search yardstick: every cell upper-cased by the system and searched.
double ScanYardstick(const std::vector<std::wstring>& cells, const std::wstring& text, int& found) {
    std::wstring wanted = text;
    CharUpperBuffW(wanted.data(), static_cast<DWORD>(wanted.size()));
    std::wstring cell;
    found = 0;
    const auto t0 = Clock::now();
    for (const std::wstring& c : cells) {
        cell = c;
        if (!cell.empty()) CharUpperBuffW(cell.data(), static_cast<DWORD>(cell.size()));
        if (cell.find(wanted) != std::wstring::npos) ++found;
    }
    return Millis(Clock::now() - t0);
}

// The same scan reading each cell from the table, in its current order,
// without moving the cursor: what reaching the rows costs where they lie.
double ScanTableYardstick(const data::TClientDataSet& table, const std::wstring& text, int& found) {
    std::wstring wanted = text;
    CharUpperBuffW(wanted.data(), static_cast<DWORD>(wanted.size()));
    found = 0;
    const auto t0 = Clock::now();
    const int count = table.RecordCount();
    for (int recNo = 1; recNo <= count; ++recNo)
        for (int f = 0; f < table.FieldCount(); ++f) {
            std::wstring cell = table.FieldTextAt(recNo, f);
            if (!cell.empty()) CharUpperBuffW(cell.data(), static_cast<DWORD>(cell.size()));
            if (cell.find(wanted) != std::wstring::npos) ++found;
        }
    return Millis(Clock::now() - t0);
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

    // The yardsticks' copies of the table: the two sort keys per row and
    // every cell's text, in the table's own order.
    std::vector<Row> keys;
    std::vector<std::wstring> cells;
    table.DisableControls();
    for (table.First(); !table.Eof(); table.Next()) {
        keys.push_back(
            {table.FieldByName(L"fwq")->AsString(), table.FieldByName(L"bbmc")->AsString()});
        for (int f = 0; f < table.FieldCount(); ++f)
            cells.push_back(table.Fields(f)->AsString());
    }
    table.First();
    table.EnableControls();
    Pump();

    constexpr int kRuns = 5;
    const double stableSort = Median(kRuns, [&] { return StableSortYardstick(keys); });

    // fwq ascending, then bbmc descending: a plain click on dkh leaves it
    // the only marked column, two Ctrl+clicks on it remove it again, then
    // Ctrl+click fwq, Ctrl+click bbmc twice, release Ctrl. The sort runs
    // once, at the release, which is what is timed.
    const double sort = Median(kRuns, [&] {
        SetCtrl(false);
        ClickTitle(h, *grid, 5);
        Pump();
        SetCtrl(true);
        ClickTitle(h, *grid, 5);
        ClickTitle(h, *grid, 5);
        ClickTitle(h, *grid, 1);
        ClickTitle(h, *grid, 3);
        ClickTitle(h, *grid, 3);
        SetCtrl(false);
        const auto t0 = Clock::now();
        SendMessageW(h, WM_KEYUP, VK_CONTROL, 0xC0000001);
        const double ms = Millis(Clock::now() - t0);
        Pump();
        return ms;
    });

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

    // "sqlexpress" is longer than every cell; "zz9" is shorter than most, so
    // each of those is upper-cased and searched.
    bool searched = true;
    std::printf("rows:                                 %d\n", rows);
    std::printf("title-click sort, 2 keys (1 desc):    %8.1f ms\n", sort);
    std::printf("std::stable_sort yardstick:           %8.1f ms\n", stableSort);
    std::printf("sort / yardstick:                     %8.2f\n", sort / stableSort);
    std::printf("order verified:                       %s\n", ordered ? "yes" : "NO");
    for (const wchar_t* text : {L"sqlexpress", L"zz9"}) {
        table.SetRecNo(rows / 2);
        bool once = true;
        const TSearchTimes times = MedianSearch(*grid, text, kRuns, once);
        const double search = times.ToShown;
        const double toBox = times.ToBox;
        int found = 0;
        const double scan = Median(kRuns, [&] { return ScanYardstick(cells, text, found); });
        int foundInPlace = 0;
        const double inPlace =
            Median(kRuns, [&] { return ScanTableYardstick(table, text, foundInPlace); });
        searched = searched && once && found == 0 && foundInPlace == 0;
        const std::string narrow(text, text + std::wstring(text).size()); // ASCII
        std::printf("search for \"%s\" finding nothing, %zu cells:\n", narrow.c_str(),
                    cells.size());
        std::printf("  time to the not-found message shown: %7.1f ms\n", search);
        std::printf("  of which the search, until the box is created: %5.1f ms\n", toBox);
        std::printf("  upper-cased scan yardstick:         %8.1f ms\n", scan);
        std::printf("  search / yardstick:                 %8.2f\n", toBox / scan);
        std::printf("  search and box / yardstick:         %8.2f\n", search / scan);
        std::printf("  the same scan reading the sorted table in place: %6.1f ms\n", inPlace);
        std::printf("  search / that scan:                 %8.2f\n", toBox / inPlace);
        std::printf("  text as given, reported once, cursor kept: %s\n", once ? "yes" : "NO");
    }
    // What a search costs besides the cells: the dialog, the grid's return
    // to where it stood and the message box, measured on a one-row table.
    {
        data::TClientDataSet small;
        for (const wchar_t* f : fields)
            small.FieldDefs().Add(f, 100);
        small.CreateDataSet();
        small.Append();
        small.FieldByName(L"fwq")->SetAsString(L"HOST1");
        small.Post();
        source.SetDataSet(&small);
        Pump();
        bool faithful = true; // not part of the verdict: the figures are for comparison
        const TSearchTimes times = MedianSearch(*grid, L"zz9", kRuns, faithful);
        std::printf("a search over one row, for comparison: %7.1f ms shown, %.1f ms to the box\n",
                    times.ToShown, times.ToBox);
        source.SetDataSet(&table);
        Pump();
    }
    delete grid->Parent(); // the form
    return ordered && searched ? 0 : 1;
}
