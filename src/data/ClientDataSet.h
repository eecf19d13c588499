// TCustomClientDataSet: an in-memory dataset. Rows live in memory only; Close
// keeps them and Open shows them again. The rows stand in the order of
// appending unless an index is in force; then they stand in that index's
// order, and a posted row takes its place by the index at once.
//
// Ordering. Key fields compare their texts ordinally by Unicode code point
// (optionally folding ASCII and Latin-1 case); null sorts before every text,
// and a descending field reverses that as well. Rows with equal keys keep the
// order of appending (Insert places a row just before the one it started at).
//
// Indexes. AddIndex adds an index the open dataset holds; IndexDefs is the
// persistent list of definitions, refreshed from the held indexes by
// IndexDefs().Update(). Closing drops the held indexes; opening re-creates
// them from IndexDefs, so the current index (IndexName) outlasts Close/Open
// when the definitions were refreshed after it was added. A current index
// name found in neither place makes Open fail with "Index '<name>' not found".
//
// Cost: the current order is a vector of row pointers, so reading by record
// number is O(1); locating a bookmark is a binary search; posting costs a
// binary search plus one vector insertion or removal. Each row is one block
// (TStoredRow), so a walk in any order reaches one place per row.
#pragma once

#include "data/DataSet.h"
#include "data/IndexDefs.h"
#include "data/StoredRow.h"

#include <unordered_map>

namespace data {

class TCustomClientDataSet : public TDataSet {
public:
    TCustomClientDataSet();
    ~TCustomClientDataSet() override;

    std::wstring ClassName() const override { return L"TCustomClientDataSet"; }
    std::vector<std::wstring> ClassChain() const override;

    // Creates the fields from FieldDefs and opens the dataset, empty. Rows
    // and fields from before are gone (TField pointers included).
    void CreateDataSet();
    // Deletes every row at once, without per-row events; stays open.
    void EmptyDataSet();

    TIndexDefs& IndexDefs() { return indexDefs_; }
    // Requires an open dataset. Fields, descFields and caseInsFields are
    // field names separated by ';'.
    void AddIndex(const std::wstring& name, const std::wstring& fields, TIndexOptions options = {},
                  const std::wstring& descFields = L"", const std::wstring& caseInsFields = L"",
                  int groupingLevel = 0);
    // Requires an open dataset; deleting the current index returns to the
    // order of appending.
    void DeleteIndex(const std::wstring& name);
    std::wstring IndexName() const { return indexName_; }
    // "" is the order of appending. On an open dataset the cursor stays on
    // its record; on a closed one the name is checked at Open.
    void SetIndexName(const std::wstring& name);
    // Refreshes IndexDefs and lists its names.
    void GetIndexNames(std::vector<std::wstring>& names);

protected:
    void InternalOpen() override;
    void InternalClose() override;
    int InternalRecordCount() const override { return static_cast<int>(Order().size()); }
    TRecordView InternalRecord(int pos) const override;
    TBookmark InternalBookmark(int pos) const override;
    int InternalLocate(TBookmark bookmark) const override;
    int InternalPostInsert(const TRecordValues& values, TBookmark before) override;
    int InternalPostEdit(int pos, const TRecordValues& values) override;
    void InternalDelete(int pos) override;
    void InternalEmpty() override;

private:
    using TRow = TStoredRow; // Seq: the place in the order of appending
    struct TKeyPart {
        int Field = 0;
        bool Descending = false;
        bool CaseInsensitive = false;
    };
    struct THeldIndex {
        TIndexDef Def;
        std::vector<TKeyPart> Parts;
    };

    THeldIndex BuildIndex(const TIndexDef& def) const;
    int FindHeld(const std::wstring& name) const;
    void ApplyIndex(int held); // -1: the order of appending
    void Reorder(int held);    // ApplyIndex keeping the cursor on its record
    std::vector<TRow*> SortedByKeys(const std::vector<TRow*>& rows,
                                    const std::vector<TKeyPart>& keys);
    int Compare(const TRow& a, const TRow& b) const;
    int OrderPos(const TRow& row) const;
    int NaturalPos(std::uint64_t seq) const;
    void Renumber();
    void UpdateIndexDefs(TIndexDefs& defs) const;
    const std::vector<TRow*>& Order() const { return indexed_ ? order_ : natural_; }

    std::unordered_map<TBookmark, TRow::TPtr> rows_; // owns the rows the vectors point to
    std::vector<TRow*> natural_;                     // by Seq
    std::vector<TRow*> order_;                       // by the index in force, while indexed_
    bool indexed_ = false;
    std::vector<TKeyPart> keys_; // of the index in force
    std::vector<THeldIndex> held_;
    std::wstring indexName_;
    TIndexDefs indexDefs_;
    TBookmark nextId_ = 1; // never reused, so an old bookmark never finds a new row
    // Sorting's scratch: the packed keys and where each row's begin. Kept
    // from one sort to the next, since fresh memory for a large table costs
    // as much as the sort.
    std::vector<std::uint32_t> sortKeys_;
    std::vector<std::uint32_t> sortStarts_;
    mutable int lastRead_ = -1; // the row InternalRecord last read ahead of
};

class TClientDataSet : public TCustomClientDataSet {
public:
    std::wstring ClassName() const override { return L"TClientDataSet"; }
    std::vector<std::wstring> ClassChain() const override;
};

} // namespace data
