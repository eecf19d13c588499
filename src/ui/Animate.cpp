#include "ui/Animate.h"

#include <commctrl.h>

namespace ui {

namespace {

// Read-only: the transparency is a window style fixed at creation.
const TPropInfo kAnimateProps[] = {
    {L"Transparent",
     [](const TControl& c) -> TPropValue { return static_cast<const TAnimate&>(c).Transparent; },
     nullptr},
};

} // namespace

const TPropInfo* TAnimate::FindProp(const std::wstring& name) const {
    if (const TPropInfo* p = FindIn(kAnimateProps, name)) return p;
    return TWinControl::FindProp(name);
}

std::vector<std::wstring> TAnimate::ClassChain() const {
    auto chain = TWinControl::ClassChain();
    chain.insert(chain.begin(), TAnimate::ClassName());
    return chain;
}

void TAnimate::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = ANIMATE_CLASSW;
    params.Style &= ~WS_CLIPCHILDREN;
    if (Center) params.Style |= ACS_CENTER;
    if (Transparent) params.Style |= ACS_TRANSPARENT;
}

void TAnimate::WindowCreated() {
    OpenClip();
    if (active_) Play();
}

void TAnimate::OpenClip() {
    opened_ = false;
    if (ResModule.empty() || ResId == 0) return;
    // The module stays loaded by the system (shell32 is already in every GUI
    // process); GetModuleHandle first avoids a second reference.
    module_ = GetModuleHandleW(ResModule.c_str());
    if (!module_) module_ = LoadLibraryExW(ResModule.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module_) return;
    opened_ = SendMessageW(HandleIfAllocated(), ACM_OPENW, reinterpret_cast<WPARAM>(module_),
                           reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(ResId))) != 0;
}

void TAnimate::Play() {
    if (!opened_) return;
    const UINT repeat = Repetitions == 0 ? static_cast<UINT>(-1) : static_cast<UINT>(Repetitions);
    SendMessageW(HandleIfAllocated(), ACM_PLAY, repeat, MAKELONG(StartFrame - 1, StopFrame - 1));
}

void TAnimate::SetActive(bool active) {
    active_ = active;
    if (!HandleAllocated()) return;
    if (active)
        Play();
    else
        SendMessageW(HandleIfAllocated(), ACM_STOP, 0, 0);
}

} // namespace ui
