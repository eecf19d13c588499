// The platform-free parts of title-click sorting and mouse tracking: marker
// cycling, index fields, the features registry and the client dataset sort.
#include "data/ClientDataSet.h"
#include "data/DataSource.h"
#include "grid/DatasetUtils.h"
#include "grid/DragScroll.h"
#include "grid/SortMarking.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

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

// Each sort reaches the grid as one change, with the cursor on the first
// row, however many steps it takes: the grid repaints once.
TEST(ClientDatasetFeatures, SortsByTheKeysAndReturnsToAppendOrder) {
    data::TClientDataSet t;
    Fill(t, {{L"b", L"1"}, {L"a", L"2"}, {L"b", L"3"}, {L"a", L"4"}});
    data::TDataSource source(&t);
    int changes = 0;
    int recNoSeen = 0;
    source.OnDataChange = [&] {
        ++changes;
        recNoSeen = t.RecNo();
    };
    Requester req;
    TClientDatasetFeatures f;
    const auto sort = [&] {
        changes = 0;
        f.ApplySorting(&req, t, true);
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(recNoSeen, 1);
        EXPECT_EQ(t.RecNo(), 1);
    };
    req.keys = {{L"a", false}, {L"b", true}};
    t.Last();
    sort();
    EXPECT_EQ(t.IndexName(), L"GridSortIndex");
    EXPECT_EQ(Order(t), L"a4 a2 b3 b1 ");

    req.keys = {{L"b", false}};
    t.Last();
    sort(); // replaces the earlier index
    EXPECT_EQ(Order(t), L"b1 a2 b3 a4 ");

    req.keys.clear();
    t.Last();
    sort();
    EXPECT_EQ(t.IndexName(), L"");
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

namespace {

// The order the index must give, worked out the plain way: code points
// decoded and compared one by one, null before any text, a descending field
// reversed, equal keys in the order of appending.
std::vector<std::uint32_t> CodePoints(const std::wstring& s, bool fold) {
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto u = static_cast<std::uint32_t>(s[i]);
        if (sizeof(wchar_t) == 2 && u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size()) {
            u = 0x10000 + ((u - 0xD800) << 10) + (static_cast<std::uint32_t>(s[i + 1]) - 0xDC00);
            ++i;
        }
        if (fold && ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))) u -= 0x20;
        out.push_back(u);
    }
    return out;
}

struct RandomRow {
    std::vector<std::optional<std::wstring>> Cells;
};

std::wstring RandomText(std::mt19937& rng) {
    // Few distinct values, so that later keys decide often; ASCII of both
    // cases, Latin-1, CJK, a character above the surrogates and a pair.
    static const std::vector<std::wstring> pieces = {
        L"a", L"A", L"b", L"B", L"1", L"\xE9", L"\xC9", L"\x4E2D", L"\xFF5E", L"\xD83D\xDE00",
        L" "};
    std::wstring s;
    const int n = static_cast<int>(rng() % 4);
    for (int i = 0; i < n; ++i)
        s += pieces[rng() % pieces.size()];
    return s;
}

} // namespace

// Sorting through the grid's handler and through indexes with folded fields
// gives exactly the order the plain rule gives, on random tables.
TEST(ClientDatasetFeatures, RandomTablesSortAsThePlainRuleSays) {
    std::mt19937 rng(2024);
    const std::vector<std::wstring> names = {L"f0", L"f1", L"f2", L"f3"};
    for (int round = 0; round < 40; ++round) {
        data::TClientDataSet t;
        for (const auto& n : names)
            t.FieldDefs().Add(n, 20);
        t.CreateDataSet();
        std::vector<RandomRow> rows(200 + rng() % 300);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            t.Append();
            for (std::size_t f = 0; f < names.size(); ++f) {
                std::optional<std::wstring> v;
                if (rng() % 6 != 0) v = RandomText(rng); // a sixth stay null
                if (v) t.FieldByName(names[f])->SetAsString(*v);
                rows[r].Cells.push_back(v);
            }
            t.Post();
        }
        // Up to three distinct key fields, each ascending or descending, and
        // in every other round some of them compared without case.
        std::vector<std::size_t> fields = {0, 1, 2, 3};
        std::shuffle(fields.begin(), fields.end(), rng);
        fields.resize(1 + rng() % 3);
        std::vector<bool> desc, fold;
        std::wstring keyNames, descNames, foldNames;
        for (std::size_t f : fields) {
            desc.push_back(rng() % 2 == 0);
            fold.push_back(round % 2 == 1 && rng() % 2 == 0);
            keyNames += names[f] + L";";
            if (desc.back()) descNames += names[f] + L";";
            if (fold.back()) foldNames += names[f] + L";";
        }
        if (round % 2 == 0) {
            Requester req;
            for (std::size_t i = 0; i < fields.size(); ++i)
                req.keys.push_back({names[fields[i]], desc[i]});
            TClientDatasetFeatures().ApplySorting(&req, t, true);
        } else {
            t.AddIndex(L"I", keyNames, {}, descNames, foldNames);
            t.SetIndexName(L"I");
        }

        std::vector<std::size_t> expected(rows.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            expected[i] = i;
        std::stable_sort(expected.begin(), expected.end(), [&](std::size_t a, std::size_t b) {
            for (std::size_t i = 0; i < fields.size(); ++i) {
                const auto& x = rows[a].Cells[fields[i]];
                const auto& y = rows[b].Cells[fields[i]];
                int c = 0;
                if (!x || !y) {
                    c = (x ? 1 : 0) - (y ? 1 : 0);
                } else {
                    const auto p = CodePoints(*x, fold[i]);
                    const auto q = CodePoints(*y, fold[i]);
                    c = p < q ? -1 : (q < p ? 1 : 0);
                }
                if (c != 0) return (desc[i] ? -c : c) < 0;
            }
            return false;
        });
        int recNo = 1;
        for (std::size_t r : expected) {
            for (std::size_t f = 0; f < names.size(); ++f) {
                ASSERT_EQ(t.FieldTextAt(recNo, static_cast<int>(f)), rows[r].Cells[f].value_or(L""))
                    << "round " << round << ", record " << recNo;
            }
            ++recNo;
        }
    }
}
