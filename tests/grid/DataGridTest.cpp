#include "GridFixture.h"

#include "grid/CellColors.h"

#include <optional>
#include <vector>

using testing_support::Pump;
using testing_support::Snapshot;

namespace {

constexpr COLORREF kSkyBlue = RGB(166, 202, 240);
constexpr COLORREF kSilver = RGB(192, 192, 192);

COLORREF Sys(int index) {
    return GetSysColor(index);
}

// The pixel that DrawEdge paints at the top-left of a cell with these flags.
COLORREF EdgeTopLeftColor(UINT edge) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, -8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT r{0, 0, 8, 8};
    DrawEdge(dc, &r, edge, BF_LEFT | BF_TOP);
    GdiFlush();
    const DWORD p = static_cast<const DWORD*>(bits)[8 * 4]; // x 0, y 4
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

struct InkBox {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};

// Pixels within r that differ from the background colour.
InkBox FindInk(const Snapshot& s, const RECT& r, COLORREF background) {
    InkBox box;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (s.at(x, y) != background) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// Where the ink of `text` lies when written at (0, 0) in `font`.
InkBox ReferenceInk(const ui::TFont& font, const std::wstring& text) {
    const int w = 200, h = 40;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    HGDIOBJ oldFont = SelectObject(dc, font.Handle());
    RECT r{0, 0, w, h};
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    GdiFlush();
    InkBox box;
    const auto* px = static_cast<const DWORD*>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((px[y * w + x] & 0xFFFFFF) != 0xFFFFFF) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
    SelectObject(dc, oldFont);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return box;
}

// --- Layout ---

using GridLayout = GridFixture;

TEST_F(GridLayout, FlatBorderLeavesOnePixelOnEverySide) {
    const RECT c = Client();
    EXPECT_EQ(c.right, 880);
    EXPECT_EQ(c.bottom, 279);
    const LONG_PTR ex = GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE);
    EXPECT_FALSE(ex & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(GetWindowLongPtrW(Hwnd(), GWL_STYLE) & WS_BORDER);
    wchar_t cls[64];
    GetClassNameW(Hwnd(), cls, 64);
    EXPECT_STREQ(cls, L"TDataGrid");
}

TEST_F(GridLayout, EmptyTableShowsTitleEmptyRowFillerAndFootersAtTheBottom) {
    const int th = TextHeight(grid->Font());
    EXPECT_EQ(grid->DefaultRowHeight(), th + 2);
    EXPECT_EQ(grid->RowHeights(0), TextHeight(grid->TitleFont()) + 2);
    ASSERT_EQ(grid->RowCount(), 5);
    ASSERT_EQ(grid->ColCount(), 7);
    const int widths[] = {11, 150, 200, 150, 80, 50, 200};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(grid->ColWidths(c), widths[c]);
    const RECT lastFooter = grid->CellRect(1, 4);
    EXPECT_EQ(lastFooter.bottom + 1, Client().bottom); // footers end at the bottom edge
    const int L = grid->DefaultRowHeight() + 1;
    EXPECT_GT(grid->RowHeights(2), L); // the filler takes the rest
    EXPECT_EQ(grid->FillerRow(), 2);
    EXPECT_EQ(grid->FirstFooterRow(), 3);
}

TEST_F(GridLayout, ManyRecordsFillTheWindowAndTheFillerIsLessThanARow) {
    AppendRows(40);
    const int L = grid->DefaultRowHeight() + 1;
    const int titleAndFooters = grid->RowHeights(0) + 1 + 2 * L + 1;
    const int window = (Client().bottom - titleAndFooters) / L;
    EXPECT_EQ(grid->DataLink().BufferCount(), window);
    EXPECT_EQ(grid->DataLink().RecordCount(), window);
    EXPECT_EQ(grid->RowCount(), 1 + window + 1 + 2);
    EXPECT_LT(grid->RowHeights(grid->FillerRow()), L);
    EXPECT_EQ(grid->CellRect(1, grid->RowCount() - 1).bottom + 1, Client().bottom);
    EXPECT_EQ(grid->PageRows(), window);
}

TEST_F(GridLayout, ResizingRedoesTheRowLayout) {
    AppendRows(40);
    const int before = grid->DataLink().RecordCount();
    grid->SetBounds(0, 0, 882, 181);
    Pump(10);
    const int L = grid->DefaultRowHeight() + 1;
    const int used = grid->RowHeights(0) + 1 + 2 * L + 1;
    EXPECT_EQ(Client().bottom, 179);
    EXPECT_EQ(grid->DataLink().RecordCount(), (Client().bottom - used) / L);
    EXPECT_LT(grid->DataLink().RecordCount(), before);
    EXPECT_EQ(grid->CellRect(1, grid->RowCount() - 1).bottom + 1, Client().bottom);
}

TEST_F(GridLayout, ALargerFontGivesTallerRows) {
    ui::TFont big(L"Arial", 14);
    grid->SetFont(big);
    EXPECT_EQ(grid->DefaultRowHeight(), TextHeight(big) + 2);
    EXPECT_EQ(grid->CellRect(1, grid->RowCount() - 1).bottom + 1, Client().bottom);
}

// --- Painting ---

using GridPaint = GridFixture;

TEST_F(GridPaint, FixedCellsAreSkyBlueWithShadowLinesAndDataLinesAreSilver) {
    AppendRows(3);
    table.First();
    Snapshot s(Hwnd(), 880, 279);
    const RECT title = grid->CellRect(1, 0);
    const int midTitle = (title.top + title.bottom) / 2;
    EXPECT_EQ(s.at(title.right - 3, title.top + 2), kSkyBlue);    // title fill
    EXPECT_EQ(s.at(title.right, midTitle), Sys(COLOR_BTNSHADOW)); // fixed line
    EXPECT_EQ(s.at(11, midTitle), Sys(COLOR_BTNSHADOW));          // indicator line, title row
    const RECT ind = grid->CellRect(0, 3);
    EXPECT_EQ(s.at(ind.left + 2, ind.bottom - 2), kSkyBlue); // indicator fill
    EXPECT_EQ(s.at(11, (ind.top + ind.bottom) / 2), Sys(COLOR_BTNSHADOW));
    const RECT data = grid->CellRect(2, 3);
    EXPECT_EQ(s.at(data.right, (data.top + data.bottom) / 2), kSilver);  // data column line
    EXPECT_EQ(s.at((data.left + data.right) / 2, data.bottom), kSilver); // data row line
    EXPECT_EQ(s.at(data.right - 3, data.bottom - 2), Sys(COLOR_WINDOW)); // data fill
    const RECT footer = grid->CellRect(2, grid->FirstFooterRow());
    EXPECT_EQ(s.at(footer.right, footer.top + 2), kSilver);
    EXPECT_EQ(s.at(footer.left + 3, footer.bottom - 1), Sys(COLOR_WINDOW));
}

TEST_F(GridPaint, CellEdgesAreRaisedOnTitleAndDataCellsAndAbsentOnFooters) {
    AppendRows(3);
    table.First();
    Snapshot s(Hwnd(), 880, 279);
    const COLORREF raised = EdgeTopLeftColor(BDR_RAISEDINNER);
    const RECT title = grid->CellRect(3, 0);
    EXPECT_EQ(s.at(title.left, (title.top + title.bottom) / 2), raised);
    EXPECT_EQ(s.at(title.right - 1, (title.top + title.bottom) / 2),
              kSkyBlue);                    // right column in fill
    const RECT data = grid->CellRect(3, 3); // not the current row
    EXPECT_EQ(s.at(data.left, (data.top + data.bottom) / 2), raised);
    EXPECT_EQ(s.at(data.left + 5, data.top), raised);
    const RECT filler = grid->CellRect(3, grid->FillerRow());
    EXPECT_EQ(s.at(filler.left, filler.top + 3), raised);
    EXPECT_EQ(s.at(filler.left + 3, filler.bottom - 1), Sys(COLOR_WINDOW));
    const RECT fillerIndicator = grid->CellRect(0, grid->FillerRow());
    EXPECT_EQ(s.at(fillerIndicator.left + 4, fillerIndicator.top + 4), Sys(COLOR_WINDOW));
    const RECT footer = grid->CellRect(3, grid->FirstFooterRow());
    EXPECT_EQ(s.at(footer.left, footer.top + 3), Sys(COLOR_WINDOW)); // no edge
}

TEST_F(GridPaint, StripBeyondTheLastColumnIsTheGridColour) {
    Snapshot s(Hwnd(), 880, 279);
    const RECT last = grid->CellRect(6, 0);
    ASSERT_LT(last.right + 1, 880);
    for (int y : {0, 3, static_cast<int>(grid->CellRect(1, 0).bottom) + 2, 150, 278})
        EXPECT_EQ(s.at(last.right + 1, y), Sys(COLOR_WINDOW)) << "y " << y;
    EXPECT_EQ(s.at(879, 2), Sys(COLOR_WINDOW));
}

TEST_F(GridPaint, IndicatorGlyphFollowsTheCurrentRecordAndTheDataSetState) {
    AppendRows(5);
    table.First();
    table.MoveBy(2); // third record: grid row 3
    Pump(10);
    auto glyphOrigin = [&](int row) {
        const RECT r = grid->CellRect(0, row);
        // Shrunk by the cell edge, dx = 1.
        return POINT{r.right - 1 - 6 - 1, (r.top + 1 + r.bottom - 1 - 11) / 2};
    };
    {
        Snapshot s(Hwnd(), 880, 279);
        const POINT g = glyphOrigin(3);
        EXPECT_EQ(s.at(g.x, g.y), RGB(0, 0, 0)); // arrow: full height at the left
        EXPECT_EQ(s.at(g.x, g.y + 10), RGB(0, 0, 0));
        EXPECT_EQ(s.at(g.x + 5, g.y + 5), RGB(0, 0, 0)); // its tip
        EXPECT_EQ(s.at(g.x + 5, g.y + 4), kSkyBlue);     // transparent around it
        EXPECT_EQ(s.at(g.x - 1, g.y + 5), kSkyBlue);
        const POINT other = glyphOrigin(2);
        EXPECT_EQ(s.at(other.x, other.y + 5), kSkyBlue); // no glyph elsewhere
    }
    table.Edit();
    {
        Snapshot s(Hwnd(), 880, 279);
        const POINT g = glyphOrigin(3);
        EXPECT_EQ(s.at(g.x + 2, g.y + 5), RGB(0, 0, 0)); // the I-beam's stem
        EXPECT_EQ(s.at(g.x, g.y + 5), kSkyBlue);
    }
    table.Cancel();
    table.Append();
    {
        Snapshot s(Hwnd(), 880, 279);
        const int row = grid->Row();
        const POINT g = glyphOrigin(row);
        EXPECT_EQ(s.at(g.x, g.y + 5), RGB(0, 0, 0)); // asterisk's middle bar
        EXPECT_EQ(s.at(g.x, g.y), kSkyBlue);
    }
    table.Cancel();
}

TEST_F(GridPaint, EmptyTableShowsTheArrowInItsOneEmptyRow) {
    Snapshot s(Hwnd(), 880, 279);
    const RECT r = grid->CellRect(0, 1);
    const int x = r.right - 8, y = (r.top + r.bottom - 11) / 2;
    EXPECT_EQ(s.at(x, y + 5), RGB(0, 0, 0));
    const RECT cell = grid->CellRect(2, 1);
    EXPECT_EQ(s.at(cell.left + 5, cell.top + 4), Sys(COLOR_WINDOW));
    EXPECT_EQ(s.at(cell.left, cell.top + 4), EdgeTopLeftColor(BDR_RAISEDINNER));
}

TEST_F(GridPaint, DataAndFooterTextStartAtTheSameInsetFromTheCellCorner) {
    AppendRows(2);
    table.Last();
    Pump(10);
    Snapshot s(Hwnd(), 880, 279);
    // Data: first row, column fwq, not the current row (no highlight).
    const RECT data = grid->CellRect(1, 1);
    const InkBox ref = ReferenceInk(grid->Font(), L"PC1");
    const InkBox ink = FindInk(
        s, RECT{data.left + 1, data.top + 1, data.right - 1, data.bottom - 1}, Sys(COLOR_WINDOW));
    ASSERT_FALSE(ink.empty());
    EXPECT_EQ(ink.left, data.left + 2 + ref.left);
    EXPECT_EQ(ink.top, data.top + 1 + ref.top);

    // Footer: the count, centred in the bold blue font, one pixel down.
    const grid::TColumnFooter& def = grid->Columns()[0].FooterFor(1);
    const RECT footer = grid->CellRect(1, grid->FirstFooterRow() + 1);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, def.Font().Handle());
    RECT m{0, 0, 0, 0};
    DrawTextW(dc, L"2", 1, &m, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int width = footer.right - footer.left;
    const int x = footer.left + width / 2 - (m.right - m.left) / 2;
    const InkBox countRef = ReferenceInk(def.Font(), L"2");
    const InkBox countInk = FindInk(s, footer, Sys(COLOR_WINDOW));
    ASSERT_FALSE(countInk.empty());
    EXPECT_EQ(countInk.left, x + countRef.left);
    EXPECT_EQ(countInk.top, footer.top + 1 + countRef.top);
    EXPECT_EQ(s.at(countInk.left + (countRef.right - countRef.left) / 2, countInk.top + 2) &
                  0xFF0000,
              0xFF0000u & RGB(0, 0, 255)); // blue ink somewhere in the stroke
}

TEST_F(GridPaint, CurrentRowHighlightFollowsTheFocus) {
    AppendRows(3);
    table.First();
    grid->SetFocus();
    Pump(10);
    const RECT current = grid->CellRect(1, 1), other = grid->CellRect(2, 1);
    const COLORREF sunken = EdgeTopLeftColor(BDR_SUNKENINNER);
    {
        Snapshot s(Hwnd(), 880, 279);
        EXPECT_EQ(s.at(current.right - 3, current.bottom - 3), Sys(COLOR_HIGHLIGHT));
        EXPECT_EQ(s.at(current.left, current.top + 5), sunken);
        const COLORREF tint = grid::SelectionTint(Sys(COLOR_WINDOW), Sys(COLOR_HIGHLIGHT), true);
        EXPECT_EQ(s.at(other.right - 3, other.bottom - 3), tint);
        EXPECT_EQ(s.at(other.left, other.top + 5), sunken);
        // The focus rectangle's dotted line inside the current cell.
        int dots = 0;
        for (int x = current.left + 1; x < current.right - 1; ++x)
            if (s.at(x, current.top + 1) != Sys(COLOR_HIGHLIGHT)) ++dots;
        EXPECT_GT(dots, 10);
        // The next row is not highlighted.
        const RECT below = grid->CellRect(2, 2);
        EXPECT_EQ(s.at(below.right - 3, below.bottom - 3), Sys(COLOR_WINDOW));
    }
    SetFocus(form->Handle());
    Pump(10);
    {
        Snapshot s(Hwnd(), 880, 279);
        EXPECT_EQ(s.at(current.right - 3, current.bottom - 3), Sys(COLOR_WINDOW));
        EXPECT_EQ(s.at(current.left, current.top + 5), EdgeTopLeftColor(BDR_RAISEDINNER));
        const COLORREF grey = grid::SelectionTint(Sys(COLOR_WINDOW), Sys(COLOR_BTNSHADOW), false);
        EXPECT_EQ(s.at(other.right - 3, other.bottom - 3), grey);
    }
}

TEST_F(GridPaint, WindowPaintMatchesPrintClient) {
    AppendRows(4);
    InvalidateRect(Hwnd(), nullptr, FALSE);
    UpdateWindow(Hwnd());
    Snapshot s(Hwnd(), 880, 279);
    HDC dc = GetDC(Hwnd());
    int differences = 0;
    const RECT client = Client();
    for (int y = 0; y < client.bottom; y += 7)
        for (int x = 0; x < client.right; x += 5)
            if (GetPixel(dc, x, y) != s.at(x, y)) ++differences;
    ReleaseDC(Hwnd(), dc);
    EXPECT_EQ(differences, 0);
}

TEST_F(GridPaint, SortMarkerSitsAtTheRightOfTheTitleCell) {
    grid->Columns()[1].Title().SetSortMarker(grid::TSortMarker::smDown);
    Snapshot s(Hwnd(), 880, 279);
    const RECT cell = grid->CellRect(2, 0);
    const RECT inner{cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
    const int x = inner.right - 10 - 2, y = (inner.top + inner.bottom - 9) / 2;
    EXPECT_EQ(s.at(x + 1, y + 1), RGB(128, 128, 128)); // top edge of the down triangle
    EXPECT_EQ(s.at(x + 8, y + 2), RGB(255, 255, 255)); // its right side
    EXPECT_EQ(s.at(x + 4, y + 3), kSkyBlue);           // hollow inside
    EXPECT_EQ(s.at(x, y), kSkyBlue);                   // transparent margin
    // The other titles carry no marker.
    const RECT plain = grid->CellRect(3, 0);
    EXPECT_EQ(s.at(plain.right - 1 - 12 + 1, y + 1), kSkyBlue);
}

TEST_F(GridPaint, FlatBorderIsASunkenOuterEdge) {
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    RECT w;
    GetWindowRect(Hwnd(), &w);
    HDC dc = GetWindowDC(Hwnd());
    const COLORREF topLeft = GetPixel(dc, 0, 20), bottom = GetPixel(dc, 20, w.bottom - w.top - 1);
    ReleaseDC(Hwnd(), dc);
    EXPECT_EQ(topLeft, EdgeTopLeftColor(BDR_SUNKENOUTER));
    EXPECT_EQ(bottom, Sys(COLOR_BTNHIGHLIGHT));
}

// --- Repainting ---

// Records the update region the grid sees at each WM_PAINT.
class UpdateRecorder {
public:
    explicit UpdateRecorder(HWND hwnd) : hwnd_(hwnd) {
        SetPropW(hwnd, L"UpdateRecorder", this);
        old_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    ~UpdateRecorder() {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_));
        RemovePropW(hwnd_, L"UpdateRecorder");
        for (HRGN r : regions)
            DeleteObject(r);
    }
    std::vector<HRGN> regions;
    int scrolls = 0;
    bool Covers(int paint, int x, int y) const {
        return PtInRegion(regions.at(paint), x, y) != FALSE;
    }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        auto* self = static_cast<UpdateRecorder*>(GetPropW(h, L"UpdateRecorder"));
        if (msg == WM_PAINT) {
            HRGN rgn = CreateRectRgn(0, 0, 0, 0);
            GetUpdateRgn(h, rgn, FALSE);
            self->regions.push_back(rgn);
        }
        return CallWindowProcW(self->old_, h, msg, w, l);
    }
    HWND hwnd_;
    WNDPROC old_ = nullptr;
};

using GridRepaint = GridFixture;

TEST_F(GridRepaint, MoveInsideTheWindowRepaintsTheTwoRowBandsOnly) {
    AppendRows(40);
    table.First();
    Pump(20);
    UpdateWindow(Hwnd());
    UpdateRecorder rec(Hwnd());
    table.Next();
    ASSERT_EQ(rec.regions.size(), 1u);
    const int midOld = (grid->CellRect(1, 1).top + grid->CellRect(1, 1).bottom) / 2;
    const int midNew = (grid->CellRect(1, 2).top + grid->CellRect(1, 2).bottom) / 2;
    EXPECT_TRUE(rec.Covers(0, 5, midOld));
    EXPECT_TRUE(rec.Covers(0, Client().right - 1, midNew)); // full width
    EXPECT_FALSE(rec.Covers(0, 5, (grid->CellRect(1, 4).top + grid->CellRect(1, 4).bottom) / 2));
    EXPECT_FALSE(rec.Covers(0, 5, grid->CellRect(1, grid->FirstFooterRow()).top + 2));
    EXPECT_FALSE(rec.Covers(0, 5, 2)); // title row
}

TEST_F(GridRepaint, MoveOnePastTheWindowScrollsAndRepaintsOnlyUncoveredAndCurrentRows) {
    AppendRows(40);
    table.First();
    Pump(20);
    const int last = grid->DataLink().RecordCount(); // grid row of the window's last record
    table.MoveBy(last - 1);
    Pump(20);
    UpdateWindow(Hwnd());
    UpdateRecorder rec(Hwnd());
    table.Next(); // the window moves down by one record
    ASSERT_EQ(rec.regions.size(), 1u);
    auto mid = [&](int row) {
        return (grid->CellRect(1, row).top + grid->CellRect(1, row).bottom) / 2;
    };
    EXPECT_TRUE(rec.Covers(0, 5, mid(last)));      // the new current row (uncovered by the scroll)
    EXPECT_TRUE(rec.Covers(0, 5, mid(last - 1)));  // where the old current row scrolled to
    EXPECT_FALSE(rec.Covers(0, 5, mid(last / 2))); // a middle row was scrolled, not repainted
    EXPECT_FALSE(rec.Covers(0, 5, grid->CellRect(1, grid->FirstFooterRow()).top + 2));
    // The scrolled pixels are right: the middle row shows its new record.
    Snapshot s(Hwnd(), 880, 279);
    HDC dc = GetDC(Hwnd());
    int differences = 0;
    for (int y = grid->CellRect(1, 1).top; y < grid->CellRect(1, last).bottom; ++y)
        for (int x = 0; x < 400; x += 3)
            if (GetPixel(dc, x, y) != s.at(x, y)) ++differences;
    ReleaseDC(Hwnd(), dc);
    EXPECT_EQ(differences, 0);
}

TEST_F(GridRepaint, MoveByMoreThanAPageRepaintsEverything) {
    AppendRows(40);
    table.First();
    Pump(20);
    UpdateWindow(Hwnd());
    UpdateRecorder rec(Hwnd());
    table.Last();
    ASSERT_GE(rec.regions.size(), 1u);
    RECT box;
    GetRgnBox(rec.regions[0], &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, Client().right);
    EXPECT_EQ(box.bottom, Client().bottom);
}

TEST_F(GridRepaint, FocusChangeRepaintsTheCurrentRowOnly) {
    AppendRows(10);
    table.First();
    SetFocus(form->Handle());
    Pump(20);
    UpdateWindow(Hwnd());
    UpdateRecorder rec(Hwnd());
    grid->SetFocus();
    UpdateWindow(Hwnd());
    ASSERT_EQ(rec.regions.size(), 1u);
    RECT box;
    GetRgnBox(rec.regions[0], &box);
    EXPECT_EQ(box.top, grid->CellRect(1, 1).top);
    EXPECT_EQ(box.bottom, grid->CellRect(1, 1).bottom + 1);
}

// --- Footer ---

using GridFooter = GridFixture;

TEST_F(GridFooter, CountFollowsADetectionLikeSequence) {
    EXPECT_EQ(grid->FooterText(0, 0), L"记录数");
    EXPECT_EQ(grid->FooterText(0, 1), L"0");
    for (int c = 1; c < 6; ++c) {
        EXPECT_EQ(grid->FooterText(c, 0), L"");
        EXPECT_EQ(grid->FooterText(c, 1), L"");
    }
    table.EmptyDataSet();
    table.Close();
    table.Open();
    EXPECT_EQ(grid->FooterText(0, 1), L"0");
    AppendRows(3);
    EXPECT_EQ(grid->FooterText(0, 1), L"3");
    table.First();
    while (!table.Eof()) {
        table.Edit();
        table.FieldByName(L"dkh")->SetAsString(L"1433");
        table.Post();
        table.Next();
    }
    EXPECT_EQ(grid->FooterText(0, 1), L"3");
    // The next run: the old rows go, the count with them.
    table.EmptyDataSet();
    table.Close();
    EXPECT_EQ(grid->FooterText(0, 1), L"0");
    table.Open();
    EXPECT_EQ(grid->FooterText(0, 1), L"0");
    AppendRows(1);
    EXPECT_EQ(grid->FooterText(0, 1), L"1");
}

TEST_F(GridFooter, ACountChangeRepaintsTheFooterRows) {
    AppendRows(2);
    Pump(20);
    UpdateWindow(Hwnd());
    UpdateRecorder rec(Hwnd());
    AppendRows(1);
    UpdateWindow(Hwnd());
    ASSERT_GE(rec.regions.size(), 1u);
    const RECT footer = grid->CellRect(1, grid->FirstFooterRow() + 1);
    bool covered = false;
    for (std::size_t i = 0; i < rec.regions.size(); ++i)
        covered = covered || rec.Covers(static_cast<int>(i), footer.left + 5, footer.top + 3);
    EXPECT_TRUE(covered);
    Snapshot s(Hwnd(), 880, 279);
    EXPECT_FALSE(FindInk(s, footer, Sys(COLOR_WINDOW)).empty());
}

} // namespace
