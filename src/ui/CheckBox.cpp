#include "ui/CheckBox.h"

#include "ui/Messages.h"

namespace ui {

namespace {

const wchar_t* const kCheckStateNames[] = {L"cbUnchecked", L"cbChecked", L"cbGrayed"};

const TPropInfo kCheckBoxProps[] = {
    {L"Checked",
     [](const TControl& c) -> TPropValue { return static_cast<const TDataCheckBox&>(c).Checked(); },
     [](TControl& c, const TPropValue& v) {
         static_cast<TDataCheckBox&>(c).SetChecked(std::get<bool>(v));
     }},
    {L"State",
     [](const TControl& c) -> TPropValue {
         return EnumValue(static_cast<const TDataCheckBox&>(c).Checked() ? 1 : 0, kCheckStateNames);
     },
     [](TControl& c, const TPropValue& v) {
         // Two-state box: grayed counts as unchecked.
         static_cast<TDataCheckBox&>(c).SetChecked(EnumFrom<int>(v, kCheckStateNames) == 1);
     }},
};

} // namespace

const TPropInfo* TDataCheckBox::FindProp(const std::wstring& name) const {
    if (const TPropInfo* p = FindIn(kCheckBoxProps, name)) return p;
    return TWinControl::FindProp(name);
}

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
