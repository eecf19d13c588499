// The data grid under skinned scroll bars: the same presses made on the
// system's bar and on the skinned overlay land on the same rows. One picture
// of the skinned grid is kept in the build folder.
#include "SkinControlsFixture.h"

#include "data/ClientDataSet.h"
#include "grid/DataGrid.h"
#include "grid/ResultGridConfig.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/controls/SkinControlList.h"
#include "skin/controls/SkinScrollbars.h"
#include "support/WindowTest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <vector>

namespace {

using testing_support::Pump;
using testing_support::RunSoon;

struct Rows {
    int recNo = 0;
    int firstRecNo = 0;
    friend bool operator==(const Rows&, const Rows&) = default;
};

class SkinGridScrollbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        holder = skintest::MakeHolder();
        ASSERT_NE(holder->Data(), nullptr);
        table.FieldDefs().Add(L"fwq", 100);
        table.FieldDefs().Add(L"bz", 100);
        table.CreateDataSet();
        source.SetDataSet(&table);
        form = new ui::TForm(&app);
        form->BorderStyle = ui::TFormBorderStyle::bsSingle;
        form->SetClientSize(500, 300);
        grid = new grid::TDataGrid(form);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 500, 281);
        grid->TabOrder = 0;
        grid->SetDataSource(&source);
        grid::ApplyResultGridConfig(*grid);
        for (int i = 0; i < 300; ++i) {
            table.Append();
            table.FieldByName(L"fwq")->SetAsString(L"PC" + std::to_wstring(i + 1));
            table.Post();
        }
        table.First();
        form->Show();
        SetWindowPos(form->Handle(), HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
        Pump(30);
    }
    void TearDown() override {
        list.ReleaseAll();
        delete form;
    }

    Rows Now() { return {table.RecNo(), grid->DataLink().FirstRecNo()}; }

    // One press at `alongBar` pixels down the vertical bar, dragged by `drag`
    // pixels before the release; through the overlay when there is one.
    void Press(skin::TScrollOverlay* overlay, int alongBar, int drag) {
        SCROLLBARINFO info{};
        info.cbSize = sizeof(info);
        GetScrollBarInfo(grid->Handle(), OBJID_VSCROLL, &info);
        const RECT bar = info.rcScrollBar;
        const POINT screen{(bar.left + bar.right) / 2, bar.top + alongBar};
        HWND g = grid->Handle();
        auto client = [g](POINT s) {
            ScreenToClient(g, &s);
            return MAKELPARAM(s.x, s.y);
        };
        if (drag != 0) {
            RunSoon(
                [=] {
                    PostMessageW(g, WM_MOUSEMOVE, MK_LBUTTON, client({screen.x, screen.y + drag}));
                },
                40);
        }
        RunSoon([=] { PostMessageW(g, WM_LBUTTONUP, 0, client({screen.x, screen.y + drag})); }, 40);
        if (overlay) {
            POINT p = screen;
            ScreenToClient(overlay->Window(), &p);
            SendMessageW(overlay->Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        } else {
            SendMessageW(g, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
        }
        Pump(30);
    }

    // Down arrow three times, the tray below the thumb twice, the thumb
    // dragged, the up arrow once: the rows after each step.
    std::vector<Rows> Drive(skin::TScrollOverlay* overlay) {
        std::vector<Rows> seen;
        SCROLLBARINFO info{};
        info.cbSize = sizeof(info);
        GetScrollBarInfo(grid->Handle(), OBJID_VSCROLL, &info);
        const int h = info.rcScrollBar.bottom - info.rcScrollBar.top;
        const int b = GetSystemMetrics(SM_CXHSCROLL);
        for (int i = 0; i < 3; ++i) {
            Press(overlay, h - b / 2, 0);
            seen.push_back(Now());
        }
        for (int i = 0; i < 2; ++i) {
            Press(overlay, h - b - 4, 0);
            seen.push_back(Now());
        }
        GetScrollBarInfo(grid->Handle(), OBJID_VSCROLL, &info);
        Press(overlay, (info.xyThumbTop + info.xyThumbBottom) / 2, 50);
        seen.push_back(Now());
        Press(overlay, b / 2, 0);
        seen.push_back(Now());
        return seen;
    }

    ui::TApplication app;
    data::TClientDataSet table;
    data::TDataSource source;
    ui::TForm* form = nullptr;
    grid::TDataGrid* grid = nullptr;
    std::unique_ptr<skin::TSkinHolder> holder;
    skin::TSkinControlList list;
};

TEST_F(SkinGridScrollbarTest, SkinnedBarScrollsTheRowsAsTheSystemBarDoes) {
    const std::vector<Rows> plain = Drive(nullptr);
    ASSERT_EQ(plain.size(), 7u);
    EXPECT_GT(plain[2].recNo, plain[0].recNo); // the presses did move the rows
    EXPECT_GT(plain[5].firstRecNo, plain[4].firstRecNo);

    table.First();
    Pump(30);
    skin::SkinFormControls(*form, *holder, list, nullptr);
    auto* skinned = dynamic_cast<skin::TSkinScrollbar*>(list.FindControl(grid));
    ASSERT_NE(skinned, nullptr);
    ASSERT_TRUE(skinned->Vertical()->Shown());
    Pump(30);
    const std::vector<Rows> through = Drive(skinned->Vertical());
    ASSERT_EQ(through.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        EXPECT_EQ(through[i].recNo, plain[i].recNo) << "step " << i;
        EXPECT_EQ(through[i].firstRecNo, plain[i].firstRecNo) << "step " << i;
    }

    // The keyboard and the wheel move the rows without a scroll message to
    // the grid: the painted thumb follows all the same.
    skin::TScrollOverlay& v = *skinned->Vertical();
    auto thumb = [&] {
        SCROLLBARINFO info{};
        info.cbSize = sizeof(info);
        GetScrollBarInfo(grid->Handle(), OBJID_VSCROLL, &info);
        return std::pair<int, int>{info.xyThumbTop, info.xyThumbBottom};
    };
    auto thumbShot = [&](std::pair<int, int> t) {
        RECT c;
        GetClientRect(v.Window(), &c);
        return skintest::Capture(v.Window(), RECT{0, t.first, c.right, t.second});
    };
    const auto before = thumb();
    const skin::Pixmap thumbPixels = thumbShot(before);
    grid->SetFocus();
    for (const auto& [name, send] :
         std::initializer_list<std::pair<const char*, std::function<void()>>>{
             {"page down key", [&] { SendMessageW(grid->Handle(), WM_KEYDOWN, VK_NEXT, 0); }},
             {"wheel", [&] {
                  SendMessageW(grid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA * 3), 0);
              }}}) {
        SCOPED_TRACE(name);
        const auto from = thumb();
        send();
        Pump(30);
        const auto to = thumb();
        ASSERT_NE(to.first, from.first);
        EXPECT_EQ(skintest::DiffCount(thumbShot(to), thumbPixels), 0);
        EXPECT_NE(skintest::DiffCount(thumbShot(from), thumbPixels), 0);
    }

    // The picture: the grid with its skinned bar, as the screen shows it.
    skintest::Repaint(form->Handle());
    Pump(50);
    const skin::Pixmap shot = skintest::CaptureClient(form->Handle());
    const std::vector<std::uint8_t> bmp = skin::SaveBmp(shot);
    std::ofstream(SONDRELK_BUILD_DIR "/grid-skinned-scrollbar.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
}

TEST_F(SkinGridScrollbarTest, RecreatedGridGetsNewScrollBarSkin) {
    skin::SkinFormControls(*form, *holder, list, nullptr);
    auto* first = dynamic_cast<skin::TSkinScrollbar*>(list.FindControl(grid));
    ASSERT_NE(first, nullptr);
    HWND old = grid->Handle();
    grid->RecreateWnd();
    Pump(20);
    ASSERT_NE(grid->Handle(), old);
    EXPECT_TRUE(skin::RebuildScrollBarSkin(old, *holder, list));
    auto* fresh = dynamic_cast<skin::TSkinScrollbar*>(list.FindControl(grid));
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->Window(), grid->Handle());
    EXPECT_EQ(list.Items().size(), 1u);
    ASSERT_TRUE(fresh->Vertical()->Shown());
    EXPECT_EQ(GetParent(fresh->Vertical()->Window()), form->Handle());
    // The grid still works through the new handler: a wheel step scrolls.
    const int before = table.RecNo();
    SendMessageW(grid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(table.RecNo(), before + 1);
}

} // namespace
