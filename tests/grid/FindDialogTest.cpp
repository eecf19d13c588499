// The find dialog on the result grid: its window, the column choice, the
// search as the user starts it (button, Enter, Ctrl held), the message when
// nothing is found, and its life as the one modal window behind Ctrl+F.
#include "GridFixture.h"
#include "grid/GridFindDialog.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"

using testing_support::ModalCatcher;
using testing_support::Pump;
using testing_support::RunSoon;
using testing_support::SetKeyDown;

namespace {

constexpr wchar_t kTitle[] = L"Find tests";

std::wstring WindowClass(HWND h) {
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    return cls;
}

class FindDialog : public GridFixture {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        SetKeyDown(VK_CONTROL, false);
        app.SetTitle(kTitle);
        dlg = new grid::TGridFindDlg(&app);
    }
    void TearDown() override {
        SetKeyDown(VK_CONTROL, false);
        GridFixture::TearDown();
    }

    // Rows of (fwq, bz); the other fields stay empty.
    void Rows(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> rows) {
        for (const auto& [fwq, bz] : rows) {
            table.Append();
            table.FieldByName(L"fwq")->SetAsString(fwq);
            table.FieldByName(L"bz")->SetAsString(bz);
            table.Post();
        }
        table.First();
        Pump(5);
    }
    int ColumnOf(const wchar_t* field) {
        for (int i = 0; i < grid->Columns().Count(); ++i)
            if (grid->Columns()[i].FieldName() == field) return grid->IndicatorOffset() + i;
        return -1;
    }
    void Open() {
        dlg->Prepare(*grid);
        dlg->Show();
        Pump(10);
    }
    // A choice made by the user: the system control changes, then tells its parent.
    void Choose(ui::TDataComboBox* combo, int index) {
        SendMessageW(combo->Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(dlg->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo->Handle()));
    }
    void Type(const std::wstring& text) {
        SetWindowTextW(dlg->cbText->Handle(), text.c_str());
        SendMessageW(dlg->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_EDITCHANGE),
                     reinterpret_cast<LPARAM>(dlg->cbText->Handle()));
    }
    void Tick(ui::TDataCheckBox* box, bool on) {
        if (box->Checked() != on) SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    }
    // Clicks "下一個" and returns the texts of the message boxes it showed.
    std::vector<std::wstring> Next(bool ctrl = false) {
        ModalCatcher catcher;
        SetKeyDown(VK_CONTROL, ctrl);
        SendMessageW(dlg->bFind->Handle(), BM_CLICK, 0, 0);
        SetKeyDown(VK_CONTROL, false);
        Pump(30);
        std::vector<std::wstring> texts;
        for (const auto& seen : catcher.seen()) {
            EXPECT_EQ(seen.caption, kTitle);
            texts.push_back(seen.text);
        }
        return texts;
    }
    std::wstring Fwq() { return table.FieldByName(L"fwq")->AsString(); }

    grid::TGridFindDlg* dlg = nullptr;
};

