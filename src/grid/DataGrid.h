// TCustomDataGrid / TDataGrid: a read-only, data-bound grid. Column 0 is the
// indicator column, row 0 the title row; then one row per record of the data
// link's window, a filler row that absorbs the rest of the height, and the
// footer rows at the bottom edge. The grid never scrolls its rows: the data
// link's record window moves instead and the grid scrolls the painted rows
// with the window manager when that is cheaper than repainting them.
#pragma once

#include "data/DataSource.h"
#include "grid/Columns.h"
#include "grid/DatasetUtils.h"
#include "grid/GridOptions.h"
#include "grid/SumLists.h"
#include "ui/WinControl.h"

#include <functional>
#include <optional>
#include <vector>

namespace grid {

class TCustomDataGrid;

// The grid's end of the data source connection.
class TGridDataLink : public data::TDataLink {
public:
    explicit TGridDataLink(TCustomDataGrid& grid) : grid_(grid) {}

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void RecordChanged(data::TField* field) override;
    void EditingChanged() override;
    void LayoutChanged() override;

private:
    TCustomDataGrid& grid_;
};

// Cell states of the painter.
enum TGridDrawState : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };

// What the mouse is doing between a press and its release.
enum class TGridTracking { gtNone, gtTitlePress, gtSizing, gtMoving, gtData };

class TCustomDataGrid : public ui::TWinControl, public TSortRequester {
public:
    explicit TCustomDataGrid(ui::TComponent* owner);
    ~TCustomDataGrid() override;

    std::wstring ClassName() const override { return L"TCustomDataGrid"; }
    std::vector<std::wstring> ClassChain() const override;

    // --- Loading: no layout is computed until EndLoad ---
    void BeginLoad() { ++loading_; }
    void EndLoad();
    bool Loading() const { return loading_ > 0; }

