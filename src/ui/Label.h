// TLabel: a windowless caption painted by its parent.
#pragma once

#include "ui/GraphicControl.h"

namespace ui {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner) : TGraphicControl(owner) { ParentColor = true; }
    std::wstring ClassName() const override { return L"TLabel"; }
    std::vector<std::wstring> ClassChain() const override;
    const TPropInfo* FindProp(const std::wstring& name) const override;

    TAlignment Alignment = TAlignment::taLeftJustify;
    bool Transparent = false;

protected:
    void Paint(HDC dc) override;
};

} // namespace ui
