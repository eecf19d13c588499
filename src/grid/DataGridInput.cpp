// The grid's answers to the user: keys, mouse presses and drags, the wheel,
// the vertical scroll bar, title-click sorting, column sizing and moving, and
// the read-only editor over the current cell.
#include "grid/DataGrid.h"
#include "grid/GridFindDialog.h"

#include "grid/DragScroll.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace grid {

namespace {

bool KeyHeld(int vk) {
    return (GetKeyState(vk) & 0x8000) != 0;
}

constexpr UINT_PTR kEditorSubclassId = 1;

// The editor keeps its own selection and copy keys; Enter and Esc close it.
LRESULT CALLBACK EditorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* grid = reinterpret_cast<TCustomDataGrid*>(ref);
    if (msg == WM_GETDLGCODE) return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, msg, wp, lp);
    if (msg == WM_KEYDOWN && (wp == VK_RETURN || wp == VK_ESCAPE)) {
        grid->HideEditor();
        return 0;
    }
    if (msg == WM_CHAR && (wp == VK_RETURN || wp == VK_ESCAPE)) return 0;
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, EditorProc, kEditorSubclassId);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace

// --- Sorting ---

std::vector<TSortKey> TCustomDataGrid::SortKeys() const {
    std::vector<TSortKey> keys;
    for (const TDataGridColumn* c : columns_.SortList())
        keys.push_back({c->FieldName(), c->Title().SortMarker() == TSortMarker::smUp});
    return keys;
}

void TCustomDataGrid::SortMarkingChanged() {
    if (!optionsExt_.Has(TGridOptionExt::dgxAutoSortMarking)) return;
    if (OnSortMarkingChanged) {
        OnSortMarkingChanged(*this);
        return;
    }
    DataGridService().ApplySorting(*this, DataSet());
}

void TCustomDataGrid::ApplyDeferredSort() {
    deferredSort_ = false;
    SortMarkingChanged();
}

// --- Hit testing ---

POINT TCustomDataGrid::MouseCoord(int x, int y) const {
    POINT cell{-1, -1};
    if (x < 0 || y < 0) return cell;
    for (int c = 0, left = 0; c < ColCount(); ++c) {
        const int w = ShownWidth(c);
        if (w < 0) continue;
        if (x < left + w + GridLineWidth()) {
            cell.x = c;
            break;
        }
        left += w + GridLineWidth();
    }
    for (int r = 0, top = 0; r < RowCount(); ++r) {
        const int h = RowHeights(r);
        if (y < top + h + GridLineWidth()) {
            cell.y = r;
            break;
        }
        top += h + GridLineWidth();
    }
    if (cell.x < 0 || cell.y < 0) return {-1, -1};
    return cell;
}

int TCustomDataGrid::SizingColumnAt(int x, int y) const {
    if (!options_.Has(TGridOption::dgColumnResize) || TitleOffset() == 0 || RowCount() == 0)
        return -1;
    if (y < 0 || y >= RowHeights(0) + GridLineWidth()) return -1;
    for (int c = IndicatorOffset(); c < ColCount(); ++c) {
        if (ShownWidth(c) < 0) continue;
        const int edge = ColumnLeft(c) + ColWidths(c);
        if (InSizingZone(x, edge, GridLineWidth())) return c;
    }
    return -1;
}

RECT TCustomDataGrid::DataCellsRect() const {
    RECT r{};
    if (!layoutDone_ || link_.RecordCount() == 0) return r;
    r.left = ColumnLeft(IndicatorOffset());
    r.right = GridWidth();
    r.top = RowTop(FirstDataRow());
    r.bottom = RowTop(FirstDataRow() + link_.RecordCount());
    return r;
}

// --- Moving the current record and column ---

void TCustomDataGrid::MoveRecords(int distance) {
    data::TDataSet* ds = DataSet();
    if (!ds || !link_.Active() || distance == 0) return;
    HideEditor();
    ds->MoveBy(distance);
}