TEST_F(FindDialog, WindowControlsAndTheirFirstStateAsDesignedAt120Dpi) {
    Open();
    EXPECT_EQ(WindowClass(dlg->Handle()), L"TGridFindDlg");
    EXPECT_EQ(dlg->Caption(), L"文本查找");
    const int ppi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSY);
    RECT client;
    GetClientRect(dlg->Handle(), &client);
    EXPECT_EQ(client.right, MulDiv(621, ppi, 120));
    EXPECT_EQ(client.bottom, MulDiv(153, ppi, 120));
    EXPECT_EQ(dlg->bFind->Left(), MulDiv(508, ppi, 120));
    EXPECT_FALSE(GetWindowLongW(dlg->Handle(), GWL_STYLE) & WS_THICKFRAME);

    for (auto* combo : {dlg->cbText, dlg->cbFindIn, dlg->cbMatchinType, dlg->cbFindDirection})
        EXPECT_EQ(WindowClass(combo->Handle()), L"TDataComboBox");
    for (auto* box : {dlg->cbCharCase, dlg->cbUseFormat})
        EXPECT_EQ(WindowClass(box->Handle()), L"TDataCheckBox");
    EXPECT_EQ(dlg->cbMatchinType->Items(),
              (std::vector<std::wstring>{L"部份字符", L"所有字符", L"字符前包含"}));
    EXPECT_EQ(dlg->cbMatchinType->Text(), L"部份字符");
    EXPECT_EQ(dlg->cbFindDirection->Items(),
              (std::vector<std::wstring>{L"向上", L"向下", L"所有"}));
    EXPECT_EQ(dlg->cbFindDirection->Text(), L"所有");
    EXPECT_FALSE(dlg->cbCharCase->Checked());
    EXPECT_TRUE(dlg->cbUseFormat->Checked());
    EXPECT_EQ(dlg->bFind->Caption(), L"下一個");
    EXPECT_EQ(dlg->bCancel->Caption(), L"取消");

    // The tab order runs text, columns, match, direction, options, buttons.
    std::vector<ui::TWinControl*> expected{
        dlg->cbText,     dlg->cbFindIn,    dlg->cbMatchinType, dlg->cbFindDirection,
        dlg->cbCharCase, dlg->cbUseFormat, dlg->bFind,         dlg->bCancel};
    EXPECT_EQ(dlg->TabList(), expected);
    EXPECT_EQ(ui::FindControl(GetFocus()), dlg->cbText) << "the text box has the focus";
    EXPECT_EQ(dlg->ActiveControl(), dlg->cbText);
    dlg->SelectNext(true); // from inside the text box's edit window
    EXPECT_EQ(ui::FindControl(GetFocus()), dlg->cbFindIn);
}

TEST_F(FindDialog, ColumnChoiceFollowsTheGridsCurrentColumn) {
    grid->SetCol(ColumnOf(L"dkh"));
    Open();
    std::vector<std::wstring> captions{L"服务器(实例名)", L"数据库管理系统", L"版本名称",
                                       L"补丁名称",       L"端口号",         L"备注",
                                       L"<All>"};
    EXPECT_EQ(dlg->cbFindIn->Items(), captions);
    EXPECT_EQ(dlg->cbFindIn->Text(), L"端口号");
    ASSERT_EQ(dlg->SearchColumns().size(), 1u);
    EXPECT_EQ(dlg->SearchColumns()[0]->FieldName(), L"dkh");

    // A hidden current column offers no entry: all columns are searched.
    dlg->Hide();
    grid->Columns()[ColumnOf(L"bbmc") - 1].SetVisible(false);
    grid->SetCol(ColumnOf(L"bbmc"));
    Open();
    captions.erase(captions.begin() + 2);
    EXPECT_EQ(dlg->cbFindIn->Items(), captions);
    EXPECT_EQ(dlg->cbFindIn->Text(), L"<All>");
    EXPECT_EQ(dlg->SearchColumns().size(), 5u);

    // Choosing a column rebuilds the list and restarts the walk.
    Choose(dlg->cbFindIn, 0);
    ASSERT_EQ(dlg->SearchColumns().size(), 1u);
    EXPECT_EQ(dlg->SearchColumns()[0]->FieldName(), L"fwq");
    EXPECT_TRUE(dlg->Walk().FirstTry());
}

TEST_F(FindDialog, FindsSqlexpressThenReportsTheEndAndStaysOnTheMatch) {
    Rows({{L"PC1", L""}, {L"PC1\\SQLEXPRESS", L""}});
    grid->SetCol(ColumnOf(L"dkh"));
    Open();
    Choose(dlg->cbFindIn, 6); // <All>
    Type(L"sqlexpress");
    EXPECT_TRUE(Next().empty());
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_EQ(grid->Col(), ColumnOf(L"fwq")) << "a case-insensitive match takes the column";
    EXPECT_FALSE(dlg->Walk().FirstTry());

    EXPECT_EQ(Next(), std::vector<std::wstring>{L"String \"sqlexpress\" not found."});
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_EQ(grid->Col(), ColumnOf(L"fwq"));
    EXPECT_TRUE(dlg->Visible()) << "the dialog stays open";
}

TEST_F(FindDialog, CaseSensitiveSearchComparesExactlyAndMovesOnlyTheRow) {
    Rows({{L"PC1", L""}, {L"PC1\\SQLEXPRESS", L""}, {L"PC2", L""}});
    grid->SetCol(ColumnOf(L"bz"));
    Open();
    Choose(dlg->cbFindIn, 6);
    Tick(dlg->cbCharCase, true);
    Type(L"sqlexpress");
    EXPECT_EQ(Next().size(), 1u);
    EXPECT_EQ(table.RecNo(), 1) << "the grid is back where it stood";

    Type(L"SQLEXPRESS");
    EXPECT_TRUE(Next().empty());
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_EQ(grid->Col(), ColumnOf(L"bz"));
}

