// Dataset features: the sorting (and filtering) code that suits a dataset
// class, found through a registry shared by the whole program, and the grid
// data service that applies a grid's sort markers through it.
#pragma once

#include "grid/SortMarking.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace data {
class TDataSet;
}

namespace grid {

// What a grid tells the sorting code: whether to sort in memory and the
// marked columns in sort order.
class TSortRequester {
public:
    virtual ~TSortRequester() = default;
    virtual bool SortLocalRequested() const = 0;
    virtual std::vector<TSortKey> SortKeys() const = 0;
};

class TDatasetFeatures {
public:
    virtual ~TDatasetFeatures() = default;
    // `requester` is null when the caller is not a grid.
    virtual void ApplySorting(const TSortRequester* requester, data::TDataSet& dataSet,
                              bool isReallySort);
    virtual void ApplyFilter(const TSortRequester* requester, data::TDataSet& dataSet,
                             bool isReallyFilter);
};

// Sorts a client dataset through an index named "GridSortIndex" over the
// marked fields. The index is also stored in IndexDefs, so it outlasts a
// Close and Open of the table.
class TClientDatasetFeatures : public TDatasetFeatures {
public:
    void ApplySorting(const TSortRequester* requester, data::TDataSet& dataSet,
                      bool isReallySort) override;
};

inline constexpr const wchar_t* kGridSortIndexName = L"GridSortIndex";

class TDatasetFeaturesRegistry {
public:
    // Replaces the handler stored for the same class name (case ignored).
    void Register(const std::wstring& className, std::unique_ptr<TDatasetFeatures> features);
    // The handler of the nearest class in the dataset's ancestry; among equal
    // distances the one registered first; nullptr when none.
    TDatasetFeatures* Find(const data::TDataSet& dataSet) const;
    int Count() const { return static_cast<int>(entries_.size()); }

private:
    struct Entry {
        std::wstring ClassName;
        std::unique_ptr<TDatasetFeatures> Features;
    };
    std::vector<Entry> entries_;
};

// The program's registry, with TClientDatasetFeatures registered for
// TCustomClientDataSet on first use.
TDatasetFeaturesRegistry& DatasetFeatures();

class TDataGridService {
public:
    using TSortHook = std::function<void(const TSortRequester&, data::TDataSet*)>;
    TSortHook SortHook; // replaces the registry lookup when set

    void ApplySorting(const TSortRequester& grid, data::TDataSet* dataSet) const;
};

TDataGridService& DataGridService();

} // namespace grid
