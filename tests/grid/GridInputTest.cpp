// The grid driven as a user drives it: title clicks that sort, keys, mouse
// presses and drags, the wheel, the scroll bar, column sizing and moving and
// the read-only editor.
#include "GridFixture.h"

#include "ui/Button.h"

#include <windowsx.h>

using testing_support::Pump;
using testing_support::SetKeyDown;

namespace {

class GridInput : public GridFixture {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        SetKeyDown(VK_CONTROL, false);
        SetKeyDown(VK_SHIFT, false);
    }
    void TearDown() override {
        SetKeyDown(VK_CONTROL, false);
        SetKeyDown(VK_SHIFT, false);
        GridFixture::TearDown();
    }

    // Rows whose dkh values are given, fwq = "PC<n>" in appending order.
    void AppendPorts(const std::vector<std::wstring>& ports) {
        int n = 0;
        for (const auto& p : ports) {
            table.Append();
            table.FieldByName(L"fwq")->SetAsString(L"PC" + std::to_wstring(++n));
            table.FieldByName(L"dkh")->SetAsString(p);
            table.Post();
        }
        table.First();
        Pump(5);
    }
    std::wstring Column(const wchar_t* field) {
        std::wstring s;
        const auto bm = table.GetBookmark();
        for (int i = 1; i <= table.RecordCount(); ++i) {
            table.SetRecNo(i);
            s += table.FieldByName(field)->AsString() + L" ";
        }
        table.GotoBookmark(bm);
        return s;
    }
    POINT Center(int col, int row) {
        const RECT r = grid->CellRect(col, row);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Send(UINT msg, int x, int y, WPARAM wp = 0) {
        SendMessageW(Hwnd(), msg, wp, MAKELPARAM(x, y));
    }
    void Click(int col, int row, bool ctrl = false) {
        const POINT p = Center(col, row);
        SetKeyDown(VK_CONTROL, ctrl);
        Send(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
        Send(WM_LBUTTONUP, p.x, p.y);
        Pump(5);
    }
    void Key(int vk, bool ctrl = false, bool shift = false) {
        SetKeyDown(VK_CONTROL, ctrl);
        SetKeyDown(VK_SHIFT, shift);
        SendMessageW(Hwnd(), WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
        SetKeyDown(VK_CONTROL, false);
        SetKeyDown(VK_SHIFT, false);
        Pump(2);
    }
    grid::TColumnTitle& Title(int i) { return grid->Columns()[i].Title(); }
    SCROLLINFO Scroll() {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        GetScrollInfo(Hwnd(), SB_VERT, &si);
        return si;
    }
    static constexpr int kDkh = 5; // grid column of 端口号
};

using grid::TSortMarker;

// --- Title-click sorting ---

TEST_F(GridInput, PlainClicksSortAscendingDescendingAscending) {
    AppendPorts({L"3", L"1", L"2"});
    table.Last();
    Click(kDkh, 0);
    EXPECT_EQ(Title(4).SortMarker(), TSortMarker::smDown);
    EXPECT_EQ(Title(4).SortIndex, 1);
    EXPECT_EQ(table.IndexName(), L"GridSortIndex");
    EXPECT_EQ(Column(L"dkh"), L"1 2 3 ");
    EXPECT_EQ(table.RecNo(), 1);
    Click(kDkh, 0);
    EXPECT_EQ(Title(4).SortMarker(), TSortMarker::smUp);
    EXPECT_EQ(Column(L"dkh"), L"3 2 1 ");
    Click(kDkh, 0);
    EXPECT_EQ(Title(4).SortMarker(), TSortMarker::smDown);
    EXPECT_EQ(Column(L"dkh"), L"1 2 3 ");
}

TEST_F(GridInput, CtrlClicksBuildAMultiSortAppliedOnCtrlRelease) {
    AppendPorts({L"2", L"1", L"2", L"1"}); // fwq PC1..PC4
    Click(kDkh, 0, true);
    Click(1, 0, true);
    EXPECT_EQ(Title(4).SortIndex, 1);
    EXPECT_EQ(Title(0).SortIndex, 2);
    EXPECT_TRUE(grid->SortPending());
    EXPECT_EQ(table.IndexName(), L""); // nothing sorted while Ctrl is held
    Click(1, 0, true);                 // fwq descending
    EXPECT_EQ(Title(0).SortMarker(), TSortMarker::smUp);
    SetKeyDown(VK_CONTROL, false);
    SendMessageW(Hwnd(), WM_KEYUP, VK_CONTROL, 0xC0000001);
    EXPECT_FALSE(grid->SortPending());
    EXPECT_EQ(table.IndexName(), L"GridSortIndex");
    EXPECT_EQ(Column(L"fwq"), L"PC4 PC2 PC3 PC1 ");

    Click(kDkh, 0, true); // 2nd: Up
    Click(kDkh, 0, true); // 3rd: removed; fwq moves up to 1
    EXPECT_EQ(Title(4).SortMarker(), TSortMarker::smNone);
    EXPECT_EQ(Title(4).SortIndex, 0);
    EXPECT_EQ(Title(0).SortIndex, 1);
    // A plain click on a third column drops the others.
    Click(3, 0);
    EXPECT_EQ(Title(0).SortMarker(), TSortMarker::smNone);
    EXPECT_EQ(Title(0).SortIndex, 0);
    EXPECT_EQ(Title(2).SortIndex, 1);
    EXPECT_FALSE(grid->SortPending());
}

TEST_F(GridInput, CtrlClickRemovingTheOnlySortReturnsToAppendOrder) {
    AppendPorts({L"2", L"1", L"3"});
    Click(kDkh, 0);
    Click(kDkh, 0, true);
    Click(kDkh, 0, true);
    SetKeyDown(VK_CONTROL, false);
    SendMessageW(Hwnd(), WM_KEYUP, VK_CONTROL, 0xC0000001);
    EXPECT_EQ(Title(4).SortMarker(), TSortMarker::smNone);
    EXPECT_EQ(table.IndexName(), L"");
    EXPECT_EQ(Column(L"dkh"), L"2 1 3 ");
    EXPECT_EQ(table.RecNo(), 1);
}

TEST_F(GridInput, LosingTheFocusAppliesAPendingSort) {
    AppendPorts({L"2", L"1"});
    HWND other = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE, 0, 300, 50, 20,
                                 form->Handle(), nullptr, nullptr, nullptr);
    Click(kDkh, 0, true);
    EXPECT_TRUE(grid->SortPending());
    SetFocus(other);
    Pump(5);
    EXPECT_FALSE(grid->SortPending());
    EXPECT_EQ(Column(L"dkh"), L"1 2 ");
    DestroyWindow(other);
}

TEST_F(GridInput, PressShowsSunkenStateAndMovingOffCancelsTheClick) {
    AppendPorts({L"2", L"1"});
    const POINT p = Center(kDkh, 0);
    Send(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    EXPECT_TRUE(grid->TitlePressed());
    EXPECT_EQ(grid->PressedColumn(), kDkh);
    Send(WM_MOUSEMOVE, p.x + 2, p.y + 40, MK_LBUTTON); // down off the title
    EXPECT_FALSE(grid->TitlePressed());
    Send(WM_LBUTTONUP, p.x + 2, p.y + 40);
    EXPECT_EQ(Title(4).SortMarker(), TSortMarker::smNone);
    EXPECT_EQ(table.IndexName(), L"");

    Send(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    Send(WM_MOUSEMOVE, p.x, p.y + 40, MK_LBUTTON);
    Send(WM_MOUSEMOVE, p.x + 1, p.y, MK_LBUTTON); // back on the cell
    EXPECT_TRUE(grid->TitlePressed());
    Send(WM_LBUTTONUP, p.x + 1, p.y);
    EXPECT_EQ(Title(4).SortMarker(), TSortMarker::smDown);
    EXPECT_EQ(grid->PressedColumn(), -1);
}

TEST_F(GridInput, CancelModeEndsAPressWithoutAClick) {
    AppendPorts({L"2", L"1"});
    const POINT p = Center(kDkh, 0);
    Send(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    SendMessageW(Hwnd(), WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(grid->TitlePressed());
    EXPECT_EQ(grid->Tracking(), grid::TGridTracking::gtNone);
    Send(WM_LBUTTONUP, p.x, p.y);
    EXPECT_EQ(Title(4).SortMarker(), TSortMarker::smNone);
}

TEST_F(GridInput, DraggingATitleSidewaysMovesTheColumnNotTheFields) {
    AppendPorts({L"1"});
    const POINT p = Center(6, 0); // 备注
    Send(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    Send(WM_MOUSEMOVE, p.x - 3, p.y, MK_LBUTTON);
    EXPECT_EQ(grid->Tracking(), grid::TGridTracking::gtTitlePress);
    Send(WM_MOUSEMOVE, p.x - 4, p.y, MK_LBUTTON);
    EXPECT_EQ(grid->Tracking(), grid::TGridTracking::gtMoving);
    EXPECT_EQ(grid->SizingLine(), -1) << "over its own place the column would not move";
    const POINT target = Center(1, 0);
    Send(WM_MOUSEMOVE, target.x, target.y, MK_LBUTTON);
    EXPECT_EQ(grid->SizingLine(), grid->CellRect(1, 0).left - 1) << "drop marker before 服务器";
    const POINT past = Center(5, 0);
    Send(WM_MOUSEMOVE, past.x, past.y, MK_LBUTTON);
    EXPECT_EQ(grid->SizingLine(), grid->CellRect(5, 0).left - 1);
    Send(WM_MOUSEMOVE, target.x, target.y, MK_LBUTTON);
    Send(WM_LBUTTONUP, target.x, target.y);
    EXPECT_EQ(grid->SizingLine(), -1);
    EXPECT_EQ(grid->Columns()[0].FieldName(), L"bz");
    EXPECT_EQ(grid->Columns()[1].FieldName(), L"fwq");
    EXPECT_EQ(Title(0).SortMarker(), TSortMarker::smNone); // no click
    EXPECT_EQ(table.Fields(0)->FieldName(), L"fwq");
    EXPECT_EQ(table.Fields(5)->FieldName(), L"bz");
    EXPECT_EQ(grid->ColWidths(1), 200);
}

TEST_F(GridInput, RightButtonDragMovesAColumn) {
    const POINT p = Center(6, 0);
    Send(WM_RBUTTONDOWN, p.x, p.y, MK_RBUTTON);
    const POINT target = Center(1, 0);
    Send(WM_MOUSEMOVE, target.x, target.y, MK_RBUTTON);
    Send(WM_RBUTTONUP, target.x, target.y);
    EXPECT_EQ(grid->Columns()[0].FieldName(), L"bz");

    // Moving right, the column lands after the target; Esc drops the move.
    const POINT first = Center(1, 0), third = Center(3, 0);
    Send(WM_RBUTTONDOWN, first.x, first.y, MK_RBUTTON);
    Send(WM_MOUSEMOVE, third.x, third.y, MK_RBUTTON);
    const RECT r = grid->CellRect(3, 0);
    EXPECT_EQ(grid->SizingLine(), r.right);
    Key(VK_ESCAPE);
    EXPECT_EQ(grid->SizingLine(), -1);
    EXPECT_EQ(grid->Tracking(), grid::TGridTracking::gtNone);
    Send(WM_RBUTTONUP, third.x, third.y);
    EXPECT_EQ(grid->Columns()[0].FieldName(), L"bz");
}

// --- Keys ---

TEST_F(GridInput, ArrowAndPageKeysStopAtTheEnds) {
    AppendRows(3);
    table.First();
    Key(VK_UP);
    EXPECT_EQ(table.RecNo(), 1);
    Key(VK_NEXT);
    EXPECT_EQ(table.RecNo(), 3);
    Key(VK_DOWN);
    EXPECT_EQ(table.RecNo(), 3);
    EXPECT_EQ(table.RecordCount(), 3);
    Key(VK_PRIOR);
    EXPECT_EQ(table.RecNo(), 1);
    Key(VK_DOWN, false, true);
    EXPECT_EQ(table.RecNo(), 2);
}

TEST_F(GridInput, CtrlKeysJumpWithinTheWindowAndToTheEnds) {
    AppendRows(60);
    table.First();
    const int window = grid->DataLink().RecordCount();
    Key(VK_DOWN, true);
    EXPECT_EQ(table.RecNo(), window);
    Key(VK_DOWN);
    Key(VK_UP, true);
    EXPECT_EQ(table.RecNo(), 2);
    Key(VK_END, true);
    EXPECT_EQ(table.RecNo(), 60);
    Key(VK_PRIOR, true);
    EXPECT_EQ(table.RecNo(), 60 - window + 1);
    Key(VK_HOME, true);
    EXPECT_EQ(table.RecNo(), 1);
}

TEST_F(GridInput, ColumnKeysAndTabWalkRecords) {
    AppendRows(3);
    table.First();
    EXPECT_EQ(grid->Col(), 1);
    Key(VK_LEFT);
    EXPECT_EQ(grid->Col(), 1);
    Key(VK_END);
    EXPECT_EQ(grid->Col(), 6);
    Key(VK_RIGHT);
    EXPECT_EQ(grid->Col(), 6);
    Key(VK_HOME);
    EXPECT_EQ(grid->Col(), 1);
    Key(VK_RIGHT, true);
    EXPECT_EQ(grid->Col(), 6);
    Key(VK_LEFT, true);
    EXPECT_EQ(grid->Col(), 1);
    grid->Columns()[1].SetVisible(false);
    Pump(2);
    Key(VK_RIGHT);
    EXPECT_EQ(grid->Col(), 3); // skips the hidden column
    Key(VK_TAB);
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_EQ(grid->Col(), 3);
    Key(VK_TAB);
    Key(VK_TAB);
    EXPECT_EQ(table.RecNo(), 3);
    Key(VK_TAB, false, true);
    EXPECT_EQ(table.RecNo(), 2);
}

TEST_F(GridInput, TabFromTheMessageLoopStaysWithTheGrid) {
    AppendRows(3);
    table.First();
    auto* other = new ui::TButton(form);
    other->SetBounds(0, 300, 80, 25);
    other->TabOrder = 1;
    other->SetParent(form);
    grid->SetFocus();
    PostMessageW(Hwnd(), WM_KEYDOWN, VK_TAB, 1);
    app.ProcessMessages();
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_EQ(GetFocus(), Hwnd()) << "the grid wants Tab: it is no dialog key there";
}

TEST_F(GridInput, CtrlFAsksForTheFindDialogOnAnOpenTable) {
    int asked = 0;
    grid->OnFindDialogRequest = [&](grid::TCustomDataGrid&) { ++asked; };
    Key('F', true);
    EXPECT_EQ(asked, 1);
    Key('F');
    Key('F', true, true); // Ctrl+Shift+F is not Ctrl+F
    EXPECT_EQ(asked, 1);
    table.Close();
    Key('F', true);
    EXPECT_EQ(asked, 1);
}

// --- Mouse, wheel, scroll bar ---

TEST_F(GridInput, ClickingDataCellsMovesRecordAndColumnFillerAndFooterDoNot) {
    AppendRows(3);
    table.First();
    Click(3, grid->FirstDataRow() + 2);
    EXPECT_EQ(table.RecNo(), 3);
    EXPECT_EQ(grid->Col(), 3);
    Click(3, grid->FillerRow());
    EXPECT_EQ(table.RecNo(), 3);
    Click(2, grid->FirstFooterRow() + 1);
    EXPECT_EQ(table.RecNo(), 3);
    EXPECT_EQ(grid->Col(), 3);
    Click(0, grid->FirstDataRow()); // indicator: record only
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_EQ(grid->Col(), 3);
}

TEST_F(GridInput, DraggingWalksRowsAndAutoScrollsBelowTheCells) {
    AppendRows(200);
    table.First();
    const int window = grid->DataLink().RecordCount();
    const POINT p = Center(2, grid->FirstDataRow());
    Send(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    const POINT last = Center(2, grid->FirstDataRow() + window - 1);
    Send(WM_MOUSEMOVE, last.x, last.y, MK_LBUTTON);
    EXPECT_EQ(table.RecNo(), window);
    const int below = grid->CellRect(2, grid->FirstDataRow() + window - 1).bottom + 1;
    Send(WM_MOUSEMOVE, last.x, below + 11, MK_LBUTTON); // d = 12: two records
    EXPECT_EQ(table.RecNo(), window + 2);
    EXPECT_TRUE(grid->AutoScrollActive());
    Pump(300); // interval 20 ms: several ticks of two records each
    const int after = table.RecNo();
    EXPECT_GT(after, window + 4);
    EXPECT_EQ((after - window) % 2, 0);
    Send(WM_MOUSEMOVE, last.x, last.y, MK_LBUTTON);
    EXPECT_FALSE(grid->AutoScrollActive());
    Send(WM_LBUTTONUP, last.x, last.y);
    EXPECT_EQ(grid->Tracking(), grid::TGridTracking::gtNone);
}

TEST_F(GridInput, WheelMovesOneRecordPerNotch) {
    AppendRows(5);
    table.First();
    SendMessageW(Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
    EXPECT_EQ(table.RecNo(), 2);
    SendMessageW(Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -60), 0);
    EXPECT_EQ(table.RecNo(), 2);
    SendMessageW(Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -60), 0);
    EXPECT_EQ(table.RecNo(), 3);
    SendMessageW(Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_EQ(table.RecNo(), 1);
}

TEST_F(GridInput, ScrollBarSettingsAndActions) {
    AppendRows(1);
    EXPECT_FALSE(GetWindowLongPtrW(Hwnd(), GWL_STYLE) & WS_VSCROLL);
    AppendRows(99, L"Q");
    table.First();
    Pump(5);
    const SCROLLINFO si = Scroll();
    EXPECT_EQ(si.nMin, 1);
    EXPECT_EQ(static_cast<int>(si.nPage), grid->PageRows());
    EXPECT_EQ(si.nMax, 100 + grid->PageRows() - 1);
    EXPECT_EQ(si.nPos, 1);
    const int window = grid->DataLink().RecordCount();
    SendMessageW(Hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(table.RecNo(), window + 1);
    EXPECT_EQ(Scroll().nPos, window + 1);
    SendMessageW(Hwnd(), WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(table.RecNo(), 1);
    SendMessageW(Hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 50), 0);
    EXPECT_EQ(table.RecNo(), 50);
    SendMessageW(Hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 70), 0);
    EXPECT_EQ(table.RecNo(), 50);
    SendMessageW(Hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 500), 0);
    EXPECT_EQ(table.RecNo(), 100);
    SendMessageW(Hwnd(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(table.RecNo(), 1);
    SendMessageW(Hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(table.RecNo(), 1 + grid->PageRows());
}

TEST_F(GridInput, ColumnsScrollSidewaysOnlyWhileTheyDoNotFit) {
    AppendRows(3);
    table.First();
    auto hscroll = [&] {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        GetScrollInfo(Hwnd(), SB_HORZ, &si);
        return si;
    };
    EXPECT_FALSE(GetWindowLongPtrW(Hwnd(), GWL_STYLE) & WS_HSCROLL) << "the six columns fit";
    EXPECT_EQ(grid->MaxLeftCol(), 1);

    grid->Columns()[5].SetWidth(700); // 备注 made wide enough to read a long remark
    Pump(5);
    EXPECT_TRUE(GetWindowLongPtrW(Hwnd(), GWL_STYLE) & WS_HSCROLL);
    const int maxLeft = grid->MaxLeftCol();
    EXPECT_GT(maxLeft, 1);
    SCROLLINFO si = hscroll();
    EXPECT_EQ(si.nMin, 1);
    EXPECT_EQ(si.nMax, 6);
    EXPECT_EQ(si.nMax - static_cast<int>(si.nPage) + 1, maxLeft) << "the thumb ends at MaxLeftCol";
    EXPECT_EQ(si.nPos, 1);

    // Making the last column current scrolls it into view; the indicator stays.
    grid->SetCol(6);
    EXPECT_EQ(grid->LeftCol(), maxLeft);
    EXPECT_EQ(hscroll().nPos, maxLeft);
    const RECT client = Client();
    EXPECT_LE(grid->CellRect(6, 0).right, client.right);
    EXPECT_EQ(grid->CellRect(1, 0).right, 0) << "scrolled off: not shown";
    EXPECT_EQ(grid->CellRect(0, 1).left, 0);
    EXPECT_EQ(grid->CellRect(maxLeft, 0).left, grid->ColWidths(0) + 1);
    EXPECT_EQ(grid->MouseCoord(grid->ColWidths(0) + 3, 3).x, maxLeft);

    // Scroll bar actions, by whole columns, within the range.
    SendMessageW(Hwnd(), WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(grid->LeftCol(), maxLeft - 1);
    SendMessageW(Hwnd(), WM_HSCROLL, SB_LEFT, 0);
    EXPECT_EQ(grid->LeftCol(), 1);
    SendMessageW(Hwnd(), WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(grid->LeftCol(), 1);
    SendMessageW(Hwnd(), WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40), 0);
    EXPECT_EQ(grid->LeftCol(), maxLeft);
    EXPECT_EQ(table.RecNo(), 1) << "sideways scrolling moves no record";
    // Going back to the first column brings it into view again.
    Key(VK_HOME);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->LeftCol(), 1);

    // Narrowed again, everything fits: the bar goes and the view is whole.
    grid->SetCol(6);
    grid->Columns()[5].SetWidth(200);
    Pump(5);
    EXPECT_EQ(grid->LeftCol(), 1);
    EXPECT_FALSE(GetWindowLongPtrW(Hwnd(), GWL_STYLE) & WS_HSCROLL);
}

// --- Column sizing ---

TEST_F(GridInput, SizingATitleBorderChangesTheWidthButNeverBelowTwo) {
    const RECT r = grid->CellRect(1, 0);
    const int edge = r.right, y = (r.top + r.bottom) / 2;
    Send(WM_LBUTTONDOWN, edge + 1, y, MK_LBUTTON);
    EXPECT_EQ(grid->Tracking(), grid::TGridTracking::gtSizing);
    Send(WM_MOUSEMOVE, edge + 31, y, MK_LBUTTON);
    EXPECT_EQ(grid->SizingLine(), edge + 31);
    Send(WM_LBUTTONUP, edge + 31, y);
    EXPECT_EQ(grid->ColWidths(1), 180);
    EXPECT_EQ(grid->Columns()[0].Width(), 180);

    Send(WM_LBUTTONDOWN, r.left + 180, y, MK_LBUTTON);
    Send(WM_LBUTTONUP, r.left + 1, y); // 1 pixel: keeps 180
    EXPECT_EQ(grid->ColWidths(1), 180);
    Send(WM_LBUTTONDOWN, r.left + 180, y, MK_LBUTTON);
    Send(WM_LBUTTONUP, r.left + 2, y);
    EXPECT_EQ(grid->ColWidths(1), 2);
    EXPECT_EQ(Title(0).SortMarker(), TSortMarker::smNone); // a sizing release is no click
}

TEST_F(GridInput, EscapeEndsSizingWithoutAChange) {
    const RECT r = grid->CellRect(2, 0);
    Send(WM_LBUTTONDOWN, r.right, 5, MK_LBUTTON);
    Send(WM_MOUSEMOVE, r.right + 40, 5, MK_LBUTTON);
    Key(VK_ESCAPE);
    EXPECT_EQ(grid->Tracking(), grid::TGridTracking::gtNone);
    Send(WM_LBUTTONUP, r.right + 40, 5);
    EXPECT_EQ(grid->ColWidths(2), 200);
}

// --- The read-only editor ---

TEST_F(GridInput, EditorShowsTheCellTextAndNeverChangesIt) {
    AppendRows(2);
    table.First();
    Click(1, grid->FirstDataRow()); // already the current cell
    ASSERT_TRUE(grid->EditorVisible());
    wchar_t text[64] = {};
    GetWindowTextW(grid->EditorHandle(), text, 64);
    EXPECT_STREQ(text, L"PC1");
    EXPECT_TRUE(GetWindowLongPtrW(grid->EditorHandle(), GWL_STYLE) & ES_READONLY);
    SendMessageW(grid->EditorHandle(), WM_CHAR, L'x', 1);
    GetWindowTextW(grid->EditorHandle(), text, 64);
    EXPECT_STREQ(text, L"PC1");
    EXPECT_EQ(table.FieldByName(L"fwq")->AsString(), L"PC1");
    SendMessageW(grid->EditorHandle(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(grid->EditorVisible());

    Key(VK_F2);
    EXPECT_TRUE(grid->EditorVisible());
    Key(VK_DOWN); // every move hides it
    EXPECT_FALSE(grid->EditorVisible());
    SendMessageW(Hwnd(), WM_CHAR, L'a', 1);
    EXPECT_TRUE(grid->EditorVisible());
    GetWindowTextW(grid->EditorHandle(), text, 64);
    EXPECT_STREQ(text, L"PC2");
}

// --- Markers and numbers as painted ---

namespace {
constexpr COLORREF kMarkerGrey = RGB(128, 128, 128);

struct Box {
    int left = INT_MAX, right = -1;
    bool empty() const { return right < 0; }
};

// Columns within [x0, x1) of the title band that hold a pixel of `color`
// (or, with `other`, a pixel of any colour but it).
Box Find(const testing_support::Snapshot& s, int x0, int x1, int top, int bottom, COLORREF color,
         bool other = false) {
    Box b;
    for (int x = x0; x < x1; ++x)
        for (int y = top; y < bottom; ++y)
            if ((s.at(x, y) == color) != other) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
            }
    return b;
}
} // namespace

TEST_F(GridInput, MarkersAndSortNumbersArePaintedAtTheTitleEnd) {
    AppendPorts({L"1", L"2"});
    const int bz = 6, fwq = 1;
    const RECT cell = grid->CellRect(bz, 0);
    const int R = cell.right - 1; // inside the cell edge
    const int top = cell.top + 1, bottom = cell.bottom - 1;
    {
        testing_support::Snapshot s(Hwnd(), 880, 279);
        EXPECT_TRUE(Find(s, R - 40, R, top, bottom, kMarkerGrey).empty());
    }
    Click(bz, 0);
    UpdateWindow(Hwnd());
    {
        testing_support::Snapshot s(Hwnd(), 880, 279);
        const Box m = Find(s, R - 40, R, top, bottom, kMarkerGrey);
        ASSERT_FALSE(m.empty());
        EXPECT_GE(m.left, R - 12);
        EXPECT_LE(m.right, R - 2);
    }
    Click(fwq, 0, true); // two keys: numbers shown, marker moves left of them
    UpdateWindow(Hwnd());
    {
        testing_support::Snapshot s(Hwnd(), 880, 279);
        const Box m = Find(s, R - 40, R, top, bottom, kMarkerGrey);
        ASSERT_FALSE(m.empty());
        EXPECT_LT(m.left, R - 12);
        const COLORREF titleColor = ui::ColorToRGB(Title(5).Color());
        const Box number = Find(s, m.right + 1, R, top, bottom, titleColor, true);
        EXPECT_FALSE(number.empty());
        EXPECT_LT(number.right, R);
    }
    SetKeyDown(VK_CONTROL, false);
    SendMessageW(Hwnd(), WM_KEYUP, VK_CONTROL, 0xC0000001);
    // Too narrow for caption area and marker: the marker is dropped.
    grid->Columns()[5].SetWidth(12);
    UpdateWindow(Hwnd());
    {
        const RECT narrow = grid->CellRect(bz, 0);
        testing_support::Snapshot s(Hwnd(), 880, 279);
        EXPECT_TRUE(Find(s, narrow.left, narrow.right, top, bottom, kMarkerGrey).empty());
        EXPECT_EQ(Title(5).SortMarker(), TSortMarker::smDown);
    }
}

} // namespace
