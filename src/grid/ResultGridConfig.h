// The stored configuration of the main window's result grid (DataGrid1):
// options, colours, fonts and the six columns with their footers.
#pragma once

namespace grid {

class TDataGrid;

// Applies the configuration as the window's loading would: inside a
// BeginLoad/EndLoad bracket, so the layout is computed once at the end.
void ApplyResultGridConfig(TDataGrid& grid);

} // namespace grid
