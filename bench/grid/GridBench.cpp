// Prints the time of a full repaint of the result grid over a table of 10
// rows and one of 100,000 rows, and their ratio. Ten rows leave part of the
// window empty, so a table of 20 rows (a full window) is timed as well.
#include "BenchGrid.h"
#include "data/ClientDataSet.h"
#include "grid/DataGrid.h"
#include "grid/ResultGridConfig.h"
#include "ui/Application.h"
#include "ui/Form.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

// Microseconds per full repaint (invalidate everything, paint at once).
double RepaintMicros(int rows, int passes) {
    data::TClientDataSet table;
    const wchar_t* fields[] = {L"fwq", L"sjkglxt", L"bbmc", L"bdmc", L"dkh", L"bz"};
    for (const wchar_t* f : fields)
        table.FieldDefs().Add(f, f == std::wstring(L"bz") ? 400 : 100);
    table.CreateDataSet();
    for (int i = 0; i < rows; ++i) {
        table.Append();
        table.FieldByName(L"fwq")->SetAsString(L"HOST\\INSTANCE" + std::to_wstring(i));
        table.FieldByName(L"sjkglxt")->SetAsString(L"Microsoft SQL Server 2000 - 8.00.2039");
        table.FieldByName(L"dkh")->SetAsString(L"1433");
        table.Post();
    }
    table.First();
    data::TDataSource source(&table);

    ui::TApplication app;
    grid::TDataGrid* grid = bench::ShowResultGrid(app, source);
    HWND h = grid->Handle();

    // Warm up the fonts and image lists once.
    InvalidateRect(h, nullptr, FALSE);
    UpdateWindow(h);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < passes; ++i) {
        InvalidateRect(h, nullptr, FALSE);
        UpdateWindow(h);
    }
    GdiFlush();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    delete grid->Parent(); // the form
    return std::chrono::duration<double, std::micro>(elapsed).count() / passes;
}

} // namespace

int main() {
    const int passes = 200;
    const double small = RepaintMicros(10, passes);
    const double full = RepaintMicros(20, passes); // enough rows to fill the window
    const double large = RepaintMicros(100000, passes);
    std::printf("full repaint, 10 rows:      %8.1f us\n", small);
    std::printf("full repaint, 20 rows:      %8.1f us (window full)\n", full);
    std::printf("full repaint, 100000 rows:  %8.1f us\n", large);
    std::printf("ratio (100000 / 10):        %8.2f\n", large / small);
    std::printf("ratio (100000 / 20):        %8.2f\n", large / full);
    return 0;
}
