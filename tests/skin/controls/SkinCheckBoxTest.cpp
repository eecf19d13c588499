// Skinned check boxes and radio buttons with real windows: the frame of
// Check.bmp each state of the find dialog's boxes shows, the check state
// learned from BM_SETCHECK, repainting while the mouse button goes down and
// up, the focus mark around the caption, the box on the right with
// BS_LEFTTEXT, a twelve-frame check image, and bare boxes of a system
// window. Also the controls of a system dialog built from a template: the
// combo box's button and border, the edit's frame.
#include "SkinControlsFixture.h"

#include "grid/GridFindDialog.h"
#include "platform/GdiHandles.h"
#include "skin/GdiImage.h"
#include "skin/ImageOps.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinControlList.h"
#include "skin/controls/SkinEdits.h"
#include "support/WindowTest.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"

#include <gtest/gtest.h>

#include <vector>

using namespace skintest;
using skin::Pixmap;
using testing_support::Pump;

namespace {

constexpr int kBox = 13; // Check.bmp: 52 x 13, four frames

const skin::Colour kFace = skin::Rgb(221, 221, 221);

// Frame `index` of `frames` of `image` as drawn over the face colour.
Pixmap FrameOnFace(const Pixmap& image, int frames, int index) {
    const int w = image.Width() / frames;
    Pixmap out(w, image.Height(), kFace);
    skin::DrawTransparent(out, skin::Rect{0, 0, w, image.Height()},
                          skin::ComposeElement(skin::Rect{0, 0, w, image.Height()}, image,
                                               skin::TSkinMargins{}, false, false, frames, index),
                          skin::kMagenta);
    return out;
}

// Which frame of `frames` the box at (x, y) shows, 0 for none.
int ShownBoxFrame(HWND window, const Pixmap& image, int frames, int x, int y) {
    const int w = image.Width() / frames;
    const Pixmap shown = Capture(window, RECT{x, y, x + w, y + image.Height()});
    for (int i = 1; i <= frames; ++i)
        if (DiffCount(shown, FrameOnFace(image, frames, i)) == 0) return i;
    return 0;
}

void PointerAway() {
    SetCursorPos(0, 0);
    Pump(20);
}

// The find dialog, skinned by the same pass the frame painter runs.
struct FindRig {
    FindRig() {
        PointerAway();
        dlg = new grid::TGridFindDlg(&app);
        dlg->Show();
        SetForegroundWindow(dlg->Handle());
        Pump(20);
        skin::SkinFormControls(*dlg, *holder, list, nullptr);
        dlg->bFind->SetFocus();
        Repaint(dlg->Handle());
    }
    HWND h() const { return box()->Handle(); }
    ui::TDataCheckBox* box() const { return dlg->cbCharCase; }
    int Frame() {
        static const Pixmap check = AssetBitmap("check.bmp");
        Pump();
        return ShownBoxFrame(h(), check, 4, 0, (box()->Height() - kBox) / 2);
    }

