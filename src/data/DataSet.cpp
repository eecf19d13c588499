#include "data/DataSet.h"

#include "data/DataSource.h"
#include "data/TextUtil.h"

#include <algorithm>

namespace data {

namespace {
bool EditMode(TDataSetState s) {
    return s == TDataSetState::dsEdit || s == TDataSetState::dsInsert;
}
} // namespace

TDataSet::TDataSet() = default;

TDataSet::~TDataSet() {
    // The descendant's storage is gone already; only tell the sources.
    state_ = TDataSetState::dsInactive;
    const auto sources = sources_;
    sources_.clear();
    for (TDataSource* s : sources)
        s->DataSetDestroyed();
}

std::vector<std::wstring> TDataSet::ClassChain() const {
    return {L"TDataSet", L"TComponent", L"TPersistent", L"TObject"};
}

bool TDataSet::InheritsFrom(const std::wstring& className) const {
    const auto chain = ClassChain();
    return std::any_of(chain.begin(), chain.end(),
                       [&](const std::wstring& c) { return SameText(c, className); });
}

// --- Opening and state ---

void TDataSet::Open() {
    if (Active()) return;
    if (fields_.empty()) throw DataSetError(L"Cannot open a dataset that has no fields");
    Fire(BeforeOpen);
    InternalOpen();
    state_ = TDataSetState::dsBrowse;
    modified_ = false;
    SetCursor(InternalRecordCount() > 0 ? 0 : -1);
    bof_ = true;
    NotifyActiveChanged();
    Fire(AfterOpen);
    Fire(AfterScroll);
}

void TDataSet::Close() {
    if (!Active()) return;
    Fire(BeforeClose);
    DiscardPending();
    InternalClose();
    state_ = TDataSetState::dsInactive;
    cur_ = -1;
    bof_ = eof_ = true;
    NotifyActiveChanged();
    Fire(AfterClose);
}

void TDataSet::CheckActive() const {
    if (!Active()) throw DataSetError(L"Cannot perform this operation on a closed dataset");
}

// --- Records and cursor ---

bool TDataSet::IsEmpty() const {
    return ViewCount() == 0;
}

int TDataSet::RecordCount() const {
    return Active() ? InternalRecordCount() : 0;
}

int TDataSet::RecNo() const {
    return Active() && cur_ >= 0 ? cur_ + 1 : 0;
}

void TDataSet::First() {
    CheckBrowseMode();
    Fire(BeforeScroll);
    const int old = cur_;
    SetCursor(InternalRecordCount() > 0 ? 0 : -1);
    bof_ = true;
    if (cur_ != old) DataEvent(TDataEvent::deDataSetScroll);
    Fire(AfterScroll);
}

void TDataSet::Last() {
    CheckBrowseMode();
    Fire(BeforeScroll);
    const int old = cur_;
    SetCursor(InternalRecordCount() - 1);
    eof_ = true;
    if (cur_ != old) DataEvent(TDataEvent::deDataSetScroll);
    Fire(AfterScroll);
}

int TDataSet::MoveBy(int distance) {
    CheckBrowseMode();
    if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
    Fire(BeforeScroll);
    const long long last = InternalRecordCount() - 1;
    const long long target =
        std::clamp<long long>(static_cast<long long>(cur_) + distance, 0, last);
    const int moved = static_cast<int>(target - cur_);
    cur_ = static_cast<int>(target);
    if (distance > 0) {
        bof_ = false;
        eof_ = moved < distance;
    } else {
        eof_ = false;
        bof_ = moved > distance;
    }
    if (moved != 0) DataEvent(TDataEvent::deDataSetScroll);
    Fire(AfterScroll);
    return moved;
}

void TDataSet::SetRecNo(int recNo) {
    CheckBrowseMode();
    const int count = InternalRecordCount();
    if (count == 0) return;
    const int pos = std::clamp(recNo, 1, count) - 1;
    if (pos == cur_) return;
    Fire(BeforeScroll);
    SetCursor(pos);
    DataEvent(TDataEvent::deDataSetScroll);
    Fire(AfterScroll);
}

// --- Changing records ---

void TDataSet::Append() {
    CheckActive();
    CheckBrowseMode();
    StartInsert(InternalRecordCount(), 0);
}

void TDataSet::Insert() {
    CheckActive();
    CheckBrowseMode();
    if (cur_ < 0) {
        StartInsert(0, 0);
    } else {
        StartInsert(cur_, InternalBookmark(cur_));
    }
}

void TDataSet::StartInsert(int pos, TBookmark before) {
    Fire(BeforeInsert);
    Fire(BeforeScroll);
    insertFrom_ = cur_;
    insertPos_ = pos;
    insertBefore_ = before;
    buffer_.assign(fields_.size(), std::nullopt);
    modified_ = false;
    state_ = TDataSetState::dsInsert;
    cur_ = pos;
    bof_ = eof_ = false;
    DataEvent(TDataEvent::deUpdateState);
    DataEvent(TDataEvent::deDataSetChange);
    Fire(AfterInsert);
    Fire(AfterScroll);
}

void TDataSet::Edit() {
    if (EditMode(state_)) return;
    CheckActive();
    if (cur_ < 0) throw DataSetError(L"Cannot edit: the dataset is empty");
    Fire(BeforeEdit);
    buffer_ = InternalRecord(cur_).Values();
    modified_ = false;
    state_ = TDataSetState::dsEdit;
    DataEvent(TDataEvent::deUpdateState);
    DataEvent(TDataEvent::deRecordChange);
    Fire(AfterEdit);
}

void TDataSet::Post() {
    CheckActive();
    if (!EditMode(state_)) throw DataSetError(L"Dataset not in edit or insert mode");
    DataEvent(TDataEvent::deUpdateRecord);
    Fire(BeforePost);
    const bool inserting = state_ == TDataSetState::dsInsert;
    const int pos =
        inserting ? InternalPostInsert(buffer_, insertBefore_) : InternalPostEdit(cur_, buffer_);
    // An edited record that keeps its place changes only itself; anything
    // else (a new row, a row moved by the index in force) changes the order.
    const bool inPlace = !inserting && pos == cur_;
    buffer_.clear();
    modified_ = false;
    insertPos_ = -1;
    state_ = TDataSetState::dsBrowse;
    SetCursor(pos);
    DataEvent(TDataEvent::deUpdateState);
    DataEvent(inPlace ? TDataEvent::deRecordChange : TDataEvent::deDataSetChange);
    Fire(AfterPost);
}

void TDataSet::Cancel() {
    if (!EditMode(state_)) return;
    Fire(BeforeCancel);
    const bool wasInsert = state_ == TDataSetState::dsInsert;
    DiscardPending();
    // Nothing was posted meanwhile, so the earlier position is still valid.
    SetCursor(wasInsert ? std::min(insertFrom_, InternalRecordCount() - 1) : cur_);
    DataEvent(TDataEvent::deUpdateState);
    DataEvent(TDataEvent::deDataSetChange);
    Fire(AfterCancel);
}

void TDataSet::Delete() {
    CheckActive();
    if (state_ == TDataSetState::dsInsert) {
        Cancel();
        return;
    }
    if (InternalRecordCount() == 0) {
        throw DataSetError(L"Cannot perform this operation on an empty dataset");
    }
    DataEvent(TDataEvent::deCheckBrowseMode);
    Fire(BeforeDelete);
    Fire(BeforeScroll);
    const bool wasEditing = state_ == TDataSetState::dsEdit;
    InternalDelete(cur_);
    DiscardPending();
    SetCursor(std::min(cur_, InternalRecordCount() - 1));
    if (wasEditing) DataEvent(TDataEvent::deUpdateState);
    DataEvent(TDataEvent::deDataSetChange);
    Fire(AfterDelete);
    Fire(AfterScroll);
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    DataEvent(TDataEvent::deCheckBrowseMode);
    if (EditMode(state_)) {
        DataEvent(TDataEvent::deUpdateRecord);
        if (modified_) {
            Post();
        } else {
            Cancel();
        }
    }
}

void TDataSet::DiscardPending() {
    if (EditMode(state_)) state_ = TDataSetState::dsBrowse;
    buffer_.clear();
    modified_ = false;
    insertPos_ = -1;
    insertBefore_ = 0;
}

void TDataSet::SetCursor(int pos) {
    cur_ = pos;
    if (pos < 0) {
        cur_ = -1;
        bof_ = eof_ = true;
    } else {
        bof_ = eof_ = false;
    }
}

void TDataSet::ContentsChanged(int pos) {
    if (pos < 0) pos = InternalRecordCount() > 0 ? 0 : -1;
    SetCursor(pos);
    DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::SetFieldValue(TField& field, TFieldValue value) {
    if (!EditMode(state_)) throw DataSetError(L"Dataset not in edit or insert mode");
    buffer_[static_cast<std::size_t>(field.Index())] = std::move(value);
    modified_ = true;
    DataEvent(TDataEvent::deFieldChange, &field);
}

// --- Positions including the pending record ---

int TDataSet::ViewCount() const {
    if (!Active()) return 0;
    return InternalRecordCount() + (state_ == TDataSetState::dsInsert ? 1 : 0);
}

TRecordView TDataSet::ViewRecord(int pos) const {
    if (state_ == TDataSetState::dsInsert) {
        if (pos == insertPos_) return TRecordView(buffer_);
        if (pos > insertPos_) --pos;
    } else if (state_ == TDataSetState::dsEdit && pos == cur_) {
        return TRecordView(buffer_);
    }
    return InternalRecord(pos);
}

TRecordView TDataSet::CurrentRecord() const {
    if (!Active() || cur_ < 0) return {};
    return ViewRecord(cur_);
}

// --- Fields ---

void TDataSet::CreateFields() {
    fields_.clear();
    for (int i = 0; i < fieldDefs_.Count(); ++i) {
        const TFieldDef& def = fieldDefs_.Items(i);
        fields_.push_back(std::make_unique<TWideStringField>(*this, def.Name(), def.Size(), i));
    }
}

TField* TDataSet::FindField(const std::wstring& name) const {
    for (const auto& f : fields_) {
        if (SameText(f->FieldName(), name)) return f.get();
    }
    return nullptr;
}

TField* TDataSet::FieldByName(const std::wstring& name) const {
    TField* f = FindField(name);
    if (f == nullptr) throw DataSetError(L"Field '" + name + L"' not found");
    return f;
}

std::wstring TDataSet::FieldTextAt(int recNo, int fieldIndex) const {
    if (recNo < 1 || recNo > ViewCount() || fieldIndex < 0 || fieldIndex >= FieldCount()) {
        throw DataSetError(L"Record or field out of range");
    }
    return std::wstring(ViewRecord(recNo - 1).Text(fieldIndex));
}

TDataSet::TBookmark TDataSet::BookmarkAt(int recNo) const {
    if (recNo < 1 || recNo > ViewCount()) throw DataSetError(L"Record or field out of range");
    int pos = recNo - 1;
    if (state_ == TDataSetState::dsInsert) {
        if (pos == insertPos_) return 0;
        if (pos > insertPos_) --pos;
    }
    return InternalBookmark(pos);
}

// --- Bookmarks ---

TDataSet::TBookmark TDataSet::GetBookmark() const {
    if (!Active() || cur_ < 0 || state_ == TDataSetState::dsInsert) return 0;
    return InternalBookmark(cur_);
}

void TDataSet::GotoBookmark(TBookmark bookmark) {
    CheckBrowseMode();
    const int pos = bookmark == 0 ? -1 : InternalLocate(bookmark);
    if (pos < 0) throw DataSetError(L"Record not found");
    Fire(BeforeScroll);
    const int old = cur_;
    SetCursor(pos);
    if (pos != old) DataEvent(TDataEvent::deDataSetScroll);
    Fire(AfterScroll);
}

bool TDataSet::BookmarkValid(TBookmark bookmark) const {
    return Active() && bookmark != 0 && InternalLocate(bookmark) >= 0;
}

// --- Notification ---

void TDataSet::DisableControls() {
    if (disableCount_++ == 0) disableState_ = state_;
}

void TDataSet::EnableControls() {
    if (disableCount_ == 0) return;
    if (--disableCount_ > 0 || !Active()) return;
    if (state_ != disableState_) DataEvent(TDataEvent::deUpdateState);
    DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::NotifySources(TDataEvent event, TField* field) {
    const auto sources = sources_; // a handler may detach a source
    for (TDataSource* s : sources) {
        if (std::find(sources_.begin(), sources_.end(), s) != sources_.end()) {
            s->DataEvent(event, field);
        }
    }
}

void TDataSet::NotifyActiveChanged() {
    const auto sources = sources_;
    for (TDataSource* s : sources) {
        if (std::find(sources_.begin(), sources_.end(), s) != sources_.end()) s->ActiveChanged();
    }
}

} // namespace data
