// The control dispatch over a form and the per-window list: which control gets
// which skinning object, the tag that keeps a control unskinned, the class
// list with its "nil" and guarded types, controls reached twice, purging and
// releasing. Also the property access by name that the dispatch relies on.
#include "SkinControlsFixture.h"

#include "skin/controls/ControlDispatch.h"
#include "skin/controls/SkinBoxes.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinControlList.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinProgress.h"
#include "skin/controls/SkinTab.h"
#include "support/WindowTest.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Label.h"
#include "ui/ProgressBar.h"
#include "ui/SpeedButton.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <typeinfo>

using namespace skintest;

namespace {

struct DispatchRig {
    DispatchRig() {
        button = Add<ui::TButton>(10, 10, 105, 25);
        button->TabOrder = 0;
        speed = Add<ui::TSpeedButton>(130, 10, 65, 30);
        bar = Add<ui::TProgressBar>(10, 50, 272, 25);
        combo = Add<ui::TDataComboBox>(10, 90, 120, 21);
        check = Add<ui::TDataCheckBox>(150, 90, 120, 21);
        label = Add<ui::TLabel>(10, 130, 80, 16);
    }
    template <typename T> T* Add(int x, int y, int w, int h) {
        auto* c = new T(host.form);
        c->SetBounds(x, y, w, h);
        c->SetParent(host.form);
        return c;
    }
    template <typename T> T* ObjectOf(ui::TControl* c) {
        return dynamic_cast<T*>(list.FindControl(c));
    }
    void Pass() { skin::SkinFormControls(*host.form, *holder, list, nullptr); }

