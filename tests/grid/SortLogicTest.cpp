// The platform-free parts of title-click sorting and mouse tracking: marker
// cycling, index fields, the features registry and the client dataset sort.
#include "data/ClientDataSet.h"
#include "grid/DatasetUtils.h"
#include "grid/DragScroll.h"
#include "grid/SortMarking.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

class Requester : public TSortRequester {
public:
    bool local = true;
    std::vector<TSortKey> keys;
    bool SortLocalRequested() const override { return local; }
    std::vector<TSortKey> SortKeys() const override { return keys; }
};

void Fill(data::TClientDataSet& t, const std::vector<std::pair<std::wstring, std::wstring>>& rows) {
    t.FieldDefs().Add(L"a", 20);
    t.FieldDefs().Add(L"b", 20);
    t.CreateDataSet();
    for (const auto& [a, b] : rows) {
        t.Append();
        t.FieldByName(L"a")->SetAsString(a);
        t.FieldByName(L"b")->SetAsString(b);
        t.Post();
    }
}

std::wstring Order(data::TClientDataSet& t) {
    std::wstring s;
    for (t.First(); !t.Eof(); t.Next())
        s += t.FieldByName(L"a")->AsString() + t.FieldByName(L"b")->AsString() + L" ";
    return s;
}

} // namespace

TEST(SortMarking, PlainClicksNeverRemoveTheSortCtrlClicksDo) {
    EXPECT_EQ(NextSortMarker(TSortMarker::smNone, false), TSortMarker::smDown);
    EXPECT_EQ(NextSortMarker(TSortMarker::smDown, false), TSortMarker::smUp);
    EXPECT_EQ(NextSortMarker(TSortMarker::smUp, false), TSortMarker::smDown);
    EXPECT_EQ(NextSortMarker(TSortMarker::smNone, true), TSortMarker::smDown);
    EXPECT_EQ(NextSortMarker(TSortMarker::smDown, true), TSortMarker::smUp);
    EXPECT_EQ(NextSortMarker(TSortMarker::smUp, true), TSortMarker::smNone);
}

TEST(SortMarking, IndexFieldsKeepSortOrderAndListOnlyDescendingOnes) {
    const TSortIndexFields f =
        SortIndexFields({{L"bbmc", false}, {L"fwq", true}, {L"dkh", false}, {L"bz", true}});
    EXPECT_EQ(f.Fields, L"bbmc;fwq;dkh;bz");
    EXPECT_EQ(f.DescFields, L"fwq;bz");
    const TSortIndexFields none = SortIndexFields({});
    EXPECT_EQ(none.Fields, L"");
    EXPECT_EQ(none.DescFields, L"");
}

TEST(DragScroll, StepAndIntervalFollowTheDistance) {
    EXPECT_EQ(AutoScrollStep(0), 0);
    EXPECT_EQ(AutoScrollStep(5), 0);
    EXPECT_EQ(AutoScrollStep(6), 1);
    EXPECT_EQ(AutoScrollStep(17), 2);
    EXPECT_EQ(AutoScrollStep(48), 8);
    EXPECT_EQ(AutoScrollStep(500), 8);
    EXPECT_EQ(AutoScrollInterval(1), 185);
    EXPECT_EQ(AutoScrollInterval(13), 5);
    EXPECT_EQ(AutoScrollInterval(14), 0);
    EXPECT_EQ(AutoScrollInterval(100), 0);
}

TEST(DragScroll, SizingZoneIsEightPixelsAroundTheLine) {
    // Line width 1: a = 3, so edge - 3 .. edge + 4.
    EXPECT_FALSE(InSizingZone(96, 100, 1));
    EXPECT_TRUE(InSizingZone(97, 100, 1));
    EXPECT_TRUE(InSizingZone(104, 100, 1));
    EXPECT_FALSE(InSizingZone(105, 100, 1));
}

namespace {
class CountingFeatures : public TDatasetFeatures {
public:
    explicit CountingFeatures(int& calls) : calls_(calls) {}
    void ApplySorting(const TSortRequester*, data::TDataSet&, bool) override { ++calls_; }

private:
    int& calls_;
};
} // namespace

