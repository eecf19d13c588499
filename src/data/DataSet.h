// TDataSet: the base of every dataset. It keeps the state (inactive, browse,
// edit, insert), the cursor with its beginning/end flags, the pending record
// of an insert or edit, the fields, the events and the data sources to
// notify. The rows themselves and their order belong to a descendant, which
// provides them through the protected Internal* operations.
//
// Positions. The records form a sequence in the order in force; positions are
// 0-based inside the class and record numbers 1-based outside it. While a new
// record is pending (insert state) it stands in that sequence at the place
// where it was started, so RecNo and FieldTextAt count it; RecordCount counts
// only posted records. Bookmarks name posted records and stay valid however
// the records are reordered, until the record is deleted.
#pragma once

#include "data/DataSetError.h"
#include "data/Field.h"
#include "data/RecordView.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace data {

class TDataSource;
class TDataLink;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// What the data sources and their links are told.
enum class TDataEvent {
    deFieldChange,    // a field of the current record was written
    deRecordChange,   // the current record's contents changed as a whole
    deDataSetChange,  // contents or order changed: repaint everything
    deDataSetScroll,  // only the cursor moved
    deLayoutChange,   // field properties (label, alignment, width) changed
    deUpdateRecord,   // about to post: links write their pending edits
    deUpdateState,    // the state changed
    deCheckBrowseMode // about to leave the record: links finish their edits
};

class TDataSet {
public:
    using TBookmark = std::uint64_t; // 0 is no record
    using TDataSetNotifyEvent = std::function<void(TDataSet&)>;

    TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;
    virtual ~TDataSet();

    std::wstring Name; // component name, e.g. L"ClientDataSet1"

    virtual std::wstring ClassName() const { return L"TDataSet"; }
    // The class and its ancestors, nearest first.
    virtual std::vector<std::wstring> ClassChain() const;
    bool InheritsFrom(const std::wstring& className) const;

    // --- Opening and state ---
    void Open();  // no-op when open; restores the contents kept at Close
    void Close(); // discards a pending insert or edit; keeps the contents
    bool Active() const { return state_ != TDataSetState::dsInactive; }
    void SetActive(bool active) { active ? Open() : Close(); }
    TDataSetState State() const { return state_; }
    bool Modified() const { return modified_; }

    // --- Records and cursor ---
    bool IsEmpty() const;    // no posted record and none pending
    int RecordCount() const; // posted records; 0 when closed
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    int MoveBy(int distance); // returns the distance actually moved
    bool Eof() const { return !Active() || eof_; }
    bool Bof() const { return !Active() || bof_; }
    int RecNo() const;        // 1-based; 0 when there is no current record
    void SetRecNo(int recNo); // clamped to the records there are

    // --- Changing records ---
    void Append(); // new record after the last one, current, insert state
    void Insert(); // new record before the current one, current, insert state
    void Edit();   // nothing when already in edit or insert state
    void Post();   // commits; DataSetError unless in edit or insert state
    void Cancel(); // discards; nothing in browse state
    void Delete(); // the current record; in insert state the same as Cancel
    // Posts a pending insert or edit that has changes, cancels one without.
    void CheckBrowseMode();

    // --- Fields ---
    TFieldDefs& FieldDefs() { return fieldDefs_; }
    const TFieldDefs& FieldDefs() const { return fieldDefs_; }
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField* Fields(int index) const { return fields_.at(static_cast<std::size_t>(index)).get(); }
    TField* FindField(const std::wstring& name) const;   // case-insensitive; nullptr when missing
    TField* FieldByName(const std::wstring& name) const; // DataSetError "Field 'x' not found"

    // Field text of any record, by 1-based record number, without moving the
    // cursor (the grid paints its window this way). DataSetError when out of range.
    std::wstring FieldTextAt(int recNo, int fieldIndex) const;
    TBookmark BookmarkAt(int recNo) const; // 0 for the pending new record
    // The current record's values without copies (the pending record's
    // while inserting or editing), valid until the record changes or the
    // cursor moves; with no current record every value reads as null. A
    // walk over many rows reads each row through this once.
    TRecordView CurrentRecord() const;

