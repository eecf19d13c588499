#include "data/StoredRow.h"

#include "data/DataSetError.h"

#include <cstring>
#include <new>

namespace data {

static_assert(alignof(TStoredRow) >= alignof(std::uint32_t) &&
                  sizeof(TStoredRow) % alignof(std::uint32_t) == 0,
              "the slots must be aligned right after the header");
static_assert(sizeof(std::uint32_t) * 2 % alignof(wchar_t) == 0,
              "the texts must be aligned right after the slots");

void TStoredRow::TDeleter::operator()(TStoredRow* row) const noexcept {
    row->~TStoredRow();
    ::operator delete(static_cast<void*>(row));
}

TStoredRow::TPtr TStoredRow::Create(TBookmark id, std::uint64_t seq, const TRecordValues& values) {
    // Sizes are checked here, once: past this point every place fits 32 bits.
    std::size_t units = 0;
    for (const TFieldValue& v : values)
        if (v) units += v->size();
    constexpr std::size_t kMaxBytes = 0xFFFFFFFF;
    constexpr std::size_t kMaxSlots = (kMaxBytes - sizeof(TStoredRow)) / sizeof(TSlot);
    if (values.size() > kMaxSlots ||
        units > (kMaxBytes - sizeof(TStoredRow) - values.size() * sizeof(TSlot)) / sizeof(wchar_t))
        throw DataSetError(L"Record too large to store");
    const std::size_t bytes =
        sizeof(TStoredRow) + values.size() * sizeof(TSlot) + units * sizeof(wchar_t);

    void* block = ::operator new(bytes);
    auto* row = new (block) TStoredRow(id, seq, static_cast<std::uint32_t>(values.size()),
                                       static_cast<std::uint32_t>(bytes));
    auto* slot = reinterpret_cast<TSlot*>(row + 1);
    auto* text = reinterpret_cast<wchar_t*>(slot + values.size());
    std::uint32_t offset = 0;
    for (const TFieldValue& v : values) {
        if (!v) {
            new (slot++) TSlot{0, kNull};
            continue;
        }
        new (slot++) TSlot{offset, static_cast<std::uint32_t>(v->size())};
        if (!v->empty()) std::memcpy(text + offset, v->data(), v->size() * sizeof(wchar_t));
        offset += static_cast<std::uint32_t>(v->size());
    }
    return TPtr(row);
}

TRecordValues TStoredRow::Values() const {
    TRecordValues values(count_);
    for (std::uint32_t i = 0; i < count_; ++i)
        if (!IsNull(static_cast<int>(i))) values[i].emplace(Text(static_cast<int>(i)));
    return values;
}

} // namespace data
