// The find dialog's search: match types, case rules and the walk over the
// result table's cells, run on a real client dataset.
#include "data/ClientDataSet.h"
#include "grid/GridFindDialogMatch.h"
#include "support/WindowTest.h"
#include "ui/Application.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Form.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>

using grid::TFindDirection;
using grid::TFindMatchType;

namespace {

// The system's upper-casing, as the dialog uses it.
void SystemUpper(std::wstring& text) {
    if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
}

class FindWalkTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* name : {L"fwq", L"sjkglxt", L"bbmc", L"bdmc", L"dkh", L"bz"})
            table.FieldDefs().Add(name, 100);
        table.CreateDataSet();
    }
    void AddRow(const std::wstring& fwq, const std::wstring& dkh = {}) {
        table.Append();
        table.FieldByName(L"fwq")->SetAsString(fwq);
        if (!dkh.empty()) table.FieldByName(L"dkh")->SetAsString(dkh);
        table.Post();
    }
    grid::TDataSetFindRows AllColumns() {
        std::vector<data::TField*> fields;
        for (int i = 0; i < table.FieldCount(); ++i)
            fields.push_back(table.Fields(i));
        return grid::TDataSetFindRows(table, fields, true);
    }
    grid::TFindOptions Options(const std::wstring& text, TFindDirection direction,
                               TFindMatchType type = TFindMatchType::fmtPart) {
        grid::TFindOptions o;
        o.Text = text;
        o.Direction = direction;
        o.MatchType = type;
        o.UpperCase = SystemUpper;
        return o;
    }

    data::TClientDataSet table;
    grid::TFindWalk walk;
};

} // namespace

TEST(FindMatch, MatchTypesAndEmptyText) {
    EXPECT_TRUE(grid::FindTextMatches(L"PC1\\SQLEXPRESS", L"SQL", TFindMatchType::fmtPart));
    EXPECT_FALSE(grid::FindTextMatches(L"PC1\\SQLEXPRESS", L"SQL", TFindMatchType::fmtWhole));
    EXPECT_FALSE(grid::FindTextMatches(L"PC1\\SQLEXPRESS", L"SQL", TFindMatchType::fmtStart));
    EXPECT_TRUE(grid::FindTextMatches(L"PC1\\SQLEXPRESS", L"PC1", TFindMatchType::fmtStart));
    EXPECT_TRUE(grid::FindTextMatches(L"PC1", L"PC1", TFindMatchType::fmtWhole));
    // A cell shorter than the text cannot start with it.
    EXPECT_FALSE(grid::FindTextMatches(L"PC", L"PC1", TFindMatchType::fmtStart));
    // The empty text: never part of anything, the start of everything.
    EXPECT_FALSE(grid::FindTextMatches(L"PC1", L"", TFindMatchType::fmtPart));
    EXPECT_FALSE(grid::FindTextMatches(L"", L"", TFindMatchType::fmtPart));
    EXPECT_TRUE(grid::FindTextMatches(L"PC1", L"", TFindMatchType::fmtStart));
    EXPECT_TRUE(grid::FindTextMatches(L"", L"", TFindMatchType::fmtWhole));
    EXPECT_FALSE(grid::FindTextMatches(L"PC1", L"", TFindMatchType::fmtWhole));
}

TEST(FindMatch, CtrlReversesTheDirection) {
    EXPECT_EQ(grid::ReversedFindDirection(TFindDirection::fdUp), TFindDirection::fdDown);
    EXPECT_EQ(grid::ReversedFindDirection(TFindDirection::fdDown), TFindDirection::fdUp);
    EXPECT_EQ(grid::ReversedFindDirection(TFindDirection::fdAll), TFindDirection::fdUp);
}

TEST_F(FindWalkTest, CaseInsensitiveFindsThenReportsTheEnd) {
    AddRow(L"PC1");
    AddRow(L"PC1\\SQLEXPRESS");
    auto rows = AllColumns();
    walk.SetColumnCount(6, TFindDirection::fdAll);
    const auto o = Options(L"sqlexpress", TFindDirection::fdAll);
    EXPECT_EQ(walk.Search(rows, o), 0); // the fwq column
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_FALSE(walk.FirstTry());
    // The next search goes on after the match and stops at the table's end.
    EXPECT_EQ(walk.Search(rows, o), -1);
    EXPECT_TRUE(table.Eof());
}

TEST_F(FindWalkTest, CaseSensitiveComparesExactly) {
    AddRow(L"PC1");
    AddRow(L"PC1\\SQLEXPRESS");
    auto rows = AllColumns();
    walk.SetColumnCount(6, TFindDirection::fdAll);
    auto o = Options(L"sqlexpress", TFindDirection::fdAll);
    o.CaseSensitive = true;
    EXPECT_EQ(walk.Search(rows, o), -1);
    EXPECT_TRUE(walk.FirstTry());
    walk.Restart(TFindDirection::fdAll);
    o.Text = L"SQLEXPRESS";
    EXPECT_EQ(walk.Search(rows, o), 0);
    EXPECT_EQ(table.RecNo(), 2);
}

