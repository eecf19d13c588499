#include "ui/ComboBox.h"

#include "ui/Messages.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

TDataComboBox::TDataComboBox(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    SetColor(clWindow);
}

std::vector<std::wstring> TDataComboBox::ClassChain() const {
    auto chain = TWinControl::ClassChain();
    chain.insert(chain.begin(), {L"TDataComboBox", L"TCustomComboBox"});
    return chain;
}

void TDataComboBox::AddItem(const std::wstring& item) {
    items_.push_back(item);
    if (HWND h = HandleIfAllocated())
        SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void TDataComboBox::ClearItems() {
    items_.clear();
    itemIndex_ = -1;
    if (HWND h = HandleIfAllocated()) SendMessageW(h, CB_RESETCONTENT, 0, 0);
}

int TDataComboBox::ItemIndex() const {
    if (HWND h = HandleIfAllocated()) return static_cast<int>(SendMessageW(h, CB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TDataComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    itemIndex_ = index;
    if (HWND h = HandleIfAllocated()) SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::wstring TDataComboBox::Text() const {
    HWND h = HandleIfAllocated();
    if (!h) return Caption();
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TDataComboBox::SetText(const std::wstring& text) {
    SetCaption(text);
    // The user's typing does not pass through Caption, so it may be stale.
    if (HWND h = HandleIfAllocated()) SetWindowTextW(h, text.c_str());
}

bool TDataComboBox::DroppedDown() const {
    HWND h = HandleIfAllocated();
    return h && SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

int TDataComboBox::ListHeight() const {
    int itemHeight = 0;
    if (HWND h = HandleIfAllocated())
        itemHeight = static_cast<int>(SendMessageW(h, CB_GETITEMHEIGHT, 0, 0));
    if (itemHeight <= 0) {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, Font().Handle());
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        itemHeight = tm.tmHeight;
    }
    return std::max(1, DropDownCount) * itemHeight + 2;
}

void TDataComboBox::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (HWND h = HandleIfAllocated())
        SetWindowPos(h, nullptr, left, top, width, height + ListHeight(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void TDataComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Height += ListHeight();
    params.BaseClass = L"COMBOBOX";
    params.Style &= ~WS_CLIPCHILDREN;
    params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL |
                    (Style == TComboBoxStyle::csDropDown ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
}

void TDataComboBox::WindowCreated() {
    HWND h = HandleIfAllocated();
    for (const auto& item : items_)
        SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(h, CB_SETMINVISIBLE, static_cast<WPARAM>(DropDownCount), 0);
    if (itemIndex_ >= 0) SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    // The system's combo box ignores the text it is created with, so an
    // editable box's text set before its window existed is put in now.
    if (Style == TComboBoxStyle::csDropDown && !Caption().empty())
        SetWindowTextW(h, Caption().c_str());
}

void TDataComboBox::WndProc(TMessage& msg) {
    switch (msg.Msg) {
    case CN_COMMAND:
        switch (HIWORD(msg.WParam)) {
        case CBN_EDITCHANGE:
        case CBN_SELCHANGE:
            itemIndex_ = static_cast<int>(SendMessageW(HandleIfAllocated(), CB_GETCURSEL, 0, 0));
            if (OnChange) OnChange(this);
            break;
        default:
            break;
        }
        return;
    default:
        break;
    }
    TWinControl::WndProc(msg);
}

} // namespace ui
