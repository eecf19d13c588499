// The skinned progress bar against Progress.bmp: trough, fill width by
// MulDiv, a vertical bar filling from the bottom, and a skin without the
// element leaving the bar to paint itself.
#include "SkinControlsFixture.h"

#include "skin/ImageOps.h"
#include "skin/controls/SkinControlList.h"
#include "skin/controls/SkinProgress.h"
#include "support/WindowTest.h"
#include "ui/ProgressBar.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace skintest;
using skin::Pixmap;

namespace {

constexpr skin::Colour kFace = skin::Rgb(221, 221, 221);

// The bar as the skin draws it, built from the asset bitmap: ButtonFace, the
// trough over the whole bar, the fill over `fill` pixels, magenta transparent.
Pixmap ExpectedBar(int w, int h, int fill) {
    const Pixmap bmp = AssetBitmap("progress.bmp");
    Pixmap bar(w, h, kFace);
    skin::DrawTransparent(bar, bar.Bounds(), ExpectedFrame(bmp, kProgressMargins, true, 2, 1, w, h),
                          skin::kMagenta);
    if (fill > 0)
        skin::DrawTransparent(bar, skin::Rect{0, 0, fill, h},
                              ExpectedFrame(bmp, kProgressMargins, true, 2, 2, fill, h),
                              skin::kMagenta);
    return bar;
}

TEST(SkinProgress, FillWidthFollowsThePositionOfTheRange) {
    const Pixmap bmp = AssetBitmap("progress.bmp");
    ASSERT_EQ(bmp.Width(), 40);
    ASSERT_EQ(bmp.Height(), 13);
    FormHost host(342, 130);
    auto holder = MakeHolder();
    skin::TSkinControlList list;
    auto* bar = new ui::TProgressBar(host.form);
    bar->SetBounds(35, 64, 272, 25);
    bar->SetRange(0, 3);
    bar->SetParent(host.form);
    (new skin::TSkinProgress(bar))->Attach(*bar, &list, *holder, false);

    struct Case {
        int pos, fill;
    };
    for (const Case c : {Case{0, 0}, Case{1, 91}, Case{2, 181}, Case{3, 272}}) {
        SCOPED_TRACE(c.pos);
        bar->SetPosition(c.pos);
        Repaint(bar->Handle());
        const Pixmap shown = CaptureClient(bar->Handle());
        ASSERT_EQ(shown.Width(), 272);
        EXPECT_EQ(DiffCount(shown, ExpectedBar(272, 25, c.fill)), 0);
        if (c.fill > 0 && c.fill < 272) {
            // The fill's right margin ends at the fill width: column fill - 1
            // of the top row is the last column of frame 2, unless magenta.
            const skin::Colour edge = bmp.Pixel(39, 0);
            if (edge != skin::kMagenta) {
                EXPECT_EQ(shown.Pixel(c.fill - 1, 0), edge);
            }
            EXPECT_NE(DiffCount(shown, ExpectedBar(272, 25, 0)), 0);
        }
    }
    // Empty range: the trough only.
    bar->SetRange(0, 0);
    Repaint(bar->Handle());
    EXPECT_EQ(DiffCount(CaptureClient(bar->Handle()), ExpectedBar(272, 25, 0)), 0);
}

TEST(SkinProgress, VerticalBarFillsFromTheBottomInWindowMode) {
    FormHost host(200, 320);
    auto holder = MakeHolder();
    skin::TSkinControlList list;
    HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | PBS_VERTICAL,
                               20, 20, 25, 272, host.form->Handle(), nullptr, nullptr, nullptr);
    SendMessageW(bar, PBM_SETRANGE32, 0, 3);
    SendMessageW(bar, PBM_SETPOS, 1, 0);
    auto* skinned = new skin::TSkinProgress(nullptr);
    skinned->AttachWindow(bar, *holder, &list);
    Repaint(bar);
    const Pixmap shown = CaptureClient(bar);
    EXPECT_EQ(DiffCount(shown, skin::RotateLeft(ExpectedBar(272, 25, 91))), 0);
    // Filled rows at the bottom, trough rows at the top.
    const Pixmap empty = skin::RotateLeft(ExpectedBar(272, 25, 0));
    RECT changed;
    ASSERT_GT(DiffCount(shown, empty, &changed), 0);
    EXPECT_EQ(changed.bottom, 272);
    EXPECT_GE(changed.top, 272 - 91);
    list.ReleaseAll();
    DestroyWindow(bar);
}

TEST(SkinProgress, WithoutAProgressElementTheBarPaintsItself) {
    FormHost host(342, 130);
    auto holder = MakeHolder();
    ASSERT_NE(holder->Data(), nullptr);
    holder->Data()->Progress.reset();
    skin::TSkinControlList list;
    auto* bar = new ui::TProgressBar(host.form);
    bar->SetBounds(35, 64, 272, 25);
    bar->SetRange(0, 3);
    bar->SetPosition(3);
    bar->SetParent(host.form);
    (new skin::TSkinProgress(bar))->Attach(*bar, &list, *holder, false);
    Repaint(bar->Handle());
    const Pixmap shown = CaptureClient(bar->Handle());
    // The system bar draws its own fill: not a single skin pixel layout.
    EXPECT_NE(DiffCount(shown, ExpectedBar(272, 25, 272)), 0);
    EXPECT_EQ(bar->Perform(WM_ERASEBKGND, 0, 0), 1) << "the erase stays suppressed";
}

} // namespace
