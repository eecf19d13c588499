#include "data/ClientDataSet.h"
#include "grid/SumLists.h"

#include <gtest/gtest.h>

namespace {

class SumListTest : public ::testing::Test {
protected:
    void SetUp() override {
        table.FieldDefs().Add(L"fwq", 100);
        table.FieldDefs().Add(L"dkh", 100);
        table.CreateDataSet();
        count = &list.SumCollection().Add(grid::TGroupOperation::goCount, L"");
        list.OnChanged = [this] { ++notified; };
    }
    void AppendRow(const std::wstring& name) {
        table.Append();
        table.FieldByName(L"fwq")->SetAsString(name);
        table.Post();
    }
    double Count() const { return count->SumValue; }

    data::TClientDataSet table;
    grid::TDataGridSumList list;
    grid::TSumItem* count = nullptr;
    int notified = 0;
};

TEST_F(SumListTest, FollowsADetectionRunSequence) {
    list.SetDataSet(&table);
    list.SetActive(true);
    EXPECT_EQ(Count(), 0);

    // A new run: empty, close, open; then three rows appended and posted.
    table.EmptyDataSet();
    table.Close();
    EXPECT_EQ(Count(), 0);
    table.Open();
    EXPECT_EQ(Count(), 0);
    AppendRow(L"PC1");
    AppendRow(L"PC1\\A");
    AppendRow(L"PC1\\B");
    EXPECT_EQ(Count(), 3);

    // The row walk edits rows in place: the count stays.
    table.First();
    while (!table.Eof()) {
        table.Edit();
        table.FieldByName(L"dkh")->SetAsString(L"1433");
        table.Post();
        table.Next();
    }
    EXPECT_EQ(Count(), 3);

    // Cancelled insert and edit change nothing; a delete subtracts one.
    table.Append();
    table.Cancel();
    table.Edit();
    table.Cancel();
    EXPECT_EQ(Count(), 3);
    table.Append();
    table.Delete(); // a pending new row: only a cancel
    EXPECT_EQ(Count(), 3);
    table.First();
    table.Delete();
    EXPECT_EQ(Count(), 2);

    // Close clears, open recounts and leaves the cursor on the first row.
    table.Close();
    EXPECT_EQ(Count(), 0);
    table.Open();
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_EQ(grid::FormatSumValue(Count()), L"2");
}

TEST_F(SumListTest, BindingRecountsAndEveryChangeNotifies) {
    AppendRow(L"a");
    AppendRow(L"b");
    table.Last();
    list.SetDataSet(&table);
    list.SetActive(true);
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(table.RecNo(), 1); // the recount walks the table and ends on the first row
    const int before = notified;
    AppendRow(L"c");
    EXPECT_EQ(notified, before + 1);
    table.Close();
    EXPECT_EQ(notified, before + 2);
}

TEST_F(SumListTest, ChainsPreviousHandlersAndRestoresThemOnUnbind) {
    int posts = 0, opens = 0;
    table.AfterPost = [&](data::TDataSet&) { ++posts; };
    table.AfterOpen = [&](data::TDataSet&) { ++opens; };
    list.SetDataSet(&table);
    list.SetActive(true);
    AppendRow(L"a");
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(Count(), 1);
    table.Close();
    table.Open();
    EXPECT_EQ(opens, 1);

    list.SetActive(false);
    EXPECT_EQ(Count(), 0);
    AppendRow(L"b");
    EXPECT_EQ(posts, 2);   // the earlier handler is back in place
    EXPECT_EQ(Count(), 0); // and the list no longer follows
}

TEST_F(SumListTest, SwitchingDataSetsUnhooksTheOldOne) {
    data::TClientDataSet other;
    other.FieldDefs().Add(L"fwq", 100);
    other.CreateDataSet();
    list.SetDataSet(&table);
    list.SetActive(true);
    list.SetDataSet(&other);
    EXPECT_FALSE(table.AfterPost);
    AppendRow(L"only in table");
    EXPECT_EQ(Count(), 0);
    other.Append();
    other.Post();
    EXPECT_EQ(Count(), 1);
    list.SetDataSet(nullptr); // `other` goes first
    EXPECT_FALSE(other.AfterPost);
}

TEST(SumCollection, FindsByOperationAndFieldNameIgnoringCase) {
    grid::TSumCollection items;
    int changes = 0;
    items.OnChanged = [&] { ++changes; };
    grid::TSumItem& sum = items.Add(grid::TGroupOperation::goSum, L"Dkh");
    grid::TSumItem& all = items.Add(grid::TGroupOperation::goCount, L"");
    EXPECT_EQ(items.Find(grid::TGroupOperation::goSum, L"DKH"), &sum);
    EXPECT_EQ(items.Find(grid::TGroupOperation::goCount, L""), &all);
    EXPECT_EQ(items.Find(grid::TGroupOperation::goCount, L"dkh"), nullptr);
    items.Remove(&sum);
    EXPECT_EQ(items.Count(), 1);
    EXPECT_EQ(changes, 3);
}

TEST(FormatSumValue, WholeNumbersHaveNoFraction) {
    EXPECT_EQ(grid::FormatSumValue(0), L"0");
    EXPECT_EQ(grid::FormatSumValue(12), L"12");
    EXPECT_EQ(grid::FormatSumValue(-3), L"-3");
    EXPECT_EQ(grid::FormatSumValue(2.5), L"2.5");
}

} // namespace
