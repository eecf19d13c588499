#include "grid/DatasetUtils.h"

#include "data/ClientDataSet.h"

#include <cwctype>

namespace grid {

namespace {

bool SameClassName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    return true;
}

} // namespace

void TDatasetFeatures::ApplySorting(const TSortRequester*, data::TDataSet&, bool) {}
void TDatasetFeatures::ApplyFilter(const TSortRequester*, data::TDataSet&, bool) {}

void TClientDatasetFeatures::ApplySorting(const TSortRequester* requester, data::TDataSet& dataSet,
                                          bool) {
    if (!requester || !dataSet.Active()) return;
    // Sorting the provider's dataset instead (SortLocal off) needs providers,
    // which this program's tables do not have.
    if (!requester->SortLocalRequested()) return;
    const TSortIndexFields sortFields = SortIndexFields(requester->SortKeys());
    // The grid hears of it once, at the end: every step would repaint it.
    data::TDisabledControls quiet(dataSet);
    if (auto* cds = dynamic_cast<data::TCustomClientDataSet*>(&dataSet)) {
        cds->IndexDefs().Update();
        if (cds->IndexDefs().Find(kGridSortIndexName)) cds->DeleteIndex(kGridSortIndexName);
        if (!sortFields.Fields.empty()) {
            cds->AddIndex(kGridSortIndexName, sortFields.Fields, {}, sortFields.DescFields, L"", 0);
            cds->IndexDefs().Update();
            cds->SetIndexName(kGridSortIndexName);
        } else {
            cds->SetIndexName(L"");
        }
    }
    dataSet.First();
}

void TDatasetFeaturesRegistry::Register(const std::wstring& className,
                                        std::unique_ptr<TDatasetFeatures> features) {
    for (Entry& e : entries_)
        if (SameClassName(e.ClassName, className)) {
            e.Features = std::move(features);
            return;
        }
    entries_.push_back({className, std::move(features)});
}

TDatasetFeatures* TDatasetFeaturesRegistry::Find(const data::TDataSet& dataSet) const {
    const std::vector<std::wstring> chain = dataSet.ClassChain();
    // Walking the chain nearest first, the first class with a handler wins;
    // entries_ is in registration order and names are unique.
    for (const std::wstring& cls : chain)
        for (const Entry& e : entries_)
            if (SameClassName(e.ClassName, cls)) return e.Features.get();
    return nullptr;
}

TDatasetFeaturesRegistry& DatasetFeatures() {
    static TDatasetFeaturesRegistry registry = [] {
        TDatasetFeaturesRegistry r;
        r.Register(L"TCustomClientDataSet", std::make_unique<TClientDatasetFeatures>());
        return r;
    }();
    return registry;
}

void TDataGridService::ApplySorting(const TSortRequester& grid, data::TDataSet* dataSet) const {
    if (SortHook) {
        SortHook(grid, dataSet);
        return;
    }
    if (!dataSet) return;
    if (TDatasetFeatures* f = DatasetFeatures().Find(*dataSet))
        f->ApplySorting(&grid, *dataSet, true);
}

TDataGridService& DataGridService() {
    static TDataGridService service;
    return service;
}

} // namespace grid
