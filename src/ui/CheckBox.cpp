#include "ui/CheckBox.h"

#include "ui/Messages.h"

namespace ui {

namespace {

const wchar_t* const kCheckStateNames[] = {L"cbUnchecked", L"cbChecked", L"cbGrayed"};

TDataCheckBox& Box(TControl& c) {
    return static_cast<TDataCheckBox&>(c);
}
const TDataCheckBox& Box(const TControl& c) {
    return static_cast<const TDataCheckBox&>(c);
}

const TPropInfo kCheckBoxProps[] = {
    {L"Checked", [](const TControl& c) -> TPropValue { return Box(c).Checked(); },
     [](TControl& c, const TPropValue& v) { Box(c).SetChecked(std::get<bool>(v)); }},
    {L"State",
     [](const TControl& c) -> TPropValue { return EnumValue(Box(c).State(), kCheckStateNames); },
     [](TControl& c, const TPropValue& v) {
         Box(c).SetState(EnumFrom<TCheckBoxState>(v, kCheckStateNames));
     }},
    {L"AllowGrayed", [](const TControl& c) -> TPropValue { return Box(c).AllowGrayed; },
     [](TControl& c, const TPropValue& v) { Box(c).AllowGrayed = std::get<bool>(v); }},
    {L"DataField", [](const TControl& c) -> TPropValue { return Box(c).DataField; },
     [](TControl& c, const TPropValue& v) { Box(c).DataField = std::get<std::wstring>(v); }},
};

WPARAM ButtonCheck(TCheckBoxState state) {
    switch (state) {
    case TCheckBoxState::cbChecked:
        return BST_CHECKED;
    case TCheckBoxState::cbGrayed:
        return BST_INDETERMINATE;
    default:
        return BST_UNCHECKED;
    }
}

TCheckBoxState FromButtonCheck(LRESULT check) {
    if (check == BST_CHECKED) return TCheckBoxState::cbChecked;
    if (check == BST_INDETERMINATE) return TCheckBoxState::cbGrayed;
    return TCheckBoxState::cbUnchecked;
}

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

TCheckBoxState TDataCheckBox::State() const {
    if (HWND h = HandleIfAllocated()) return FromButtonCheck(SendMessageW(h, BM_GETCHECK, 0, 0));
    return state_;
}

void TDataCheckBox::SetState(TCheckBoxState state) {
    state_ = state;
    if (HWND h = HandleIfAllocated()) SendMessageW(h, BM_SETCHECK, ButtonCheck(state), 0);
}

void TDataCheckBox::SetChecked(bool checked) {
    SetState(checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

void TDataCheckBox::Toggle() {
    switch (State()) {
    case TCheckBoxState::cbUnchecked:
        SetState(TCheckBoxState::cbChecked);
        break;
    case TCheckBoxState::cbChecked:
        SetState(AllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
        break;
    case TCheckBoxState::cbGrayed:
        SetState(TCheckBoxState::cbUnchecked);
        break;
    }
}

void TDataCheckBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = L"BUTTON";
    params.Style &= ~WS_CLIPCHILDREN;
    // Not an automatic box: the system would step into the grayed state.
    params.Style |= BS_3STATE;
}

void TDataCheckBox::WindowCreated() {
    SendMessageW(HandleIfAllocated(), BM_SETCHECK, ButtonCheck(state_), 0);
}

void TDataCheckBox::WndProc(TMessage& msg) {
    switch (msg.Msg) {
    case CN_COMMAND:
        if (HIWORD(msg.WParam) == BN_CLICKED) {
            Toggle();
            Click();
        }
        return;
    case WM_DESTROY:
        state_ = FromButtonCheck(SendMessageW(HandleIfAllocated(), BM_GETCHECK, 0, 0));
        break;
    default:
        break;
    }
    TWinControl::WndProc(msg);
}

} // namespace ui
