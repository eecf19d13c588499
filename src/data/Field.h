// Fields and field definitions. A field is a view onto one column of its
// dataset's current record (or of the record being inserted or edited); the
// values themselves live in the dataset. Every field of this program is a
// wide-string field whose size is its maximum length in UTF-16 code units.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace data {

class TDataSet;
class TRecordView;

// One column value of a record; nullopt is null (never written or cleared).
using TFieldValue = std::optional<std::wstring>;
using TRecordValues = std::vector<TFieldValue>;

enum class TFieldType { ftWideString };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TFieldDef {
public:
    TFieldDef(std::wstring name, TFieldType dataType, int size);

    const std::wstring& Name() const { return name_; }
    TFieldType DataType() const { return dataType_; }
    int Size() const { return size_; }

private:
    std::wstring name_;
    TFieldType dataType_ = TFieldType::ftWideString;
    int size_ = 0;
};

// The definitions a client dataset creates its fields from.
class TFieldDefs {
public:
    // A wide-string field of the given size (at least 1); names must be unique
    // without regard to case.
    TFieldDef& Add(const std::wstring& name, int size);
    TFieldDef& Add(const std::wstring& name, TFieldType dataType, int size);

    int Count() const { return static_cast<int>(defs_.size()); }
    const TFieldDef& Items(int index) const { return defs_.at(static_cast<std::size_t>(index)); }
    int IndexOf(const std::wstring& name) const; // -1 when missing
    const TFieldDef* Find(const std::wstring& name) const;
    void Clear() { defs_.clear(); }

private:
    std::vector<TFieldDef> defs_;
};

class TField {
public:
    using TAlignment = data::TAlignment;

    TField(TDataSet& dataSet, std::wstring fieldName, int size, int index);
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;
    virtual ~TField() = default;

    virtual std::wstring ClassName() const { return L"TField"; }
    virtual TFieldType DataType() const = 0;

    TDataSet& DataSet() const { return dataSet_; }
    const std::wstring& FieldName() const { return fieldName_; }
    int Size() const { return size_; }
    int Index() const { return index_; } // position among the dataset's fields

    // Unassigned, the display label reads as the field name.
    std::wstring DisplayLabel() const { return displayLabel_ ? *displayLabel_ : fieldName_; }
    void SetDisplayLabel(std::wstring label);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    // Width in characters a grid gives the field by default; unassigned, its size.
    int DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : size_; }
    void SetDisplayWidth(int width);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // Of the current record, or of the record being inserted or edited; a
    // closed or empty dataset reads as null.
    bool IsNull() const;
    std::wstring AsString() const; // "" when null
    // The same text without a copy, valid until the record changes.
    std::wstring_view ValueView() const;
    // Only while the dataset is in insert or edit state (DataSetError
    // otherwise). A value longer than Size() keeps its first Size() code
    // units, silently.
    void SetAsString(const std::wstring& text);
    void Clear(); // sets null; same state rule as SetAsString
    // The displayed text: a field of this framework shows its value as it
    // is, null as "" (the grid paints the same text).
    std::wstring DisplayText() const { return AsString(); }
    // The displayed text of this field in `record`, a record of its dataset,
    // without a copy: a search reads every cell of a table this way, one
    // record at a time. Defined with TRecordView.
    std::wstring_view DisplayTextOf(const TRecordView& record) const;

private:
    void LayoutChanged();

    TDataSet& dataSet_;
    std::wstring fieldName_;
    int size_ = 0;
    int index_ = 0;
    std::optional<std::wstring> displayLabel_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    int displayWidth_ = 0;
    bool visible_ = true;
};

class TWideStringField : public TField {
public:
    using TField::TField;
    std::wstring ClassName() const override { return L"TWideStringField"; }
    TFieldType DataType() const override { return TFieldType::ftWideString; }
};

} // namespace data
