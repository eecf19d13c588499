// Copying the grid's rows to the clipboard as tab-separated text that a
// spreadsheet pastes cell by cell, and the keys that do it.
#pragma once

#include <windows.h>

#include <string>

namespace grid {

class TCustomDataGrid;

// A cell of the copied text: in double quotes, inner quotes doubled, when it
// holds a tab, a line break or a double quote; else unchanged.
std::wstring ClipboardCell(const std::wstring& text);

// A line of the visible columns' titles, then the current row or every row in
// the order the grid shows them, cells separated by tabs, lines by CR LF.
// Empty when there is no row to copy.
std::wstring GridRowsText(const TCustomDataGrid& grid, bool allRows);

// Replaces the clipboard's contents with the text as Unicode text. False,
// with the clipboard left as it was, when it cannot be opened (another
// program holds it) or the memory cannot be had.
bool PutClipboardText(HWND owner, const std::wstring& text);

} // namespace grid
