// TStoredRow: a posted row of an in-memory dataset, kept in one block of
// memory: its bookmark, its place in the order of appending, and its values,
// each a place and length into the texts that follow them in the block.
// A walk over the rows in an index's order (a search, a sort) then reaches
// one place per row, not a chain of separate allocations (the row, its value
// list, each text) scattered over the heap.
//
// A row's values never change in place: an edit builds a new block.
#pragma once

#include "data/Field.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace data {

class TStoredRow {
public:
    using TBookmark = std::uint64_t;
    struct TDeleter {
        void operator()(TStoredRow* row) const noexcept;
    };
    using TPtr = std::unique_ptr<TStoredRow, TDeleter>;

    // Throws std::bad_alloc, and DataSetError for a row whose texts would
    // not fit the block's 32-bit places.
    static TPtr Create(TBookmark id, std::uint64_t seq, const TRecordValues& values);

    TBookmark Id() const { return id_; }
    std::uint64_t Seq() const { return seq_; }
    void SetSeq(std::uint64_t seq) { seq_ = seq; }

    bool IsNull(int field) const { return Slots()[field].Length == kNull; }
    // "" for null as well.
    std::wstring_view Text(int field) const {
        const TSlot& s = Slots()[field];
        return s.Length == kNull ? std::wstring_view()
                                 : std::wstring_view(Texts() + s.Offset, s.Length);
    }
    TRecordValues Values() const;
    // The whole block, for reading it ahead.
    std::size_t Bytes() const { return bytes_; }

    TStoredRow(const TStoredRow&) = delete;
    TStoredRow& operator=(const TStoredRow&) = delete;

private:
    struct TSlot {
        std::uint32_t Offset = 0; // in units from the start of the texts
        std::uint32_t Length = 0; // kNull for null
    };
    static constexpr std::uint32_t kNull = 0xFFFFFFFF;

    TStoredRow(TBookmark id, std::uint64_t seq, std::uint32_t count, std::uint32_t bytes)
        : id_(id), seq_(seq), count_(count), bytes_(bytes) {}
    ~TStoredRow() = default;

    // The slots follow the header, the texts follow the slots.
    const TSlot* Slots() const { return reinterpret_cast<const TSlot*>(this + 1); }
    const wchar_t* Texts() const { return reinterpret_cast<const wchar_t*>(Slots() + count_); }

    TBookmark id_;
    std::uint64_t seq_;
    std::uint32_t count_;
    std::uint32_t bytes_;
};

} // namespace data