TEST(DatasetFeaturesRegistry, NearestAncestorWinsAndNamesAreUniqueIgnoringCase) {
    int base = 0, custom = 0, replaced = 0;
    TDatasetFeaturesRegistry r;
    r.Register(L"TDataSet", std::make_unique<CountingFeatures>(base));
    r.Register(L"TCustomClientDataSet", std::make_unique<CountingFeatures>(custom));
    data::TClientDataSet cds;
    Requester req;
    r.Find(cds)->ApplySorting(&req, cds, true);
    EXPECT_EQ(custom, 1);
    EXPECT_EQ(base, 0);

    r.Register(L"tcustomclientdataset", std::make_unique<CountingFeatures>(replaced));
    EXPECT_EQ(r.Count(), 2);
    r.Find(cds)->ApplySorting(&req, cds, true);
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(custom, 1);

    TDatasetFeaturesRegistry empty;
    EXPECT_EQ(empty.Find(cds), nullptr);
    empty.Register(L"TSomethingElse", std::make_unique<CountingFeatures>(base));
    EXPECT_EQ(empty.Find(cds), nullptr);
}

TEST(DatasetFeaturesRegistry, ProgramRegistryFindsTheClientDatasetHandler) {
    data::TClientDataSet cds;
    EXPECT_NE(dynamic_cast<TClientDatasetFeatures*>(DatasetFeatures().Find(cds)), nullptr);
}

TEST(ClientDatasetFeatures, SortsByTheKeysAndReturnsToAppendOrder) {
    data::TClientDataSet t;
    Fill(t, {{L"b", L"1"}, {L"a", L"2"}, {L"b", L"3"}, {L"a", L"4"}});
    Requester req;
    req.keys = {{L"a", false}, {L"b", true}};
    t.Last();
    TClientDatasetFeatures f;
    f.ApplySorting(&req, t, true);
    EXPECT_EQ(t.IndexName(), L"GridSortIndex");
    EXPECT_EQ(t.RecNo(), 1);
    EXPECT_EQ(Order(t), L"a4 a2 b3 b1 ");

    req.keys = {{L"b", false}};
    f.ApplySorting(&req, t, true); // replaces the earlier index
    EXPECT_EQ(Order(t), L"b1 a2 b3 a4 ");

    req.keys.clear();
    t.Last();
    f.ApplySorting(&req, t, true);
    EXPECT_EQ(t.IndexName(), L"");
    EXPECT_EQ(t.RecNo(), 1);
    EXPECT_EQ(Order(t), L"b1 a2 b3 a4 ");
}

TEST(ClientDatasetFeatures, IndexOutlastsEmptyCloseOpenAndPlacesNewRows) {
    data::TClientDataSet t;
    Fill(t, {{L"m", L""}, {L"c", L""}});
    Requester req;
    req.keys = {{L"a", true}};
    TClientDatasetFeatures().ApplySorting(&req, t, true);
    t.EmptyDataSet();
    t.Close();
    t.Open();
    EXPECT_EQ(t.IndexName(), L"GridSortIndex");
    for (const wchar_t* v : {L"k", L"z", L"a"}) {
        t.Append();
        t.FieldByName(L"a")->SetAsString(v);
        t.Post();
    }
    EXPECT_EQ(Order(t), L"z k a ");
}

TEST(ClientDatasetFeatures, DoesNothingWithoutGridInactiveOrRemoteSort) {
    data::TClientDataSet t;
    Fill(t, {{L"b", L""}, {L"a", L""}});
    Requester req;
    req.keys = {{L"a", false}};
    TClientDatasetFeatures f;
    f.ApplySorting(nullptr, t, true);
    EXPECT_EQ(t.IndexName(), L"");
    req.local = false;
    f.ApplySorting(&req, t, true);
    EXPECT_EQ(t.IndexName(), L"");
    req.local = true;
    t.Close();
    f.ApplySorting(&req, t, true);
    t.Open();
    EXPECT_EQ(Order(t), L"b a ");
}

TEST(DataGridService, HookReplacesTheRegistry) {
    data::TClientDataSet t;
    Fill(t, {{L"b", L""}, {L"a", L""}});
    Requester req;
    req.keys = {{L"a", false}};
    TDataGridService service;
    int hooked = 0;
    service.SortHook = [&](const TSortRequester&, data::TDataSet* ds) {
        EXPECT_EQ(ds, &t);
        ++hooked;
    };
    service.ApplySorting(req, &t);
    EXPECT_EQ(hooked, 1);
    EXPECT_EQ(t.IndexName(), L"");
    service.SortHook = nullptr;
    service.ApplySorting(req, &t);
    EXPECT_EQ(Order(t), L"a b ");
    service.ApplySorting(req, nullptr); // no dataset: nothing
}