TEST_F(FindDialog, CtrlHeldSearchesTheOtherWay) {
    Rows({{L"PC1", L"x"}, {L"PC2", L""}, {L"PC3", L"x"}, {L"PC4", L""}});
    table.SetRecNo(2);
    grid->SetCol(ColumnOf(L"bz"));
    Open();                          // column choice: bz only
    Choose(dlg->cbFindDirection, 1); // down
    Type(L"x");
    EXPECT_TRUE(Next(/*ctrl=*/true).empty());
    EXPECT_EQ(table.RecNo(), 1) << "down with Ctrl went up";
    EXPECT_TRUE(Next().empty());
    EXPECT_EQ(table.RecNo(), 3) << "down without Ctrl continues downwards";
}

TEST_F(FindDialog, DownFromTheEndReportsAtOnceWhileAllStartsAtTheTop) {
    Rows({{L"PC1\\SQLEXPRESS", L""}, {L"PC2", L""}});
    table.Last();
    table.Next(); // as a detection run leaves it: on the last row, end flag set
    ASSERT_TRUE(table.Eof());
    Open();
    Choose(dlg->cbFindDirection, 1);
    Type(L"sqlexpress");
    EXPECT_EQ(Next().size(), 1u);
    EXPECT_EQ(table.RecNo(), 2);

    Choose(dlg->cbFindDirection, 2);
    EXPECT_TRUE(Next().empty());
    EXPECT_EQ(table.RecNo(), 1);
}

TEST_F(FindDialog, AFailedSearchPutsTheGridBackWhereItStood) {
    for (int i = 0; i < 60; ++i) {
        table.Append();
        table.FieldByName(L"fwq")->SetAsString(L"PC" + std::to_wstring(i));
        table.Post();
    }
    table.SetRecNo(40);
    Pump(5);
    const int firstShown = grid->DataLink().FirstRecNo();
    const int row = grid->Row();
    Open();
    Choose(dlg->cbFindDirection, 1);
    Type(L"nowhere");
    EXPECT_EQ(Next().size(), 1u);
    EXPECT_EQ(table.RecNo(), 40);
    EXPECT_EQ(grid->Row(), row);
    EXPECT_EQ(grid->DataLink().FirstRecNo(), firstShown);
    EXPECT_FALSE(table.ControlsDisabled());
}

TEST_F(FindDialog, HistoryKeepsEachTextOnceAndOptionsOutliveTheOpening) {
    Rows({{L"PC1", L""}});
    Open();
    Type(L"Alpha");
    Next();
    Type(L"ALPHA");
    Next();
    Type(L"beta");
    Next();
    EXPECT_EQ(dlg->cbText->Items(), (std::vector<std::wstring>{L"Alpha", L"beta"}));
    Choose(dlg->cbMatchinType, 2);
    Tick(dlg->cbUseFormat, false);

    dlg->Hide();
    Open();
    EXPECT_EQ(dlg->cbText->Text(), L"");
    EXPECT_EQ(dlg->cbText->Items().size(), 2u);
    EXPECT_EQ(dlg->cbMatchinType->ItemIndex(), 2);
    EXPECT_FALSE(dlg->cbUseFormat->Checked());
    EXPECT_TRUE(dlg->Walk().FirstTry());
}

TEST_F(FindDialog, WithoutAnOpenTableTheTextIsKeptAndReportedNotFound) {
    Open();
    table.Close();
    Type(L"pc");
    EXPECT_EQ(Next(), std::vector<std::wstring>{L"String \"pc\" not found."});
    EXPECT_EQ(dlg->cbText->Items(), std::vector<std::wstring>{L"pc"});
}

TEST_F(FindDialog, StartWithEmptyTextMatchesTheFirstCellAndPartNever) {
    Rows({{L"PC1", L""}, {L"PC2", L""}});
    table.SetRecNo(2);
    Open();
    Choose(dlg->cbMatchinType, 2);
    EXPECT_TRUE(Next().empty());
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_EQ(grid->Col(), ColumnOf(L"fwq"));

    Choose(dlg->cbMatchinType, 0);
    Type(L"");
    EXPECT_EQ(Next(), std::vector<std::wstring>{L"String \"\" not found."});
}