    FormHost host{320, 170};
    std::unique_ptr<skin::TSkinHolder> holder = MakeHolder();
    skin::TSkinControlList list;
    ui::TButton* button;
    ui::TSpeedButton* speed;
    ui::TProgressBar* bar;
    ui::TDataComboBox* combo;
    ui::TDataCheckBox* check;
    ui::TLabel* label;
};

TEST(ControlDispatch, EachControlGetsItsObjectOnceAndThePassRepeatsHarmlessly) {
    DispatchRig rig;
    rig.Pass();
    EXPECT_NE(rig.ObjectOf<skin::TSkinButton>(rig.button), nullptr);
    EXPECT_NE(rig.ObjectOf<skin::TSkinSpeedButton>(rig.speed), nullptr);
    EXPECT_NE(rig.ObjectOf<skin::TSkinProgress>(rig.bar), nullptr);
    EXPECT_EQ(rig.list.FindControl(rig.combo), nullptr) << "excluded by class name";
    EXPECT_NE(rig.ObjectOf<skin::TSkinCheckBox>(rig.check), nullptr) << "TDataCheckBox=Checkbox";
    EXPECT_EQ(rig.list.FindControl(rig.label), nullptr);
    // The button is an owned component and in the tab order: one object.
    EXPECT_EQ(rig.list.Items().size(), 4u);
    EXPECT_EQ(rig.button->Perform(skin::WM_SKIN_QUERY), 1);
    rig.Pass();
    EXPECT_EQ(rig.list.Items().size(), 4u);

    // A window destroyed under its object: purged by the next pass, then
    // skinned anew on its new window.
    skin::TSkinControl* old = rig.list.FindControl(rig.bar);
    rig.bar->RecreateWnd();
    EXPECT_EQ(old->LifeState(), skin::kLifeWindowDestroyed);
    rig.Pass();
    skin::TSkinControl* renewed = rig.list.FindControl(rig.bar);
    ASSERT_NE(renewed, nullptr);
    EXPECT_EQ(renewed->Window(), rig.bar->Handle());
    EXPECT_EQ(rig.list.Items().size(), 4u);

    // Release: every handler goes back.
    rig.list.ReleaseAll();
    EXPECT_TRUE(rig.list.Items().empty());
    EXPECT_EQ(rig.button->Perform(skin::WM_SKIN_QUERY), 0);
    EXPECT_EQ(rig.bar->Perform(skin::WM_SKIN_QUERY), 0);
    EXPECT_EQ(rig.speed->Perform(skin::WM_SKIN_QUERY), 0);
    EXPECT_EQ(rig.button->ComponentCount(), 0) << "the objects were freed";
}

TEST(ControlDispatch, DisableTagForeignClassesAndGuardsKeepControlsUnskinned) {
    struct Case {
        const char* name;
        long long tag;
        std::vector<std::wstring> foreign;
        bool scrollbars;
        bool skinned;
    };
    const Case cases[] = {
        {"standard row", 0, {}, false, true},
        {"Tag 99", 99, {}, false, false},
        {"nil entry", 0, {L"TButton=nil"}, false, false},
        {"nil entry, any case", 0, {L"tbutton=NIL"}, false, false},
        {"scrollbar entry with scScrollbar off: handled", 0, {L"TButton=scrollbar"}, false, false},
        // The entry's type decides, whether or not the control has bars.
        {"scrollbar entry with scScrollbar on", 0, {L"TButton=scrollbar"}, true, true},
        {"unknown type: handled, unskinned", 0, {L"TButton=gizmo"}, false, false},
        {"first matching line wins", 0, {L"TButton=button", L"TButton=nil"}, false, true},
        {"key is the whole class name", 0, {L"TButtonX=nil"}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DispatchRig rig;
        rig.button->Tag = c.tag;
        rig.holder->ForeignClasses = c.foreign;
        if (c.scrollbars)
            rig.holder->SkinControls.Include(skin::scScrollbar);
        else
            rig.holder->SkinControls.Exclude(skin::scScrollbar);
        rig.Pass();
        EXPECT_EQ(rig.list.FindControl(rig.button) != nullptr, c.skinned);
        EXPECT_EQ(rig.button->Perform(skin::WM_SKIN_QUERY) == 1, c.skinned);
        // The other controls are not affected.
        EXPECT_NE(rig.list.FindControl(rig.bar), nullptr);
    }
}

// A group of buttons of another library, known to the dispatch by its name.
struct TRadioGroup : ui::TWinControl {
    using ui::TWinControl::TWinControl;
    std::wstring ClassName() const override { return L"TRadioGroup"; }
};

TEST(ControlDispatch, RadioGroupWithTheDisableTagKeepsItsButtonsUnskinned) {
    FormHost host(320, 170);
    auto holder = MakeHolder();
    skin::TSkinControlList list;
    auto* group = new TRadioGroup(host.form);
    group->SetBounds(10, 10, 200, 100);
    group->Tag = 99;
    group->SetParent(host.form);
    auto* inside = new ui::TButton(host.form);
    inside->SetBounds(10, 10, 105, 25);
    inside->Tag = 7;
    inside->SetParent(group);
    auto* outside = new ui::TButton(host.form);
    outside->SetBounds(10, 120, 105, 25);
    outside->SetParent(host.form);
    skin::SkinFormControls(*host.form, *holder, list, nullptr);
    EXPECT_EQ(inside->Tag, 99);
    EXPECT_EQ(list.FindControl(inside), nullptr);
    EXPECT_EQ(list.FindControl(group), nullptr);
    EXPECT_NE(list.FindControl(outside), nullptr);
}

TEST(ControlDispatch, SkinControlsGuardsAndTheApplicationsOwnChoice) {
    {
        DispatchRig rig;
        rig.holder->SkinControls.Exclude(skin::scButton);
        rig.holder->SkinControls.Exclude(skin::scProgress);
        rig.Pass();
        EXPECT_EQ(rig.list.FindControl(rig.button), nullptr);
        EXPECT_EQ(rig.list.FindControl(rig.bar), nullptr);
        EXPECT_NE(rig.list.FindControl(rig.speed), nullptr);
    }
    {
        // OnSkinControl hands back an object already registered: not attached again.
        DispatchRig rig;
        auto* mine = new skin::TSkinProgress(rig.bar);
        mine->Attach(*rig.bar, &rig.list, *rig.holder, false);
        int calls = 0;
        rig.holder->OnSkinControl = [&](ui::TComponent*, skin::TSkinHolder&, ui::TWinControl* form,
                                        ui::TControl* control, const std::wstring& cls,
                                        skin::TSkinControl*& chosen) {
            ++calls;
            EXPECT_EQ(form, rig.host.form);
            if (control == rig.button) {
                EXPECT_EQ(cls, L"TBUTTON");
                chosen = mine;
            }
        };
        rig.Pass();
        EXPECT_GT(calls, 0);
        EXPECT_EQ(mine->Control(), rig.bar) << "still attached to its own control";
        EXPECT_EQ(rig.list.FindControl(rig.button), nullptr);
    }
}

TEST(WindowDispatch, BareWindowsOfSystemDialogsGetTheObjectOfTheirClassAndStyle) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    FormHost host(320, 200);
    auto holder = MakeHolder();
    HWND parent = host.form->Handle();
    struct Case {
        const wchar_t* cls;
        DWORD style;
        const char* object; // the class of the object, or "" for none
    };
    const Case cases[] = {
        {L"BUTTON", BS_PUSHBUTTON, "TSkinButton"},
        {L"BUTTON", BS_CHECKBOX, "TSkinCheckBox"},
        {L"BUTTON", BS_AUTOCHECKBOX, "TSkinCheckBox"},
        {L"BUTTON", BS_3STATE, "TSkinCheckBox"},
        {L"BUTTON", BS_AUTO3STATE, "TSkinCheckBox"},
        {L"BUTTON", BS_RADIOBUTTON, "TSkinRadioButton"},
        {L"BUTTON", BS_AUTORADIOBUTTON, "TSkinRadioButton"},
        {L"BUTTON", BS_GROUPBOX, ""},
        {L"BUTTON", BS_OWNERDRAW, ""},
        {L"COMBOBOX", CBS_DROPDOWNLIST, "TSkinComboBox"},
        {L"COMBOBOX", CBS_DROPDOWN, "TSkinComboBox"},
        {L"COMBOBOX", CBS_SIMPLE, ""},
        {L"SCROLLBAR", SBS_SIZEGRIP | SBS_SIZEBOX, "TSkinSizer"},
        {L"SCROLLBAR", SBS_VERT | WS_TABSTOP, ""},
        {L"SysTabControl32", 0, "TSkinTab"},
        {L"SysTabControl32", TCS_OWNERDRAWFIXED, ""},
        {L"EDIT", WS_BORDER, "TSkinEdit"},
        {L"SysTreeView32", 0, ""},
    };
    skin::TSkinControlList list;
    std::vector<HWND> windows;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << std::string(c.cls, c.cls + wcslen(c.cls)) << " " << std::hex << c.style);
        HWND w = CreateWindowExW(0, c.cls, L"x", WS_CHILD | WS_VISIBLE | c.style, 10, 10, 100, 40,
                                 parent, nullptr, nullptr, nullptr);
        ASSERT_NE(w, nullptr);
        windows.push_back(w);
        skin::SkinChildWindow(w, *holder, list);
        skin::TSkinControl* object = list.FindWindow(w);
        const std::wstring name = object ? object->ClassName() : L"";
        EXPECT_EQ(std::string(name.begin(), name.end()), c.object);
    }
    // An embedded dialog: its children first, then the dialog itself, whose
    // background and static texts take the skin's face.
    HWND inner = CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                 200, 100, parent, nullptr, nullptr, nullptr);
    HWND innerButton = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 5, 5, 80, 24,
                                       inner, nullptr, nullptr, nullptr);
    HWND text = CreateWindowExW(0, L"STATIC", L"Text", WS_CHILD | WS_VISIBLE, 5, 40, 80, 16, inner,
                                nullptr, nullptr, nullptr);
    skin::SkinChildWindow(inner, *holder, list);
    EXPECT_NE(dynamic_cast<skin::TSkinDialogBox*>(list.FindWindow(inner)), nullptr);
    EXPECT_NE(dynamic_cast<skin::TSkinButton*>(list.FindWindow(innerButton)), nullptr);
    HDC dc = GetDC(text);
    EXPECT_EQ(SendMessageW(inner, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(text)),
              reinterpret_cast<LRESULT>(holder->FaceBrush()));
    EXPECT_EQ(GetBkColor(dc), holder->ButtonFaceRGB());
    ReleaseDC(text, dc);
    // Every procedure goes back.
    const size_t n = list.Items().size();
    EXPECT_EQ(n, 14u);
    list.ReleaseAll();
    for (HWND w : windows)
        EXPECT_EQ(SendMessageW(w, skin::WM_SKIN_QUERY, 0, 0), 0);
    EXPECT_EQ(SendMessageW(inner, skin::WM_SKIN_QUERY, 0, 0), 0);
    DestroyWindow(inner);
    for (HWND w : windows)
        DestroyWindow(w);
}

