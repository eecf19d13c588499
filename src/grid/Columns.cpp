#include "grid/Columns.h"

#include "grid/DataGrid.h"
#include "grid/SortMarking.h"

#include <algorithm>

namespace grid {

// --- TColumnFooter ---

TColumnFooter::~TColumnFooter() {
    if (item_) column_.Grid()->SumList().SumCollection().Remove(item_);
}

void TColumnFooter::SetValueType(TFooterValueType type) {
    if (valueType_ == type) return;
    valueType_ = type;
    auto& items = column_.Grid()->SumList().SumCollection();
    if (item_) {
        items.Remove(std::exchange(item_, nullptr));
    }
    if (type == TFooterValueType::fvtCount) item_ = &items.Add(TGroupOperation::goCount, L"");
    column_.Grid()->InvalidateFooter();
}

TAlignment TColumnFooter::Alignment() const {
    if (alignment_) return *alignment_;
    const data::TField* f = column_.Field();
    return f ? f->Alignment() : TAlignment::taLeftJustify;
}
void TColumnFooter::SetAlignment(TAlignment a) {
    alignment_ = a;
    column_.Grid()->InvalidateFooter();
}
ui::TColor TColumnFooter::Color() const {
    return color_.value_or(column_.Grid()->FooterColor());
}
void TColumnFooter::SetColor(ui::TColor c) {
    color_ = c;
    column_.Grid()->InvalidateFooter();
}
const ui::TFont& TColumnFooter::Font() const {
    return font_ ? *font_ : column_.Grid()->FooterFont();
}
void TColumnFooter::SetFont(const ui::TFont& f) {
    font_ = f;
    column_.Grid()->InvalidateFooter();
}

std::wstring TColumnFooter::DisplayText() const {
    switch (valueType_) {
    case TFooterValueType::fvtStaticText:
        return Value;
    case TFooterValueType::fvtCount: {
        // Any footer may own the item, so look it up the same way for all.
        const TSumItem* item =
            column_.Grid()->SumList().SumCollection().Find(TGroupOperation::goCount, L"");
        return item ? FormatSumValue(item->SumValue) : std::wstring();
    }
    default:
        return {};
    }
}

// --- TColumnTitle ---

std::wstring TColumnTitle::Caption() const {
    if (caption_) return *caption_;
    if (const data::TField* f = column_.Field()) return f->DisplayLabel();
    return column_.FieldName();
}
void TColumnTitle::SetCaption(std::wstring caption) {
    caption_ = std::move(caption);
    column_.Grid()->InvalidateTitles();
}
ui::TColor TColumnTitle::Color() const {
    return color_.value_or(column_.Grid()->FixedColor());
}
void TColumnTitle::SetColor(ui::TColor c) {
    color_ = c;
    column_.Grid()->InvalidateTitles();
}
const ui::TFont& TColumnTitle::Font() const {
    return font_ ? *font_ : column_.Grid()->TitleFont();
}
void TColumnTitle::SetFont(const ui::TFont& f) {
    font_ = f;
    column_.Changed(); // the title height follows the title fonts
}
TAlignment TColumnTitle::Alignment() const {
    if (alignment_) return *alignment_;
    return column_.Grid()->UseMultiTitle ? TAlignment::taCenter : TAlignment::taLeftJustify;
}
void TColumnTitle::SetAlignment(TAlignment a) {
    alignment_ = a;
    column_.Grid()->InvalidateTitles();
}
void TColumnTitle::SetSortMarker(TSortMarker marker) {
    if (sortMarker_ == marker) return;
    const bool wasMarked = sortMarker_ != TSortMarker::smNone;
    sortMarker_ = marker;
    TDataGridColumns& columns = column_.Collection();
    TCustomDataGrid* grid = column_.Grid();
    if (columns.Updating()) return;
    const bool marked = marker != TSortMarker::smNone;
    if (grid->OptionsExt().Has(TGridOptionExt::dgxMultiSortMarking)) {
        if (marked && SortIndex == 0) {
            int used = 0;
            for (int i = 0; i < columns.Count(); ++i)
                if (columns[i].Title().SortIndex != 0) ++used;
            SortIndex = used + 1;
        } else if (!marked && SortIndex != 0) {
            for (int i = 0; i < columns.Count(); ++i) {
                TColumnTitle& t = columns[i].Title();
                if (t.SortIndex > SortIndex) --t.SortIndex;
            }
            SortIndex = 0;
        }
    } else if (marked && !wasMarked) {
        for (int i = 0; i < columns.Count(); ++i) {
            TColumnTitle& t = columns[i].Title();
            if (&t == this) continue;
            t.sortMarker_ = TSortMarker::smNone;
            t.SortIndex = 0;
        }
        SortIndex = 1;
    } else if (!marked) {
        SortIndex = 0;
    }
    grid->InvalidateTitles();
}

void TColumnTitle::ToggleSortMarker(bool add) {
    if (!add) {
        TDataGridColumns& columns = column_.Collection();
        for (int i = 0; i < columns.Count(); ++i) {
            TColumnTitle& t = columns[i].Title();
            if (&t != this && t.SortMarker() != TSortMarker::smNone)
                t.SetSortMarker(TSortMarker::smNone);
        }
    }
    SetSortMarker(NextSortMarker(sortMarker_, add));
}

void TColumnTitle::SetSortIndex(int value) {
    value = std::max(value, 0);
    if (value == SortIndex) return;
    TDataGridColumns& columns = column_.Collection();
    if (!columns.Updating() && sortMarker_ != TSortMarker::smNone) {
        for (int i = 0; i < columns.Count(); ++i) {
            TColumnTitle& t = columns[i].Title();
            if (&t != this && t.SortIndex == value) {
                t.SortIndex = SortIndex;
                break;
            }
        }
    }
    SortIndex = value;
    column_.Grid()->InvalidateTitles();
}

// --- TDataGridColumn ---

TDataGridColumn::TDataGridColumn(TDataGridColumns& owner)
    : owner_(owner), title_(*this), footer_(*this) {}

TDataGridColumn::~TDataGridColumn() = default;

TCustomDataGrid* TDataGridColumn::Grid() const {
    return &owner_.Grid();
}

int TDataGridColumn::Index() const {
    return owner_.IndexOf(this);
}

void TDataGridColumn::SetFieldName(std::wstring name) {
    fieldName_ = std::move(name);
    Changed();
}

data::TField* TDataGridColumn::Field() const {
    const data::TDataSet* ds = Grid()->DataSet();
    return ds && !fieldName_.empty() ? ds->FindField(fieldName_) : nullptr;
}

int TDataGridColumn::Width() const {
    if (width_) return *width_;
    const data::TField* f = Field();
    if (!f) return 64;
    // (digit width - overhang) x display width + overhang + 4, in the column's font.
    HDC dc = GetDC(nullptr);
    int width = 64;
    if (dc) {
        platform::SelectGuard sel(dc, Font().Handle());
        TEXTMETRICW tm{};
        SIZE digit{};
        GetTextMetricsW(dc, &tm);
        GetTextExtentPoint32W(dc, L"0", 1, &digit);
        width = (digit.cx - tm.tmOverhang) * f->DisplayWidth() + tm.tmOverhang + 4;
        ReleaseDC(nullptr, dc);
    }
    return width;
}
void TDataGridColumn::SetWidth(int width) {
    width_ = width;
    Changed();
}
TAlignment TDataGridColumn::Alignment() const {
    if (alignment_) return *alignment_;
    const data::TField* f = Field();
    return f ? f->Alignment() : TAlignment::taLeftJustify;
}
void TDataGridColumn::SetAlignment(TAlignment a) {
    alignment_ = a;
    Grid()->Invalidate();
}
ui::TColor TDataGridColumn::Color() const {
    return color_.value_or(Grid()->Color());
}
void TDataGridColumn::SetColor(ui::TColor c) {
    color_ = c;
    Grid()->Invalidate();
}
const ui::TFont& TDataGridColumn::Font() const {
    return font_ ? *font_ : Grid()->Font();
}
void TDataGridColumn::SetFont(const ui::TFont& f) {
    font_ = f;
    Changed();
}
bool TDataGridColumn::ReadOnly() const {
    if (readOnly_) return *readOnly_;
    return Grid()->ReadOnly; // fields of this dataset family are never read-only
}
void TDataGridColumn::SetVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    Changed();
}