    // --- Configuration ---
    data::TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataSource(data::TDataSource* source);
    data::TDataSet* DataSet() const { return link_.DataSet(); }
    const TGridDataLink& DataLink() const { return link_; }

    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);
    TGridOptionsExt OptionsExt() const { return optionsExt_; }
    void SetOptionsExt(TGridOptionsExt options);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    ui::TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(ui::TColor c);
    const ui::TFont& TitleFont() const { return titleFont_; }
    void SetTitleFont(const ui::TFont& f);
    ui::TColor FooterColor() const { return footerColor_; }
    void SetFooterColor(ui::TColor c);
    const ui::TFont& FooterFont() const { return footerFont_; }
    void SetFooterFont(const ui::TFont& f);
    int FooterRowCount() const { return footerRowCount_; }
    void SetFooterRowCount(int count);
    ui::TColor EvenRowColor() const { return evenRowColor_.value_or(Color()); }
    void SetEvenRowColor(ui::TColor c);
    ui::TColor OddRowColor() const { return oddRowColor_.value_or(Color()); }
    void SetOddRowColor(ui::TColor c);
    bool ReadOnly = false;
    TDataGridAllowedOperations AllowedOperations{
        TDataGridAllowedOperation::alopInsert, TDataGridAllowedOperation::alopUpdate,
        TDataGridAllowedOperation::alopDelete, TDataGridAllowedOperation::alopAppend};
    bool SortLocal = false;
    // With geaCopy, Ctrl+C and Ctrl+Insert copy the current row, or every
    // row after a Ctrl+A of geaSelectAll, as tab-separated text.
    TDataGridEditActions EditActions;
    bool DefaultDrawing = true;
    bool UseMultiTitle = false;
    int RowHeight = 0; // 0: from the font
    int RowLines = 0;
    int TitleHeight = 0;
    int TitleLines = 0;

    TDataGridColumns& Columns() { return columns_; }
    const TDataGridColumns& Columns() const { return columns_; }
    TDataGridSumList& SumList() { return sumList_; }

    // --- Geometry (grid coordinates: column 0 is the indicator column) ---
    int ColCount() const { return static_cast<int>(colWidths_.size()); }
    int RowCount() const { return static_cast<int>(rowHeights_.size()); }
    int ColWidths(int col) const { return colWidths_.at(static_cast<std::size_t>(col)); }
    int RowHeights(int row) const { return rowHeights_.at(static_cast<std::size_t>(row)); }
    int DefaultRowHeight() const { return defaultRowHeight_; }
    int IndicatorOffset() const { return options_.Has(TGridOption::dgIndicator) ? 1 : 0; }
    int TitleOffset() const { return options_.Has(TGridOption::dgTitles) ? 1 : 0; }
    int GridLineWidth() const { return 1; }
    // The cell's rectangle without its lines; empty when not visible.
    RECT CellRect(int col, int row) const;
    // Grid rows of the data, the filler and the first footer row.
    int FirstDataRow() const { return TitleOffset(); }
    int FillerRow() const { return RowCount() - footerRowCount_ - 1; }
    int FirstFooterRow() const { return RowCount() - footerRowCount_; }
    // Rows a page step moves: visible rows less the footer and filler rows.
    int PageRows() const;

    // --- Current cell ---
    int Col() const { return col_; }
    // Also scrolls the columns so that the new current column shows.
    void SetCol(int col);

    // --- Horizontal scrolling, by whole columns; the indicator stays ---
    // The first data column shown after the indicator column.
    int LeftCol() const { return leftCol_; }
    void SetLeftCol(int col);
    // The largest LeftCol that still fills the client width.
    int MaxLeftCol() const;
    // The grid row of the current record.
    int Row() const { return TitleOffset() + link_.ActiveRecord(); }

    // Text of footer row `footerRow` (0-based) of data column `column`.
    std::wstring FooterText(int column, int footerRow) const;

    // --- Sorting by title click ---
    // Applies the markers to the dataset (or calls OnSortMarkingChanged).
    void SortMarkingChanged();
    bool SortPending() const { return deferredSort_; }
    bool SortLocalRequested() const override { return SortLocal; }
    std::vector<TSortKey> SortKeys() const override;
    // May veto a title press: return false to switch the button off.
    std::function<bool(TCustomDataGrid&, TDataGridColumn&)> OnCheckButton;
    std::function<void(TCustomDataGrid&, int index, TDataGridColumn&)> OnTitleBtnClick;
    std::function<void(TCustomDataGrid&)> OnSortMarkingChanged;
    std::function<void(TCustomDataGrid&, TDataGridColumn&)> OnTitleClick;
    std::function<void(TCustomDataGrid&, TDataGridColumn&)> OnCellClick;
    std::function<void(TCustomDataGrid&, int from, int to)> OnColumnMoved;
    // Ctrl+F with dgxDialogFind on an open dataset; unassigned, the
    // program's find dialog opens.
    std::function<void(TCustomDataGrid&)> OnFindDialogRequest;

    // --- Navigation and mouse tracking ---
    // Grid cell under a client point; {-1, -1} outside the cells.
    POINT MouseCoord(int x, int y) const;
    // Clamped to the data columns; with a direction of +1 or -1 columns of
    // zero width are skipped that way (nothing when none is left).
    void SelectColumn(int target, int direction);
    TGridTracking Tracking() const { return tracking_; }
    bool TitlePressed() const { return pressed_; }
    int PressedColumn() const { return pressedCol_; }
    // The exclusive-or line's x while a column is being sized, or the drop
    // position's while one is being moved; -1 when none is shown.
    int SizingLine() const { return sizingLine_; }
    bool AutoScrollActive() const { return scrollTimer_ != 0; }

    // --- Copying ---
    // Ctrl+A was pressed, and no other key or click since.
    bool AllSelected() const { return allSelected_; }
    // Copies the current row (or every row) with a line of column titles to
    // the clipboard; false when there is no row or the clipboard is held.
    bool CopyRows(bool allRows);

    // --- The read-only in-place editor ---
    void ShowEditor();
    void HideEditor();
    bool EditorVisible() const;
    HWND EditorHandle() const { return editor_; }

    // --- Repainting ---
    void InvalidateRowBand(int row);
    void InvalidateTitles();
    void InvalidateFooter();
    // Recomputes columns, heights and the row layout; repaints everything.
    void LayoutChanged();

    // Paints the whole client area (or what intersects `clip`) into dc.
    void PaintTo(HDC dc, const RECT& clip);

protected:
    void CreateParams(ui::TCreateParams& params) override;
    void WindowCreated() override;
    void WndProc(ui::TMessage& msg) override;
    void PaintWindow(HDC dc) override;
    void FontChanged() override;
    void ColorChanged() override;

