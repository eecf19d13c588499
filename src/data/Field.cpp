#include "data/Field.h"

#include "data/DataSet.h"
#include "data/DataSetError.h"
#include "data/TextUtil.h"

namespace data {

TFieldDef::TFieldDef(std::wstring name, TFieldType dataType, int size)
    : name_(std::move(name)), dataType_(dataType), size_(size) {}

TFieldDef& TFieldDefs::Add(const std::wstring& name, int size) {
    return Add(name, TFieldType::ftWideString, size);
}

TFieldDef& TFieldDefs::Add(const std::wstring& name, TFieldType dataType, int size) {
    if (name.empty()) throw DataSetError(L"Field name missing");
    if (IndexOf(name) >= 0) throw DataSetError(L"Duplicate field name '" + name + L"'");
    if (size < 1) throw DataSetError(L"Invalid field size for field '" + name + L"'");
    defs_.emplace_back(name, dataType, size);
    return defs_.back();
}

int TFieldDefs::IndexOf(const std::wstring& name) const {
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        if (SameText(defs_[i].Name(), name)) return static_cast<int>(i);
    }
    return -1;
}

const TFieldDef* TFieldDefs::Find(const std::wstring& name) const {
    const int i = IndexOf(name);
    return i < 0 ? nullptr : &defs_[static_cast<std::size_t>(i)];
}

TField::TField(TDataSet& dataSet, std::wstring fieldName, int size, int index)
    : dataSet_(dataSet), fieldName_(std::move(fieldName)), size_(size), index_(index) {}

void TField::SetDisplayLabel(std::wstring label) {
    displayLabel_ = std::move(label);
    LayoutChanged();
}

void TField::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    LayoutChanged();
}

void TField::SetDisplayWidth(int width) {
    displayWidth_ = width;
    LayoutChanged();
}

void TField::SetVisible(bool visible) {
    visible_ = visible;
    LayoutChanged();
}

void TField::LayoutChanged() {
    if (dataSet_.Active()) dataSet_.DataEvent(TDataEvent::deLayoutChange);
}

bool TField::IsNull() const {
    return dataSet_.CurrentRecord().IsNull(index_);
}

std::wstring TField::AsString() const {
    return std::wstring(ValueView());
}

std::wstring_view TField::ValueView() const {
    return dataSet_.CurrentRecord().Text(index_);
}

void TField::SetAsString(const std::wstring& text) {
    dataSet_.SetFieldValue(*this, TruncateToUtf16(text, size_));
}

void TField::Clear() {
    dataSet_.SetFieldValue(*this, std::nullopt);
}

} // namespace data
