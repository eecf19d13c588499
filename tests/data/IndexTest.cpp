#include "ResultTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace data;
using datatest::AppendRow;
using datatest::Column;
using datatest::MakeResultTable;
using Strings = std::vector<std::wstring>;

namespace {

// What a title-click sort does to the table.
void SortBy(TClientDataSet& t, const std::wstring& fields, const std::wstring& desc) {
    t.IndexDefs().Update();
    if (t.IndexDefs().IndexOf(L"GridSortIndex") >= 0) t.DeleteIndex(L"GridSortIndex");
    if (fields.empty()) {
        t.SetIndexName(L"");
    } else {
        t.AddIndex(L"GridSortIndex", fields, {}, desc, L"", 0);
        t.IndexDefs().Update();
        t.SetIndexName(L"GridSortIndex");
    }
    t.First();
}

std::wstring IndexOpenError(TClientDataSet& t) {
    try {
        t.Open();
    } catch (const DataSetError& e) {
        return e.Message();
    }
    return L"(opened)";
}

} // namespace

TEST(Index, SortsByOneFieldBothWaysAndBackToAppendOrder) {
    auto t = MakeResultTable();
    AppendRow(*t, L"B", L"1434");
    AppendRow(*t, L"A", L"1433");
    AppendRow(*t, L"C", L"2000");
    SortBy(*t, L"dkh", L"");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"A", L"B", L"C"}));
    EXPECT_EQ(t->RecNo(), 1);
    EXPECT_EQ(t->IndexName(), L"GridSortIndex");
    SortBy(*t, L"dkh", L"dkh");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"C", L"B", L"A"}));
    SortBy(*t, L"", L"");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"B", L"A", L"C"}));
    EXPECT_EQ(t->IndexName(), L"");
}

TEST(Index, SeveralFieldsWithADescendingMinorKey) {
    auto t = MakeResultTable();
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L"x1", L"Express"}, {L"x2", L"Standard"}, {L"x3", L"Express"}, {L"x4", L"Developer"}};
    for (const auto& [fwq, bbmc] : rows) {
        t->Append();
        t->FieldByName(L"fwq")->SetAsString(fwq);
        t->FieldByName(L"bbmc")->SetAsString(bbmc);
        t->Post();
    }
    SortBy(*t, L"bbmc;fwq", L"fwq");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"x4", L"x3", L"x1", L"x2"}));
}

TEST(Index, NullsSortFirstAndEqualKeysKeepAppendOrder) {
    auto t = MakeResultTable();
    AppendRow(*t, L"a", L"1");
    AppendRow(*t, L"b"); // dkh null
    AppendRow(*t, L"c", L"1");
    t->Append();
    t->FieldByName(L"fwq")->SetAsString(L"d");
    t->FieldByName(L"dkh")->SetAsString(L""); // written empty: not null, but before any text
    t->Post();
    AppendRow(*t, L"e"); // null
    SortBy(*t, L"dkh", L"");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"b", L"e", L"d", L"a", L"c"}));
    SortBy(*t, L"dkh", L"dkh");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"a", L"c", L"d", L"b", L"e"}));
}

TEST(Index, CaseInsensitiveFieldsAndOptions) {
    auto t = MakeResultTable();
    for (const wchar_t* s : {L"b", L"A", L"a", L"B"})
        AppendRow(*t, s);
    t->AddIndex(L"ci", L"fwq", {}, L"", L"fwq");
    t->SetIndexName(L"ci");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"A", L"a", L"b", L"B"}));
    t->AddIndex(L"cs", L"FWQ", {TIndexOption::ixDescending});
    t->SetIndexName(L"cs");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"b", L"a", L"B", L"A"}));
}