TEST(PropertyAccess, ControlsAnswerTheFamilysPropertyNamesWithTheirConventions) {
    DispatchRig rig;
    HBITMAP glyph = CreateBitmap(44, 22, 1, 32, nullptr);
    rig.speed->Glyph = glyph;
    rig.speed->NumGlyphs = 2;
    rig.speed->Flat = true;
    rig.speed->SetCaption(L"中断&Q");
    rig.label->Alignment = ui::TAlignment::taCenter;
    struct Read {
        ui::TControl* control;
        const wchar_t* name;
        long long integer;
        std::wstring enumName;
        std::wstring text;
    };
    const Read reads[] = {
        {rig.speed, L"NumGlyphs", 2, L"", L""},
        {rig.speed, L"Margin", -1, L"", L""},
        {rig.speed, L"Spacing", 4, L"", L""},
        {rig.speed, L"Layout", -1, L"blGlyphLeft", L""},
        {rig.speed, L"Flat", -1, L"true", L""},
        {rig.speed, L"Down", -1, L"false", L""},
        {rig.speed, L"Enabled", -1, L"true", L""},
        {rig.speed, L"Caption", -1, L"", L"中断&Q"},
        {rig.speed, L"ParentBackground", -1, L"", L""},
        {rig.check, L"Checked", -1, L"false", L""},
        {rig.check, L"State", -1, L"cbUnchecked", L""},
        {rig.check, L"DataField", -1, L"", L""},
        {rig.label, L"Alignment", -1, L"taCenter", L""},
        {rig.label, L"Transparent", -1, L"false", L""},
        {rig.host.form, L"BorderStyle", -1, L"bsSingle", L""},
        {rig.bar, L"Position", 0, L"", L""},
        {rig.button, L"NumButtons", -1, L"", L""},
        {rig.button, L"Color", ui::clBtnFace, L"", L""},
    };
    for (const Read& r : reads) {
        SCOPED_TRACE(testing::Message() << r.control->ClassName().c_str() << " " << r.name);
        EXPECT_EQ(ui::PropInt(*r.control, r.name), r.integer);
        EXPECT_EQ(ui::PropEnumName(*r.control, r.name), r.enumName);
        EXPECT_EQ(ui::PropText(*r.control, r.name), r.text);
    }
    EXPECT_EQ(ui::PropObject(*rig.speed, L"Glyph").Bitmap, glyph);
    EXPECT_EQ(ui::PropObject(*rig.button, L"Font").Font, &rig.button->Font());
    EXPECT_EQ(ui::PropObject(*rig.button, L"Glyph"), ui::TPropObject{});

    // Setting from text.
    EXPECT_TRUE(ui::SetPropText(*rig.speed, L"Layout", L"blGlyphTop"));
    EXPECT_EQ(rig.speed->Layout, ui::TButtonLayout::blGlyphTop);
    EXPECT_TRUE(ui::SetPropText(*rig.speed, L"Margin", L"3"));
    EXPECT_EQ(rig.speed->Margin, 3);
    EXPECT_TRUE(ui::SetPropText(*rig.speed, L"Down", L"True"));
    EXPECT_TRUE(rig.speed->Down());
    EXPECT_TRUE(ui::SetPropText(*rig.check, L"State", L"cbChecked"));
    EXPECT_TRUE(rig.check->Checked());
    EXPECT_TRUE(ui::SetPropText(*rig.check, L"State", L"cbGrayed"));
    EXPECT_EQ(rig.check->State(), ui::TCheckBoxState::cbGrayed);
    EXPECT_FALSE(rig.check->Checked());
    EXPECT_TRUE(ui::SetPropText(*rig.label, L"Transparent", L"true"));
    EXPECT_TRUE(rig.label->Transparent);
    EXPECT_TRUE(ui::SetPropText(*rig.button, L"Caption", L"检测"));
    EXPECT_EQ(rig.button->Caption(), L"检测");
    // Ignored: missing properties, bad text, unknown members, read-only ones.
    EXPECT_FALSE(ui::SetPropText(*rig.button, L"ParentBackground", L"False"));
    EXPECT_FALSE(ui::SetPropText(*rig.speed, L"Margin", L"three"));
    EXPECT_EQ(rig.speed->Margin, 3);
    EXPECT_FALSE(ui::SetPropText(*rig.speed, L"Layout", L"blSideways"));
    EXPECT_EQ(rig.speed->Layout, ui::TButtonLayout::blGlyphTop);
    EXPECT_FALSE(ui::SetPropText(*rig.host.form, L"BorderStyle", L"bsNone"));
    rig.speed->Glyph = nullptr;
    DeleteObject(glyph);
}

} // namespace
