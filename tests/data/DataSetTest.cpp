#include "ResultTable.h"

#include <gtest/gtest.h>

using namespace data;
using datatest::AppendRow;
using datatest::Column;
using datatest::MakeResultTable;
using Strings = std::vector<std::wstring>;

TEST(DataSetLifecycle, CreatedTableIsOpenEmptyAndAtEnd) {
    auto t = MakeResultTable();
    EXPECT_TRUE(t->Active());
    EXPECT_EQ(t->State(), TDataSetState::dsBrowse);
    EXPECT_TRUE(t->IsEmpty());
    t->First();
    EXPECT_TRUE(t->Eof());
    EXPECT_TRUE(t->Bof());
    EXPECT_EQ(t->RecordCount(), 0);
    EXPECT_EQ(t->RecNo(), 0);
    EXPECT_EQ(t->MoveBy(5), 0);
}

TEST(DataSetLifecycle, OpenWithoutFieldsFails) {
    TClientDataSet t;
    EXPECT_THROW(t.Open(), DataSetError);
    EXPECT_THROW(t.CreateDataSet(), DataSetError);
    EXPECT_FALSE(t.Active());
}

TEST(DataSetLifecycle, CloseKeepsRowsAndOpenRestoresThemAtTheFirstRow) {
    auto t = MakeResultTable();
    AppendRow(*t, L"PC1", L"1433");
    AppendRow(*t, L"PC1\\SQLEXPRESS", L"1434");
    t->Close();
    EXPECT_FALSE(t->Active());
    EXPECT_EQ(t->RecordCount(), 0);
    EXPECT_THROW(t->First(), DataSetError);
    EXPECT_THROW(t->Append(), DataSetError);
    t->SetActive(true);
    EXPECT_EQ(t->RecordCount(), 2);
    EXPECT_EQ(t->RecNo(), 1);
    EXPECT_TRUE(t->Bof());
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"PC1", L"PC1\\SQLEXPRESS"}));
    EXPECT_EQ(Column(*t, L"dkh"), (Strings{L"1433", L"1434"}));
}

TEST(DataSetLifecycle, EmptyingDeletesEveryRowAndStaysOpen) {
    auto t = MakeResultTable();
    AppendRow(*t, L"A");
    AppendRow(*t, L"B");
    const auto oldMark = t->GetBookmark();
    t->EmptyDataSet();
    EXPECT_TRUE(t->Active());
    EXPECT_TRUE(t->IsEmpty());
    EXPECT_TRUE(t->Eof());
    EXPECT_FALSE(t->BookmarkValid(oldMark));
    t->Close();
    t->Open();
    EXPECT_TRUE(t->IsEmpty()); // the run's reset: empty, close, open
    AppendRow(*t, L"C");
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"C"}));
}

TEST(DataSetLifecycle, CloseDiscardsAPendingInsert) {
    auto t = MakeResultTable();
    AppendRow(*t, L"A");
    t->Append();
    t->FieldByName(L"fwq")->SetAsString(L"B");
    t->Close();
    t->Open();
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"A"}));
}

TEST(DataSetEditing, AppendPutsTheNewRowLastCurrentAndInInsertState) {
    auto t = MakeResultTable();
    AppendRow(*t, L"A");
    AppendRow(*t, L"B");
    t->First();
    t->Append();
    EXPECT_EQ(t->State(), TDataSetState::dsInsert);
    EXPECT_EQ(t->RecNo(), 3);
    EXPECT_EQ(t->RecordCount(), 2); // posted rows only
    EXPECT_FALSE(t->IsEmpty());
    t->FieldByName(L"fwq")->SetAsString(L"C");
    EXPECT_EQ(t->FieldTextAt(3, 0), L"C"); // the pending row is readable in place
    t->Post();
    EXPECT_EQ(t->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(t->RecNo(), 3);
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"A", L"B", L"C"}));
}

TEST(DataSetEditing, InsertPutsTheNewRowBeforeTheCurrentOne) {
    auto t = MakeResultTable();
    for (const wchar_t* s : {L"A", L"B", L"C"})
        AppendRow(*t, s);
    t->SetRecNo(2);
    t->Insert();
    EXPECT_EQ(t->RecNo(), 2);
    EXPECT_EQ(t->FieldTextAt(3, 0), L"B");
    t->FieldByName(L"fwq")->SetAsString(L"AB");
    t->Post();
    t->First();
    t->Insert();
    t->FieldByName(L"fwq")->SetAsString(L"0");
    t->Post();
    EXPECT_EQ(Column(*t, L"fwq"), (Strings{L"0", L"A", L"AB", L"B", L"C"}));
    EXPECT_EQ(t->RecNo(), 1);
}

