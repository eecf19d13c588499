// TButton: a push button, the system BUTTON class superclassed as "TButton".
#pragma once

#include "ui/WinControl.h"

namespace ui {

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    std::wstring ClassName() const override { return L"TButton"; }
    std::vector<std::wstring> ClassChain() const override;

    bool Default = false; // the form's default button: drawn with the thick border

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& msg) override;
};

} // namespace ui
