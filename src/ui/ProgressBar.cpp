#include "ui/ProgressBar.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

namespace {

const TPropInfo kProgressProps[] = {
    {L"Min",
     [](const TControl& c) -> TPropValue {
         return static_cast<long long>(static_cast<const TProgressBar&>(c).Min());
     },
     [](TControl& c, const TPropValue& v) {
         static_cast<TProgressBar&>(c).SetMin(static_cast<int>(std::get<long long>(v)));
     }},
    {L"Max",
     [](const TControl& c) -> TPropValue {
         return static_cast<long long>(static_cast<const TProgressBar&>(c).Max());
     },
     [](TControl& c, const TPropValue& v) {
         static_cast<TProgressBar&>(c).SetMax(static_cast<int>(std::get<long long>(v)));
     }},
    {L"Position",
     [](const TControl& c) -> TPropValue {
         return static_cast<long long>(static_cast<const TProgressBar&>(c).Position());
     },
     [](TControl& c, const TPropValue& v) {
         static_cast<TProgressBar&>(c).SetPosition(static_cast<int>(std::get<long long>(v)));
     }},
};

} // namespace

std::vector<std::wstring> TProgressBar::ClassChain() const {
    auto chain = TWinControl::ClassChain();
    chain.insert(chain.begin(), L"TProgressBar");
    return chain;
}

const TPropInfo* TProgressBar::FindProp(const std::wstring& name) const {
    if (const TPropInfo* p = FindIn(kProgressProps, name)) return p;
    return TWinControl::FindProp(name);
}

void TProgressBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = PROGRESS_CLASSW;
    params.Style &= ~WS_CLIPCHILDREN;
}

void TProgressBar::WindowCreated() {
    SendMessageW(HandleIfAllocated(), PBM_SETRANGE32, static_cast<WPARAM>(min_),
                 static_cast<LPARAM>(max_));
    SendMessageW(HandleIfAllocated(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
    SendMessageW(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::clamp(position_, min_, max_);
    if (HandleAllocated()) {
        SendMessageW(HandleIfAllocated(), PBM_SETRANGE32, static_cast<WPARAM>(min_),
                     static_cast<LPARAM>(max_));
        SendMessageW(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
    }
}

void TProgressBar::SetPosition(int position) {
    position_ = std::clamp(position, min_, max_);
    if (HandleAllocated())
        SendMessageW(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetStep(int step) {
    step_ = step;
    if (HandleAllocated())
        SendMessageW(HandleIfAllocated(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
}

void TProgressBar::StepIt() {
    position_ += step_;
    if (position_ > max_) position_ = min_ + (position_ - max_ - 1) % std::max(1, max_ - min_ + 1);
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), PBM_STEPIT, 0, 0);
}

} // namespace ui