TEST(Index, PostedRowsTakeTheirPlaceByTheIndexInForce) {
    auto t = MakeResultTable();
    AppendRow(*t, L"B", L"2");
    AppendRow(*t, L"D", L"4");
    SortBy(*t, L"dkh", L"");
    t->Append();
    EXPECT_EQ(t->RecNo(), 3); // shown after the last row until posted
    t->FieldByName(L"fwq")->SetAsString(L"A");
    t->FieldByName(L"dkh")->SetAsString(L"1");
    t->Post();
    EXPECT_EQ(t->RecNo(), 1);
    EXPECT_EQ(t->FieldByName(L"fwq")->AsString(), L"A"); // the cursor follows the row
    t->Last();
    t->Edit();
    t->FieldByName(L"dkh")->SetAsString(L"3");
    t->Post();
    EXPECT_EQ(t->RecNo(), 3); // still greatest
    t->First();
    t->Edit();
    t->FieldByName(L"dkh")->SetAsString(L"5");
    t->Post();
    EXPECT_EQ(t->RecNo(), 3);
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"B", L"D", L"A"}));
    t->SetIndexName(L"");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"B", L"D", L"A"}));
    EXPECT_EQ(t->FieldByName(L"fwq")->AsString(), L"A"); // switching keeps the current row
}

TEST(Index, CurrentIndexOutlastsCloseAndOpenThroughItsDefinition) {
    auto t = MakeResultTable();
    AppendRow(*t, L"B", L"2");
    AppendRow(*t, L"A", L"1");
    SortBy(*t, L"dkh", L"");
    t->EmptyDataSet();
    t->Close();
    t->Open();
    EXPECT_EQ(t->IndexName(), L"GridSortIndex");
    AppendRow(*t, L"Z", L"9");
    AppendRow(*t, L"Y", L"8");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"Y", L"Z"}));
    std::vector<std::wstring> names;
    t->GetIndexNames(names);
    EXPECT_EQ(names, (Strings{L"GridSortIndex"}));
    SortBy(*t, L"fwq", L"fwq"); // deleting and re-adding the held index works after a reopen
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"Z", L"Y"}));
}

TEST(Index, OpenFailsForACurrentIndexFoundNowhere) {
    auto t = MakeResultTable();
    AppendRow(*t, L"A");
    t->AddIndex(L"Temp", L"fwq");
    t->SetIndexName(L"Temp"); // held, but the definitions were never refreshed
    t->Close();
    EXPECT_EQ(IndexOpenError(*t), L"Index 'Temp' not found");
    EXPECT_FALSE(t->Active());
    t->SetIndexName(L"");
    t->Open();
    EXPECT_EQ(t->RecordCount(), 1);

    t->Close();
    t->SetIndexName(L"Missing");
    EXPECT_EQ(IndexOpenError(*t), L"Index 'Missing' not found");
}

TEST(Index, IndexErrors) {
    auto t = MakeResultTable();
    EXPECT_THROW(t->AddIndex(L"i", L"nofield"), DataSetError);
    EXPECT_THROW(t->AddIndex(L"i", L""), DataSetError);
    t->AddIndex(L"i", L"fwq");
    EXPECT_THROW(t->AddIndex(L"I", L"dkh"), DataSetError);
    EXPECT_THROW(t->DeleteIndex(L"other"), DataSetError);
    try {
        t->SetIndexName(L"other");
        FAIL();
    } catch (const DataSetError& e) {
        EXPECT_EQ(e.Message(), L"Index 'other' not found");
    }
    EXPECT_EQ(t->IndexName(), L"");
    t->Close();
    EXPECT_THROW(t->AddIndex(L"j", L"fwq"), DataSetError);
}

TEST(Index, DeletingTheCurrentIndexReturnsToAppendOrder) {
    auto t = MakeResultTable();
    for (const wchar_t* s : {L"C", L"A", L"B"})
        AppendRow(*t, s);
    SortBy(*t, L"fwq", L"");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"A", L"B", L"C"}));
    t->DeleteIndex(L"GridSortIndex");
    EXPECT_EQ(t->IndexName(), L"");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"C", L"A", L"B"}));
    t->Delete(); // deletes from both orders alike
    SortBy(*t, L"fwq", L"");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"B", L"C"}));
}

