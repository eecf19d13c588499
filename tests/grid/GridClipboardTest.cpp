// Copying rows with Ctrl+C, Ctrl+Insert and Ctrl+A, read back from the real
// clipboard.
#include "GridFixture.h"

#include "grid/GridClipboard.h"

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

using testing_support::Pump;
using testing_support::SetKeyDown;

namespace {

bool SetClipboardText(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool ok = false;
    if (memory) {
        std::memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!ok) GlobalFree(memory);
    }
    CloseClipboard();
    return ok;
}

std::wstring ClipboardText() {
    std::wstring text = L"<no text>";
    if (!OpenClipboard(nullptr)) return L"<not opened>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

const std::wstring kTitles = L"服务器(实例名)\t数据库管理系统\t版本名称\t补丁名称\t端口号\t备注";

class GridClipboard : public GridFixture {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        ReleaseModifiers();
        ASSERT_TRUE(SetClipboardText(L"before"));
    }
    void TearDown() override {
        ReleaseModifiers();
        GridFixture::TearDown();
    }
    static void ReleaseModifiers() {
        for (int vk : {VK_CONTROL, VK_SHIFT, VK_MENU})
            SetKeyDown(vk, false);
    }
    void Row(const std::wstring& fwq, const std::wstring& dkh, const std::wstring& bz) {
        table.Append();
        table.FieldByName(L"fwq")->SetAsString(fwq);
        table.FieldByName(L"sjkglxt")->SetAsString(L"Microsoft SQL Server 2019");
        table.FieldByName(L"dkh")->SetAsString(dkh);
        table.FieldByName(L"bz")->SetAsString(bz);
        table.Post();
    }
    // Three instances as a detection leaves them, appended in this order.
    void ThreeRows() {
        Row(L"PC1", L"1433", L"");
        Row(L"PC1\\SQLEXPRESS", L"", L"无TcpPort路径 连接不成功 ");
        Row(L"PC1\\SQL2022", L"49172 (动态)", L"连接不成功 ");
        table.First();
        Pump(5);
    }
    static std::wstring Line(const std::wstring& fwq, const std::wstring& dkh,
                             const std::wstring& bz) {
        return fwq + L"\tMicrosoft SQL Server 2019\t\t\t" + dkh + L"\t" + bz;
    }
    void Key(int vk, bool ctrl = false, bool shift = false, HWND target = nullptr) {
        SetKeyDown(VK_CONTROL, ctrl);
        SetKeyDown(VK_SHIFT, shift);
        SendMessageW(target ? target : Hwnd(), WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
        ReleaseModifiers();
        Pump(2);
    }
    // A key pressed with Ctrl held, through the application's message loop:
    // the form sees it first and TranslateMessage makes its character.
    void PostCtrlKey(HWND target, int vk) {
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
        SetKeyDown(VK_CONTROL, true);
        PostMessageW(target, WM_KEYDOWN, static_cast<WPARAM>(vk), scan | 1);
        PostMessageW(target, WM_KEYUP, static_cast<WPARAM>(vk), scan | 0xC0000001);
        app.ProcessMessages();
        ReleaseModifiers();
    }
    void ClickCell(int col, int row) {
        const RECT r = grid->CellRect(col, row);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(Hwnd(), WM_LBUTTONUP, 0, at);
        Pump(5);
    }
};

TEST_F(GridClipboard, CopiesTheCurrentRowOrAfterCtrlAEveryRowInTheSortedOrder) {
    ThreeRows();
    grid->SetFocus();
    PostCtrlKey(Hwnd(), 'C');
    EXPECT_EQ(ClipboardText(), kTitles + L"\r\n" + Line(L"PC1", L"1433", L""));

    table.Next(); // the remark keeps its trailing blank
    SetClipboardText(L"before");
    Key(VK_INSERT, true);
    EXPECT_EQ(ClipboardText(),
              kTitles + L"\r\n" + Line(L"PC1\\SQLEXPRESS", L"", L"无TcpPort路径 连接不成功 "));

    ClickCell(5, 0); // sort by 端口号: "", "1433", "49172 (动态)"
    Key('A', true);
    EXPECT_TRUE(grid->AllSelected());
    EXPECT_EQ(ClipboardText(),
              kTitles + L"\r\n" + Line(L"PC1\\SQLEXPRESS", L"", L"无TcpPort路径 连接不成功 "))
        << "Ctrl+A alone copies nothing";
    const std::wstring all = kTitles + L"\r\n" +
                             Line(L"PC1\\SQLEXPRESS", L"", L"无TcpPort路径 连接不成功 ") + L"\r\n" +
                             Line(L"PC1", L"1433", L"") + L"\r\n" +
                             Line(L"PC1\\SQL2022", L"49172 (动态)", L"连接不成功 ");
    for (int vk : {int{'C'}, int{VK_INSERT}}) {
        SetClipboardText(L"before");
        Key(vk, true);
        EXPECT_EQ(ClipboardText(), all) << vk;
    }

    // A click ends the select-all: the row clicked is copied alone.
    ClickCell(1, 3);
    EXPECT_FALSE(grid->AllSelected());
    Key('C', true);
    EXPECT_EQ(ClipboardText(),
              kTitles + L"\r\n" + Line(L"PC1\\SQL2022", L"49172 (动态)", L"连接不成功 "));

    // So does any other key; modifiers pressed alone do not.
    Key('A', true);
    Key(VK_CONTROL, true);
    Key(VK_SHIFT, false, true);
    EXPECT_TRUE(grid->AllSelected());
    Key(VK_UP);
    EXPECT_FALSE(grid->AllSelected());
    Key('C', true);
    EXPECT_EQ(ClipboardText(), kTitles + L"\r\n" + Line(L"PC1", L"1433", L""));
    Key('A', true);
    Key('C', true, true); // Ctrl+Shift+C is not a copy key
    EXPECT_FALSE(grid->AllSelected());
    SetClipboardText(L"before");
    Key('C', true, true);
    EXPECT_EQ(ClipboardText(), L"before");
}

TEST_F(GridClipboard, CopiesVisibleColumnsInTheirOrderAndQuotesCellsASpreadsheetWouldSplit) {
    struct Case {
        std::wstring cell, copied;
    };
    const Case cases[] = {
        {L"plain  ", L"plain  "},
        {L"a\tb", L"\"a\tb\""},
        {L"say \"hi\"", L"\"say \"\"hi\"\"\""},
        {L"two\r\nlines", L"\"two\r\nlines\""},
        {L"cr\ronly", L"\"cr\ronly\""},
        {L"lf\nonly", L"\"lf\nonly\""},
        {L"\"", L"\"\"\"\""},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid::ClipboardCell(c.cell), c.copied);

    // One row through the grid: bz moved first, sjkglxt hidden.
    Row(L"PC1", L"1433", L"x\t\"y\" ");
    Pump(5);
    grid->Columns().Move(5, 0);
    grid->Columns()[2].SetVisible(false); // sjkglxt, now third
    grid->SetFocus();
    Key('C', true);
    EXPECT_EQ(ClipboardText(), L"备注\t服务器(实例名)\t版本名称\t补丁名称\t端口号\r\n"
                               L"\"x\t\"\"y\"\" \"\tPC1\t\t\t1433");
}

TEST_F(GridClipboard, TheEditorKeepsItsOwnCopyOfTheSelectedText) {
    ThreeRows();
    grid->SetFocus();
    Key(VK_F2);
    ASSERT_TRUE(grid->EditorVisible());
    HWND editor = grid->EditorHandle();
    ASSERT_EQ(GetFocus(), editor);
    SendMessageW(editor, EM_SETSEL, 0, 2);
    PostCtrlKey(editor, 'C');
    EXPECT_EQ(ClipboardText(), L"PC");
    EXPECT_TRUE(grid->EditorVisible());
}

TEST_F(GridClipboard, AHeldClipboardOrNoRowLeavesTheClipboardAsItWas) {
    grid->SetFocus();
    Key('A', true);
    Key('C', true);
    EXPECT_EQ(ClipboardText(), L"before") << "an empty table copies nothing";

    ThreeRows();
    std::mutex m;
    std::condition_variable cv;
    bool ready = false, held = false, done = false;
    std::thread holder([&] {
        const bool opened = OpenClipboard(nullptr) != FALSE;
        std::unique_lock lock(m);
        held = opened;
        ready = true;
        cv.notify_all();
        cv.wait(lock, [&] { return done; });
        if (opened) CloseClipboard();
    });
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return ready; });
    }
    EXPECT_TRUE(held) << "another thread should hold the clipboard";
    EXPECT_FALSE(grid->CopyRows(true));
    Key('C', true);
    {
        std::lock_guard lock(m);
        done = true;
    }
    cv.notify_all();
    holder.join();
    EXPECT_EQ(ClipboardText(), L"before");
    EXPECT_TRUE(IsWindow(Hwnd()));

    // Once free, the same keys copy; the select-all of the empty table still
    // stands, no other key or click having come between.
    EXPECT_TRUE(grid->AllSelected());
    Key('C', true);
    EXPECT_EQ(ClipboardText(), kTitles + L"\r\n" + Line(L"PC1", L"1433", L"") + L"\r\n" +
                                   Line(L"PC1\\SQLEXPRESS", L"", L"无TcpPort路径 连接不成功 ") +
                                   L"\r\n" +
                                   Line(L"PC1\\SQL2022", L"49172 (动态)", L"连接不成功 "));
}

TEST_F(GridClipboard, WithoutEditActionsTheKeysDoNothing) {
    ThreeRows();
    grid->EditActions = {};
    grid->SetFocus();
    Key('A', true);
    EXPECT_FALSE(grid->AllSelected());
    Key('C', true);
    Key(VK_INSERT, true);
    EXPECT_EQ(ClipboardText(), L"before");
}

} // namespace