void TCustomDataGrid::SelectColumn(int target, int direction) {
    const int first = IndicatorOffset(), last = ColCount() - 1;
    if (last < first) return;
    target = std::clamp(target, first, last);
    if (direction == 1 || direction == -1) {
        while (target >= first && target <= last && ColWidths(target) <= 0)
            target += direction;
        if (target < first || target > last) return;
    }
    SetCol(target);
}

void TCustomDataGrid::KeyDown(ui::TMessage& msg) {
    const bool ctrl = KeyHeld(VK_CONTROL), shift = KeyHeld(VK_SHIFT);
    const int first = IndicatorOffset(), last = ColCount() - 1;
    data::TDataSet* ds = DataSet();
    const bool active = ds && link_.Active();
    if (EditActionKey(msg.WParam, false)) return;
    switch (msg.WParam) {
    case VK_ESCAPE:
        HideEditor();
        if (tracking_ == TGridTracking::gtSizing || tracking_ == TGridTracking::gtMoving)
            CancelTracking();
        return;
    case 'F':
        // Ctrl+F alone; with other modifiers F means nothing to the grid.
        if (ctrl && !shift && !KeyHeld(VK_MENU) && active &&
            optionsExt_.Has(TGridOptionExt::dgxDialogFind)) {
            if (OnFindDialogRequest)
                OnFindDialogRequest(*this);
            else
                ShowFindDialog(*this);
        }
        return;
    default:
        break;
    }
    if (!active) return;
    switch (msg.WParam) {
    case VK_UP:
        MoveRecords(ctrl ? -link_.ActiveRecord() : -1);
        break;
    case VK_DOWN:
        MoveRecords(ctrl ? link_.RecordCount() - link_.ActiveRecord() - 1 : 1);
        break;
    case VK_PRIOR:
        MoveRecords(ctrl ? -link_.ActiveRecord() : -PageRows());
        break;
    case VK_NEXT:
        MoveRecords(ctrl ? link_.RecordCount() - link_.ActiveRecord() - 1 : PageRows());
        break;
    case VK_HOME:
        if (ctrl) {
            HideEditor();
            ds->First();
        } else {
            SelectColumn(first, 1);
        }
        break;
    case VK_END:
        if (ctrl) {
            HideEditor();
            ds->Last();
        } else {
            SelectColumn(last, -1);
        }
        break;
    case VK_LEFT:
        if (ctrl)
            SelectColumn(first, 1);
        else if (col_ > first)
            SelectColumn(col_ - 1, -1);
        break;
    case VK_RIGHT:
        if (ctrl)
            SelectColumn(last, -1);
        else if (col_ < last)
            SelectColumn(col_ + 1, 1);
        break;
    case VK_TAB:
        // No column is a tab stop (all are read-only), so Tab walks records.
        if (!KeyHeld(VK_MENU)) MoveRecords(shift ? -1 : 1);
        break;
    case VK_RETURN:
        if (EditorVisible())
            HideEditor();
        else
            ShowEditor();
        break;
    case VK_F2:
        ShowEditor();
        break;
    default:
        // Insert, Ctrl+Delete, cut, paste and Ctrl+' do nothing in a
        // read-only grid.
        break;
    }
}

// --- Vertical scroll bar ---

void TCustomDataGrid::HScroll(int code, int pos) {
    const int first = IndicatorOffset();
    // A page is the columns that show whole beside the left one, at least one.
    int page = 0;
    const int clientWidth = ClientRect().right;
    for (int c = leftCol_; c < ColCount() && ColumnLeft(c) + ColWidths(c) <= clientWidth; ++c)
        ++page;
    page = std::max(page - 1, 1);
    switch (code) {
    case SB_LINELEFT:
        SetLeftCol(leftCol_ - 1);
        break;
    case SB_LINERIGHT:
        SetLeftCol(leftCol_ + 1);
        break;
    case SB_PAGELEFT:
        SetLeftCol(leftCol_ - page);
        break;
    case SB_PAGERIGHT:
        SetLeftCol(leftCol_ + page);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetLeftCol(pos);
        break;
    case SB_LEFT:
        SetLeftCol(first);
        break;
    case SB_RIGHT:
        SetLeftCol(MaxLeftCol());
        break;
    default:
        break;
    }
}