// The detection walk: bookmarks taken up front, each row visited by bookmark
// while writing its bz moves it within an index on bz.
TEST(Index, BookmarkWalkVisitsEveryRowOnceWhileWritesMoveRows) {
    auto t = MakeResultTable();
    const int kRows = 7;
    for (int i = 0; i < kRows; ++i) {
        t->Append();
        t->FieldByName(L"fwq")->SetAsString(L"PC" + std::to_wstring(i));
        t->FieldByName(L"bz")->SetAsString(std::wstring(1, static_cast<wchar_t>(L'a' + i)));
        t->Post();
    }
    SortBy(*t, L"bz", L"");

    std::vector<TDataSet::TBookmark> marks;
    for (t->First(); !t->Eof(); t->Next())
        marks.push_back(t->GetBookmark());
    ASSERT_EQ(static_cast<int>(marks.size()), kRows);

    std::map<std::wstring, int> visits;
    for (auto mark : marks) {
        ASSERT_TRUE(t->BookmarkValid(mark));
        t->GotoBookmark(mark);
        ++visits[t->FieldByName(L"fwq")->AsString()];
        t->Edit();
        TField* bz = t->FieldByName(L"bz");
        // "z" moves every written row behind all rows still unwritten.
        bz->SetAsString(L"z" + bz->AsString() + L"连接不成功 ");
        t->Post();
    }
    ASSERT_EQ(static_cast<int>(visits.size()), kRows);
    for (const auto& [fwq, n] : visits)
        EXPECT_EQ(n, 1) << std::string(fwq.begin(), fwq.end());
    for (const auto& v : Column(*t, L"bz")) {
        EXPECT_EQ(v.size(), 2 + std::wstring(L"连接不成功 ").size()); // exactly one remark each
        EXPECT_EQ(v.substr(2), L"连接不成功 ");
    }

    // For contrast: walking by Next instead misses rows under the same writes.
    int visited = 0;
    for (t->First(); !t->Eof(); t->Next()) {
        ++visited;
        t->Edit();
        t->FieldByName(L"bz")->SetAsString(L"~" + t->FieldByName(L"bz")->AsString());
        t->Post();
    }
    EXPECT_LT(visited, kRows);
}

TEST(Index, LargeTableKeepsOrderAndBookmarksUnderEdits) {
    auto t = MakeResultTable();
    const int kRows = 3000;
    for (int i = 0; i < kRows; ++i) {
        AppendRow(*t, std::to_wstring(i), std::to_wstring((i * 7919) % 1000));
    }
    SortBy(*t, L"dkh;fwq", L"fwq");
    // Rewrite every tenth row's key, then check the order is still sorted.
    for (int r = 1; r <= kRows; r += 10) {
        t->SetRecNo(r);
        t->Edit();
        t->FieldByName(L"dkh")->SetAsString(std::to_wstring(r % 97));
        t->Post();
    }
    const auto dkh = Column(*t, L"dkh");
    const auto fwq = Column(*t, L"fwq");
    for (int i = 1; i < kRows; ++i) {
        const auto k = static_cast<std::size_t>(i);
        ASSERT_TRUE(dkh[k - 1] < dkh[k] || (dkh[k - 1] == dkh[k] && fwq[k - 1] > fwq[k]))
            << "at " << i;
    }
    for (int r = 1; r <= kRows; r += 333) {
        const auto mark = t->BookmarkAt(r);
        t->GotoBookmark(mark);
        EXPECT_EQ(t->RecNo(), r);
    }
}

TEST(Index, InsertUnderAnIndexKeepsItsAppendPlaceForLater) {
    auto t = MakeResultTable();
    for (const wchar_t* s : {L"C", L"A", L"B"})
        AppendRow(*t, s);
    SortBy(*t, L"fwq", L"");
    t->SetRecNo(2); // B
    for (const wchar_t* s : {L"Z", L"Y"}) {
        t->Insert();
        t->FieldByName(L"fwq")->SetAsString(s);
        t->Post();
        t->GotoBookmark(t->BookmarkAt(2)); // back to B
    }
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"A", L"B", L"C", L"Y", L"Z"}));
    t->DeleteIndex(L"GridSortIndex");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"C", L"A", L"Z", L"Y", L"B"}));
}
