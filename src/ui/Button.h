// TButton: a push button, the system BUTTON class superclassed as "TButton".
#pragma once

#include "ui/WinControl.h"

namespace ui {

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    std::wstring ClassName() const override { return L"TButton"; }
    std::vector<std::wstring> ClassChain() const override;

    bool Default = false; // the form's default button: drawn with the thick border, Enter clicks it
    bool Cancel = false;  // the form's cancel button: Esc clicks it
    int ModalResult = 0;  // a click sets it on the form (ends a modal form's loop)

    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& msg) override;
};

} // namespace ui