void TCustomDataGrid::VScroll(int code, int pos) {
    if (CanFocus() && !HasFocus()) SetFocus();
    if (!HasFocus()) return;
    data::TDataSet* ds = DataSet();
    if (!ds || !link_.Active()) return;
    switch (code) {
    case SB_LINEUP:
        MoveRecords(-(link_.ActiveRecord() + 1));
        break;
    case SB_LINEDOWN:
        MoveRecords(link_.RecordCount() - link_.ActiveRecord());
        break;
    case SB_PAGEUP:
        MoveRecords(-PageRows());
        break;
    case SB_PAGEDOWN:
        MoveRecords(PageRows());
        break;
    case SB_THUMBPOSITION: {
        // A thumb position beyond 16 bits only comes with the tracking
        // position of a real drag.
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(HandleIfAllocated(), SB_VERT, &si) && si.nTrackPos > 0xFFFF)
            pos = si.nTrackPos;
        HideEditor();
        if (pos <= 1)
            ds->First();
        else if (pos < ds->RecordCount())
            ds->SetRecNo(pos);
        else
            ds->Last();
        break;
    }
    case SB_TOP:
        HideEditor();
        ds->First();
        break;
    case SB_BOTTOM:
        HideEditor();
        ds->Last();
        break;
    default: // SB_THUMBTRACK: Tracking is off
        break;
    }
}

// --- Mouse ---

void TCustomDataGrid::MouseDown(ui::TMessage& msg, bool right) {
    allSelected_ = false;
    if (CanFocus() && !HasFocus()) SetFocus();
    if (!HasFocus()) return;
    if (msg.Msg == WM_LBUTTONDBLCLK) return; // only the (unassigned) events
    const int x = GET_X_LPARAM(msg.LParam), y = GET_Y_LPARAM(msg.LParam);
    if (tracking_ != TGridTracking::gtNone) CancelTracking();
    SetCapture(HandleIfAllocated());

    if (!right) {
        const int sizing = SizingColumnAt(x, y);
        if (sizing >= 0) {
            HideEditor();
            tracking_ = TGridTracking::gtSizing;
            sizingCol_ = sizing;
            sizingOffset_ = x - (ColumnLeft(sizing) + ColWidths(sizing));
            sizingLine_ = x;
            DrawSizingLine();
            return;
        }
    }
    const POINT cell = MouseCoord(x, y);
    if (cell.x < 0) return;
    if (cell.y < TitleOffset()) {
        if (cell.x < IndicatorOffset()) return;
        if (right) {
            if (options_.Has(TGridOption::dgColumnResize)) StartColumnMove(x, y);
            return;
        }
        TDataGridColumn& column = columns_[cell.x - IndicatorOffset()];
        if (!column.Title().TitleButton) return;
        if (OnCheckButton && !OnCheckButton(*this, column)) return;
        if (GetCapture() != HandleIfAllocated()) return;
        tracking_ = TGridTracking::gtTitlePress;
        pressedCol_ = cell.x;
        pressPoint_ = {x, y};
        UpdatePressed(x, y);
        return;
    }
    const int dataRows = link_.Active() ? link_.RecordCount() : 0;
    if (cell.y >= FirstDataRow() + dataRows) return; // filler and footer rows
    const bool wasCurrent = cell.x == col_ && cell.y == Row();
    HideEditor();
    MoveRecords(cell.y - Row());
    if (cell.x >= IndicatorOffset()) {
        SetCol(cell.x);
        tracking_ = TGridTracking::gtData;
        lastMouse_ = {x, y};
        if (!right && wasCurrent) ShowEditor();
    }
}