private:
    friend class TGridDataLink;
    friend class TDataGridColumns;

    // Data link notifications.
    void LinkActiveChanged();
    void LinkDataSetChanged();
    void LinkScrolled(int distance);
    void LinkRecordChanged();

    void BindColumns();
    void InternalLayout();
    // Returns whether any row height or the row count changed.
    bool UpdateRowLayout();
    void UpdateScrollBar();
    int TextHeight(const ui::TFont& font) const;
    int RowPitch() const { return defaultRowHeight_ + GridLineWidth(); }
    int ColumnLeft(int col) const;
    int RowTop(int row) const;
    int GridWidth() const;  // right edge of the last column's line
    int GridHeight() const; // bottom edge of the last row's line

    // Painting.
    void PaintLines(HDC dc, const RECT& clip);
    void DrawCell(HDC dc, int col, int row, RECT rect, unsigned state);
    void DrawIndicatorCell(HDC dc, int row, RECT rect, int dx, bool filler);
    void DrawTitleCell(HDC dc, int col, RECT rect, int dx, int dy);
    void DrawDataCell(HDC dc, int col, int row, RECT rect, unsigned state, int dx, int dy,
                      bool& highlighted);
    void DrawFooterCell(HDC dc, int col, int footerRow, RECT rect, int dx, int dy);
    void DrawCellEdge(HDC dc, const RECT& rect, COLORREF fill, bool sunken);
    bool HasCellEdge(int col, int row) const;
    bool HasFocus() const;
    void PaintHandler();

    // Input.
    void KeyDown(ui::TMessage& msg);
    // The copy and select-all keys; true when the key was one of them. Every
    // other key (modifiers alone aside) ends the select-all state.
    bool EditActionKey(WPARAM key, bool systemKey);
    void MouseDown(ui::TMessage& msg, bool right);
    void MouseMove(int x, int y);
    void MouseUp(ui::TMessage& msg, bool right);
    void CancelTracking();
    void VScroll(int code, int pos);
    void HScroll(int code, int pos);
    // A column's width as shown: -GridLineWidth() for a column scrolled off
    // to the left, so that it takes no room at all.
    int ShownWidth(int col) const;
    // The first column from which the columns up to `last` fit beside the
    // indicator column; `last` when even it alone does not.
    int FirstColFitting(int last) const;
    void UpdateHorzScrollBar();
    void MoveRecords(int distance);
    void UpdatePressed(int x, int y);
    bool OverPressedTitle(int x, int y) const;
    int SizingColumnAt(int x, int y) const;
    void DrawSizingLine();
    void StartColumnMove(int x, int y);
    // Where a column moved to the pointer at x would land; -1 for nowhere new.
    int MoveTargetLine(int x) const;
    RECT DataCellsRect() const;
    void TrackData(int x, int y, bool fromTimer);
    void StopScrollTimer();
    void PlaceEditor();
    void ApplyDeferredSort();

    TGridDataLink link_;
    TDataGridSumList sumList_; // before the columns: their footers release items in it
    TDataGridColumns columns_;
    int loading_ = 0;

    TGridOptions options_{
        TGridOption::dgEditing,      TGridOption::dgTitles,        TGridOption::dgIndicator,
        TGridOption::dgColumnResize, TGridOption::dgColLines,      TGridOption::dgRowLines,
        TGridOption::dgTabs,         TGridOption::dgConfirmDelete, TGridOption::dgCancelOnExit};
    TGridOptionsExt optionsExt_;
    bool flat_ = false;
    int titleMargin_ = 4;
    ui::TColor fixedColor_ = ui::clBtnFace;
    ui::TFont titleFont_;
    ui::TColor footerColor_ = ui::clWindow;
    ui::TFont footerFont_;
    int footerRowCount_ = 0;
    std::optional<ui::TColor> evenRowColor_, oddRowColor_;

    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    int defaultRowHeight_ = 0;
    int col_ = 1;
    int leftCol_ = 1;
    int glyphRow_ = -1;      // grid row of the last indicator glyph drawn
    int paintedCurRow_ = -1; // grid row that was current at the last link event
    int pressedCol_ = -1;    // title button being pressed (title-click sorting)
    bool pressed_ = false;
    bool deferredSort_ = false; // a Ctrl+click waits for the Ctrl release
    bool allSelected_ = false;  // Ctrl+A: the copy keys take every row
    TGridTracking tracking_ = TGridTracking::gtNone;
    POINT pressPoint_{};
    int sizingCol_ = -1, sizingLine_ = -1, sizingOffset_ = 0;
    bool sizingLineShown_ = false;
    int moveFrom_ = -1;
    POINT lastMouse_{};
    int wheelDelta_ = 0;
    UINT_PTR scrollTimer_ = 0;
    int scrollInterval_ = -1;
    HWND editor_ = nullptr; // a child window: destroyed with the grid's window
    static constexpr UINT_PTR kAutoScrollTimerId = 1;
    bool layoutDone_ = false;
    bool hasTail_ = false; // the filler and footer rows exist
    bool destroying_ = false;
    int titleRowHeight_ = 0;
    data::TDataSet* boundDataSet_ = nullptr;
    SCROLLINFO lastScroll_{};
    SCROLLINFO lastHScroll_{};
};

class TDataGrid : public TCustomDataGrid {
public:
    using TCustomDataGrid::TCustomDataGrid;
    std::wstring ClassName() const override { return L"TDataGrid"; }
    std::vector<std::wstring> ClassChain() const override;
};

} // namespace grid
