#include "ResultTable.h"

#include "data/DataSource.h"

#include <gtest/gtest.h>

using namespace data;
using datatest::AppendRow;
using datatest::MakeResultTable;
using Strings = std::vector<std::wstring>;

namespace {

// Records what a control would hear, as short strings.
class RecordingLink : public TDataLink {
public:
    Strings log;
    void ActiveChanged() override { log.push_back(Active() ? L"active" : L"inactive"); }
    void DataSetChanged() override { log.push_back(L"changed"); }
    void DataSetScrolled(int d) override { log.push_back(L"scrolled " + std::to_wstring(d)); }
    void RecordChanged(TField* f) override {
        log.push_back(L"record " + (f ? f->FieldName() : std::wstring(L"*")));
    }
    void EditingChanged() override { log.push_back(L"editing"); }
    void LayoutChanged() override { log.push_back(L"layout"); }
    Strings Take() { return std::exchange(log, {}); }
    // The first field of every record in the window.
    Strings Window() const {
        Strings out;
        for (int r = 0; r < RecordCount(); ++r)
            out.push_back(FieldText(r, 0));
        return out;
    }
};

struct Bound {
    std::unique_ptr<TClientDataSet> table = MakeResultTable();
    TDataSource source{table.get()};
    RecordingLink link;
    explicit Bound(int rows, int buffer = 3) {
        for (int i = 1; i <= rows; ++i)
            AppendRow(*table, std::to_wstring(i));
        table->First();
        link.SetBufferCount(buffer);
        link.SetDataSource(&source);
        link.Take();
    }
};

} // namespace

TEST(DataLink, EveryKindOfChangeReachesTheLink) {
    Bound b(0);
    EXPECT_TRUE(b.link.Active());
    b.table->Append();
    EXPECT_EQ(b.link.Take(), (Strings{L"editing", L"changed"}));
    b.table->FieldByName(L"fwq")->SetAsString(L"PC1");
    EXPECT_EQ(b.link.Take(), (Strings{L"record fwq"}));
    b.table->Post();
    EXPECT_EQ(b.link.Take(), (Strings{L"editing", L"changed"}));
    b.table->Edit();
    EXPECT_EQ(b.link.Take(), (Strings{L"editing", L"record *"}));
    b.table->Cancel();
    EXPECT_EQ(b.link.Take(), (Strings{L"editing", L"changed"}));
    AppendRow(*b.table, L"PC2");
    b.link.Take();
    b.table->First();
    EXPECT_EQ(b.link.Take(), (Strings{L"scrolled 0"}));
    b.table->Delete();
    EXPECT_EQ(b.link.Take(), (Strings{L"changed"}));
    b.table->EmptyDataSet();
    EXPECT_EQ(b.link.Take(), (Strings{L"changed"}));
    b.table->Close();
    EXPECT_EQ(b.link.Take(), (Strings{L"inactive"}));
    EXPECT_EQ(b.link.RecordCount(), 0);
    b.table->Open();
    EXPECT_EQ(b.link.Take(), (Strings{L"active"}));
    b.table->FieldByName(L"bz")->SetDisplayLabel(L"备注");
    EXPECT_EQ(b.link.Take(), (Strings{L"layout"}));
    b.table->SetIndexName(L"");
    b.table->AddIndex(L"i", L"fwq");
    b.table->SetIndexName(L"i");
    EXPECT_EQ(b.link.Take(), (Strings{L"changed"}));
}

TEST(DataLink, PostingAnEditThatKeepsItsPlaceChangesOnlyThatRecord) {
    Bound b(3);
    b.table->Edit();
    b.table->FieldByName(L"bz")->SetAsString(L"x ");
    b.link.Take();
    b.table->Post();
    EXPECT_EQ(b.link.Take(), (Strings{L"editing", L"record *"}));
    // Under an index on the written field the row moves: the order changed.
    b.table->AddIndex(L"byRemark", L"bz");
    b.table->SetIndexName(L"byRemark");
    b.table->First();
    b.table->Edit();
    b.table->FieldByName(L"bz")->SetAsString(L"z ");
    b.link.Take();
    b.table->Post();
    EXPECT_EQ(b.link.Take(), (Strings{L"editing", L"changed"}));
}

