// The progress window of a detection run: an animation that keeps moving by
// itself, a bar that advances one step per row, a label and an interrupt
// button. Each run creates one and frees it at its end.
#pragma once

#include "platform/GdiHandles.h"
#include "ui/Form.h"

namespace ui {
class TAnimate;
class TLabel;
class TProgressBar;
class TSpeedButton;
} // namespace ui

namespace app {

class Tsp_jdt_frm : public ui::TForm {
public:
    explicit Tsp_jdt_frm(ui::TComponent* owner);
    ~Tsp_jdt_frm() override;

    std::wstring ClassName() const override { return L"Tsp_jdt_frm"; }
    std::vector<std::wstring> ClassChain() const override;

    ui::TAnimate* Animate1 = nullptr;
    ui::TProgressBar* ProgressBar1 = nullptr;
    ui::TLabel* Label1 = nullptr;
    ui::TSpeedButton* SpeedButton2 = nullptr;

    // "N" until the interrupt button is clicked, then "Y".
    const std::wstring& InterruptFlag() const { return interrupt_; }

    void SpeedButton2Click(ui::TComponent* sender);

private:
    std::wstring interrupt_ = L"N";
    platform::Bitmap stopGlyph_;
};

// The window of the run in progress; null outside a run.
extern Tsp_jdt_frm* sp_jdt_frm;

} // namespace app