void TCustomDataGrid::StartColumnMove(int x, int y) {
    const POINT cell = MouseCoord(x, y);
    if (cell.x < IndicatorOffset() || cell.y != 0) {
        tracking_ = TGridTracking::gtNone;
        if (GetCapture() == HandleIfAllocated()) ReleaseCapture();
        return;
    }
    if (GetCapture() != HandleIfAllocated()) SetCapture(HandleIfAllocated());
    HideEditor();
    tracking_ = TGridTracking::gtMoving;
    moveFrom_ = cell.x;
    // Pending repaints first: the drop marker is drawn over what is on screen.
    Update();
}

int TCustomDataGrid::MoveTargetLine(int x) const {
    const POINT cell = MouseCoord(x, RowHeights(0) / 2);
    if (cell.x < IndicatorOffset() || cell.x == moveFrom_) return -1;
    // The column lands before the target when moving left, after it when moving right.
    return cell.x < moveFrom_ ? ColumnLeft(cell.x) - GridLineWidth()
                              : ColumnLeft(cell.x) + ColWidths(cell.x);
}

bool TCustomDataGrid::OverPressedTitle(int x, int y) const {
    const RECT client = ClientRect();
    if (x < client.left || x >= client.right || y < client.top || y >= client.bottom) return false;
    const POINT cell = MouseCoord(x, y);
    return cell.y == 0 && cell.x == pressedCol_;
}

void TCustomDataGrid::UpdatePressed(int x, int y) {
    const bool now = OverPressedTitle(x, y);
    if (now == pressed_) return;
    pressed_ = now;
    InvalidateTitles();
}

void TCustomDataGrid::DrawSizingLine() {
    if (!HandleAllocated() || sizingLine_ < 0) return;
    platform::WindowDC dc(HandleIfAllocated());
    const RECT client = ClientRect();
    // Exclusive-or: drawing the line twice removes it.
    PatBlt(dc.get(), sizingLine_, 0, 1, client.bottom, DSTINVERT);
    sizingLineShown_ = !sizingLineShown_;
}

void TCustomDataGrid::MouseMove(int x, int y) {
    switch (tracking_) {
    case TGridTracking::gtTitlePress:
        UpdatePressed(x, y);
        if (std::abs(x - pressPoint_.x) > 3 && options_.Has(TGridOption::dgColumnResize)) {
            // A sideways drag of a title turns into a column move.
            pressed_ = false;
            pressedCol_ = -1;
            InvalidateTitles();
            StartColumnMove(pressPoint_.x, pressPoint_.y);
        }
        break;
    case TGridTracking::gtSizing:
        if (sizingLineShown_) DrawSizingLine();
        sizingLine_ = x;
        DrawSizingLine();
        break;
    case TGridTracking::gtMoving:
        if (sizingLineShown_) DrawSizingLine();
        sizingLine_ = MoveTargetLine(x);
        DrawSizingLine();
        break;
    case TGridTracking::gtData:
        lastMouse_ = {x, y};
        TrackData(x, y, false);
        break;
    default:
        break;
    }
}

