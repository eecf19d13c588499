// TAnimate: the common animation control superclassed as "TAnimate". It
// plays an AVI clip from a module's resources by itself, on its own timer
// thread, so it keeps moving while the program's thread is busy.
#pragma once

#include "ui/WinControl.h"

namespace ui {

class TAnimate : public TWinControl {
public:
    explicit TAnimate(TComponent* owner) : TWinControl(owner) {}
    std::wstring ClassName() const override { return L"TAnimate"; }
    const TPropInfo* FindProp(const std::wstring& name) const override;
    std::vector<std::wstring> ClassChain() const override;

    // The clip: resource ResId of module ResModule (e.g. shell32.dll).
    std::wstring ResModule;
    int ResId = 0;
    int StartFrame = 1; // 1-based, inclusive
    int StopFrame = 1;
    int Repetitions = 0; // 0 = without end
    bool Center = true;
    bool Transparent = true;

    void SetActive(bool active);
    bool Active() const { return active_; }
    bool Opened() const { return opened_; }

protected:
    void CreateParams(TCreateParams& params) override;
    void WindowCreated() override;

private:
    void OpenClip();
    void Play();

    bool active_ = false;
    bool opened_ = false;
    HMODULE module_ = nullptr;
};

} // namespace ui