TEST(DataSetEditing, ManyInsertsAtOnePlaceKeepTheirOrder) {
    // Forces the append-order numbering to run out of room and be redone.
    auto t = MakeResultTable();
    AppendRow(*t, L"first");
    AppendRow(*t, L"last");
    Strings expected{L"first"};
    for (int i = 0; i < 60; ++i) {
        t->Last();
        t->Insert();
        t->FieldByName(L"fwq")->SetAsString(std::to_wstring(i));
        t->Post();
        expected.push_back(std::to_wstring(i));
    }
    expected.push_back(L"last");
    EXPECT_EQ(Column(*t, L"fwq"), expected);
}

TEST(DataSetEditing, CancelDiscardsAndReturnsToTheEarlierRow) {
    auto t = MakeResultTable();
    AppendRow(*t, L"A");
    AppendRow(*t, L"B");
    t->First();
    t->Append();
    t->FieldByName(L"fwq")->SetAsString(L"X");
    t->Cancel();
    EXPECT_EQ(t->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(t->RecordCount(), 2);
    EXPECT_EQ(t->RecNo(), 1);
    t->Edit();
    t->FieldByName(L"fwq")->SetAsString(L"Z");
    EXPECT_EQ(t->FieldByName(L"fwq")->AsString(), L"Z");
    t->Cancel();
    EXPECT_EQ(t->FieldByName(L"fwq")->AsString(), L"A");
    t->Cancel(); // browse: nothing
    EXPECT_EQ(t->State(), TDataSetState::dsBrowse);
}

TEST(DataSetEditing, CancelledAppendOnAnEmptyTableLeavesItEmpty) {
    auto t = MakeResultTable();
    t->Append();
    t->Cancel();
    EXPECT_TRUE(t->IsEmpty());
    EXPECT_TRUE(t->Eof());
    EXPECT_EQ(t->RecNo(), 0);
}

TEST(DataSetEditing, EditIsANoOpWhileAlreadyEditingOrInserting) {
    auto t = MakeResultTable();
    t->Append();
    t->FieldByName(L"fwq")->SetAsString(L"A");
    t->Edit();
    EXPECT_EQ(t->State(), TDataSetState::dsInsert);
    EXPECT_EQ(t->FieldByName(L"fwq")->AsString(), L"A");
    t->Post();
    t->Edit();
    t->FieldByName(L"dkh")->SetAsString(L"1");
    t->Edit(); // must not reload the row and lose the change
    EXPECT_EQ(t->State(), TDataSetState::dsEdit);
    t->Post();
    EXPECT_EQ(t->FieldByName(L"dkh")->AsString(), L"1");
}

TEST(DataSetEditing, PostOutsideEditOrInsertAndEditOfEmptyTableThrow) {
    auto t = MakeResultTable();
    EXPECT_THROW(t->Post(), DataSetError);
    EXPECT_THROW(t->Edit(), DataSetError);
    EXPECT_THROW(t->Delete(), DataSetError);
}

TEST(DataSetEditing, MovingAwayPostsChangesOrCancelsAnUntouchedRow) {
    auto t = MakeResultTable();
    AppendRow(*t, L"A");
    t->Append();
    t->FieldByName(L"fwq")->SetAsString(L"B");
    t->First(); // posts B
    EXPECT_EQ(t->RecordCount(), 2);
    t->Append();
    t->First(); // nothing written: cancelled
    EXPECT_EQ(t->RecordCount(), 2);
    EXPECT_EQ(t->State(), TDataSetState::dsBrowse);
}

TEST(DataSetEditing, DeleteMovesToTheFollowingRowOrTheNewLastOne) {
    auto t = MakeResultTable();
    for (const wchar_t* s : {L"A", L"B", L"C"})
        AppendRow(*t, s);
    t->SetRecNo(2);
    t->Delete();
    EXPECT_EQ(t->FieldByName(L"fwq")->AsString(), L"C");
    t->Delete();
    EXPECT_EQ(t->FieldByName(L"fwq")->AsString(), L"A");
    t->Delete();
    EXPECT_TRUE(t->IsEmpty());
    EXPECT_TRUE(t->Eof());
    EXPECT_TRUE(t->Bof());
}

TEST(DataSetCursor, NextPastTheLastRowSetsEofAndPriorBeforeTheFirstSetsBof) {
    auto t = MakeResultTable();
    for (const wchar_t* s : {L"A", L"B"})
        AppendRow(*t, s);
    t->First();
    EXPECT_TRUE(t->Bof());
    t->Next();
    EXPECT_FALSE(t->Bof());
    EXPECT_FALSE(t->Eof());
    EXPECT_EQ(t->RecNo(), 2);
    t->Next();
    EXPECT_TRUE(t->Eof());
    EXPECT_EQ(t->RecNo(), 2);
    t->Prior();
    t->Prior();
    EXPECT_TRUE(t->Bof());
    EXPECT_EQ(t->RecNo(), 1);
}

TEST(DataSetCursor, WalkVisitsEachRowOnce) {
    auto t = MakeResultTable();
    for (int i = 0; i < 5; ++i)
        AppendRow(*t, std::to_wstring(i));
    Strings seen;
    for (t->First(); !t->Eof(); t->Next())
        seen.push_back(t->FieldByName(L"fwq")->AsString());
    EXPECT_EQ(seen, (Strings{L"0", L"1", L"2", L"3", L"4"}));
}

TEST(DataSetCursor, MoveByStopsAtTheEndsAndReportsTheDistanceMoved) {
    auto t = MakeResultTable();
    for (int i = 0; i < 3; ++i)
        AppendRow(*t, std::to_wstring(i));
    t->First();
    EXPECT_EQ(t->MoveBy(10), 2);
    EXPECT_TRUE(t->Eof());
    EXPECT_EQ(t->MoveBy(1), 0);
    EXPECT_EQ(t->MoveBy(-1), -1);
    EXPECT_FALSE(t->Eof());
    EXPECT_EQ(t->MoveBy(-2147483647 - 1), -1);
    EXPECT_TRUE(t->Bof());
    EXPECT_EQ(t->MoveBy(2147483647), 2);
    t->Last();
    EXPECT_TRUE(t->Eof());
    EXPECT_EQ(t->RecNo(), 3);
    t->SetRecNo(0);
    EXPECT_EQ(t->RecNo(), 1);
    t->SetRecNo(99);
    EXPECT_EQ(t->RecNo(), 3);
}

TEST(DataSetCursor, FieldTextAtReadsWithoutMovingAndChecksRange) {
    auto t = MakeResultTable();
    AppendRow(*t, L"A", L"1");
    AppendRow(*t, L"B");
    t->First();
    EXPECT_EQ(t->FieldTextAt(2, 0), L"B");
    EXPECT_EQ(t->FieldTextAt(2, 4), L"");
    EXPECT_EQ(t->RecNo(), 1);
    EXPECT_THROW(t->FieldTextAt(0, 0), DataSetError);
    EXPECT_THROW(t->FieldTextAt(3, 0), DataSetError);
    EXPECT_THROW(t->FieldTextAt(1, 6), DataSetError);
    t->Edit();
    t->FieldByName(L"dkh")->SetAsString(L"9");
    EXPECT_EQ(t->FieldTextAt(1, 4), L"9"); // the row being edited shows its new value
}

TEST(DataSetBookmarks, BookmarksFindTheirRowAndDieWithIt) {
    auto t = MakeResultTable();
    for (const wchar_t* s : {L"A", L"B", L"C"})
        AppendRow(*t, s);
    t->SetRecNo(2);
    const auto b = t->GetBookmark();
    EXPECT_EQ(t->BookmarkAt(2), b);
    t->First();
    t->GotoBookmark(b);
    EXPECT_EQ(t->FieldByName(L"fwq")->AsString(), L"B");
    t->Delete();
    EXPECT_FALSE(t->BookmarkValid(b));
    EXPECT_THROW(t->GotoBookmark(b), DataSetError);
    EXPECT_THROW(t->GotoBookmark(0), DataSetError);
    t->Append();
    EXPECT_EQ(t->GetBookmark(), 0u); // not posted yet
    t->Cancel();
}

// Hooks a handler the way the aggregates do: keep the old one and call it.
static void Chain(TDataSet::TDataSetNotifyEvent& slot, std::function<void()> mine) {
    auto old = slot;
    slot = [old, mine](TDataSet& ds) {
        mine();
        if (old) old(ds);
    };
}

TEST(DataSetEvents, HandlersFireInOrderAndChainedOnesStillRun) {
    auto t = MakeResultTable();
    Strings log;
    const auto rec = [&](const wchar_t* s) { return [&log, s] { log.push_back(s); }; };
    Chain(t->BeforeInsert, rec(L"BeforeInsert"));
    Chain(t->AfterInsert, rec(L"AfterInsert"));
    Chain(t->BeforePost, rec(L"BeforePost"));
    Chain(t->AfterPost, rec(L"AfterPost"));
    Chain(t->AfterEdit, rec(L"AfterEdit"));
    Chain(t->AfterCancel, rec(L"AfterCancel"));
    Chain(t->BeforeDelete, rec(L"BeforeDelete"));
    Chain(t->AfterScroll, rec(L"AfterScroll"));
    Chain(t->AfterOpen, rec(L"AfterOpen"));
    Chain(t->AfterClose, rec(L"AfterClose"));
    int secondHook = 0;
    Chain(t->AfterPost, [&] { ++secondHook; });

    AppendRow(*t, L"A");
    t->Edit();
    t->Cancel();
    t->Delete();
    t->Close();
    t->Open();
    EXPECT_EQ(log, (Strings{L"BeforeInsert", L"AfterInsert", L"AfterScroll", L"BeforePost",
                            L"AfterPost", L"AfterEdit", L"AfterCancel", L"BeforeDelete",
                            L"AfterScroll", L"AfterClose", L"AfterOpen", L"AfterScroll"}));
    EXPECT_EQ(secondHook, 1);
}

TEST(DataSetEvents, ABeforeHandlerThatThrowsStopsTheOperation) {
    auto t = MakeResultTable();
    t->Append();
    t->FieldByName(L"fwq")->SetAsString(L"A");
    t->BeforePost = [](TDataSet&) { throw DataSetError(L"refused"); };
    EXPECT_THROW(t->Post(), DataSetError);
    EXPECT_EQ(t->State(), TDataSetState::dsInsert);
    EXPECT_EQ(t->RecordCount(), 0);
    t->BeforePost = nullptr;
    t->Post();
    EXPECT_EQ(t->RecordCount(), 1);
}

// A row counter kept the way the footer's count is kept, from the events.
TEST(DataSetEvents, EventDrivenCountFollowsARunLikeSequence) {
    auto t = MakeResultTable();
    double value = 0, contribution = 0;
    const auto recount = [&](TDataSet& ds) {
        value = 0;
        ds.DisableControls();
        for (ds.First(); !ds.Eof(); ds.Next())
            value += 1;
        ds.First();
        ds.EnableControls();
    };
    t->AfterOpen = recount;
    t->AfterInsert = [&](TDataSet&) { contribution = 0; };
    t->AfterEdit = [&](TDataSet&) { contribution = 1; };
    t->AfterPost = [&](TDataSet&) { value = value - contribution + 1; };
    t->BeforeDelete = [&](TDataSet&) { value -= 1; };
    t->AfterClose = [&](TDataSet&) { value = contribution = 0; };

    for (const wchar_t* s : {L"A", L"B", L"C"})
        AppendRow(*t, s);
    EXPECT_EQ(value, 3);
    for (t->First(); !t->Eof(); t->Next()) {
        t->Edit();
        t->FieldByName(L"bz")->SetAsString(L"连接不成功 ");
        t->Post();
    }
    EXPECT_EQ(value, 3);
    t->Close();
    EXPECT_EQ(value, 0);
    t->Open();
    EXPECT_EQ(value, 3);
    EXPECT_EQ(t->RecNo(), 1);
    t->Delete();
    EXPECT_EQ(value, 2);
}

TEST(DataSetClass, ChainListsTheClientDatasetAncestry) {
    TClientDataSet t;
    EXPECT_EQ(t.ClassName(), L"TClientDataSet");
    EXPECT_EQ(t.ClassChain(), (Strings{L"TClientDataSet", L"TCustomClientDataSet", L"TDataSet",
                                       L"TComponent", L"TPersistent", L"TObject"}));
    EXPECT_TRUE(t.InheritsFrom(L"tcustomclientdataset"));
    EXPECT_FALSE(t.InheritsFrom(L"TDataGrid"));
}