TEST(DataLink, WindowScrollsOnlyWhenTheCursorLeavesIt) {
    Bound b(10, 3);
    EXPECT_EQ(b.link.Window(), (Strings{L"1", L"2", L"3"}));
    EXPECT_EQ(b.link.ActiveRecord(), 0);
    b.table->MoveBy(2);
    EXPECT_EQ(b.link.Take(), (Strings{L"scrolled 0"}));
    EXPECT_EQ(b.link.ActiveRecord(), 2);
    b.table->Next(); // one below the window: scrolls by one
    EXPECT_EQ(b.link.Take(), (Strings{L"scrolled 1"}));
    EXPECT_EQ(b.link.Window(), (Strings{L"2", L"3", L"4"}));
    EXPECT_EQ(b.link.ActiveRecord(), 2);
    b.table->MoveBy(-2); // inside
    EXPECT_EQ(b.link.Take(), (Strings{L"scrolled 0"}));
    EXPECT_EQ(b.link.ActiveRecord(), 0);
    b.table->Last();
    EXPECT_EQ(b.link.Take(), (Strings{L"scrolled 6"}));
    EXPECT_EQ(b.link.Window(), (Strings{L"8", L"9", L"10"}));
    EXPECT_EQ(b.link.FirstRecNo(), 8);
    b.table->Prior();
    b.table->Prior();
    b.table->Prior(); // record 7: just above the window, which becomes its first row
    EXPECT_EQ(b.link.Take(), (Strings{L"scrolled 0", L"scrolled 0", L"scrolled -1"}));
    EXPECT_EQ(b.link.FirstRecNo(), 7);
    EXPECT_EQ(b.link.ActiveRecord(), 0);
}

TEST(DataLink, WindowIsNeverLargerThanTheTableAndRefillsAfterDeletes) {
    Bound b(2, 5);
    EXPECT_EQ(b.link.RecordCount(), 2);
    EXPECT_EQ(b.link.BufferCount(), 5);
    Bound c(6, 3);
    c.table->Last();
    EXPECT_EQ(c.link.Window(), (Strings{L"4", L"5", L"6"}));
    c.table->Delete(); // the window keeps three records by reaching back
    EXPECT_EQ(c.link.Window(), (Strings{L"3", L"4", L"5"}));
    EXPECT_EQ(c.link.ActiveRecord(), 2);
    c.link.SetBufferCount(10);
    EXPECT_EQ(c.link.Window(), (Strings{L"1", L"2", L"3", L"4", L"5"}));
    EXPECT_EQ(c.link.ActiveRecord(), 4);
    EXPECT_THROW(c.link.FieldText(5, 0), DataSetError);
}

TEST(DataLink, PendingNewRowAppearsAtTheEndOfTheWindow) {
    Bound b(4, 3);
    b.table->Append();
    EXPECT_EQ(b.link.RecordCount(), 3);
    EXPECT_EQ(b.link.ActiveRecord(), 2);
    EXPECT_EQ(b.link.BookmarkAt(2), 0u);
    b.table->FieldByName(L"fwq")->SetAsString(L"new");
    EXPECT_EQ(b.link.Window(), (Strings{L"3", L"4", L"new"}));
    EXPECT_TRUE(b.link.Editing());
}

TEST(DataLink, ARowMovedByItsIndexKeepsItsRowInTheWindow) {
    Bound b(9, 3);
    b.table->AddIndex(L"i", L"fwq");
    b.table->SetIndexName(L"i");
    b.table->SetRecNo(5);
    EXPECT_EQ(b.link.ActiveRecord(), 2);
    b.link.Take();
    b.table->Edit();
    b.table->FieldByName(L"fwq")->SetAsString(L"0"); // moves to the top
    b.table->Post();
    EXPECT_EQ(b.table->RecNo(), 1);
    EXPECT_EQ(b.link.ActiveRecord(), 0); // as close to its old row as the table allows
    EXPECT_EQ(b.link.Window(), (Strings{L"0", L"1", L"2"}));
    b.table->SetRecNo(6);
    b.table->Edit();
    EXPECT_EQ(b.link.Window(), (Strings{L"3", L"4", L"6"}));
    b.table->FieldByName(L"fwq")->SetAsString(L"75");
    b.table->Post(); // moves one place down, past "7"
    EXPECT_EQ(b.table->RecNo(), 7);
    EXPECT_EQ(b.link.ActiveRecord(), 2);
    EXPECT_EQ(b.link.Window(), (Strings{L"4", L"7", L"75"}));
}

