#include "grid/GridClipboard.h"

#include "grid/DataGrid.h"

#include <cstring>
#include <vector>

namespace grid {

namespace {

bool KeyHeld(int vk) {
    return (GetKeyState(vk) & 0x8000) != 0;
}

bool IsModifierKey(WPARAM key) {
    switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN:
        return true;
    default:
        return false;
    }
}

// Owns global memory until the clipboard takes it.
class GlobalText {
public:
    explicit GlobalText(const std::wstring& text) {
        const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
        memory_ = GlobalAlloc(GMEM_MOVEABLE, bytes);
        if (!memory_) return;
        void* p = GlobalLock(memory_);
        if (!p) {
            reset();
            return;
        }
        std::memcpy(p, text.c_str(), bytes);
        GlobalUnlock(memory_);
    }
    GlobalText(const GlobalText&) = delete;
    GlobalText& operator=(const GlobalText&) = delete;
    ~GlobalText() { reset(); }
    HGLOBAL get() const { return memory_; }
    void release() { memory_ = nullptr; }

private:
    void reset() {
        if (memory_) GlobalFree(memory_);
        memory_ = nullptr;
    }
    HGLOBAL memory_ = nullptr;
};

class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    ~OpenClipboardScope() {
        if (open_) CloseClipboard();
    }
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

void AppendLine(std::wstring& out, const std::vector<std::wstring>& cells) {
    if (!out.empty()) out += L"\r\n";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out += L'\t';
        out += ClipboardCell(cells[i]);
    }
}

} // namespace

std::wstring ClipboardCell(const std::wstring& text) {
    if (text.find_first_of(L"\t\r\n\"") == std::wstring::npos) return text;
    std::wstring quoted = L"\"";
    for (wchar_t c : text) {
        if (c == L'"') quoted += L'"';
        quoted += c;
    }
    return quoted + L'"';
}

std::wstring GridRowsText(const TCustomDataGrid& grid, bool allRows) {
    const data::TDataSet* ds = grid.DataSet();
    if (!ds || !ds->Active() || ds->RecordCount() == 0) return {};
    const int current = ds->RecNo();
    const int first = allRows ? 1 : current, last = allRows ? ds->RecordCount() : current;
    if (first < 1) return {};

    std::vector<const TDataGridColumn*> columns;
    std::vector<std::wstring> cells;
    for (int i = 0; i < grid.Columns().Count(); ++i) {
        const TDataGridColumn& c = grid.Columns()[i];
        if (!c.Visible()) continue;
        columns.push_back(&c);
        cells.push_back(c.Title().Caption());
    }
    std::wstring text;
    AppendLine(text, cells);
    for (int recNo = first; recNo <= last; ++recNo) {
        cells.clear();
        for (const TDataGridColumn* c : columns) {
            const data::TField* field = c->Field();
            cells.push_back(field ? ds->FieldTextAt(recNo, field->Index()) : std::wstring());
        }
        AppendLine(text, cells);
    }
    return text;
}

bool PutClipboardText(HWND owner, const std::wstring& text) {
    // The memory first: a failure must not leave the clipboard emptied.
    GlobalText memory(text);
    if (!memory.get()) return false;
    OpenClipboardScope clipboard(owner);
    if (!clipboard || !EmptyClipboard()) return false;
    if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release(); // the clipboard owns it now
    return true;
}

bool TCustomDataGrid::CopyRows(bool allRows) {
    const std::wstring text = GridRowsText(*this, allRows);
    if (text.empty()) return false;
    return PutClipboardText(HandleIfAllocated(), text);
}

bool TCustomDataGrid::EditActionKey(WPARAM key, bool systemKey) {
    if (IsModifierKey(key)) return false;
    const bool ctrlOnly =
        !systemKey && KeyHeld(VK_CONTROL) && !KeyHeld(VK_SHIFT) && !KeyHeld(VK_MENU);
    if (ctrlOnly && (key == 'C' || key == VK_INSERT) &&
        EditActions.Has(TDataGridEditAction::geaCopy)) {
        CopyRows(allSelected_);
        return true;
    }
    allSelected_ = false;
    if (ctrlOnly && key == 'A' && EditActions.Has(TDataGridEditAction::geaSelectAll)) {
        allSelected_ = true;
        return true;
    }
    return false;
}

} // namespace grid
