#include "skin/controls/ControlDispatch.h"

#include "skin/SkinHolder.h"
#include "skin/controls/SkinBoxes.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinControlList.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinProgress.h"
#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinScrollbars.h"
#include "ui/Form.h"
#include "ui/Messages.h"
#include "ui/WinControl.h"

#include <commctrl.h>

#include <cwctype>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// Rows marked "later" choose a skinning object that does not exist yet (the
// menu button): they match and end the dispatch, and the control stays
// unskinned.
//
// Status bars, up-down and spin buttons, track bars, date-time pickers,
// media players, the older tab set and other vendors' check boxes and page
// controls have no rows: this framework has no such controls.

namespace skin {

namespace {

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

std::wstring Upper(std::wstring s) {
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(std::towupper(c));
    return s;
}

bool NameIs(const std::wstring& upper, std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* n : names)
        if (upper == n) return true;
    return false;
}

struct Pass {
    TSkinHolder& holder;
    TSkinControlList& list;
    ui::TComponent* framePainter;

    bool Has(TSkinControlType kind) const { return holder.SkinControls.Has(kind); }
    void Dispatch(ui::TControl& control, ui::TWinControl* container);
    void DispatchChildren(ui::TWinControl& parent);
    bool ClassListLookup(ui::TControl& control);
    void StandardTable(ui::TControl& control, const std::wstring& upper);
    bool AlreadySkinned(ui::TControl& control) const;

