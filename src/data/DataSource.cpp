#include "data/DataSource.h"

#include <algorithm>

namespace data {

namespace {
template <typename T> bool Contains(const std::vector<T*>& v, T* p) {
    return std::find(v.begin(), v.end(), p) != v.end();
}
} // namespace

// --- TDataSource ---

TDataSource::~TDataSource() {
    SetDataSet(nullptr);
    const auto links = links_;
    links_.clear();
    for (TDataLink* l : links) {
        l->source_ = nullptr;
        l->UpdateActive();
    }
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet == dataSet_) return;
    if (dataSet_ != nullptr) {
        auto& s = dataSet_->sources_;
        s.erase(std::remove(s.begin(), s.end(), this), s.end());
    }
    dataSet_ = dataSet;
    if (dataSet_ != nullptr) dataSet_->sources_.push_back(this);
    ActiveChanged();
}

void TDataSource::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    ActiveChanged();
}

TDataSetState TDataSource::State() const {
    return enabled_ && dataSet_ != nullptr ? dataSet_->State() : TDataSetState::dsInactive;
}

void TDataSource::DataEvent(TDataEvent event, TField* field) {
    if (!enabled_) return;
    const auto links = links_;
    for (TDataLink* l : links) {
        if (Contains(links_, l)) l->DataEvent(event, field);
    }
    switch (event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
    case TDataEvent::deDataSetChange:
    case TDataEvent::deDataSetScroll:
    case TDataEvent::deLayoutChange:
        if (OnDataChange) OnDataChange();
        break;
    case TDataEvent::deUpdateState:
        if (OnStateChange) OnStateChange();
        break;
    default:
        break;
    }
}

void TDataSource::ActiveChanged() {
    const auto links = links_;
    for (TDataLink* l : links) {
        if (Contains(links_, l)) l->UpdateActive();
    }
    if (OnStateChange) OnStateChange();
}

void TDataSource::DataSetDestroyed() {
    dataSet_ = nullptr;
    ActiveChanged();
}

// --- TDataLink ---

TDataLink::~TDataLink() {
    // No virtual calls from here: the control is already gone.
    if (source_ != nullptr) {
        auto& l = source_->links_;
        l.erase(std::remove(l.begin(), l.end(), this), l.end());
    }
}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source == source_) return;
    if (source_ != nullptr) {
        auto& l = source_->links_;
        l.erase(std::remove(l.begin(), l.end(), this), l.end());
    }
    source_ = source;
    if (source_ != nullptr) source_->links_.push_back(this);
    UpdateActive();
}

bool TDataLink::Editing() const {
    if (!active_) return false;
    const TDataSetState s = DataSet()->State();
    return s == TDataSetState::dsEdit || s == TDataSetState::dsInsert;
}

void TDataLink::SetBufferCount(int count) {
    bufferCount_ = std::max(count, 1);
    SyncWindow(false);
}

void TDataLink::CheckRow(int row) const {
    if (row < 0 || row >= count_) throw DataSetError(L"Record or field out of range");
}

std::wstring TDataLink::FieldText(int row, int fieldIndex) const {
    CheckRow(row);
    return DataSet()->FieldTextAt(first_ + row + 1, fieldIndex);
}

TDataLink::TBookmark TDataLink::BookmarkAt(int row) const {
    CheckRow(row);
    return DataSet()->BookmarkAt(first_ + row + 1);
}

void TDataLink::UpdateActive() {
    const TDataSet* ds = DataSet();
    const bool active = ds != nullptr && source_->Enabled() && ds->Active();
    const bool changed = active != active_;
    active_ = active;
    // A newly shown dataset starts with its current record in the top row.
    activeRecord_ = 0;
    first_ = 0;
    SyncWindow(true);
    if (changed) {
        ActiveChanged();
    } else if (active) {
        DataSetChanged(); // another dataset, or the source switched
    }
}

int TDataLink::SyncWindow(bool keepRow) {
    const int old = first_;
    const TDataSet* ds = active_ ? DataSet() : nullptr;
    const int n = ds != nullptr ? ds->ViewCount() : 0;
    const int cur = ds != nullptr ? ds->CurrentPos() : -1;
    if (n == 0 || cur < 0) {
        first_ = 0;
        count_ = 0;
        activeRecord_ = 0;
        return first_ - old;
    }
    int first = keepRow ? cur - activeRecord_ : first_;
    if (cur < first) first = cur;
    if (cur > first + bufferCount_ - 1) first = cur - bufferCount_ + 1;
    first = std::max(0, std::min(first, n - bufferCount_));
    first_ = first;
    count_ = std::min(bufferCount_, n - first);
    activeRecord_ = cur - first;
    return first_ - old;
}

void TDataLink::DataEvent(TDataEvent event, TField* field) {
    if (!active_) return;
    switch (event) {
    case TDataEvent::deFieldChange:
        RecordChanged(field);
        break;
    case TDataEvent::deRecordChange:
        RecordChanged(nullptr);
        break;
    case TDataEvent::deDataSetChange:
        SyncWindow(true);
        DataSetChanged();
        break;
    case TDataEvent::deLayoutChange:
        SyncWindow(true);
        LayoutChanged();
        break;
    case TDataEvent::deDataSetScroll:
        DataSetScrolled(SyncWindow(false));
        break;
    case TDataEvent::deUpdateState:
        EditingChanged();
        break;
    case TDataEvent::deUpdateRecord:
        UpdateData();
        break;
    case TDataEvent::deCheckBrowseMode:
        CheckBrowseMode();
        break;
    }
}

} // namespace data
