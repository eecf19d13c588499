// Aggregates over a dataset for the grid's footer: a list of items (count,
// sum, average) kept up to date from the dataset's own notifications. The
// list chains itself into the dataset's After*/BeforeDelete handlers, calls
// whatever was installed there before, and puts those back when it lets go.
// Platform-free.
#pragma once

#include "data/DataSet.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace grid {

enum class TGroupOperation { goSum, goAvg, goCount };

class TSumItem {
public:
    TSumItem(TGroupOperation op, std::wstring fieldName)
        : GroupOperation(op), FieldName(std::move(fieldName)) {}

    TGroupOperation GroupOperation;
    std::wstring FieldName;  // empty: all rows
    double SumValue = 0;     // the current aggregate
    double Contribution = 0; // what the pending row counted before its change

    bool CountsAllRows() const {
        return GroupOperation == TGroupOperation::goCount && FieldName.empty();
    }
};

class TSumCollection {
public:
    TSumCollection() = default;
    TSumCollection(const TSumCollection&) = delete;
    TSumCollection& operator=(const TSumCollection&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    TSumItem& Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
    TSumItem& Add(TGroupOperation op, const std::wstring& fieldName);
    void Remove(const TSumItem* item);
    void Clear();
    // By operation and field name (names compare without regard to case).
    TSumItem* Find(TGroupOperation op, const std::wstring& fieldName) const;

    // After an item was added or removed.
    std::function<void()> OnChanged;

private:
    std::vector<std::unique_ptr<TSumItem>> items_;
};

class TSumListProducer {
public:
    TSumListProducer();
    TSumListProducer(const TSumListProducer&) = delete;
    TSumListProducer& operator=(const TSumListProducer&) = delete;
    virtual ~TSumListProducer();

    TSumCollection& SumCollection() { return items_; }
    const TSumCollection& SumCollection() const { return items_; }

    bool Active() const { return active_; }
    void SetActive(bool active);
    data::TDataSet* DataSet() const { return dataSet_; }
    // Unhooks the previous dataset (restoring its handlers), hooks the new
    // one and recounts while active.
    void SetDataSet(data::TDataSet* dataSet);
    // The dataset is going away: forget it without touching it further.
    void DataSetGone();

    void RecalcAll();

    // After every change of the values.
    std::function<void()> OnChanged;

private:
    struct Saved {
        data::TDataSet::TDataSetNotifyEvent afterOpen, afterInsert, afterEdit, afterPost,
            beforeDelete, afterClose, afterCancel, afterScroll;
    };
    void Hook();
    void Unhook();
    void Clear();
    void Changed();
    void DoAfterOpen();
    void DoAfterInsert();
    void DoAfterEdit();
    void DoAfterPost();
    void DoBeforeDelete();
    void DoAfterClose();
    void DoAfterScroll();

    TSumCollection items_;
    data::TDataSet* dataSet_ = nullptr;
    bool active_ = false;
    bool hooked_ = false;
    Saved saved_;
    bool lastFiltered_ = false;
    std::wstring lastFilter_;
};

class TDataGridSumList : public TSumListProducer {};

// A footer number in the general format: whole numbers without fraction or
// separators ("0", "3", "12"), others with up to 15 significant digits.
std::wstring FormatSumValue(double value);

} // namespace grid
