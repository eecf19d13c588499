#include "app/ProgressForm.h"

#include "app/Resources.h"
#include "ui/Animate.h"
#include "ui/Label.h"
#include "ui/ProgressBar.h"
#include "ui/SpeedButton.h"

namespace app {

Tsp_jdt_frm* sp_jdt_frm = nullptr;

namespace {

// The shell's copy-file clip, frames 1 to 20.
constexpr wchar_t kShellModule[] = L"shell32.dll";
constexpr int kCopyFileClip = 161;

} // namespace

Tsp_jdt_frm::Tsp_jdt_frm(ui::TComponent* owner) : ui::TForm(owner) {
    SetName(L"sp_jdt_frm");
    SetCaption(L"进度");
    BorderStyle = ui::TFormBorderStyle::bsDialog;
    BorderIcons = 0;
    Position = ui::TPosition::poMainFormCenter;
    SetColor(ui::clBtnFace);
    SetFont(ui::TFont(L"MS Sans Serif", 8));
    Cursor = ui::TCursor::crAppStart;
    SetClientSize(342, 130);

    Animate1 = new ui::TAnimate(this);
    Animate1->SetName(L"Animate1");
    Animate1->SetBounds(35, 1, 272, 60);
    Animate1->ResModule = kShellModule;
    Animate1->ResId = kCopyFileClip;
    Animate1->StartFrame = 1;
    Animate1->StopFrame = 20;
    Animate1->Repetitions = 0;
    Animate1->Center = true;
    Animate1->Transparent = true;
    Animate1->SetActive(true);
    Animate1->SetParent(this);

    ProgressBar1 = new ui::TProgressBar(this);
    ProgressBar1->SetName(L"ProgressBar1");
    ProgressBar1->SetBounds(35, 64, 272, 25);
    ProgressBar1->SetRange(0, 100);
    ProgressBar1->SetPosition(0);
    ProgressBar1->SetStep(1);
    ProgressBar1->TabOrder = 1;
    ProgressBar1->SetParent(this);

    Label1 = new ui::TLabel(this);
    Label1->SetName(L"Label1");
    Label1->SetBounds(107, 96, 127, 25);
    Label1->SetCaption(L"进度");
    Label1->Alignment = ui::TAlignment::taCenter;
    Label1->SetFont(ui::TFont(L"MS Sans Serif", 12, ui::clBlue, ui::fsBold));
    Label1->SetParent(this);

    SpeedButton2 = new ui::TSpeedButton(this);
    SpeedButton2->SetName(L"SpeedButton2");
    SpeedButton2->SetBounds(243, 95, 65, 30);
    SpeedButton2->SetCaption(L"中断&Q");
    SpeedButton2->Flat = true;
    SpeedButton2->Spacing = 0;
    SpeedButton2->SetFont(ui::TFont(L"MS Sans Serif", 8, ui::clBlue));
    SpeedButton2->Cursor = ui::TCursor::crHandPoint;
    stopGlyph_.reset(LoadProgramBitmap(kStopGlyphId));
    SpeedButton2->Glyph = stopGlyph_.get();
    SpeedButton2->OnClick = [this](ui::TComponent* sender) { SpeedButton2Click(sender); };
    SpeedButton2->SetParent(this);

    ScaleToScreen();
    // Created hidden, but with its window, so the animation starts at once.
    HandleNeeded();
}

Tsp_jdt_frm::~Tsp_jdt_frm() {
    if (sp_jdt_frm == this) sp_jdt_frm = nullptr;
}

std::vector<std::wstring> Tsp_jdt_frm::ClassChain() const {
    auto chain = ui::TForm::ClassChain();
    chain.insert(chain.begin(), L"Tsp_jdt_frm");
    return chain;
}

void Tsp_jdt_frm::SpeedButton2Click(ui::TComponent*) {
    interrupt_ = L"Y";
}

} // namespace app