    // Framework-mode objects belong to their control, which frees them.
    template <typename T> T* AttachNew(ui::TControl& control, bool ownsColour) {
        auto* object = new T(&control);
        object->Attach(control, &list, holder, ownsColour);
        return object;
    }
    // The buttons of a radio or check group; other vendors' buttons (class
    // names holding "TRZ") have no object here and stay standard.
    template <typename T> void AttachButtonsOf(ui::TWinControl& group) {
        for (ui::TControl* child : std::vector<ui::TControl*>(group.Controls()))
            if (Upper(child->ClassName()).find(L"TRZ") == std::wstring::npos &&
                !AlreadySkinned(*child))
                AttachNew<T>(*child, false);
    }
    TSkinScrollbar* AttachScrollBars(ui::TControl& control, int kind = 0) {
        auto* object = new TSkinScrollbar(&control);
        object->Kind = kind;
        object->AttachScrollBars(control, &list, holder);
        return object;
    }
    void AttachScrollBarControl(ui::TControl& control) {
        auto* object = new TSkinScrollBarControl(&control);
        object->AttachScrollBar(control, &list, holder);
    }
    void AttachSpeedButton(ui::TControl& control) {
        auto* object = new TSkinSpeedButton(&control);
        object->AttachSpeedButton(control, &list, holder);
    }
};

// The window is larger than its client area.
bool HasBorder(const ui::TControl& control) {
    const auto* windowed = dynamic_cast<const ui::TWinControl*>(&control);
    HWND h = windowed ? windowed->HandleIfAllocated() : nullptr;
    RECT window, client;
    if (!h || !GetWindowRect(h, &window) || !GetClientRect(h, &client)) return false;
    return window.right - window.left != client.right ||
           window.bottom - window.top != client.bottom;
}

bool HasScrollBars(const ui::TControl& control) {
    const auto* windowed = dynamic_cast<const ui::TWinControl*>(&control);
    if (!windowed) return false;
    if (control.InheritsFrom(L"TCustomListBox")) return true;
    HWND h = windowed->HandleIfAllocated();
    return h && (GetWindowLongW(h, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

bool Pass::AlreadySkinned(ui::TControl& control) const {
    return control.Perform(WM_SKIN_QUERY) == 1 || list.FindControl(&control) != nullptr;
}

void Pass::DispatchChildren(ui::TWinControl& parent) {
    const std::vector<ui::TControl*> children = parent.Controls();
    for (ui::TControl* child : children)
        Dispatch(*child, &parent);
}

void Pass::Dispatch(ui::TControl& control, ui::TWinControl* container) {
    auto* windowed = dynamic_cast<ui::TWinControl*>(&control);
    if (control.Tag == holder.DisableTag) {
        const std::wstring lower = Lower(control.ClassName());
        if (windowed && (lower.find(L"radiogroup") != std::wstring::npos ||
                         lower.find(L"checkgroup") != std::wstring::npos))
            for (ui::TControl* child : windowed->Controls())
                child->Tag = holder.DisableTag;
        return;
    }
    if (!control.Parent() || AlreadySkinned(control)) return;
    const std::wstring upper = Upper(control.ClassName());
    if (windowed && !windowed->HandleAllocated()) {
        try {
            windowed->HandleNeeded();
        } catch (const std::exception&) {
            return; // no window, no skin
        }
    }

    if (holder.OnSkinControl) {
        TSkinControl* chosen = nullptr;
        holder.OnSkinControl(framePainter, holder, container, &control, upper, chosen);
        if (chosen) {
            if (!list.Register(chosen)) {
                chosen->Attach(control, &list, holder, chosen->OwnsColour());
                if (control.InheritsFrom(L"TCustomPanel") && windowed) DispatchChildren(*windowed);
            }
            return;
        }
    }

    if (ClassListLookup(control)) return;
    if (NameIs(upper, {L"TDATACOMBOBOX", L"TFRDESIGNERPAGE", L"TFRPBOX"})) return;
    StandardTable(control, upper);
}

bool Pass::ClassListLookup(ui::TControl& control) {
    const std::wstring key = Lower(control.ClassName()) + L"=";
    std::wstring type;
    bool found = false;
    for (const std::wstring& line : holder.ForeignClasses) {
        const std::wstring lower = Lower(line);
        if (lower.starts_with(key)) {
            type = lower.substr(lower.find(L'=') + 1, 50);
            found = true;
            break;
        }
    }
    if (!found) return false;

    auto* windowed = dynamic_cast<ui::TWinControl*>(&control);
    // Handled whatever the type: a type whose guard is off, or that is not
    // known, leaves the control unskinned.
    if (type == L"nil") {
    } else if (type == L"combobox") {
        if (Has(scCombo)) AttachNew<TSkinComboBox>(control, false);
    } else if (type == L"edit") {
        if (Has(scEdit) && HasBorder(control)) AttachNew<TSkinEdit>(control, false);
    } else if (type == L"radiobutton") {
        if (Has(scRadioButton)) AttachNew<TSkinRadioButton>(control, false);
    } else if (type == L"panel") {
        if (Has(scPanel)) {
            ui::SetPropText(control, L"Transparent", L"True");
            AttachNew<TSkinBox>(control, true);
        }
    } else if (type == L"button") {
        if (Has(scButton)) AttachNew<TSkinButton>(control, false);
    } else if (type == L"bitbtn") {
        if (Has(scButton)) {
            const bool dropDown =
                Lower(control.ClassName()) == L"tcxbutton" &&
                Lower(ui::PropEnumName(control, L"Kind")) == L"cxbkdropdownbutton";
            // later: the drop-down kind gets a menu button object
            if (!dropDown) AttachNew<TSkinBitButton>(control, false);
        }
    } else if (type == L"pngbitbtn") {
        if (Has(scButton)) {
            auto* object = new TSkinBitButton(&control);
            object->GlyphPropertyName = L"PngImage";
            object->Attach(control, &list, holder, false);
        }
    } else if (type == L"menubtn") {
        // later: menu button object (scButton)
    } else if (type == L"speedbutton") {
        if (Has(scSpeedButton)) AttachSpeedButton(control);
    } else if (type == L"tab") {
        if (Has(scTab) && holder.Data() && holder.Data()->Tabs) AttachNew<TSkinTab>(control, false);
    } else if (type == L"progress") {
        if (Has(scProgress)) AttachNew<TSkinProgress>(control, false);
    } else if (type == L"scrollbar") {
        if (Has(scScrollbar) && windowed) {
            AttachScrollBars(control);
            DispatchChildren(*windowed);
        }
    } else if (type == L"singlescrollbar") {
        if (Has(scScrollbar) && windowed) AttachScrollBars(control, 1);
    } else if (type == L"embedscrollbar") {
        if (Has(scScrollbar) && windowed)
            for (ui::TControl* child : std::vector<ui::TControl*>(windowed->Controls())) {
                if (AlreadySkinned(*child)) continue;
                if (child->InheritsFrom(L"TScrollBar"))
                    AttachScrollBarControl(*child);
                else if (HasScrollBars(*child))
                    AttachScrollBars(*child);
            }
    } else if (type == L"container") {
        if (windowed) DispatchChildren(*windowed);
    } else if (type == L"groupbox") {
        if (Has(scGroupBox)) AttachNew<TSkinGroupBox>(control, true);
    } else if (type == L"radiogroup") {
        if (Has(scGroupBox)) {
            if (Has(scRadioButton) && windowed) AttachButtonsOf<TSkinRadioButton>(*windowed);
            AttachNew<TSkinGroupBox>(control, true);
        }
    } else if (type == L"checkgroup") {
        if (Has(scPanel)) {
            if (Has(scRadioButton) && windowed) AttachButtonsOf<TSkinCheckBox>(*windowed);
            if (Has(scGroupBox)) AttachNew<TSkinGroupBox>(control, true);
        }
    } else if (type == L"checkbox") {
        if (Has(scCheckBox)) AttachNew<TSkinCheckBox>(control, false);
    }
    return true;
}

void Pass::StandardTable(ui::TControl& control, const std::wstring& upper) {
    auto* windowed = dynamic_cast<ui::TWinControl*>(&control);
    const TSkinData* data = holder.Data();
    const bool tabs = data && data->Tabs;

    if (NameIs(upper, {L"TTABBEDNOTEBOOK"}) && Has(scTab) && tabs) {
        AttachNew<TSkinTab>(control, false); // 2
    } else if (NameIs(upper, {L"TMVCPANEL"})) {
        if (windowed) DispatchChildren(*windowed); // 3
    } else if (NameIs(upper, {L"TDBNAVIGATOR"}) && Has(scPanel)) {
        AttachNew<TSkinBox>(control, true); // 6; the children with no container
        if (windowed)
            for (ui::TControl* child : std::vector<ui::TControl*>(windowed->Controls()))
                Dispatch(*child, nullptr);
    } else if (control.InheritsFrom(L"TCustomGroupBox") && Has(scPanel)) {
        if (windowed) DispatchChildren(*windowed); // 10
        AttachNew<TSkinGroupBox>(control, false);
    } else if (control.InheritsFrom(L"TProgressBar") && Has(scProgress)) {
        AttachNew<TSkinProgress>(control, false); // 11
    } else if (control.InheritsFrom(L"TScrollBar") && Has(scScrollbar)) {
        AttachScrollBarControl(control); // 12
    } else if (NameIs(upper, {L"TTNTCOMBOBOX"}) && Has(scCombo)) {
        AttachNew<TSkinComboBox>(control, false); // 13
    } else if (Has(scScrollbar) && NameIs(upper, {L"TRICHEDIT"})) {
        AttachScrollBars(control); // 14
    } else if (Has(scScrollbar) && NameIs(upper, {L"TWWDBRICHEDIT", L"TDXDBMEMO"})) {
        AttachScrollBars(control); // 15
    } else if (control.InheritsFrom(L"TSpeedButton") && Has(scSpeedButton)) {
        AttachSpeedButton(control); // 16
    } else if (control.InheritsFrom(L"TCustomPanel") && Has(scPanel)) {
        if (windowed) DispatchChildren(*windowed); // 17
        AttachNew<TSkinBox>(control, true);
    } else if (NameIs(upper, {L"TDXTREELIST", L"TDXDBTREELIST", L"TDXDBGRID"}) &&
               Has(scScrollbar)) {
        AttachScrollBars(control); // 18
    } else if (Has(scScrollbar) && control.InheritsFrom(L"TCustomGrid")) {
        AttachScrollBars(control); // 19
    } else if (Has(scScrollbar) && HasScrollBars(control)) {
        AttachScrollBars(control); // 20
    } else if (control.InheritsFrom(L"TButton") && Has(scButton)) {
        AttachNew<TSkinButton>(control, false); // 21
    } else if (control.InheritsFrom(L"TCustomEdit") && Has(scEdit)) {
        AttachNew<TSkinEdit>(control, false); // 22
    } else if (NameIs(upper, {L"TDCEDIT", L"TDCDBEDIT"})) {
        const long long buttons = ui::PropInt(control, L"NumButtons"); // 23
        if (buttons == 1 && Has(scCombo)) {
            AttachNew<TSkinComboBox>(control, false);
        } else if (buttons == 0 && Has(scEdit) && windowed) {
            auto* object = new TSkinEdit(&control);
            object->AttachWindow(windowed->Handle(), holder, &list);
        }
    } else if (auto* form = dynamic_cast<ui::TForm*>(&control)) {
        AttachNew<TSkinBox>(*form, true); // 24; then its own components
        const int n = form->ComponentCount();
        std::vector<ui::TControl*> owned;
        for (int i = 0; i < n; ++i)
            if (auto* c = dynamic_cast<ui::TControl*>(form->Components(i))) owned.push_back(c);
        for (ui::TControl* c : owned)
            Dispatch(*c, form);
    }
}

std::wstring WindowClass(HWND window) {
    wchar_t name[101] = {};
    GetClassNameW(window, name, 101);
    return Lower(name);
}

void ForEachChildWindow(HWND parent, const std::function<void(HWND)>& action) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (GetWindowLongW(c, GWL_STYLE) & WS_CHILD) children.push_back(c);
    for (HWND c : children)
        action(c);
}

template <typename T>
void AttachWindowNew(HWND window, TSkinHolder& holder, TSkinControlList& list) {
    // Window-mode objects belong to the list, which frees them.
    auto* object = new T(nullptr);
    object->AttachWindow(window, holder, &list);
}

void FaceColourOf(HWND window, TSkinHolder& holder) {
    if (ui::TWinControl* control = ui::TWinControl::FromHandle(window))
        control->SetColor(static_cast<ui::TColor>(holder.ButtonFaceRGB()));
}

} // namespace

void SkinFormControls(ui::TForm& form, TSkinHolder& holder, TSkinControlList& list,
                      ui::TComponent* framePainter) {
    Pass pass{holder, list, framePainter};
    list.Purge();
    std::vector<ui::TControl*> owned;
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* c = dynamic_cast<ui::TControl*>(form.Components(i))) owned.push_back(c);
    for (ui::TControl* c : owned)
        pass.Dispatch(*c, &form);
    // Pop-up menus: the frame painter's menu skinning handles them.
    for (ui::TWinControl* c : form.TabList()) {
        if (!c->HandleAllocated() || c->Tag == holder.DisableTag) continue;
        if (c->Perform(WM_SKIN_QUERY) == 1) continue;
        pass.Dispatch(*c, &form);
    }
}

void SkinChildWindows(HWND parent, TSkinHolder& holder, TSkinControlList& list) {
    ForEachChildWindow(parent, [&](HWND child) { SkinChildWindow(child, holder, list); });
}

void SkinChildWindow(HWND window, TSkinHolder& holder, TSkinControlList& list) {
    if (!window || list.FindWindow(window)) return;
    const std::wstring cls = WindowClass(window);
    const LONG style = GetWindowLongW(window, GWL_STYLE);

    if (cls == L"button") {
        if ((style & 0x0B) == 0x0B) return;                  // owner-drawn
        if ((style & 7) == 7 || (style & 0x80) != 0) return; // group box frames, pictures
        if ((style & 3) == 3 || (style & 2) != 0 || (style & 5) == 5) {
            AttachWindowNew<TSkinCheckBox>(window, holder, list);
        } else if ((style & 9) == 9 || (style & 4) != 0) {
            AttachWindowNew<TSkinRadioButton>(window, holder, list);
        } else {
            AttachWindowNew<TSkinButton>(window, holder, list);
        }
    } else if (cls == L"combobox") {
        if ((style & 3) != CBS_SIMPLE) AttachWindowNew<TSkinComboBox>(window, holder, list);
    } else if (cls == L"comboboxex32") {
        if (HWND inner = GetWindow(window, GW_CHILD); inner && !list.FindWindow(inner))
            AttachWindowNew<TSkinComboBox>(inner, holder, list);
    } else if (cls == L"scrollbar") {
        if (!(style & WS_TABSTOP)) AttachWindowNew<TSkinSizer>(window, holder, list);
    } else if (cls == L"systreeview32") {
    } else if (cls == L"#32770") {
        if (!(style & WS_TABSTOP)) {
            SkinChildWindows(window, holder, list);
            AttachWindowNew<TSkinDialogBox>(window, holder, list);
        }
    } else if (cls == L"tpanel" || cls == L"ttntpanel.unicodeclass" ||
               cls == L"ttntsilentpaintpanel.unicodeclass") {
        SkinChildWindows(window, holder, list);
        FaceColourOf(window, holder);
    } else if (cls == L"tcheckbox") {
        AttachWindowNew<TSkinCheckBox>(window, holder, list);
    } else if (cls == L"tcombobox") {
        AttachWindowNew<TSkinComboBox>(window, holder, list);
    } else if (cls == L"tbutton") {
        AttachWindowNew<TSkinButton>(window, holder, list);
    } else if (cls == L"tprogressbar") {
        AttachWindowNew<TSkinProgress>(window, holder, list);
    } else if (cls == L"tsilentpaintpanel") {
        FaceColourOf(window, holder);
    } else if (cls == L"systabcontrol32") {
        if (!(style & TCS_OWNERDRAWFIXED)) AttachWindowNew<TSkinTab>(window, holder, list);
    } else if (cls == L"toolbarwindow32") {
    } else if (cls == L"edit") {
        AttachWindowNew<TSkinEdit>(window, holder, list);
    }
}

} // namespace skin
