// TDataCheckBox: a check box, the system BUTTON class superclassed as
// "TDataCheckBox" (the skin engine recognises check boxes by that name).
// The window is a three-state box that the control toggles itself, so that
// a grayed state set by the program shows and a click never lands in it
// unless AllowGrayed says so.
#pragma once

#include "ui/WinControl.h"

#include <string>

namespace ui {

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TDataCheckBox : public TWinControl {
public:
    explicit TDataCheckBox(TComponent* owner);
    std::wstring ClassName() const override { return L"TDataCheckBox"; }
    const TPropInfo* FindProp(const std::wstring& name) const override;
    std::vector<std::wstring> ClassChain() const override;

    bool Checked() const { return State() == TCheckBoxState::cbChecked; }
    void SetChecked(bool checked);
    TCheckBoxState State() const;
    void SetState(TCheckBoxState state);
    // A click also steps through the grayed state.
    bool AllowGrayed = false;
    // The field of a data source this box would show; unbound when empty.
    std::wstring DataField;

protected:
    void CreateParams(TCreateParams& params) override;
    void WindowCreated() override;
    void WndProc(TMessage& msg) override;

private:
    void Toggle();

    TCheckBoxState state_ = TCheckBoxState::cbUnchecked; // while there is no window
};

} // namespace ui
