// TRecordView: one record's values as a dataset shows them, read without
// copies: the pending record's buffer while it is being inserted or edited,
// else a posted row where the dataset keeps it. Valid until that record
// changes. A default view is no record: every value reads as null.
#pragma once

#include "data/Field.h"
#include "data/StoredRow.h"

#include <cstddef>
#include <string_view>

namespace data {

class TRecordView {
public:
    TRecordView() = default;
    explicit TRecordView(const TRecordValues& buffer) : buffer_(&buffer) {}
    explicit TRecordView(const TStoredRow& row) : row_(&row) {}

    bool IsNull(int field) const {
        if (row_) return row_->IsNull(field);
        return !buffer_ || !(*buffer_)[static_cast<std::size_t>(field)].has_value();
    }
    // "" for null as well.
    std::wstring_view Text(int field) const {
        if (row_) return row_->Text(field);
        if (!buffer_) return {};
        const TFieldValue& v = (*buffer_)[static_cast<std::size_t>(field)];
        return v ? std::wstring_view(*v) : std::wstring_view();
    }
    TRecordValues Values() const {
        if (row_) return row_->Values();
        return buffer_ ? *buffer_ : TRecordValues();
    }

private:
    const TRecordValues* buffer_ = nullptr;
    const TStoredRow* row_ = nullptr;
};

inline std::wstring_view TField::DisplayTextOf(const TRecordView& record) const {
    return record.Text(Index());
}

} // namespace data