TEST(DataLink, DisabledControlsHearOneChangeAtTheEnd) {
    Bound b(20, 4);
    b.table->SetRecNo(10);
    const int row = b.link.ActiveRecord();
    b.link.Take();
    b.table->DisableControls();
    b.table->DisableControls();
    EXPECT_TRUE(b.table->ControlsDisabled());
    for (b.table->First(); !b.table->Eof(); b.table->Next()) {
    }
    b.table->SetRecNo(10);
    b.table->Edit();
    b.table->FieldByName(L"bz")->SetAsString(L"x");
    b.table->EnableControls();
    EXPECT_TRUE(b.link.Take().empty());
    b.table->EnableControls();
    EXPECT_FALSE(b.table->ControlsDisabled());
    EXPECT_EQ(b.link.Take(), (Strings{L"editing", L"changed"}));
    EXPECT_EQ(b.link.ActiveRecord(), row); // the window comes back where it stood
    b.table->EnableControls();             // unbalanced: ignored
    EXPECT_TRUE(b.link.Take().empty());
}

TEST(DataLink, DisabledControlsScopeEndsEvenWhenLeftByAnError) {
    Bound b(5);
    b.link.Take();
    {
        TDisabledControls outer(*b.table);
        {
            TDisabledControls inner(*b.table);
            b.table->Last();
        }
        EXPECT_TRUE(b.link.Take().empty()) << "nested: still quiet";
    }
    EXPECT_FALSE(b.table->ControlsDisabled());
    EXPECT_EQ(b.link.Take(), (Strings{L"changed"}));

    EXPECT_THROW(
        {
            TDisabledControls quiet(*b.table);
            b.table->First();
            b.table->GotoBookmark(0); // "Record not found"
        },
        DataSetError);
    EXPECT_FALSE(b.table->ControlsDisabled());
    EXPECT_EQ(b.link.Take(), (Strings{L"changed"}));
    EXPECT_EQ(b.table->RecNo(), 1);
}

TEST(DataLink, OpeningAndClosingReachLinksEvenWhileDisabled) {
    Bound b(3);
    b.table->DisableControls();
    b.table->Close();
    EXPECT_EQ(b.link.Take(), (Strings{L"inactive"}));
    b.table->Open();
    b.table->EnableControls();
    EXPECT_EQ(b.link.Take(), (Strings{L"active", L"changed"}));
}

TEST(DataSource, StateEnabledAndCallbacks) {
    int dataChanges = 0, stateChanges = 0; // outlive the source, which calls back as it goes
    Bound b(1);
    b.source.OnDataChange = [&] { ++dataChanges; };
    b.source.OnStateChange = [&] { ++stateChanges; };
    EXPECT_EQ(b.source.State(), TDataSetState::dsBrowse);
    b.table->Edit();
    EXPECT_EQ(b.source.State(), TDataSetState::dsEdit);
    b.table->Cancel();
    EXPECT_EQ(stateChanges, 2);
    EXPECT_GE(dataChanges, 2);
    b.source.SetEnabled(false);
    EXPECT_FALSE(b.link.Active());
    EXPECT_EQ(b.source.State(), TDataSetState::dsInactive);
    b.link.Take();
    AppendRow(*b.table, L"x");
    EXPECT_TRUE(b.link.Take().empty());
    b.source.SetEnabled(true);
    EXPECT_EQ(b.link.Take(), (Strings{L"active"}));
    EXPECT_EQ(b.source.LinkCount(), 1);
}

TEST(DataSource, DestroyingAnyPartFirstLeavesTheOthersSafe) {
    auto table = MakeResultTable();
    auto source = std::make_unique<TDataSource>(table.get());
    auto link = std::make_unique<RecordingLink>();
    link->SetDataSource(source.get());
    link->Take();
    table.reset();
    EXPECT_EQ(source->DataSet(), nullptr);
    EXPECT_EQ(link->Take(), (Strings{L"inactive"}));
    source.reset();
    EXPECT_EQ(link->DataSource(), nullptr);

    auto table2 = MakeResultTable();
    {
        TDataSource s2(table2.get());
        RecordingLink l2;
        l2.SetDataSource(&s2);
    } // link, then source, gone
    AppendRow(*table2, L"still fine");
    EXPECT_EQ(table2->RecordCount(), 1);

    TDataSource s3(table2.get());
    {
        RecordingLink l3;
        l3.SetDataSource(&s3);
        EXPECT_EQ(s3.LinkCount(), 1);
    }
    EXPECT_EQ(s3.LinkCount(), 0);
    AppendRow(*table2, L"again");
}

TEST(DataSource, ALinkThatDetachesItselfDuringNotificationIsSafe) {
    Bound b(3);
    struct Leaver : TDataLink {
        void DataSetScrolled(int) override { SetDataSource(nullptr); }
    } leaver;
    leaver.SetDataSource(&b.source);
    b.table->Last();
    EXPECT_EQ(leaver.DataSource(), nullptr);
    EXPECT_EQ(b.link.Take(), (Strings{L"scrolled 0"}));
}