TEST_F(FindWalkTest, SystemUpperCaseFoldsBeyondAscii) {
    AddRow(L"Ärger straße", L"ÉCOLE");
    auto rows = AllColumns();
    walk.SetColumnCount(6, TFindDirection::fdAll);
    EXPECT_EQ(walk.Search(rows, Options(L"école", TFindDirection::fdAll)), 4);
    walk.Restart(TFindDirection::fdAll);
    EXPECT_EQ(walk.Search(rows, Options(L"ärger", TFindDirection::fdAll)), 0);
}

TEST_F(FindWalkTest, WalksCellByCellAndContinuesAfterEachMatch) {
    AddRow(L"A1", L"1433");
    AddRow(L"A2", L"1434");
    AddRow(L"B3", L"1433");
    auto rows = AllColumns();
    walk.SetColumnCount(6, TFindDirection::fdAll);
    const auto o = Options(L"143", TFindDirection::fdAll);
    std::vector<std::pair<int, int>> hits;
    for (int col; (col = walk.Search(rows, o)) >= 0;)
        hits.emplace_back(table.RecNo(), col);
    const std::vector<std::pair<int, int>> expected{{1, 4}, {2, 4}, {3, 4}};
    EXPECT_EQ(hits, expected);
    // Down from the second row with the start rule: A2's fwq is not examined again.
    table.First();
    table.Next();
    walk.Restart(TFindDirection::fdDown);
    EXPECT_EQ(walk.Search(rows, Options(L"a", TFindDirection::fdDown, TFindMatchType::fmtStart)),
              0);
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_EQ(walk.Search(rows, Options(L"a", TFindDirection::fdDown, TFindMatchType::fmtStart)),
              -1);
}

TEST_F(FindWalkTest, UpwardsStartsAtTheLastColumnAndStopsAtTheBeginning) {
    AddRow(L"PC1", L"1433");
    AddRow(L"PC2", L"1434");
    auto rows = AllColumns();
    table.Last();
    table.Prior();
    table.Next(); // on the last row, with neither flag set
    walk.SetColumnCount(6, TFindDirection::fdUp);
    EXPECT_EQ(walk.Position(), 5);
    const auto o = Options(L"PC", TFindDirection::fdUp);
    EXPECT_EQ(walk.Search(rows, o), 0);
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_EQ(walk.Search(rows, o), 0);
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_EQ(walk.Search(rows, o), -1);
    EXPECT_TRUE(table.Bof());
}

TEST_F(FindWalkTest, EndFlagIsTestedBeforeTheFirstCell) {
    AddRow(L"PC1");
    AddRow(L"PC2");
    table.First();
    while (!table.Eof())
        table.Next(); // as after a detection run walked every row
    auto rows = AllColumns();
    walk.SetColumnCount(6, TFindDirection::fdDown);
    EXPECT_EQ(walk.Search(rows, Options(L"PC", TFindDirection::fdDown)), -1);
    EXPECT_EQ(table.RecNo(), 2);
    // "All" starts from the first row instead.
    walk.Restart(TFindDirection::fdAll);
    EXPECT_EQ(walk.Search(rows, Options(L"PC", TFindDirection::fdAll)), 0);
    EXPECT_EQ(table.RecNo(), 1);
}

TEST_F(FindWalkTest, EmptyTextAndColumnlessCases) {
    AddRow(L"PC1");
    auto rows = AllColumns();
    walk.SetColumnCount(6, TFindDirection::fdAll);
    // With the start rule the empty text matches the first cell examined.
    EXPECT_EQ(walk.Search(rows, Options(L"", TFindDirection::fdAll, TFindMatchType::fmtStart)), 0);
    walk.Restart(TFindDirection::fdAll);
    EXPECT_EQ(walk.Search(rows, Options(L"", TFindDirection::fdAll)), -1);
    // No search columns: nothing is examined and the cursor stays.
    table.First();
    walk.SetColumnCount(0, TFindDirection::fdAll);
    EXPECT_EQ(walk.Search(rows, Options(L"PC1", TFindDirection::fdAll)), -1);
    EXPECT_EQ(table.RecNo(), 1);
}

TEST_F(FindWalkTest, ColumnWithoutFieldReadsEmpty) {
    AddRow(L"PC1");
    grid::TDataSetFindRows rows(table, {nullptr, table.FieldByName(L"fwq")}, false);
    EXPECT_EQ(rows.CellText(0), L"");
    EXPECT_EQ(rows.CellText(1), L"PC1");
    EXPECT_EQ(rows.CellText(7), L""); // outside the column list
    walk.SetColumnCount(2, TFindDirection::fdAll);
    EXPECT_EQ(walk.Search(rows, Options(L"", TFindDirection::fdAll, TFindMatchType::fmtWhole)), 0);
}

