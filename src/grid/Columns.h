// The grid's column model: each column shows one field and carries a title
// and footer definitions. A property that was never assigned reads through to
// its default (the grid's or the field's value) at the moment it is read, so a
// later change of the grid's Font or FixedColor reaches every such column.
#pragma once

#include "data/Field.h"
#include "grid/GridOptions.h"
#include "ui/Graphics.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace grid {

class TCustomDataGrid;
class TDataGridColumn;
class TDataGridColumns;
class TSumItem;

using data::TAlignment;

enum class TFooterValueType { fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText };

class TColumnFooter {
public:
    explicit TColumnFooter(TDataGridColumn& column) : column_(column) {}
    TColumnFooter(const TColumnFooter&) = delete;
    TColumnFooter& operator=(const TColumnFooter&) = delete;
    ~TColumnFooter();

    TFooterValueType ValueType() const { return valueType_; }
    // A type that needs an aggregate gets an item of the grid's sum list;
    // one that does not releases it.
    void SetValueType(TFooterValueType type);
    std::wstring Value; // the text of fvtStaticText

    TAlignment Alignment() const;
    void SetAlignment(TAlignment a);
    ui::TColor Color() const;
    void SetColor(ui::TColor c);
    const ui::TFont& Font() const;
    void SetFont(const ui::TFont& f);

    TSumItem* SumItem() const { return item_; }
    // The cell text: empty, the static value, or the aggregate's value.
    std::wstring DisplayText() const;

private:
    TDataGridColumn& column_;
    TFooterValueType valueType_ = TFooterValueType::fvtNon;
    std::optional<TAlignment> alignment_;
    std::optional<ui::TColor> color_;
    std::optional<ui::TFont> font_;
    TSumItem* item_ = nullptr;
};

class TColumnTitle {
public:
    explicit TColumnTitle(TDataGridColumn& column) : column_(column) {}
    TColumnTitle(const TColumnTitle&) = delete;
    TColumnTitle& operator=(const TColumnTitle&) = delete;

    // The field's display name, or FieldName when the column has no field.
    std::wstring Caption() const;
    void SetCaption(std::wstring caption);
    ui::TColor Color() const;
    void SetColor(ui::TColor c);
    const ui::TFont& Font() const;
    void SetFont(const ui::TFont& f);
    TAlignment Alignment() const;
    void SetAlignment(TAlignment a);

    bool TitleButton = false;
    TSortMarker SortMarker() const { return sortMarker_; }
    // Stores the marker and keeps every column's SortIndex consistent: with
    // dgxMultiSortMarking a new marker appends the column to the sort and a
    // removed one closes the gap; without it the column is sorted alone.
    // Inside the collection's update bracket only the marker is stored.
    void SetSortMarker(TSortMarker marker);
    // One title-button click: Ctrl held (add) keeps the other markers.
    void ToggleSortMarker(bool add);
    // 0: no marker; otherwise the 1-based place in the sort.
    int SortIndex = 0;
    // Exchanges the index with the column that holds `value`.
    void SetSortIndex(int value);
    int ImageIndex = -1;
    bool EndEllipsis = false;
    bool ToolTips = false;
    TTitleOrientation Orientation = TTitleOrientation::tohHorizontal;

private:
    TDataGridColumn& column_;
    std::optional<std::wstring> caption_;
    std::optional<ui::TColor> color_;
    std::optional<ui::TFont> font_;
    std::optional<TAlignment> alignment_;
    TSortMarker sortMarker_ = TSortMarker::smNone;
};

class TDataGridColumn {
public:
    explicit TDataGridColumn(TDataGridColumns& owner);
    TDataGridColumn(const TDataGridColumn&) = delete;
    TDataGridColumn& operator=(const TDataGridColumn&) = delete;
    ~TDataGridColumn();

    TDataGridColumns& Collection() const { return owner_; }
    TCustomDataGrid* Grid() const;
    int Index() const;

    const std::wstring& FieldName() const { return fieldName_; }
    void SetFieldName(std::wstring name);
    // The bound field of the grid's dataset, or nullptr.
    data::TField* Field() const;

    int Width() const;
    void SetWidth(int width);
    bool WidthAssigned() const { return width_.has_value(); }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment a);
    ui::TColor Color() const;
    void SetColor(ui::TColor c);
    const ui::TFont& Font() const;
    void SetFont(const ui::TFont& f);
    bool ReadOnly() const;
    void SetReadOnly(bool r) { readOnly_ = r; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    TTextLayout Layout = TTextLayout::tlTop;
    bool WordWrap = false;
    bool EndEllipsis = false;
    bool ToolTips = false;
    bool AlwaysShowEditButton = false;
    bool HideDuplicates = false;
    int MinWidth = 0;
    int MaxWidth = 0;

    TColumnTitle& Title() { return title_; }
    const TColumnTitle& Title() const { return title_; }
    // The definition for footer rows without an entry of their own.
    TColumnFooter& Footer() { return footer_; }
    const TColumnFooter& Footer() const { return footer_; }
    int FooterCount() const { return static_cast<int>(footers_.size()); }
    TColumnFooter& Footers(int index) const {
        return *footers_.at(static_cast<std::size_t>(index));
    }
    TColumnFooter& AddFooter();
    // The definition that serves footer row `row` (0-based).
    const TColumnFooter& FooterFor(int row) const;

    // Something that affects the layout changed.
    void Changed();

private:
    friend class TDataGridColumns;
    friend class TCustomDataGrid; // binding stores the field's spelling

    TDataGridColumns& owner_;
    std::wstring fieldName_;
    std::optional<int> width_;
    std::optional<TAlignment> alignment_;
    std::optional<ui::TColor> color_;
    std::optional<ui::TFont> font_;
    std::optional<bool> readOnly_;
    bool visible_ = true;
    TColumnTitle title_;
    TColumnFooter footer_;
    std::vector<std::unique_ptr<TColumnFooter>> footers_;
};

class TDataGridColumns {
public:
    explicit TDataGridColumns(TCustomDataGrid& grid) : grid_(grid) {}
    TDataGridColumns(const TDataGridColumns&) = delete;
    TDataGridColumns& operator=(const TDataGridColumns&) = delete;

    TCustomDataGrid& Grid() const { return grid_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TDataGridColumn& Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
    TDataGridColumn& operator[](int index) const { return Items(index); }
    TDataGridColumn& Add();
    void Clear();
    int IndexOf(const TDataGridColumn* column) const;
    // Moves a column to another place; the dataset's fields keep their order.
    void Move(int from, int to);

    // The columns with a marker, in sort order (SortIndex 1, 2, ...).
    std::vector<TDataGridColumn*> SortList() const;

    // Inside an update bracket changes are collected and reported once.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }
    void Changed();

private:
    TCustomDataGrid& grid_;
    std::vector<std::unique_ptr<TDataGridColumn>> items_;
    int updateCount_ = 0;
    bool pending_ = false;
};

} // namespace grid
