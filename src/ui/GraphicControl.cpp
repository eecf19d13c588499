#include "ui/GraphicControl.h"

#include "ui/Messages.h"

namespace ui {

std::vector<std::wstring> TGraphicControl::ClassChain() const {
    auto chain = TControl::ClassChain();
    chain.insert(chain.begin(), L"TGraphicControl");
    return chain;
}

void TGraphicControl::WndProc(TMessage& msg) {
    switch (msg.Msg) {
    case WM_PAINT:
        if (msg.WParam) Paint(reinterpret_cast<HDC>(msg.WParam));
        return;
    case CM_MOUSEENTER:
        mouseInControl_ = true;
        break;
    case CM_MOUSELEAVE:
        mouseInControl_ = false;
        break;
    default:
        break;
    }
    TControl::WndProc(msg);
}

} // namespace ui
