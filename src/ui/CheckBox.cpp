#include "ui/CheckBox.h"

#include "ui/Messages.h"

namespace ui {

TDataCheckBox::TDataCheckBox(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
}

std::vector<std::wstring> TDataCheckBox::ClassChain() const {
    auto chain = TWinControl::ClassChain();
    chain.insert(chain.begin(), {L"TDataCheckBox", L"TCustomCheckBox", L"TButtonControl"});
    return chain;
}

bool TDataCheckBox::Checked() const {
    if (HWND h = HandleIfAllocated()) return SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return checked_;
}

void TDataCheckBox::SetChecked(bool checked) {
    checked_ = checked;
    if (HWND h = HandleIfAllocated())
        SendMessageW(h, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TDataCheckBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = L"BUTTON";
    params.Style &= ~WS_CLIPCHILDREN;
    params.Style |= BS_AUTOCHECKBOX;
}

void TDataCheckBox::WindowCreated() {
    SendMessageW(HandleIfAllocated(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TDataCheckBox::WndProc(TMessage& msg) {
    switch (msg.Msg) {
    case CN_COMMAND:
        if (HIWORD(msg.WParam) == BN_CLICKED) {
            checked_ = SendMessageW(HandleIfAllocated(), BM_GETCHECK, 0, 0) == BST_CHECKED;
            Click();
        }
        return;
    case WM_DESTROY:
        checked_ = SendMessageW(HandleIfAllocated(), BM_GETCHECK, 0, 0) == BST_CHECKED;
        break;
    default:
        break;
    }
    TWinControl::WndProc(msg);
}

} // namespace ui