// --- The modal dialog behind Ctrl+F ---

TEST_F(FindDialog, CtrlFOpensTheOneModalDialogEnterSearchesEscCloses) {
    delete dlg; // Ctrl+F creates the program's own
    dlg = nullptr;
    Rows({{L"PC1", L""}, {L"PC1\\SQLEXPRESS", L""}});
    grid->SetFocus();
    grid::TGridFindDlg* shown = nullptr;
    bool formEnabled = true;
    RunSoon([&] {
        SetKeyDown(VK_CONTROL, false); // the user lets go of Ctrl+F
        shown = grid::GridFindDlg();
        formEnabled = IsWindowEnabled(form->Handle()) != FALSE;
        // Typed into the text box, then Enter and Esc as the keyboard sends them.
        SetWindowTextW(GetFocus(), L"sqlexpress");
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
    });
    RunSoon([&] { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); });
    ModalCatcher catcher;
    SetKeyDown(VK_CONTROL, true);
    SendMessageW(grid->Handle(), WM_KEYDOWN, 'F', 1);
    SetKeyDown(VK_CONTROL, false);
    EXPECT_TRUE(catcher.seen().empty());

    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown, grid::GridFindDlg());
    EXPECT_FALSE(formEnabled) << "modal: the main window waits";
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_FALSE(IsWindowVisible(shown->Handle()));
    EXPECT_EQ(shown->ModalResult(), ui::mrCancel);
    EXPECT_EQ(table.RecNo(), 2) << "Enter searched";
    EXPECT_EQ(shown->cbText->Items(), std::vector<std::wstring>{L"sqlexpress"});
    EXPECT_EQ(shown->Grid(), nullptr) << "the grid is forgotten once the dialog closes";

    // The second Ctrl+F brings back the same window, emptied.
    std::wstring textOnReopen = L"?";
    RunSoon([&] {
        SetKeyDown(VK_CONTROL, false);
        textOnReopen = shown->cbText->Text();
        SendMessageW(shown->bCancel->Handle(), BM_CLICK, 0, 0);
    });
    SetKeyDown(VK_CONTROL, true);
    SendMessageW(grid->Handle(), WM_KEYDOWN, 'F', 1);
    SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(grid::GridFindDlg(), shown);
    EXPECT_EQ(textOnReopen, L"");
    EXPECT_FALSE(IsWindowVisible(shown->Handle()));
}

TEST_F(FindDialog, AnOpenDropDownListKeepsEnterAndEsc) {
    Rows({{L"PC1", L""}});
    Open();
    dlg->cbText->AddItem(L"pc1"); // a history to drop down
    // A fixed list has the focus itself; the text box's edit window has it.
    for (ui::TDataComboBox* combo : {dlg->cbFindDirection, dlg->cbText}) {
        combo->SetFocus();
        SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
        ASSERT_TRUE(combo->DroppedDown()) << combo->Name();
        ModalCatcher catcher;
        WORD key = VK_RETURN;
        dlg->FormKeyDown(dlg, key, 0);
        EXPECT_EQ(key, VK_RETURN) << "left to the list of " << combo->Name();
        key = VK_ESCAPE;
        dlg->FormKeyDown(dlg, key, 0);
        EXPECT_EQ(key, VK_ESCAPE);
        EXPECT_TRUE(catcher.seen().empty()) << "no search ran";
        SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    }

    // Closed, Esc closes the dialog that is not modal.
    WORD key = VK_ESCAPE;
    dlg->FormKeyDown(dlg, key, 0);
    EXPECT_EQ(key, 0);
    EXPECT_FALSE(dlg->Visible());
}

TEST_F(FindDialog, TheProgramsDialogIsForgottenWhenFreed) {
    delete dlg;
    dlg = nullptr;
    Rows({{L"PC1", L""}});
    RunSoon([] { PostMessageW(grid::GridFindDlg()->Handle(), WM_CLOSE, 0, 0); });
    grid::ShowFindDialog(*grid);
    grid::TGridFindDlg* first = grid::GridFindDlg();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Owner(), &app);
    delete first; // as the application's end frees it
    EXPECT_EQ(grid::GridFindDlg(), nullptr);
}

} // namespace
