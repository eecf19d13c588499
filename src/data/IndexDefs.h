// Index definitions of a client dataset: the persistent description of each
// index (name, key fields, descending and case-insensitive fields). The
// dataset re-creates its indexes from these when it opens.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace data {

enum class TIndexOption : unsigned {
    ixDescending = 1,     // every key field descending
    ixCaseInsensitive = 2 // every key field compared without regard to case
};

class TIndexOptions {
public:
    constexpr TIndexOptions() = default;
    TIndexOptions(std::initializer_list<TIndexOption> options) {
        for (TIndexOption o : options)
            Include(o);
    }
    bool Contains(TIndexOption o) const { return (bits_ & static_cast<unsigned>(o)) != 0; }
    TIndexOptions& Include(TIndexOption o) {
        bits_ |= static_cast<unsigned>(o);
        return *this;
    }
    TIndexOptions& Exclude(TIndexOption o) {
        bits_ &= ~static_cast<unsigned>(o);
        return *this;
    }
    bool Empty() const { return bits_ == 0; }
    friend bool operator==(TIndexOptions a, TIndexOptions b) { return a.bits_ == b.bits_; }

private:
    unsigned bits_ = 0;
};

struct TIndexDef {
    std::wstring Name;
    std::wstring Fields;        // key field names separated by ';', major key first
    std::wstring DescFields;    // those of them sorted descending
    std::wstring CaseInsFields; // those of them compared without regard to case
    TIndexOptions Options;
    int GroupingLevel = 0; // kept with the definition; no grouping is computed
};

class TIndexDefs {
public:
    TIndexDefs() = default;
    // updater refreshes the list from the owner's indexes (see Update).
    explicit TIndexDefs(std::function<void(TIndexDefs&)> updater) : updater_(std::move(updater)) {}

    // Names are unique without regard to case (DataSetError otherwise).
    TIndexDef& Add(const std::wstring& name, const std::wstring& fields,
                   TIndexOptions options = {});
    TIndexDef& Add(const TIndexDef& def);
    int Count() const { return static_cast<int>(defs_.size()); }
    const TIndexDef& Items(int index) const { return defs_.at(static_cast<std::size_t>(index)); }
    TIndexDef& Items(int index) { return defs_.at(static_cast<std::size_t>(index)); }
    int IndexOf(const std::wstring& name) const;           // -1 when missing
    const TIndexDef* Find(const std::wstring& name) const; // nullptr when missing
    void Delete(int index);
    void Clear() { defs_.clear(); }

    // Replaces the list with the indexes the open dataset holds; nothing
    // while it is closed.
    void Update();

private:
    std::function<void(TIndexDefs&)> updater_;
    std::vector<TIndexDef> defs_;
};

// Splits "a;b; c" into its non-empty, trimmed names.
std::vector<std::wstring> SplitFieldNames(const std::wstring& names);

} // namespace data
