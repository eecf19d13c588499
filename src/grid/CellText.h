// The grid's cell text writer: one line of text placed by margins, alignment
// and layout inside a cell rectangle, optionally filling the rectangle.
#pragma once

#include "grid/Columns.h"

#include <windows.h>

#include <string>

namespace grid {

struct TCellText {
    RECT Rect{};
    bool Fill = true;
    int Dx = 0, Dy = 0;
    TAlignment Alignment = TAlignment::taLeftJustify;
    TTextLayout Layout = TTextLayout::tlTop;
    bool WordWrap = false;
    bool EndEllipsis = false;
};

// Writes `text` with the font, text colour and background colour already
// selected into dc (the background colour is the fill). `boldOrItalic`
// chooses the formatted measuring for centred and right alignment.
void WriteCellText(HDC dc, const TCellText& cell, const std::wstring& text, bool boldOrItalic);

} // namespace grid
