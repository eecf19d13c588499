// TProgressBar: the common progress bar superclassed as "TProgressBar".
#pragma once

#include "ui/WinControl.h"

namespace ui {

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner) : TWinControl(owner) { TabStop = false; }
    std::wstring ClassName() const override { return L"TProgressBar"; }
    std::vector<std::wstring> ClassChain() const override;
    const TPropInfo* FindProp(const std::wstring& name) const override;

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int Step() const { return step_; }
    void SetRange(int min, int max);
    void SetMin(int min) { SetRange(min, max_); }
    void SetMax(int max) { SetRange(min_, max); }
    void SetPosition(int position);
    void SetStep(int step);
    // Advances the position by Step, wrapping to Min past Max as the system bar does.
    void StepIt();

protected:
    void CreateParams(TCreateParams& params) override;
    void WindowCreated() override;

private:
    int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
};

} // namespace ui