void TCustomDataGrid::TrackData(int x, int y, bool fromTimer) {
    const RECT cells = DataCellsRect();
    if (cells.bottom <= cells.top) {
        StopScrollTimer();
        return;
    }
    const bool inV = y >= cells.top && y < cells.bottom;
    const bool inH = x >= cells.left && x < cells.right;
    if (inV && inH) StopScrollTimer();
    if (inV && !fromTimer) {
        const POINT cell = MouseCoord(std::max<int>(x, cells.left), y);
        // One record at a time, so every row on the way becomes current.
        while (cell.y >= FirstDataRow() && Row() != cell.y) {
            const int before = Row();
            MoveRecords(cell.y > Row() ? 1 : -1);
            if (Row() == before) break;
        }
    }
    if (inH && !fromTimer) {
        const POINT cell = MouseCoord(x, std::max<int>(y, cells.top));
        if (cell.x >= IndicatorOffset()) SetCol(cell.x);
    }
    if (inV && inH) return;

    int dy = 0, dx = 0;
    if (y < cells.top)
        dy = cells.top - y;
    else if (y >= cells.bottom)
        dy = y - cells.bottom + 1;
    if (x < cells.left)
        dx = cells.left - x;
    else if (x >= cells.right)
        dx = x - cells.right + 1;
    const int d = std::max(dx, dy);
    const int step = AutoScrollStep(d);
    if (dy > 0 && step > 0) MoveRecords(y < cells.top ? -step : step);
    if (dx > 0) SelectColumn(col_ + (x < cells.left ? -1 : 1), x < cells.left ? -1 : 1);
    const int interval = AutoScrollInterval(d);
    if (interval != scrollInterval_ || scrollTimer_ == 0) {
        scrollInterval_ = interval;
        scrollTimer_ =
            SetTimer(HandleIfAllocated(), kAutoScrollTimerId, static_cast<UINT>(interval), nullptr);
    }
}

void TCustomDataGrid::StopScrollTimer() {
    if (scrollTimer_ != 0 && HandleAllocated()) KillTimer(HandleIfAllocated(), kAutoScrollTimerId);
    scrollTimer_ = 0;
    scrollInterval_ = -1;
}

void TCustomDataGrid::MouseUp(ui::TMessage& msg, bool right) {
    const int x = GET_X_LPARAM(msg.LParam), y = GET_Y_LPARAM(msg.LParam);
    const TGridTracking was = tracking_;
    // A right press only tracks a column move (or data); its release ends that.
    if (right && was != TGridTracking::gtMoving && was != TGridTracking::gtData) {
        if (GetCapture() == HandleIfAllocated()) ReleaseCapture();
        return;
    }
    tracking_ = TGridTracking::gtNone; // before ReleaseCapture: no cancel
    StopScrollTimer();
    switch (was) {
    case TGridTracking::gtTitlePress: {
        const bool click = OverPressedTitle(x, y);
        const int col = pressedCol_;
        pressed_ = false;
        pressedCol_ = -1;
        InvalidateTitles();
        if (GetCapture() == HandleIfAllocated()) ReleaseCapture();
        if (click) {
            const int index = col - IndicatorOffset();
            const bool ctrl = KeyHeld(VK_CONTROL);
            if (index >= 0 && index < columns_.Count()) {
                if (OnTitleBtnClick) OnTitleBtnClick(*this, index, columns_[index]);
                deferredSort_ = ctrl;
                if (optionsExt_.Has(TGridOptionExt::dgxAutoSortMarking)) {
                    columns_[index].Title().ToggleSortMarker(ctrl);
                    if (!ctrl) SortMarkingChanged();
                }
            }
        }
        break;
    }
    case TGridTracking::gtSizing: {
        if (sizingLineShown_) DrawSizingLine();
        const int col = sizingCol_;
        sizingCol_ = sizingLine_ = -1;
        if (GetCapture() == HandleIfAllocated()) ReleaseCapture();
        const int width = x - sizingOffset_ - ColumnLeft(col);
        columns_.BeginUpdate();
        if (width > 1) columns_[col - IndicatorOffset()].SetWidth(width);
        for (int i = 0; i < columns_.Count(); ++i) {
            TDataGridColumn& c = columns_[i];
            int w = c.Width();
            if (c.MinWidth > 0) w = std::max(w, c.MinWidth);
            if (c.MaxWidth > 0) w = std::min(w, c.MaxWidth);
            if (c.WidthAssigned() || w != c.Width()) c.SetWidth(w);
        }
        columns_.EndUpdate();
        return; // a release that ends sizing is no click
    }
    case TGridTracking::gtMoving: {
        if (sizingLineShown_) DrawSizingLine();
        sizingLine_ = -1;
        const int from = moveFrom_ - IndicatorOffset();
        moveFrom_ = -1;
        if (GetCapture() == HandleIfAllocated()) ReleaseCapture();
        const POINT cell = MouseCoord(x, std::clamp<int>(y, 0, RowHeights(0)));
        if (cell.x >= IndicatorOffset()) {
            const int to = cell.x - IndicatorOffset();
            if (to != from) {
                const bool followCol = col_ == from + IndicatorOffset();
                columns_.Move(from, to);
                if (followCol) SetCol(to + IndicatorOffset());
                if (OnColumnMoved) OnColumnMoved(*this, from, to);
            }
        }
        break;
    }
    default:
        if (GetCapture() == HandleIfAllocated()) ReleaseCapture();
        break;
    }
    if (right) return;
    const POINT cell = MouseCoord(x, y);
    if (cell.x < IndicatorOffset() || cell.x - IndicatorOffset() >= columns_.Count()) return;
    TDataGridColumn& column = columns_[cell.x - IndicatorOffset()];
    if (cell.y == 0 && TitleOffset() > 0) {
        if (OnTitleClick) OnTitleClick(*this, column);
    } else if (cell.y >= FirstDataRow() && cell.y < FirstDataRow() + link_.RecordCount()) {
        if (OnCellClick) OnCellClick(*this, column);
    }
}