    ui::TApplication app;
    std::unique_ptr<skin::TSkinHolder> holder = MakeHolder();
    skin::TSkinControlList list;
    grid::TGridFindDlg* dlg = nullptr;
};

TEST(SkinCheckBox, FindDialogBoxesShowTheFrameOfEachState) {
    ASSERT_EQ(AssetBitmap("check.bmp").Width(), 52);
    FindRig rig;
    for (auto* box : {rig.dlg->cbCharCase, rig.dlg->cbUseFormat}) {
        auto* object = dynamic_cast<skin::TSkinCheckBox*>(rig.list.FindControl(box));
        ASSERT_NE(object, nullptr) << "through TDataCheckBox=Checkbox";
        EXPECT_EQ(object->Kind, 1) << "the object paints the whole box";
    }
    EXPECT_EQ(rig.list.FindControl(rig.dlg->cbText), nullptr) << "combo boxes stay standard";

    struct Case {
        const wchar_t* state;
        bool enabled;
        int frame;
    };
    const Case cases[] = {
        {L"cbUnchecked", true, 1},  {L"cbChecked", true, 2},  {L"cbGrayed", true, 4},
        {L"cbUnchecked", false, 3}, {L"cbChecked", false, 4}, {L"cbGrayed", false, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state << (c.enabled ? "" : ", disabled"));
        ASSERT_TRUE(ui::SetPropText(*rig.box(), L"State", c.state));
        rig.box()->SetEnabled(c.enabled);
        Repaint(rig.h());
        EXPECT_EQ(rig.Frame(), c.frame);
    }
    rig.box()->SetEnabled(true);
    ui::SetPropText(*rig.box(), L"State", L"cbUnchecked");
    // The checked box beside it, as the dialog opens.
    EXPECT_EQ(ShownBoxFrame(rig.dlg->cbUseFormat->Handle(), AssetBitmap("check.bmp"), 4, 0,
                            (rig.dlg->cbUseFormat->Height() - kBox) / 2),
              2);
}

TEST(SkinCheckBox, CheckStateComesFromBmSetCheck) {
    FindRig rig;
    auto* object = dynamic_cast<skin::TSkinCheckBox*>(rig.list.FindControl(rig.box()));
    ASSERT_NE(object, nullptr);
    SendMessageW(rig.h(), BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(object->CheckState(), 3);
    EXPECT_EQ(rig.Frame(), 4) << "indeterminate, painted at once";
    SendMessageW(rig.h(), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(object->CheckState(), 2);
    EXPECT_EQ(rig.Frame(), 2);
    SendMessageW(rig.h(), BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(rig.Frame(), 1);
}

TEST(SkinCheckBox, PressAndReleaseRepaintAtOnceAndTheClickToggles) {
    FindRig rig;
    static const Pixmap check = AssetBitmap("check.bmp");
    const int top = (rig.box()->Height() - kBox) / 2;
    const LPARAM at = MAKELPARAM(5, 8);
    for (int round = 0; round < 2; ++round) {
        const bool was = rig.box()->Checked();
        // No pumping in between: what shows was painted by the message itself.
        SendMessageW(rig.h(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        EXPECT_EQ(ShownBoxFrame(rig.h(), check, 4, 0, top), was ? 2 : 1) << "down";
        // Out of the box and back, as a user's hand does: the system box
        // draws its pressed look on both moves.
        SendMessageW(rig.h(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(400, 8));
        EXPECT_EQ(ShownBoxFrame(rig.h(), check, 4, 0, top), was ? 2 : 1) << "moved off";
        SendMessageW(rig.h(), WM_MOUSEMOVE, MK_LBUTTON, at);
        SendMessageW(rig.h(), WM_LBUTTONUP, 0, at);
        EXPECT_EQ(rig.box()->Checked(), !was);
        EXPECT_EQ(ShownBoxFrame(rig.h(), check, 4, 0, top), was ? 1 : 2) << "up";
    }
    EXPECT_EQ(GetFocus(), rig.h()) << "the press took the focus";
}

TEST(SkinCheckBox, FocusRectangleSurroundsTheCaption) {
    FindRig rig;
    const int w = rig.box()->Width(), h = rig.box()->Height();
    const Pixmap without = CaptureClient(rig.h());
    rig.box()->SetFocus();
    Repaint(rig.h());
    const Pixmap with = CaptureClient(rig.h());
    EXPECT_EQ(rig.Frame(), 1) << "the box keeps its frame";

    // The caption as the object measures it: beside the box, centred.
    platform::MemoryDC dc(nullptr);
    platform::SelectGuard font(dc.get(), rig.box()->Font().Handle());
    const RECT area{kBox + 2, 0, w, h};
    RECT t = area;
    DrawTextW(dc.get(), L"語法匹配", -1, &t,
              DT_EXPANDTABS | DT_WORDBREAK | DT_CALCRECT | DT_NOCLIP);
    const int tw = t.right - t.left, th = t.bottom - t.top;
    const int dy = (h - th) / 2;
    RECT mark{area.left - 2, dy - 1, area.left + tw + 2, dy + th + 1};
    IntersectRect(&mark, &mark, &area);
    RECT box;
    ASSERT_GT(DiffCount(with, without, &box), 10) << "a dotted rectangle was drawn";
    EXPECT_NEAR(box.left, mark.left, 1);
    EXPECT_NEAR(box.top, mark.top, 1);
    EXPECT_NEAR(box.right, mark.right, 1);
    EXPECT_NEAR(box.bottom, mark.bottom, 1);
    EXPECT_GE(box.left, kBox) << "not around the box";
}

TEST(SkinCheckBox, LeftTextPutsTheBoxAtTheRightEdge) {
    FindRig rig;
    const int w = rig.box()->Width(), h = rig.box()->Height(), top = (h - kBox) / 2;
    SetWindowLongW(rig.h(), GWL_STYLE, GetWindowLongW(rig.h(), GWL_STYLE) | BS_LEFTTEXT);
    ui::SetPropText(*rig.box(), L"State", L"cbChecked");
    Repaint(rig.h());
    static const Pixmap check = AssetBitmap("check.bmp");
    EXPECT_EQ(ShownBoxFrame(rig.h(), check, 4, w - kBox, top), 2);
    EXPECT_EQ(ShownBoxFrame(rig.h(), check, 4, 0, top), 0);
    // The caption starts at the left edge and ends before the box.
    const Pixmap shown = CaptureClient(rig.h());
    int first = -1, last = -1;
    for (int x = 0; x < w - kBox; ++x)
        for (int y = 0; y < h; ++y)
            if (shown.Pixel(x, y) != kFace) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    EXPECT_GE(first, 0);
    EXPECT_LE(first, 2);
    EXPECT_LT(last, w - kBox - 2);
}

TEST(SkinCheckBox, TransparentTagShowsTheParentsFaceBehindBoxAndCaption) {
    FormHost host(300, 60);
    host.form->SetColor(static_cast<ui::TColor>(RGB(10, 200, 30)));
    auto holder = MakeHolder();
    skin::TSkinControlList list;
    auto* box = new ui::TDataCheckBox(host.form);
    box->SetBounds(10, 10, 177, 17);
    box->SetCaption(L"格式匹配");
    box->SetParent(host.form);
    for (long long tag : {0LL, 5555LL}) {
        SCOPED_TRACE(tag);
        list.ReleaseAll();
        box->Tag = tag;
        auto* object = new skin::TSkinCheckBox(box);
        object->Attach(*box, &list, *holder, false);
        EXPECT_EQ(object->Transparent(), tag == 5555);
        Repaint(host.form->Handle());
        const Pixmap shown = CaptureClient(box->Handle());
        const skin::Colour behind = tag == 5555 ? skin::Rgb(10, 200, 30) : kFace;
        EXPECT_EQ(shown.Pixel(shown.Width() - 2, 1), behind) << "right of the caption";
        EXPECT_EQ(shown.Pixel(0, 0), behind) << "above the box";
    }
}

// A check image of twelve frames, each one flat colour: frame k is (k, 20k, 200).
Pixmap TwelveFrames() {
    Pixmap image(12 * kBox, kBox, 0);
    for (int k = 1; k <= 12; ++k)
        for (int y = 0; y < kBox; ++y)
            for (int x = 0; x < kBox; ++x)
                image.SetPixel((k - 1) * kBox + x, y, skin::Rgb(k, 20 * k, 200));
    return image;
}

TEST(SkinCheckBox, TwelveFrameImageMapsEachState) {
    FindRig rig;
    rig.holder->Data()->Buttons->CheckBitmap = TwelveFrames();
    rig.holder->Data()->Buttons->CheckButtonFrame = 12;
    struct Case {
        const wchar_t* state;
        bool enabled;
        int frame;
    };
    const Case cases[] = {
        {L"cbUnchecked", true, 1},  {L"cbChecked", true, 5},  {L"cbGrayed", true, 9},
        {L"cbUnchecked", false, 4}, {L"cbChecked", false, 8}, {L"cbGrayed", false, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state << (c.enabled ? "" : ", disabled"));
        ui::SetPropText(*rig.box(), L"State", c.state);
        rig.box()->SetEnabled(c.enabled);
        Repaint(rig.h());
        const Pixmap shown = Capture(rig.h(), RECT{0, 2, kBox, 2 + kBox});
        EXPECT_EQ(shown.Pixel(6, 6), skin::Rgb(c.frame, 20 * c.frame, 200));
    }
    EXPECT_EQ(skin::TSkinCheckBox::MapFrame(2, 12, false, false), 5);
    EXPECT_EQ(skin::TSkinCheckBox::MapFrame(2, 4, true, true), 4);
}

TEST(SkinCheckBoxWindowMode, BareBoxesGetTheirBoxOverTheSystemPaint) {
    FormHost host(300, 100);
    auto holder = MakeHolder();
    HWND parent = host.form->Handle();
    HWND check = CreateWindowExW(0, L"BUTTON", L"Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                                 10, 10, 120, 17, parent, nullptr, nullptr, nullptr);
    HWND radio = CreateWindowExW(0, L"BUTTON", L"Radio", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON,
                                 10, 40, 120, 17, parent, nullptr, nullptr, nullptr);
    skin::TSkinControlList list;
    skin::SkinChildWindows(parent, *holder, list);
    ASSERT_NE(dynamic_cast<skin::TSkinCheckBox*>(list.FindWindow(check)), nullptr);
    ASSERT_NE(dynamic_cast<skin::TSkinRadioButton*>(list.FindWindow(radio)), nullptr);
    EXPECT_EQ(list.FindWindow(check)->Kind, 0);
    const Pixmap checkImage = AssetBitmap("check.bmp"), radioImage = AssetBitmap("radio.bmp");
    // The system paints its own background; compare only the box's ring of
    // opaque pixels, which the skin image covers.
    auto boxFrame = [](HWND w, const Pixmap& image) {
        Repaint(w);
        const Pixmap shown = Capture(w, RECT{0, 2, kBox, 2 + kBox});
        for (int i = 1; i <= 4; ++i) {
            const Pixmap frame = skin::ComposeElement(skin::Rect{0, 0, kBox, kBox}, image,
                                                      skin::TSkinMargins{}, false, false, 4, i);
            bool same = true;
            for (int y = 0; y < kBox && same; ++y)
                for (int x = 0; x < kBox && same; ++x)
                    if (frame.Pixel(x, y) != skin::kMagenta &&
                        frame.Pixel(x, y) != shown.Pixel(x, y))
                        same = false;
            if (same) return i;
        }
        return 0;
    };
    EXPECT_EQ(boxFrame(check, checkImage), 1);
    EXPECT_EQ(boxFrame(radio, radioImage), 1);
    SendMessageW(check, BM_CLICK, 0, 0);
    SendMessageW(radio, BM_CLICK, 0, 0);
    Pump(10);
    EXPECT_EQ(boxFrame(check, checkImage), 2);
    EXPECT_EQ(boxFrame(radio, radioImage), 2);
    EnableWindow(check, FALSE);
    EXPECT_EQ(boxFrame(check, checkImage), 4);
    list.ReleaseAll();
    DestroyWindow(check);
    DestroyWindow(radio);
}

// ---- a system dialog from a template --------------------------------------------

// A dialog template in memory: a drop-down list combo box and a bordered edit.
std::vector<WORD> DialogTemplate() {
    std::vector<WORD> t;
    auto dword = [&](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    auto align = [&] {
        if (t.size() % 2) t.push_back(0);
    };
    auto text = [&](const wchar_t* s) {
        for (; *s; ++s)
            t.push_back(*s);
        t.push_back(0);
    };
    dword(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT);
    dword(0);
    t.push_back(2);                       // items
    t.insert(t.end(), {10, 10, 200, 80}); // x, y, cx, cy
    t.push_back(0);                       // no menu
    t.push_back(0);                       // standard class
    text(L"Skin test");
    t.push_back(8);
    text(L"MS Shell Dlg");
    struct Item {
        DWORD style;
        short x, y, cx, cy;
        WORD id, cls;
    };
    const Item items[] = {
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 10, 10, 120, 60, 100, 0x0085},
        {WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 40, 120, 14, 101, 0x0081},
    };
    for (const Item& i : items) {
        align();
        dword(i.style);
        dword(0);
        t.insert(t.end(), {static_cast<WORD>(i.x), static_cast<WORD>(i.y), static_cast<WORD>(i.cx),
                           static_cast<WORD>(i.cy), i.id, 0xFFFF, i.cls});
        t.push_back(0); // no text
        t.push_back(0); // no creation data
    }
    return t;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

Pixmap CaptureWindow(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    skin::gdi::DibCanvas canvas(w, h);
    HDC dc = GetWindowDC(window);
    BitBlt(canvas.dc(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return canvas.ToPixmap();
}

TEST(SkinSystemDialog, ComboButtonAndEditFrameOfATemplateDialog) {
    PointerAway();
    auto holder = MakeHolder();
    const skin::TSkinData& data = *holder->Data();
    ASSERT_TRUE(data.ComboButton && data.ComboButton->Style == 2) << "the combo composite";
    std::vector<WORD> tmpl = DialogTemplate();
    HWND dialog = CreateDialogIndirectParamW(
        nullptr, reinterpret_cast<const DLGTEMPLATE*>(tmpl.data()), nullptr, QuietDialog, 0);
    ASSERT_NE(dialog, nullptr);
    Pump(20);
    HWND combo = GetDlgItem(dialog, 100), edit = GetDlgItem(dialog, 101);
    skin::TSkinControlList list;
    skin::SkinChildWindows(dialog, *holder, list);
    auto* object = dynamic_cast<skin::TSkinComboBox*>(list.FindWindow(combo));
    ASSERT_NE(object, nullptr);
    ASSERT_NE(dynamic_cast<skin::TSkinEdit*>(list.FindWindow(edit)), nullptr);

    // Where the composed box is not magenta, the window shows it.
    auto matches = [&](int frame) {
        Repaint(combo);
        const Pixmap shown = CaptureClient(combo);
        const Pixmap expected = skin::ComposeElement(
            skin::Rect{0, 0, shown.Width(), shown.Height()}, data.ComboButton->Bitmap,
            data.ComboButton->Margins, false, data.ComboButton->Tile != 0, 4, frame);
        int opaque = 0, wrong = 0;
        for (int y = 0; y < shown.Height(); ++y)
            for (int x = 0; x < shown.Width(); ++x)
                if (expected.Pixel(x, y) != skin::kMagenta) {
                    ++opaque;
                    if (expected.Pixel(x, y) != shown.Pixel(x, y)) ++wrong;
                }
        return opaque > 100 && wrong == 0;
    };
    EXPECT_EQ(object->ButtonFrame(), skin::cbiNormal);
    EXPECT_TRUE(matches(skin::cbiNormal));
    EnableWindow(combo, FALSE);
    EXPECT_EQ(object->ButtonFrame(), skin::cbiDisabled);
    EXPECT_TRUE(matches(skin::cbiDisabled));
    EXPECT_FALSE(matches(skin::cbiNormal));
    EnableWindow(combo, TRUE);

    // The edit: a shadow line, then two white ones.
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    Pump();
    const Pixmap frame = CaptureWindow(edit);
    const skin::Colour shadow =
        static_cast<skin::Colour>(skin::TSkinHolder::ToRGB(data.Colours.ButtonShadow));
    EXPECT_EQ(frame.Pixel(0, 5), shadow);
    EXPECT_EQ(frame.Pixel(frame.Width() - 1, 5), shadow);
    EXPECT_EQ(frame.Pixel(1, 5), skin::Rgb(255, 255, 255));
    EXPECT_EQ(frame.Pixel(2, 5), skin::Rgb(255, 255, 255));

    DestroyWindow(dialog);
    for (skin::TSkinControl* o : list.Items())
        EXPECT_EQ(o->LifeState(), skin::kLifeWindowDestroyed);
}

} // namespace
