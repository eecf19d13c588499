#include "ui/Button.h"

#include "ui/Form.h"
#include "ui/Messages.h"

namespace ui {

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
}

std::vector<std::wstring> TButton::ClassChain() const {
    auto chain = TWinControl::ClassChain();
    chain.insert(chain.begin(), {L"TButton", L"TButtonControl"});
    return chain;
}

void TButton::Click() {
    if (ModalResult != mrNone)
        if (TForm* form = GetParentForm(*this)) form->SetModalResult(ModalResult);
    TWinControl::Click();
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = L"BUTTON";
    params.Style &= ~WS_CLIPCHILDREN;
    params.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::WndProc(TMessage& msg) {
    switch (msg.Msg) {
    case CN_COMMAND:
        if (HIWORD(msg.WParam) == BN_CLICKED) Click();
        return;
    default:
        break;
    }
    TWinControl::WndProc(msg);
}

} // namespace ui