void TCustomDataGrid::CancelTracking() {
    const TGridTracking was = tracking_;
    tracking_ = TGridTracking::gtNone;
    StopScrollTimer();
    if (sizingLineShown_) DrawSizingLine();
    sizingCol_ = sizingLine_ = -1;
    moveFrom_ = -1;
    if (pressedCol_ >= 0 || pressed_) {
        pressed_ = false;
        pressedCol_ = -1;
        InvalidateTitles();
    }
    if (was != TGridTracking::gtNone && HandleAllocated() && GetCapture() == HandleIfAllocated())
        ReleaseCapture();
}

// --- The read-only editor ---

bool TCustomDataGrid::EditorVisible() const {
    return editor_ && IsWindow(editor_) && IsWindowVisible(editor_);
}

void TCustomDataGrid::PlaceEditor() {
    RECT r = CellRect(col_, Row());
    if (r.right <= r.left) return;
    const TDataGridColumn& column = columns_[col_ - IndicatorOffset()];
    SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(column.Font().Handle()), FALSE);
    std::wstring text;
    if (const data::TField* f = column.Field(); f && link_.RecordCount() > 0)
        text = link_.FieldText(link_.ActiveRecord(), f->Index());
    SetWindowTextW(editor_, text.c_str());
    SetWindowPos(editor_, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_SHOWWINDOW);
}

void TCustomDataGrid::ShowEditor() {
    if (!HandleAllocated() || !link_.Active() || link_.RecordCount() == 0) return;
    if (col_ < IndicatorOffset() || col_ - IndicatorOffset() >= columns_.Count()) return;
    if (!editor_ || !IsWindow(editor_)) {
        editor_ = CreateWindowExW(0, L"EDIT", L"",
                                  WS_CHILD | ES_AUTOHSCROLL | ES_READONLY | ES_LEFT, 0, 0, 0, 0,
                                  HandleIfAllocated(), nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!editor_) return;
        SetWindowSubclass(editor_, EditorProc, kEditorSubclassId,
                          reinterpret_cast<DWORD_PTR>(this));
    }
    PlaceEditor();
    SendMessageW(editor_, EM_SETSEL, 0, -1);
    ::SetFocus(editor_);
}

void TCustomDataGrid::HideEditor() {
    if (!EditorVisible()) return;
    const bool hadFocus = GetFocus() == editor_;
    ShowWindow(editor_, SW_HIDE);
    if (hadFocus && HandleAllocated()) ::SetFocus(HandleIfAllocated());
}

} // namespace grid
