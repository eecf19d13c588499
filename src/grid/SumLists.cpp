#include "grid/SumLists.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace grid {

namespace {

bool SameName(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               auto up = [](wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - 32) : c; };
               return up(x) == up(y);
           });
}

} // namespace

TSumItem& TSumCollection::Add(TGroupOperation op, const std::wstring& fieldName) {
    items_.push_back(std::make_unique<TSumItem>(op, fieldName));
    TSumItem& item = *items_.back();
    if (OnChanged) OnChanged();
    return item;
}

void TSumCollection::Remove(const TSumItem* item) {
    const auto before = items_.size();
    std::erase_if(items_, [&](const auto& p) { return p.get() == item; });
    if (items_.size() != before && OnChanged) OnChanged();
}

void TSumCollection::Clear() {
    if (items_.empty()) return;
    items_.clear();
    if (OnChanged) OnChanged();
}

TSumItem* TSumCollection::Find(TGroupOperation op, const std::wstring& fieldName) const {
    for (const auto& item : items_)
        if (item->GroupOperation == op && SameName(item->FieldName, fieldName)) return item.get();
    return nullptr;
}

TSumListProducer::TSumListProducer() {
    items_.OnChanged = [this] { RecalcAll(); };
}

TSumListProducer::~TSumListProducer() {
    Unhook();
}

void TSumListProducer::SetActive(bool active) {
    if (active_ == active) return;
    active_ = active;
    if (active_) {
        Hook();
        RecalcAll();
    } else {
        Unhook();
        Clear();
    }
}

void TSumListProducer::SetDataSet(data::TDataSet* dataSet) {
    if (dataSet_ == dataSet) return;
    Unhook();
    dataSet_ = dataSet;
    if (active_) {
        Hook();
        RecalcAll();
    }
    if (!dataSet_) Clear();
}

void TSumListProducer::DataSetGone() {
    hooked_ = false;
    saved_ = {};
    dataSet_ = nullptr;
    Clear();
}

void TSumListProducer::Hook() {
    if (hooked_ || !dataSet_) return;
    data::TDataSet& ds = *dataSet_;
    saved_ = {ds.AfterOpen,    ds.AfterInsert, ds.AfterEdit,   ds.AfterPost,
              ds.BeforeDelete, ds.AfterClose,  ds.AfterCancel, ds.AfterScroll};
    // Each hook calls the handler that was there before, then does its own upkeep.
    auto chain = [](data::TDataSet::TDataSetNotifyEvent prev, std::function<void()> own) {
        return [prev = std::move(prev), own = std::move(own)](data::TDataSet& d) {
            if (prev) prev(d);
            own();
        };
    };
    ds.AfterOpen = chain(saved_.afterOpen, [this] { DoAfterOpen(); });
    ds.AfterInsert = chain(saved_.afterInsert, [this] { DoAfterInsert(); });
    ds.AfterEdit = chain(saved_.afterEdit, [this] { DoAfterEdit(); });
    ds.AfterPost = chain(saved_.afterPost, [this] { DoAfterPost(); });
    ds.BeforeDelete = chain(saved_.beforeDelete, [this] { DoBeforeDelete(); });
    ds.AfterClose = chain(saved_.afterClose, [this] { DoAfterClose(); });
    ds.AfterCancel = chain(saved_.afterCancel, [] {});
    ds.AfterScroll = chain(saved_.afterScroll, [this] { DoAfterScroll(); });
    hooked_ = true;
}

void TSumListProducer::Unhook() {
    if (!hooked_ || !dataSet_) return;
    data::TDataSet& ds = *dataSet_;
    ds.AfterOpen = std::move(saved_.afterOpen);
    ds.AfterInsert = std::move(saved_.afterInsert);
    ds.AfterEdit = std::move(saved_.afterEdit);
    ds.AfterPost = std::move(saved_.afterPost);
    ds.BeforeDelete = std::move(saved_.beforeDelete);
    ds.AfterClose = std::move(saved_.afterClose);
    ds.AfterCancel = std::move(saved_.afterCancel);
    ds.AfterScroll = std::move(saved_.afterScroll);
    saved_ = {};
    hooked_ = false;
}

void TSumListProducer::Clear() {
    for (int i = 0; i < items_.Count(); ++i) {
        items_.Items(i).SumValue = 0;
        items_.Items(i).Contribution = 0;
    }
    Changed();
}

void TSumListProducer::Changed() {
    if (OnChanged) OnChanged();
}

void TSumListProducer::RecalcAll() {
    if (!active_ || !dataSet_ || !dataSet_->Active()) return;
    for (int i = 0; i < items_.Count(); ++i) {
        items_.Items(i).SumValue = 0;
        items_.Items(i).Contribution = 0;
    }
    data::TDataSet& ds = *dataSet_;
    lastFiltered_ = ds.Filtered();
    lastFilter_ = ds.Filter();
    // The grid must not follow the walk; our own after-scroll hook sees the
    // filter state just recorded and stays quiet.
    {
        data::TDisabledControls quiet(ds);
        ds.First();
        while (!ds.Eof()) {
            for (int i = 0; i < items_.Count(); ++i)
                if (items_.Items(i).CountsAllRows()) items_.Items(i).SumValue += 1;
            ds.Next();
        }
        ds.First();
    }
    Changed();
}

void TSumListProducer::DoAfterOpen() {
    RecalcAll();
}

void TSumListProducer::DoAfterInsert() {
    for (int i = 0; i < items_.Count(); ++i)
        if (items_.Items(i).CountsAllRows()) items_.Items(i).Contribution = 0;
}

void TSumListProducer::DoAfterEdit() {
    for (int i = 0; i < items_.Count(); ++i)
        if (items_.Items(i).CountsAllRows()) items_.Items(i).Contribution = 1;
}

void TSumListProducer::DoAfterPost() {
    for (int i = 0; i < items_.Count(); ++i) {
        TSumItem& item = items_.Items(i);
        if (item.CountsAllRows()) item.SumValue = item.SumValue - item.Contribution + 1;
    }
    Changed();
}

void TSumListProducer::DoBeforeDelete() {
    // Deleting a pending new row is only a cancel: it was never counted.
    if (dataSet_ && dataSet_->State() == data::TDataSetState::dsInsert) return;
    for (int i = 0; i < items_.Count(); ++i) {
        TSumItem& item = items_.Items(i);
        if (item.CountsAllRows()) item.SumValue -= 1;
    }
    Changed();
}

void TSumListProducer::DoAfterClose() {
    for (int i = 0; i < items_.Count(); ++i) {
        items_.Items(i).SumValue = 0;
        items_.Items(i).Contribution = 0;
    }
    Changed();
}

void TSumListProducer::DoAfterScroll() {
    if (!dataSet_) return;
    if (dataSet_->Filtered() != lastFiltered_ || dataSet_->Filter() != lastFilter_) RecalcAll();
}

std::wstring FormatSumValue(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
        return std::to_wstring(static_cast<long long>(value));
    }
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.15G", value);
    return buf;
}

} // namespace grid