// The walk against a plain scan on random tables: every cell in walk order,
// upper-cased whole by the system when case does not count, matched by
// FindTextMatches. Same cells found, in the same order, for every match type,
// both case rules and both directions.
TEST_F(FindWalkTest, RandomTablesFindWhatAPlainScanFinds) {
    std::mt19937 rng(77);
    const std::vector<std::wstring> pieces = {L"sql",    L"SQL",    L"Sq",     L"1433",   L"\u00e9",
                                              L"\u00c9", L"\u00df", L"\u00ff", L"\u4e2d", L"\\",
                                              L"pc",     L" ",      L"\u0131", L"i"};
    const auto text = [&](int most) {
        std::wstring s;
        for (int n = static_cast<int>(rng() % static_cast<unsigned>(most + 1)); n > 0; --n)
            s += pieces[rng() % pieces.size()];
        return s;
    };
    for (int r = 0; r < 60; ++r) {
        table.Append();
        for (int f = 0; f < table.FieldCount(); ++f)
            if (rng() % 4 != 0) table.Fields(f)->SetAsString(text(4));
        table.Post();
    }
    auto rows = AllColumns();
    const int count = table.RecordCount();
    for (int round = 0; round < 120; ++round) {
        auto o = Options(text(2), round % 2 ? TFindDirection::fdUp : TFindDirection::fdAll,
                         static_cast<TFindMatchType>(rng() % 3));
        o.CaseSensitive = rng() % 3 == 0;
        std::wstring wanted = o.Text;
        if (!o.CaseSensitive) SystemUpper(wanted);

        std::vector<std::pair<int, int>> expected;
        const bool up = o.Direction == TFindDirection::fdUp;
        for (int i = 0; i < count; ++i) {
            const int recNo = up ? count - i : i + 1;
            for (int j = 0; j < 6; ++j) {
                const int col = up ? 5 - j : j;
                std::wstring cell = table.FieldTextAt(recNo, col);
                if (!o.CaseSensitive) SystemUpper(cell);
                if (grid::FindTextMatches(cell, wanted, o.MatchType))
                    expected.emplace_back(recNo, col);
            }
        }

        if (up) {
            table.Last();
            table.Prior();
            table.Next(); // on the last row, neither flag set
        }
        walk.SetColumnCount(6, o.Direction);
        std::vector<std::pair<int, int>> found;
        for (int col; (col = walk.Search(rows, o)) >= 0;)
            found.emplace_back(table.RecNo(), col);
        ASSERT_EQ(found, expected) << "round " << round;
    }
}

TEST(DataCheckBox, ClassNameStateAndClick) {
    ui::TApplication app;
    auto* form = new ui::TForm(&app);
    form->SetClientSize(200, 100);
    auto* box = new ui::TDataCheckBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 150, 17);
    box->SetCaption(L"格式匹配");
    box->SetChecked(true); // before the window exists
    int clicks = 0;
    box->OnClick = [&](ui::TComponent*) { ++clicks; };
    form->Show();
    wchar_t cls[64] = {};
    GetClassNameW(box->Handle(), cls, 64);
    EXPECT_STREQ(cls, L"TDataCheckBox");
    EXPECT_TRUE(box->Checked());
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    testing_support::Pump(10);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 1);
    delete form;
}

TEST(DataComboBox, ClassNameItemsTextAndChange) {
    ui::TApplication app;
    auto* form = new ui::TForm(&app);
    form->SetClientSize(300, 100);
    auto* edit = new ui::TDataComboBox(form);
    edit->SetParent(form);
    edit->SetBounds(10, 50, 200, 24);
    edit->SetText(L"sqlexpress"); // before the window exists
    auto* combo = new ui::TDataComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(10, 10, 200, 24);
    combo->Style = ui::TComboBoxStyle::csDropDownList;
    for (const wchar_t* item : {L"向上", L"向下", L"所有"})
        combo->AddItem(item);
    combo->SetItemIndex(2); // before the window exists
    combo->SetItemIndex(7); // outside the list: nothing selected
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetItemIndex(2);
    int changes = 0;
    combo->OnChange = [&](ui::TComponent*) { ++changes; };
    edit->OnChange = combo->OnChange; // putting the early text in is no user change
    form->Show();
    wchar_t cls[64] = {};
    GetClassNameW(combo->Handle(), cls, 64);
    EXPECT_STREQ(cls, L"TDataComboBox");
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), L"所有");
    EXPECT_EQ(edit->Text(), L"sqlexpress");
    // A selection by the user arrives as CBN_SELCHANGE at the parent.
    SendMessageW(combo->Handle(), CB_SETCURSEL, 0, 0);
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo->Handle()));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), L"向上");
    delete form;
}