TColumnFooter& TDataGridColumn::AddFooter() {
    footers_.push_back(std::make_unique<TColumnFooter>(*this));
    Grid()->InvalidateFooter();
    return *footers_.back();
}

const TColumnFooter& TDataGridColumn::FooterFor(int row) const {
    if (row >= 0 && row < FooterCount()) return Footers(row);
    return footer_;
}

void TDataGridColumn::Changed() {
    owner_.Changed();
}

// --- TDataGridColumns ---

TDataGridColumn& TDataGridColumns::Add() {
    items_.push_back(std::make_unique<TDataGridColumn>(*this));
    Changed();
    return *items_.back();
}

void TDataGridColumns::Clear() {
    items_.clear();
    Changed();
}

int TDataGridColumns::IndexOf(const TDataGridColumn* column) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == column) return static_cast<int>(i);
    return -1;
}

void TDataGridColumns::Move(int from, int to) {
    const int n = Count();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to) return;
    auto item = std::move(items_[static_cast<std::size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
    Changed();
}

std::vector<TDataGridColumn*> TDataGridColumns::SortList() const {
    std::vector<TDataGridColumn*> list;
    for (const auto& c : items_)
        if (c->Title().SortIndex > 0 && c->Title().SortMarker() != TSortMarker::smNone)
            list.push_back(c.get());
    std::stable_sort(list.begin(), list.end(),
                     [](const TDataGridColumn* a, const TDataGridColumn* b) {
                         return a->Title().SortIndex < b->Title().SortIndex;
                     });
    return list;
}

void TDataGridColumns::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0 && pending_) {
        pending_ = false;
        grid_.LayoutChanged();
    }
}

void TDataGridColumns::Changed() {
    if (updateCount_ > 0) {
        pending_ = true;
        return;
    }
    grid_.LayoutChanged();
}

} // namespace grid
