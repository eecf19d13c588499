// TDataSource connects a dataset to the controls that show it; TDataLink is
// a control's end of that connection. A link keeps a window of records for
// its control (a grid's visible rows): the window holds up to BufferCount()
// records and always contains the current record. A cursor move inside the
// window leaves it in place; a move beyond it scrolls it just far enough, and
// DataSetScrolled reports how far its first record moved. When the contents
// or order change, the window is placed so that the current record keeps its
// row if it can. The window is kept full where the table allows it.
#pragma once

#include "data/DataSet.h"

#include <functional>
#include <string>
#include <vector>

namespace data {

class TDataLink;

class TDataSource {
public:
    TDataSource() = default;
    explicit TDataSource(TDataSet* dataSet) { SetDataSet(dataSet); }
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;
    ~TDataSource();

    std::wstring Name; // component name, e.g. L"DataSource1"

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    // A disabled source shows its links an inactive dataset.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    TDataSetState State() const; // dsInactive without an enabled, open dataset

    int LinkCount() const { return static_cast<int>(links_.size()); }

    // Called only when assigned: after any change of the data or the cursor,
    // and after any change of state (opening and closing included).
    std::function<void()> OnDataChange;
    std::function<void()> OnStateChange;

private:
    friend class TDataSet;
    friend class TDataLink;

    void DataEvent(TDataEvent event, TField* field);
    void ActiveChanged();
    void DataSetDestroyed();

    TDataSet* dataSet_ = nullptr;
    bool enabled_ = true;
    std::vector<TDataLink*> links_;
};

class TDataLink {
public:
    using TBookmark = TDataSet::TBookmark;

    TDataLink() = default;
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;
    virtual ~TDataLink();

    TDataSource* DataSource() const { return source_; }
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const { return source_ != nullptr ? source_->DataSet() : nullptr; }
    // The source is enabled and its dataset open.
    bool Active() const { return active_; }
    // The dataset is in edit or insert state.
    bool Editing() const;

    // --- The record window ---
    int BufferCount() const { return bufferCount_; }
    void SetBufferCount(int count);                    // at least 1
    int RecordCount() const { return count_; }         // records in the window, <= BufferCount()
    int ActiveRecord() const { return activeRecord_; } // row of the current record, 0-based
    int FirstRecNo() const { return count_ > 0 ? first_ + 1 : 0; } // record number of row 0
    // Field text and bookmark of a record in the window, by 0-based row.
    std::wstring FieldText(int row, int fieldIndex) const;
    TBookmark BookmarkAt(int row) const;

    // --- What the control hears ---
    virtual void ActiveChanged() {}
    virtual void DataSetChanged() {}
    virtual void DataSetScrolled(int distance) { (void)distance; }
    virtual void RecordChanged(TField* field) { (void)field; } // nullptr: the whole record
    virtual void EditingChanged() {}
    virtual void LayoutChanged() {}
    virtual void UpdateData() {}      // about to post: write pending edits into the fields
    virtual void CheckBrowseMode() {} // about to leave the record

private:
    friend class TDataSource;

    void DataEvent(TDataEvent event, TField* field);
    void UpdateActive();
    // Places the window around the current record; returns how far its
    // first record moved.
    int SyncWindow(bool keepRow);
    void CheckRow(int row) const;

    TDataSource* source_ = nullptr;
    bool active_ = false;
    int bufferCount_ = 1;
    int first_ = 0; // position of the window's first record
    int count_ = 0;
    int activeRecord_ = 0;
};

} // namespace data
