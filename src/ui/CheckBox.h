// TDataCheckBox: a check box, the system BUTTON class superclassed as
// "TDataCheckBox" (the skin engine recognises check boxes by that name).
#pragma once

#include "ui/WinControl.h"

namespace ui {

class TDataCheckBox : public TWinControl {
public:
    explicit TDataCheckBox(TComponent* owner);
    std::wstring ClassName() const override { return L"TDataCheckBox"; }
    const TPropInfo* FindProp(const std::wstring& name) const override;
    std::vector<std::wstring> ClassChain() const override;

    bool Checked() const;
    void SetChecked(bool checked);

protected:
    void CreateParams(TCreateParams& params) override;
    void WindowCreated() override;
    void WndProc(TMessage& msg) override;

private:
    bool checked_ = false; // the state while there is no window
};

} // namespace ui
