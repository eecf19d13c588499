#include "ui/Label.h"

#include "platform/GdiHandles.h"

namespace ui {

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
