#include "grid/DataGrid.h"

#include "grid/CellColors.h"
#include "grid/CellText.h"
#include "grid/GridResources.h"
#include "platform/GdiHandles.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

namespace grid {

namespace {

COLORREF RGBOf(ui::TColor c) {
    return ui::ColorToRGB(c);
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    // ExtTextOut with an empty string is the cheapest solid fill.
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

bool Intersects(const RECT& a, const RECT& b) {
    RECT t;
    return IntersectRect(&t, &a, &b) != FALSE;
}

// Each SetScrollInfo repaints the bar: set it only when a setting changed.
void SetScrollInfoIfChanged(HWND hwnd, int bar, SCROLLINFO& last, const SCROLLINFO& si) {
    if (last.cbSize != 0 && si.nMin == last.nMin && si.nMax == last.nMax &&
        si.nPage == last.nPage && si.nPos == last.nPos)
        return;
    last = si;
    SetScrollInfo(hwnd, bar, &last, TRUE);
}

} // namespace

// --- TGridDataLink ---

void TGridDataLink::ActiveChanged() {
    grid_.LinkActiveChanged();
}
void TGridDataLink::DataSetChanged() {
    grid_.LinkDataSetChanged();
}
void TGridDataLink::DataSetScrolled(int distance) {
    grid_.LinkScrolled(distance);
}
void TGridDataLink::RecordChanged(data::TField*) {
    grid_.LinkRecordChanged();
}
void TGridDataLink::EditingChanged() {
    grid_.LinkRecordChanged();
}
void TGridDataLink::LayoutChanged() {
    grid_.BindColumns();
    grid_.LayoutChanged();
}

// --- TCustomDataGrid: construction and configuration ---

TCustomDataGrid::TCustomDataGrid(ui::TComponent* owner)
    : ui::TWinControl(owner), link_(*this), columns_(*this) {
    (void)GridResources(); // the shared glyphs, cursors and style exist from the first grid on
    SetColor(ui::clWindow);
    TabStop = true;
    sumList_.OnChanged = [this] { InvalidateFooter(); };
}

TCustomDataGrid::~TCustomDataGrid() {
    destroying_ = true;
    sumList_.OnChanged = nullptr;
    sumList_.SetActive(false);
    columns_.BeginUpdate();
    columns_.Clear();
    link_.SetDataSource(nullptr);
}

std::vector<std::wstring> TCustomDataGrid::ClassChain() const {
    auto chain = ui::TWinControl::ClassChain();
    chain.insert(chain.begin(), L"TCustomDataGrid");
    return chain;
}

std::vector<std::wstring> TDataGrid::ClassChain() const {
    auto chain = TCustomDataGrid::ClassChain();
    chain.insert(chain.begin(), L"TDataGrid");
    return chain;
}

void TCustomDataGrid::EndLoad() {
    if (loading_ == 0 || --loading_ > 0) return;
    BindColumns();
    boundDataSet_ = DataSet();
    sumList_.SetDataSet(boundDataSet_);
    LayoutChanged();
}

void TCustomDataGrid::SetDataSource(data::TDataSource* source) {
    link_.SetDataSource(source);
    if (Loading() || destroying_) return;
    if (boundDataSet_ != DataSet()) {
        boundDataSet_ = DataSet();
        sumList_.SetDataSet(boundDataSet_);
    }
    BindColumns();
    LayoutChanged();
}

void TCustomDataGrid::SetOptions(TGridOptions options) {
    if (options_ == options) return;
    options_ = options;
    LayoutChanged();
}

void TCustomDataGrid::SetOptionsExt(TGridOptionsExt options) {
    if (optionsExt_ == options) return;
    optionsExt_ = options;
    LayoutChanged();
}

void TCustomDataGrid::SetFlat(bool flat) {
    if (flat_ == flat) return;
    flat_ = flat;
    titleMargin_ = flat ? 2 : 4;
    if (HandleAllocated()) {
        // The border styles depend on Flat.
        LONG_PTR ex = GetWindowLongPtrW(HandleIfAllocated(), GWL_EXSTYLE);
        ex = flat ? (ex & ~WS_EX_CLIENTEDGE) : (ex | WS_EX_CLIENTEDGE);
        SetWindowLongPtrW(HandleIfAllocated(), GWL_EXSTYLE, ex);
        SetWindowPos(HandleIfAllocated(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    LayoutChanged();
}

void TCustomDataGrid::SetFixedColor(ui::TColor c) {
    fixedColor_ = c;
    Invalidate();
}
void TCustomDataGrid::SetTitleFont(const ui::TFont& f) {
    titleFont_ = f;
    LayoutChanged();
}
void TCustomDataGrid::SetFooterColor(ui::TColor c) {
    footerColor_ = c;
    InvalidateFooter();
}
void TCustomDataGrid::SetFooterFont(const ui::TFont& f) {
    footerFont_ = f;
    InvalidateFooter();
}
void TCustomDataGrid::SetFooterRowCount(int count) {
    count = std::max(count, 0);
    if (footerRowCount_ == count) return;
    footerRowCount_ = count;
    LayoutChanged();
}
void TCustomDataGrid::SetEvenRowColor(ui::TColor c) {
    evenRowColor_ = c;
    Invalidate();
}
void TCustomDataGrid::SetOddRowColor(ui::TColor c) {
    oddRowColor_ = c;
    Invalidate();
}

void TCustomDataGrid::FontChanged() {
    ui::TWinControl::FontChanged();
    LayoutChanged();
}

void TCustomDataGrid::ColorChanged() {
    Invalidate();
}

void TCustomDataGrid::SetCol(int col) {
    const int last = ColCount() - 1;
    col = std::clamp(col, IndicatorOffset(), std::max(IndicatorOffset(), last));
    if (col == col_) return;
    HideEditor();
    col_ = col;
    if (layoutDone_ && Row() < RowCount()) InvalidateRowBand(Row());
    if (!layoutDone_ || !HandleAllocated()) return;
    // Scroll the columns so that the current one shows, as far as it can.
    SetLeftCol(col_ < leftCol_ ? col_ : std::max(leftCol_, FirstColFitting(col_)));
}

int TCustomDataGrid::ShownWidth(int col) const {
    if (col >= IndicatorOffset() && col < leftCol_) return -GridLineWidth();
    return colWidths_[static_cast<std::size_t>(col)];
}

int TCustomDataGrid::FirstColFitting(int last) const {
    // The indicator column never scrolls, so its room is always taken.
    int room = ClientRect().right - ColumnLeft(IndicatorOffset());
    int left = last;
    for (int c = last; c >= IndicatorOffset(); --c) {
        room -= std::max(ColWidths(c) + GridLineWidth(), 0);
        if (room < 0) break;
        left = c;
    }
    return left;
}

int TCustomDataGrid::MaxLeftCol() const {
    const int first = IndicatorOffset(), last = ColCount() - 1;
    if (last < first || !HandleAllocated()) return first;
    return FirstColFitting(last);
}

void TCustomDataGrid::SetLeftCol(int col) {
    col = std::clamp(col, IndicatorOffset(), std::max(IndicatorOffset(), MaxLeftCol()));
    if (col == leftCol_) return;
    HideEditor();
    leftCol_ = col;
    Invalidate();
    UpdateHorzScrollBar();
}

void TCustomDataGrid::UpdateHorzScrollBar() {
    if (!HandleAllocated() || destroying_) return;
    const int first = IndicatorOffset(), last = ColCount() - 1, maxLeft = MaxLeftCol();
    if (leftCol_ > maxLeft) {
        // The window grew or columns narrowed: show as many as fit.
        leftCol_ = std::max(first, maxLeft);
        Invalidate();
    }
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (layoutDone_ && maxLeft > first) {
        // One unit a column; the page is the columns shown at the far right,
        // so the thumb's last position is the largest LeftCol.
        si.nMin = first;
        si.nMax = last;
        si.nPage = static_cast<UINT>(last - maxLeft + 1);
        si.nPos = leftCol_;
    } // else an empty range: the bar hides
    SetScrollInfoIfChanged(HandleIfAllocated(), SB_HORZ, lastHScroll_, si);
}

// --- Binding and layout ---

void TCustomDataGrid::BindColumns() {
    const data::TDataSet* ds = DataSet();
    if (!ds) return;
    for (int i = 0; i < columns_.Count(); ++i) {
        TDataGridColumn& c = columns_[i];
        if (const data::TField* f = ds->FindField(c.fieldName_)) c.fieldName_ = f->FieldName();
    }
}

int TCustomDataGrid::TextHeight(const ui::TFont& font) const {
    platform::WindowDC screen(nullptr);
    platform::SelectGuard sel(screen.get(), font.Handle());
    SIZE size{};
    GetTextExtentPoint32W(screen.get(), L"Wg", 2, &size);
    return size.cy;
}

void TCustomDataGrid::LayoutChanged() {
    if (Loading() || destroying_) return;
    InternalLayout();
}

void TCustomDataGrid::InternalLayout() {
    const bool colLines = options_.Has(TGridOption::dgColLines);
    colWidths_.clear();
    if (IndicatorOffset() > 0) colWidths_.push_back(11);
    for (int i = 0; i < columns_.Count(); ++i) {
        const TDataGridColumn& c = columns_[i];
        colWidths_.push_back(c.Visible() ? c.Width() : (colLines ? -1 : 0));
    }

    if (RowHeight > 0 || RowLines > 0) {
        platform::WindowDC screen(nullptr);
        platform::SelectGuard sel(screen.get(), Font().Handle());
        TEXTMETRICW tm{};
        GetTextMetricsW(screen.get(), &tm);
        defaultRowHeight_ = RowHeight + (tm.tmHeight + tm.tmExternalLeading) * RowLines;
    } else {
        defaultRowHeight_ = TextHeight(Font()) + (flat_ ? 1 : 3) +
                            (options_.Has(TGridOption::dgRowLines) ? GridLineWidth() : 0);
    }

    titleRowHeight_ = 0;
    for (int i = 0; i < columns_.Count(); ++i)
        titleRowHeight_ =
            std::max(titleRowHeight_, TextHeight(columns_[i].Title().Font()) + titleMargin_);
    if (columns_.Count() == 0) titleRowHeight_ = TextHeight(titleFont_) + titleMargin_;

    col_ = std::clamp(col_, IndicatorOffset(), std::max(IndicatorOffset(), ColCount() - 1));
    layoutDone_ = true;
    UpdateRowLayout();
    paintedCurRow_ = Row();
    Invalidate();
    UpdateScrollBar();
}

bool TCustomDataGrid::UpdateRowLayout() {
    if (!layoutDone_) return false;
    const std::vector<int> before = rowHeights_;
    const int L = RowPitch();
    const RECT client = ClientRect();
    const int clientHeight = client.bottom - client.top;
    int used =
        (TitleOffset() > 0 ? titleRowHeight_ + GridLineWidth() : 0) + footerRowCount_ * L + 1;

    rowHeights_.clear();
    if (TitleOffset() > 0) rowHeights_.push_back(titleRowHeight_);
    const data::TDataSet* ds = DataSet();
    if (link_.Active() && ds && !ds->IsEmpty() && HandleAllocated()) {
        const int window = std::max((clientHeight - used) / L, 1);
        link_.SetBufferCount(window);
        const int d = link_.RecordCount();
        used += d * L;
        rowHeights_.insert(rowHeights_.end(), static_cast<std::size_t>(d), defaultRowHeight_);
        rowHeights_.push_back(std::max(clientHeight - used, 0));
        rowHeights_.insert(rowHeights_.end(), static_cast<std::size_t>(footerRowCount_),
                           defaultRowHeight_);
        hasTail_ = true;
    } else {
        rowHeights_.push_back(defaultRowHeight_); // the one empty row
        hasTail_ = HandleAllocated();
        if (hasTail_) {
            used += L;
            rowHeights_.push_back(std::max(clientHeight - used, 0));
            rowHeights_.insert(rowHeights_.end(), static_cast<std::size_t>(footerRowCount_),
                               defaultRowHeight_);
        }
    }
    return rowHeights_ != before;
}

int TCustomDataGrid::PageRows() const {
    int rows = RowCount() - TitleOffset();
    if (hasTail_) rows -= footerRowCount_ + 1;
    return std::max(rows, 1);
}

int TCustomDataGrid::ColumnLeft(int col) const {
    int x = 0;
    for (int c = 0; c < col && c < ColCount(); ++c)
        x += std::max(ShownWidth(c) + GridLineWidth(), 0);
    return x;
}

int TCustomDataGrid::RowTop(int row) const {
    int y = 0;
    for (int r = 0; r < row && r < RowCount(); ++r)
        y += rowHeights_[static_cast<std::size_t>(r)] + GridLineWidth();
    return y;
}

int TCustomDataGrid::GridWidth() const {
    return ColumnLeft(ColCount());
}

int TCustomDataGrid::GridHeight() const {
    return RowTop(RowCount());
}

RECT TCustomDataGrid::CellRect(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return {};
    const int w = ShownWidth(col);
    if (w <= 0) return {};
    const int x = ColumnLeft(col), y = RowTop(row);
    return {x, y, x + w, y + RowHeights(row)};
}

void TCustomDataGrid::UpdateScrollBar() {
    if (!HandleAllocated() || destroying_) return;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    const data::TDataSet* ds = DataSet();
    if (link_.Active() && ds) {
        si.nMin = 1;
        si.nPage = static_cast<UINT>(PageRows());
        si.nMax = ds->RecordCount() + static_cast<int>(si.nPage) - 1;
        si.nPos = link_.Editing() ? lastScroll_.nPos : ds->RecNo();
    } else {
        si.nMin = 0;
        si.nMax = 1;
        si.nPage = 2;
        si.nPos = 0;
    }
    SetScrollInfoIfChanged(HandleIfAllocated(), SB_VERT, lastScroll_, si);
    UpdateHorzScrollBar();
}

std::wstring TCustomDataGrid::FooterText(int column, int footerRow) const {
    if (column < 0 || column >= columns_.Count()) return {};
    return columns_[column].FooterFor(footerRow).DisplayText();
}

// --- Data link notifications ---

void TCustomDataGrid::LinkActiveChanged() {
    if (destroying_) return;
    if (!Loading() && boundDataSet_ != DataSet()) {
        boundDataSet_ = DataSet();
        sumList_.SetDataSet(boundDataSet_);
    }
    BindColumns();
    LayoutChanged();
}

void TCustomDataGrid::LinkDataSetChanged() {
    if (destroying_ || Loading() || !layoutDone_) return;
    UpdateRowLayout();
    paintedCurRow_ = Row();
    Invalidate();
    UpdateScrollBar();
}

void TCustomDataGrid::LinkRecordChanged() {
    if (destroying_ || Loading() || !layoutDone_) return;
    if (UpdateRowLayout()) {
        Invalidate();
    } else {
        InvalidateRowBand(Row());
    }
    UpdateScrollBar();
}

void TCustomDataGrid::LinkScrolled(int distance) {
    if (destroying_ || Loading() || !layoutDone_) return;
    const int oldRow = paintedCurRow_;
    if (distance != 0) HideEditor();
    if (UpdateRowLayout()) {
        // The number of rows in the window changed: nothing can be reused.
        Invalidate();
    } else if (std::abs(distance) > PageRows()) {
        Invalidate();
    } else if (distance != 0 && HandleAllocated()) {
        InvalidateRowBand(glyphRow_);
        InvalidateRowBand(oldRow);
        const RECT client = ClientRect();
        RECT band{0, RowTop(FirstDataRow()), client.right, RowTop(FillerRow())};
        ScrollWindowEx(HandleIfAllocated(), 0, -distance * RowPitch(), &band, &band, nullptr,
                       nullptr, SW_INVALIDATE);
        // Where the old current row's pixels went, whether or not the window
        // manager carried its pending update along.
        InvalidateRowBand(oldRow - distance);
        InvalidateRowBand(Row());
    } else {
        InvalidateRowBand(glyphRow_);
        InvalidateRowBand(oldRow);
        InvalidateRowBand(Row());
    }
    paintedCurRow_ = Row();
    UpdateScrollBar();
    Update();
}

// --- Invalidation ---

void TCustomDataGrid::InvalidateRowBand(int row) {
    if (!HandleAllocated() || row < 0 || row >= RowCount()) return;
    const RECT client = ClientRect();
    const int top = RowTop(row);
    RECT r{0, top, client.right, top + RowHeights(row) + GridLineWidth()};
    InvalidateRect(HandleIfAllocated(), &r, FALSE);
}

void TCustomDataGrid::InvalidateTitles() {
    if (TitleOffset() > 0) InvalidateRowBand(0);
}

void TCustomDataGrid::InvalidateFooter() {
    if (!hasTail_ || footerRowCount_ == 0 || !HandleAllocated()) return;
    const RECT client = ClientRect();
    RECT r{0, RowTop(FirstFooterRow()), client.right, client.bottom};
    InvalidateRect(HandleIfAllocated(), &r, FALSE);
}

// --- Window ---

void TCustomDataGrid::CreateParams(ui::TCreateParams& params) {
    ui::TWinControl::CreateParams(params);
    // Flat: no platform border; the non-client area is one pixel that the
    // grid draws itself (WM_NCCALCSIZE / WM_NCPAINT).
    if (!flat_) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomDataGrid::WindowCreated() {
    lastScroll_ = {};
    LayoutChanged();
}

bool TCustomDataGrid::HasFocus() const {
    return HandleAllocated() && GetFocus() == HandleIfAllocated();
}

void TCustomDataGrid::PaintHandler() {
    platform::PaintDC paint(HandleIfAllocated());
    const RECT r = paint.rect();
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    platform::MemoryDC mem(paint.get());
    platform::Bitmap bitmap(CreateCompatibleBitmap(paint.get(), w, h));
    platform::SelectGuard select(mem.get(), bitmap.get());
    SetViewportOrgEx(mem.get(), -r.left, -r.top, nullptr);
    PaintTo(mem.get(), r);
    SetViewportOrgEx(mem.get(), 0, 0, nullptr);
    BitBlt(paint.get(), r.left, r.top, w, h, mem.get(), 0, 0, SRCCOPY);
}

void TCustomDataGrid::PaintWindow(HDC dc) {
    PaintTo(dc, ClientRect());
}

void TCustomDataGrid::WndProc(ui::TMessage& msg) {
    switch (msg.Msg) {
    case WM_ERASEBKGND:
        msg.Result = 1; // every pixel is painted by WM_PAINT
        return;
    case WM_PAINT:
        PaintHandler();
        return;
    case WM_PRINTCLIENT: {
        PaintTo(reinterpret_cast<HDC>(msg.WParam), ClientRect());
        return;
    }
    case WM_NCCALCSIZE:
        DefaultHandler(msg);
        if (flat_) {
            // lParam is NCCALCSIZE_PARAMS with wParam set, else a plain RECT;
            // both begin with the rectangle that becomes the client area.
            InflateRect(reinterpret_cast<RECT*>(msg.LParam), -1, -1);
        }
        return;
    case WM_NCPAINT:
        DefaultHandler(msg);
        if (flat_) {
            platform::WindowDC dc(HandleIfAllocated(), true);
            RECT r;
            GetWindowRect(HandleIfAllocated(), &r);
            OffsetRect(&r, -r.left, -r.top);
            DrawEdge(dc.get(), &r, BDR_SUNKENOUTER, BF_RECT);
        }
        return;
    case WM_SIZE:
        DefaultHandler(msg);
        if (layoutDone_ && !Loading()) {
            if (UpdateRowLayout()) Invalidate();
            paintedCurRow_ = Row();
            UpdateScrollBar();
        }
        return;
    case WM_SETFOCUS:
        ui::TWinControl::WndProc(msg);
        InvalidateRowBand(Row()); // the highlight colours follow the focus
        return;
    case WM_KILLFOCUS:
        ui::TWinControl::WndProc(msg);
        allSelected_ = false;
        InvalidateRowBand(Row());
        // A Ctrl+click sort still pending is applied when the focus leaves,
        // unless it only went to the grid's own editor.
        if (deferredSort_ && (!editor_ || reinterpret_cast<HWND>(msg.WParam) != editor_))
            ApplyDeferredSort();
        return;
    case WM_GETDLGCODE:
        msg.Result = DLGC_WANTARROWS | DLGC_WANTCHARS |
                     (options_.Has(TGridOption::dgTabs) ? DLGC_WANTTAB : 0);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseDown(msg, false);
        return;
    case WM_RBUTTONDOWN:
        MouseDown(msg, true);
        return;
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        allSelected_ = false; // every click ends a select-all
        break;
    case WM_MOUSEMOVE:
        MouseMove(GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam));
        break;
    case WM_LBUTTONUP:
        MouseUp(msg, false);
        return;
    case WM_RBUTTONUP:
        MouseUp(msg, true);
        return;
    case WM_CANCELMODE:
        CancelTracking();
        break;
    case WM_CAPTURECHANGED:
        if (tracking_ != TGridTracking::gtNone &&
            reinterpret_cast<HWND>(msg.LParam) != HandleIfAllocated())
            CancelTracking();
        break;
    case WM_SETCURSOR:
        if (LOWORD(msg.LParam) == HTCLIENT && tracking_ == TGridTracking::gtNone) {
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(HandleIfAllocated(), &pt);
            if (SizingColumnAt(pt.x, pt.y) >= 0) {
                SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
                msg.Result = TRUE;
                return;
            }
        }
        break;
    case WM_TIMER:
        if (msg.WParam == kAutoScrollTimerId) {
            TrackData(lastMouse_.x, lastMouse_.y, true);
            return;
        }
        break;
    case WM_MOUSEWHEEL:
        if (data::TDataSet* ds = DataSet(); ds && link_.Active()) {
            wheelDelta_ += GET_WHEEL_DELTA_WPARAM(msg.WParam);
            while (wheelDelta_ >= WHEEL_DELTA) {
                wheelDelta_ -= WHEEL_DELTA;
                MoveRecords(-1);
            }
            while (wheelDelta_ <= -WHEEL_DELTA) {
                wheelDelta_ += WHEEL_DELTA;
                MoveRecords(1);
            }
        }
        msg.Result = 0;
        return;
    case WM_VSCROLL:
        VScroll(LOWORD(msg.WParam), static_cast<short>(HIWORD(msg.WParam)));
        return;
    case WM_HSCROLL:
        HScroll(LOWORD(msg.WParam), static_cast<short>(HIWORD(msg.WParam)));
        return;
    case WM_KEYDOWN:
        KeyDown(msg);
        return;
    case WM_SYSKEYDOWN:
        EditActionKey(msg.WParam, true);
        break;
    case WM_KEYUP:
        if (msg.WParam == VK_CONTROL && deferredSort_) ApplyDeferredSort();
        break;
    case WM_CHAR:
        // A printable character or Backspace opens the editor; the editor
        // is read-only, so passing the character on changes nothing.
        if ((msg.WParam >= 32 || msg.WParam == VK_BACK) && link_.Active()) {
            ShowEditor();
            if (EditorVisible()) SendMessageW(editor_, WM_CHAR, msg.WParam, msg.LParam);
            return;
        }
        break;
    default:
        break;
    }
    ui::TWinControl::WndProc(msg);
}

// --- Painting ---

void TCustomDataGrid::PaintTo(HDC dc, const RECT& clip) {
    const RECT client = ClientRect();
    const COLORREF color = RGBOf(Color());
    if (!layoutDone_ || Loading() || colWidths_.empty()) {
        Fill(dc, client, color);
        return;
    }
    const int savedDC = SaveDC(dc);
    PaintLines(dc, clip);
    for (int row = 0; row < RowCount(); ++row) {
        for (int col = 0; col < ColCount(); ++col) {
            const RECT rect = CellRect(col, row);
            if (rect.right <= rect.left || !Intersects(rect, clip)) continue;
            unsigned state = 0;
            if (col < IndicatorOffset() || row < TitleOffset()) state |= gdFixed;
            if (col == col_ && row == Row() && link_.Active()) {
                state |= gdSelected;
                if (HasFocus()) state |= gdFocused;
            }
            DrawCell(dc, col, row, rect, state);
        }
    }
    const int gw = GridWidth(), gh = GridHeight();
    Fill(dc, RECT{gw, 0, client.right, std::min<LONG>(gh, client.bottom)}, color);
    Fill(dc, RECT{0, gh, client.right, client.bottom}, color);
    RestoreDC(dc, savedDC);
}

void TCustomDataGrid::PaintLines(HDC dc, const RECT& clip) {
    const int lw = GridLineWidth();
    const COLORREF fixedLine = RGBOf(flat_ ? ui::clBtnShadow : ui::clBlack);
    const COLORREF dataLine = RGBOf(Color() == ui::clSilver ? 0x808080 : ui::clSilver);
    const bool colLines = options_.Has(TGridOption::dgColLines);
    const bool rowLines = options_.Has(TGridOption::dgRowLines);
    const COLORREF fixedFill = RGBOf(fixedColor_), dataFill = RGBOf(Color());
    // Each cell owns the line to its right (down through the corner) and
    // the line below it, so every line pixel is painted exactly once.
    int y = 0;
    for (int row = 0; row < RowCount(); ++row) {
        const int h = RowHeights(row);
        int x = 0;
        for (int col = 0; col < ColCount(); ++col) {
            const int w = ShownWidth(col);
            if (w + lw <= 0) continue;
            const bool fixed = col < IndicatorOffset() || row < TitleOffset();
            const COLORREF fill = fixed ? fixedFill : dataFill;
            const COLORREF line = fixed ? fixedLine : dataLine;
            const RECT vert{x + w, y, x + w + lw, y + h + lw};
            const RECT horz{x, y + h, x + w, y + h + lw};
            if (Intersects(vert, clip)) Fill(dc, vert, colLines ? line : fill);
            if (Intersects(horz, clip)) Fill(dc, horz, rowLines ? line : fill);
            x += w + lw;
        }
        y += h + lw;
    }
}

bool TCustomDataGrid::HasCellEdge(int col, int row) const {
    const bool fixed3D = optionsExt_.Has(TGridOptionExt::dgxFixed3D);
    const bool data3D = optionsExt_.Has(TGridOptionExt::dgxData3D);
    if (row < TitleOffset()) return fixed3D;
    const bool filler = hasTail_ && row == FillerRow();
    if (col < IndicatorOffset()) return filler ? fixed3D && data3D : fixed3D;
    if (hasTail_ && row >= FirstFooterRow()) return optionsExt_.Has(TGridOptionExt::dgxFooter3D);
    return data3D;
}

void TCustomDataGrid::DrawCellEdge(HDC dc, const RECT& rect, COLORREF fill, bool sunken) {
    RECT r = rect;
    const UINT edge = sunken ? BDR_SUNKENINNER : BDR_RAISEDINNER;
    if (flat_) {
        Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, fill);
        Fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, fill);
        DrawEdge(dc, &r, edge, BF_LEFT | BF_TOP);
    } else {
        DrawEdge(dc, &r, edge, BF_RECT);
    }
}

void TCustomDataGrid::DrawCell(HDC dc, int col, int row, RECT rect, unsigned state) {
    const bool edge = HasCellEdge(col, row);
    const int dx = edge ? 1 : 2;
    const int dy = flat_ ? (edge ? 0 : 1) : dx;
    RECT inner = rect;
    if (edge) InflateRect(&inner, -1, -1);

    const bool filler = hasTail_ && row == FillerRow();
    const bool footer = hasTail_ && row >= FirstFooterRow();
    COLORREF fill = 0;
    bool sunken = false;

    if (col < IndicatorOffset()) {
        fill =
            RGBOf(filler && !optionsExt_.Has(TGridOptionExt::dgxFrozen3D) ? Color() : fixedColor_);
        Fill(dc, inner, fill);
        if (row >= TitleOffset()) DrawIndicatorCell(dc, row, inner, dx, filler);
    } else if (row < TitleOffset()) {
        const TDataGridColumn& column = columns_[col - IndicatorOffset()];
        fill = RGBOf(column.Title().Color());
        DrawTitleCell(dc, col, inner, dx, dy);
        sunken = pressed_ && pressedCol_ == col;
    } else if (footer) {
        DrawFooterCell(dc, col, row - FirstFooterRow(), inner, dx, dy);
        fill = RGBOf(columns_[col - IndicatorOffset()].FooterFor(row - FirstFooterRow()).Color());
    } else if (filler || link_.RecordCount() == 0) {
        // Filler cells and the empty row of an empty or closed table.
        fill = RGBOf(columns_[col - IndicatorOffset()].Color());
        Fill(dc, inner, fill);
    } else {
        bool highlighted = false;
        DrawDataCell(dc, col, row, inner, state, dx, dy, highlighted);
        fill = GetBkColor(dc);
        sunken = highlighted;
    }
    if (edge) DrawCellEdge(dc, rect, fill, sunken);
}

void TCustomDataGrid::DrawIndicatorCell(HDC dc, int row, RECT rect, int dx, bool filler) {
    if (filler || !link_.Active() || row != Row()) return;
    int glyph = giArrow;
    switch (DataSet()->State()) {
    case data::TDataSetState::dsEdit:
        glyph = giEdit;
        break;
    case data::TDataSetState::dsInsert:
        glyph = giInsert;
        break;
    default:
        break;
    }
    const int x = rect.right - kGlyphWidth - dx;
    const int y = (rect.top + rect.bottom - kGlyphHeight) / 2;
    ImageList_Draw(GridResources().Glyphs(), glyph, dc, x, y, ILD_NORMAL);
    glyphRow_ = row;
}

void TCustomDataGrid::DrawTitleCell(HDC dc, int col, RECT rect, int dx, int dy) {
    const TDataGridColumn& column = columns_[col - IndicatorOffset()];
    const TColumnTitle& title = column.Title();
    const COLORREF fill = RGBOf(title.Color());
    const int p = pressed_ && pressedCol_ == col ? 1 : 0;
    RECT text = rect;
    if (p) {
        text.top += 1;
        text.left += 1;
        text.right += 1;
    }

    // Sort marker and number: reserved at the right of the caption.
    const TSortMarker marker = title.SortMarker();
    bool drawMarker = marker != TSortMarker::smNone, drawNumber = false;
    int numberWidth = 0;
    std::wstring number;
    if (drawMarker) {
        text.right -= 16;
        int sorted = 0;
        for (int i = 0; i < columns_.Count(); ++i)
            if (columns_[i].Title().SortIndex != 0) ++sorted;
        if (sorted >= 2) {
            number = std::to_wstring(title.SortIndex);
            platform::SelectGuard sel(dc, GridResources().SortNumberFont());
            SIZE s{};
            GetTextExtentPoint32W(dc, number.c_str(), static_cast<int>(number.size()), &s);
            numberWidth = s.cx;
            drawNumber = true;
        }
        if (text.right < text.left) {
            text.right += 14 - numberWidth;
            drawMarker = false;
            if (text.right < text.left) {
                text.right += numberWidth + 2;
                drawNumber = false;
            }
        }
    }

    Fill(dc, RECT{std::max(text.right, rect.left), rect.top, rect.right, rect.bottom}, fill);
    const ui::TFont& font = title.Font();
    platform::SelectGuard selFont(dc, font.Handle());
    SetTextColor(dc, RGBOf(font.Color()));
    SetBkColor(dc, fill);
    TCellText cell;
    cell.Rect = text;
    cell.Dx = dx;
    cell.Dy = dy;
    cell.Alignment = title.Alignment();
    WriteCellText(dc, cell, title.Caption(), (font.Style() & (ui::fsBold | ui::fsItalic)) != 0);

    const int top = (rect.top + rect.bottom - kSortMarkerHeight) / 2 + p;
    if (drawMarker)
        ImageList_Draw(GridResources().SortMarkers(), marker == TSortMarker::smDown ? 0 : 1, dc,
                       rect.right - kSortMarkerWidth - 2 - numberWidth + p, top, ILD_NORMAL);
    if (drawNumber) {
        platform::SelectGuard sel(dc, GridResources().SortNumberFont());
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        TextOutW(dc, rect.right - numberWidth - 2 + p, top - 1, number.c_str(),
                 static_cast<int>(number.size()));
        SetBkMode(dc, oldMode);
    }
    SetBkColor(dc, fill);
}

void TCustomDataGrid::DrawDataCell(HDC dc, int col, int row, RECT rect, unsigned state, int dx,
                                   int dy, bool& highlighted) {
    const TDataGridColumn& column = columns_[col - IndicatorOffset()];
    const int dataRow = row - TitleOffset();
    ui::TColor fillColor = column.Color();
    if (fillColor == Color()) {
        const int recNo = link_.FirstRecNo() + dataRow;
        fillColor = (recNo % 2 != 0) ? OddRowColor() : EvenRowColor();
    }
    COLORREF fill = RGBOf(fillColor);
    const ui::TFont& font = column.Font();
    COLORREF textColor = RGBOf(font.Color());
    std::wstring text;
    if (const data::TField* field = column.Field(); field && dataRow < link_.RecordCount())
        text = link_.FieldText(dataRow, field->Index());

    // The highlight rule.
    bool selected = (state & gdSelected) != 0;
    const bool ownFocus = HasFocus();
    bool focusMark = ownFocus && optionsExt_.Has(TGridOptionExt::dgxHighlightFocus);
    if (optionsExt_.Has(TGridOptionExt::dgxRowHighlight) && row == Row() && col != col_) {
        focusMark = true;
        selected = true;
    }
    if (options_.Has(TGridOption::dgRowSelect) && row == Row()) selected = true;
    highlighted = selected && (options_.Has(TGridOption::dgAlwaysShowSelection) || focusMark);
    if (highlighted) {
        const TDataGridStyle& style = GridResources().Style();
        const bool manyColors = style.ScreenNumColors() < 0 || style.ScreenNumColors() > 256;
        const bool current = col == col_ && row == Row();
        if (ownFocus) {
            if (style.TintSelection && manyColors && !current) {
                fill = GetNearestColor(dc, SelectionTint(fill, RGBOf(ui::clHighlight), true));
            } else {
                fill = RGBOf(ui::clHighlight);
                textColor = RGBOf(ui::clHighlightText);
            }
        } else if (current) {
            fill = RGBOf(ui::clBtnShadow);
            textColor = RGBOf(ui::clHighlightText);
        } else {
            fill = manyColors
                       ? GetNearestColor(dc, SelectionTint(fill, RGBOf(ui::clBtnShadow), false))
                       : RGBOf(ui::clBtnFace);
        }
    }

    platform::SelectGuard selFont(dc, font.Handle());
    SetTextColor(dc, textColor);
    SetBkColor(dc, fill);
    TCellText cell;
    cell.Rect = rect;
    cell.Dx = dx;
    cell.Dy = dy;
    cell.Alignment = column.Alignment();
    cell.Layout = column.Layout;
    WriteCellText(dc, cell, text, (font.Style() & (ui::fsBold | ui::fsItalic)) != 0);

    if (DefaultDrawing && (state & gdFocused) && ownFocus && GridResources().Style().FocusRect) {
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &rect);
    }
    SetBkColor(dc, fill);
}

void TCustomDataGrid::DrawFooterCell(HDC dc, int col, int footerRow, RECT rect, int dx, int dy) {
    const TDataGridColumn& column = columns_[col - IndicatorOffset()];
    const TColumnFooter& def = column.FooterFor(footerRow);
    const COLORREF fill = RGBOf(def.Color());
    const ui::TFont& font = def.Font();
    platform::SelectGuard selFont(dc, font.Handle());
    SetTextColor(dc, RGBOf(font.Color()));
    SetBkColor(dc, fill);
    TCellText cell;
    cell.Rect = rect;
    cell.Dx = dx;
    cell.Dy = dy;
    cell.Alignment = def.Alignment();
    cell.Layout = column.Layout;
    WriteCellText(dc, cell, def.DisplayText(), (font.Style() & (ui::fsBold | ui::fsItalic)) != 0);
}

} // namespace grid
