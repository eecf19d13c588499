#include "ui/Graphics.h"

namespace ui {

COLORREF ColorToRGB(TColor color) {
    if (static_cast<std::uint32_t>(color) & 0x80000000u)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

HCURSOR CursorHandle(TCursor cursor) {
    switch (cursor) {
    case TCursor::crDefault:
        return nullptr;
    case TCursor::crArrow:
        return LoadCursorW(nullptr, IDC_ARROW);
    case TCursor::crHandPoint:
        return LoadCursorW(nullptr, IDC_HAND);
    case TCursor::crAppStart:
        return LoadCursorW(nullptr, IDC_APPSTARTING);
    case TCursor::crHourGlass:
        return LoadCursorW(nullptr, IDC_WAIT);
    case TCursor::crIBeam:
        return LoadCursorW(nullptr, IDC_IBEAM);
    case TCursor::crSizeWE:
        return LoadCursorW(nullptr, IDC_SIZEWE);
    }
    return nullptr;
}

int ScreenPixelsPerInch() {
    static const int ppi = [] {
        platform::WindowDC dc(nullptr);
        return GetDeviceCaps(dc.get(), LOGPIXELSY);
    }();
    return ppi;
}

int ScaleForScreen(int designValue, int designPpi) {
    return MulDiv(designValue, ScreenPixelsPerInch(), designPpi);
}

TFont::TFont(std::wstring name, int sizePoints, TColor color, unsigned style)
    : name_(std::move(name)), size_(sizePoints), color_(color), style_(style) {}

TFont::TFont(const TFont& other)
    : name_(other.name_), size_(other.size_), color_(other.color_), style_(other.style_) {}

TFont& TFont::operator=(const TFont& other) {
    if (this != &other) {
        name_ = other.name_;
        size_ = other.size_;
        color_ = other.color_;
        style_ = other.style_;
        handle_.reset();
    }
    return *this;
}

void TFont::SetName(std::wstring name) {
    name_ = std::move(name);
    handle_.reset();
}

void TFont::SetSize(int points) {
    size_ = points;
    handle_.reset();
}

void TFont::SetStyle(unsigned style) {
    style_ = style;
    handle_.reset();
}

int TFont::Height() const {
    return MulDiv(size_, ScreenPixelsPerInch(), 72);
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LOGFONTW lf{};
        lf.lfHeight = -Height();
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
        lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
        lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        wcsncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
        handle_.reset(CreateFontIndirectW(&lf));
    }
    return handle_.get();
}

} // namespace ui
