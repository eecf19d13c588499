#include "ui/Label.h"

#include "platform/GdiHandles.h"

namespace ui {

namespace {

const wchar_t* const kAlignmentNames[] = {L"taLeftJustify", L"taRightJustify", L"taCenter"};

const TPropInfo kLabelProps[] = {
    {L"Alignment",
     [](const TControl& c) -> TPropValue {
         return EnumValue(static_cast<const TLabel&>(c).Alignment, kAlignmentNames);
     },
     [](TControl& c, const TPropValue& v) {
         static_cast<TLabel&>(c).Alignment = EnumFrom<TAlignment>(v, kAlignmentNames);
         c.Invalidate();
     }},
    {L"Transparent",
     [](const TControl& c) -> TPropValue { return static_cast<const TLabel&>(c).Transparent; },
     [](TControl& c, const TPropValue& v) {
         static_cast<TLabel&>(c).Transparent = std::get<bool>(v);
         c.Invalidate();
     }},
};

} // namespace

const TPropInfo* TLabel::FindProp(const std::wstring& name) const {
    if (const TPropInfo* p = FindIn(kLabelProps, name)) return p;
    return TGraphicControl::FindProp(name);
}

std::vector<std::wstring> TLabel::ClassChain() const {
    auto chain = TGraphicControl::ClassChain();
    chain.insert(chain.begin(), {L"TLabel", L"TCustomLabel"});
    return chain;
}

void TLabel::Paint(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    if (!Transparent) {
        platform::Brush brush(CreateSolidBrush(ColorToRGB(Color())));
        FillRect(dc, &r, brush.get());
    }
    platform::SelectGuard font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : clGrayText));
    UINT flags = DT_WORDBREAK | DT_NOCLIP;
    if (Alignment == TAlignment::taCenter) flags |= DT_CENTER;
    if (Alignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
    DrawTextW(dc, Caption().c_str(), -1, &r, flags);
}

} // namespace ui