    // --- Bookmarks ---
    TBookmark GetBookmark() const;         // 0 when no posted record is current
    void GotoBookmark(TBookmark bookmark); // DataSetError "Record not found"
    bool BookmarkValid(TBookmark bookmark) const;

    // --- Notification of the controls ---
    // Nested. While disabled, links hear only of opening and closing; the
    // last EnableControls sends a state change (if the state differs) and
    // one deDataSetChange.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    // This dataset family has no filtering; the aggregates compare these.
    bool Filtered() const { return false; }
    std::wstring Filter() const { return {}; }

    // Events, called only when assigned. A Before* handler that throws stops
    // the operation.
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;

    // Sends an event to every attached data source, unless controls are
    // disabled. Inline, since a walk with controls disabled asks twice a row.
    void DataEvent(TDataEvent event, TField* field = nullptr) {
        if (disableCount_ == 0 && !sources_.empty()) NotifySources(event, field);
    }

protected:
    // Storage, in terms of positions of posted records in the current order.
    virtual void InternalOpen() = 0; // may throw; the dataset then stays closed
    virtual void InternalClose() = 0;
    virtual int InternalRecordCount() const = 0;
    virtual TRecordView InternalRecord(int pos) const = 0;
    virtual TBookmark InternalBookmark(int pos) const = 0;
    virtual int InternalLocate(TBookmark bookmark) const = 0; // -1 when gone
    // `before` is the record an Insert started at, 0 for Append. Both return
    // the record's position once placed.
    virtual int InternalPostInsert(const TRecordValues& values, TBookmark before) = 0;
    virtual int InternalPostEdit(int pos, const TRecordValues& values) = 0;
    virtual void InternalDelete(int pos) = 0;
    virtual void InternalEmpty() = 0;

    void CheckActive() const; // DataSetError on a closed dataset
    // Builds the fields from FieldDefs (the dataset must be closed).
    void CreateFields();
    // A descendant reordered or removed records: the cursor goes to pos (or
    // to the first record when pos < 0) and the links repaint.
    void ContentsChanged(int pos);

private:
    friend class TField;
    friend class TDataSource;
    friend class TDataLink;

    int ViewCount() const;
    TRecordView ViewRecord(int pos) const;
    int CurrentPos() const { return cur_; }
    void SetFieldValue(TField& field, TFieldValue value);
    void StartInsert(int pos, TBookmark before);
    void SetCursor(int pos); // also sets both flags: true when empty, false otherwise
    void DiscardPending();
    void NotifySources(TDataEvent event, TField* field);
    void NotifyActiveChanged();
    void Fire(const TDataSetNotifyEvent& event) {
        if (event) event(*this);
    }

    TFieldDefs fieldDefs_;
    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<TDataSource*> sources_;

    TDataSetState state_ = TDataSetState::dsInactive;
    int cur_ = -1; // position of the current record, -1 when none
    bool bof_ = true;
    bool eof_ = true;
    TRecordValues buffer_; // the record being inserted or edited
    bool modified_ = false;
    int insertPos_ = -1;  // where the pending new record stands
    int insertFrom_ = -1; // the current position before Append/Insert
    TBookmark insertBefore_ = 0;
    int disableCount_ = 0;
    TDataSetState disableState_ = TDataSetState::dsInactive;
};

// Keeps a dataset's controls quiet for a scope and lets them hear of the
// outcome once, when it ends. An error raised by that last notification
// propagates, unless the scope is already being left by an error: that first
// one is the one to report.
class TDisabledControls {
public:
    explicit TDisabledControls(TDataSet& dataSet)
        : dataSet_(dataSet), unwinding_(std::uncaught_exceptions()) {
        dataSet_.DisableControls();
    }
    ~TDisabledControls() noexcept(false) {
        if (std::uncaught_exceptions() == unwinding_) {
            dataSet_.EnableControls();
            return;
        }
        try {
            dataSet_.EnableControls();
        } catch (...) {
        }
    }
    TDisabledControls(const TDisabledControls&) = delete;
    TDisabledControls& operator=(const TDisabledControls&) = delete;

private:
    TDataSet& dataSet_;
    int unwinding_;
};

} // namespace data
