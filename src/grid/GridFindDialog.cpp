#include "grid/GridFindDialog.h"

#include "grid/DataGrid.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Label.h"

#include <algorithm>

namespace grid {

namespace {

TGridFindDlg* g_findDlg = nullptr;

// The layout was designed at 120 dots per inch.
constexpr int kDesignPpi = 120;
constexpr int kHistoryRows = 17;
constexpr wchar_t kAllColumns[] = L"<All>";

bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                          static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

// Upper-casing by the system's rules, as the case-insensitive search compares.
void SystemUpperCase(std::wstring& text) {
    if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
}

template <class T>
T* Place(TGridFindDlg* form, const wchar_t* name, int left, int top, int width, int height,
         int tabOrder = -1) {
    T* c = new T(form);
    c->SetName(name);
    c->SetBounds(left, top, width, height);
    if (auto* w = dynamic_cast<ui::TWinControl*>(c)) w->TabOrder = tabOrder;
    c->SetParent(form);
    return c;
}

} // namespace

TGridFindDlg::TGridFindDlg(ui::TComponent* owner) : ui::TForm(owner) {
    SetName(L"GridFindDlg");
    SetCaption(L"文本查找");
    BorderStyle = ui::TFormBorderStyle::bsDialog;
    Position = ui::TPosition::poScreenCenter;
    KeyPreview = true;
    SetFont(ui::TFont(L"MS Sans Serif", 8));
    SetClientSize(621, 153);

    Label1 = Place<ui::TLabel>(this, L"Label1", 12, 15, 67, 16);
    Label1->SetCaption(L"文本查找:");
    cbText = Place<ui::TDataComboBox>(this, L"cbText", 108, 11, 389, 24, 0);
    cbText->DropDownCount = kHistoryRows;

    Label2 = Place<ui::TLabel>(this, L"Label2", 12, 43, 42, 16);
    Label2->SetCaption(L"包含:");
    cbFindIn = Place<ui::TDataComboBox>(this, L"cbFindIn", 108, 39, 237, 24, 1);
    cbFindIn->Style = ui::TComboBoxStyle::csDropDownList;
    cbFindIn->DropDownCount = kHistoryRows;

    cbMatchType = Place<ui::TLabel>(this, L"cbMatchType", 12, 71, 57, 16);
    cbMatchType->SetCaption(L"匹配:");
    cbMatchinType = Place<ui::TDataComboBox>(this, L"cbMatchinType", 108, 68, 177, 24, 2);
    cbMatchinType->Style = ui::TComboBoxStyle::csDropDownList;
    for (const wchar_t* item : {L"部份字符", L"所有字符", L"字符前包含"})
        cbMatchinType->AddItem(item);
    cbMatchinType->SetItemIndex(0);

    Label3 = Place<ui::TLabel>(this, L"Label3", 12, 101, 56, 16);
    Label3->SetCaption(L"方向:");
    cbFindDirection = Place<ui::TDataComboBox>(this, L"cbFindDirection", 108, 97, 177, 24, 3);
    cbFindDirection->Style = ui::TComboBoxStyle::csDropDownList;
    for (const wchar_t* item : {L"向上", L"向下", L"所有"})
        cbFindDirection->AddItem(item);
    cbFindDirection->SetItemIndex(2);

    cbCharCase = Place<ui::TDataCheckBox>(this, L"cbCharCase", 108, 129, 177, 17, 4);
    cbCharCase->SetCaption(L"語法匹配");
    cbUseFormat = Place<ui::TDataCheckBox>(this, L"cbUseFormat", 320, 129, 177, 17, 5);
    cbUseFormat->SetCaption(L"格式匹配");
    cbUseFormat->SetChecked(true);

    bFind = Place<ui::TButton>(this, L"bFind", 508, 11, 101, 28, 6);
    bFind->SetCaption(L"下一個");
    bCancel = Place<ui::TButton>(this, L"bCancel", 508, 45, 101, 28, 7);
    bCancel->SetCaption(L"取消");
    bCancel->Cancel = true;
    bCancel->ModalResult = ui::mrCancel;

    bFind->OnClick = [this](ui::TComponent* s) { bFindClick(s); };
    bCancel->OnClick = [this](ui::TComponent* s) { bCancelClick(s); };
    cbText->OnChange = [this](ui::TComponent* s) { cbTextChange(s); };
    cbFindDirection->OnChange = [this](ui::TComponent* s) { cbTextChange(s); };
    cbFindIn->OnChange = [this](ui::TComponent* s) { cbFindInChange(s); };
    OnKeyDown = [this](ui::TComponent* s, WORD& key, ui::TShiftState shift) {
        FormKeyDown(s, key, shift);
    };

    ScaleToScreen(kDesignPpi);
    DoCreate();
}

TGridFindDlg::~TGridFindDlg() {
    if (g_findDlg == this) g_findDlg = nullptr;
}

std::vector<std::wstring> TGridFindDlg::ClassChain() const {
    auto chain = ui::TForm::ClassChain();
    chain.insert(chain.begin(), L"TGridFindDlg");
    return chain;
}

TFindDirection TGridFindDlg::ChosenDirection() const {
    switch (cbFindDirection->ItemIndex()) {
    case 0:
        return TFindDirection::fdUp;
    case 1:
        return TFindDirection::fdDown;
    default:
        return TFindDirection::fdAll;
    }
}

void TGridFindDlg::Prepare(TCustomDataGrid& grid) {
    cbText->SetText(L"");
    grid_ = &grid;

    // Detached while the list is refilled: filling is not the user's choice.
    const ui::TNotifyEvent onChange = std::move(cbFindIn->OnChange);
    cbFindIn->OnChange = nullptr;
    cbFindIn->ClearItems();
    entries_.clear();
    TDataGridColumns& columns = grid.Columns();
    for (int i = 0; i < columns.Count(); ++i) {
        TDataGridColumn& column = columns[i];
        if (!column.Visible()) continue;
        cbFindIn->AddItem(column.Title().Caption());
        entries_.push_back(&column);
    }
    cbFindIn->AddItem(kAllColumns);
    entries_.push_back(nullptr);

    const int current = grid.Col() - grid.IndicatorOffset();
    int selected = -1;
    if (current >= 0 && current < columns.Count()) {
        const std::wstring caption = columns[current].Title().Caption();
        for (std::size_t i = 0; i + 1 < entries_.size() && selected < 0; ++i)
            if (SameTextIgnoringCase(entries_[i]->Title().Caption(), caption))
                selected = static_cast<int>(i);
    }
    cbFindIn->SetItemIndex(selected);
    cbFindIn->OnChange = onChange;

    if (Visible()) Hide();
    SetActiveControl(cbText);
    BuildSearchColumns();
}

int TGridFindDlg::Execute(TCustomDataGrid& grid) {
    Prepare(grid);
    struct Forget {
        TGridFindDlg& dlg;
        // The grid may go before this dialog does; nothing searches while hidden.
        ~Forget() {
            dlg.grid_ = nullptr;
            dlg.columns_.clear();
            dlg.entries_.clear();
        }
    } forget{*this};
    return ShowModal();
}

void TGridFindDlg::BuildSearchColumns() {
    const int last = static_cast<int>(entries_.size()) - 1;
    int index = cbFindIn->ItemIndex();
    if (index < 0 || index > last) {
        index = last;
        cbFindIn->SetItemIndex(index);
    }
    columns_.clear();
    if (index == last) {
        columns_.assign(entries_.begin(), entries_.begin() + std::max(0, last));
    } else {
        columns_.push_back(entries_[static_cast<std::size_t>(index)]);
    }
    cbTextChange(cbFindIn);
}

void TGridFindDlg::cbTextChange(ui::TComponent*) {
    walk_.SetColumnCount(static_cast<int>(columns_.size()), ChosenDirection());
}

void TGridFindDlg::cbFindInChange(ui::TComponent*) {
    BuildSearchColumns();
}

void TGridFindDlg::bCancelClick(ui::TComponent*) {
    Close();
}

void TGridFindDlg::AddToHistory(const std::wstring& text) {
    for (const std::wstring& item : cbText->Items())
        if (SameTextIgnoringCase(item, text)) return;
    cbText->AddItem(text);
}

bool TGridFindDlg::SearchGrid(const std::wstring& text, TFindDirection direction) {
    data::TDataSet& ds = *grid_->DataSet();
    const data::TDataLink& link = grid_->DataLink();

    data::TDisabledControls quiet(ds);
    // Where the grid stands: the middle of its visible rows and the current
    // row's distance from it, so that a failed search can put it all back.
    const int middle = link.RecordCount() / 2;
    data::TDataSet::TBookmark anchor = link.RecordCount() > 0 ? link.BookmarkAt(middle) : 0;
    int distance = link.ActiveRecord() - middle;
    if (anchor == 0) {
        anchor = ds.GetBookmark();
        distance = 0;
    }

    std::vector<data::TField*> fields;
    for (TDataGridColumn* column : columns_)
        fields.push_back(column->Field());
    TDataSetFindRows rows(ds, std::move(fields), cbUseFormat->Checked());
    TFindOptions options;
    options.Text = text;
    options.MatchType = static_cast<TFindMatchType>(std::clamp(cbMatchinType->ItemIndex(), 0, 2));
    options.Direction = direction;
    options.CaseSensitive = cbCharCase->Checked();
    options.UpperCase = SystemUpperCase;

    const int found = walk_.Search(rows, options);
    if (found >= 0) {
        // A case-insensitive match takes the grid's column along; a
        // case-sensitive one moves the row only.
        if (!options.CaseSensitive)
            grid_->SetCol(grid_->IndicatorOffset() +
                          columns_[static_cast<std::size_t>(found)]->Index());
        return true;
    }
    if (anchor != 0 && ds.BookmarkValid(anchor)) {
        ds.GotoBookmark(anchor);
        ds.MoveBy(distance);
    }
    return false;
}

void TGridFindDlg::bFindClick(ui::TComponent*) {
    TFindDirection direction = ChosenDirection();
    if (GetKeyState(VK_CONTROL) < 0) direction = ReversedFindDirection(direction);

    const std::wstring text = cbText->Text();
    AddToHistory(text);

    bool found = false;
    if (grid_ && grid_->DataSource() && grid_->DataSet() && grid_->DataSet()->Active() &&
        !columns_.empty())
        found = SearchGrid(text, direction);
    if (found) return;

    const std::wstring title = ui::Application ? ui::Application->Title() : std::wstring();
    const std::wstring message = L"String \"" + text + L"\" not found.";
    HWND owner = HandleAllocated() && Visible() ? HandleIfAllocated() : nullptr;
    if (ui::Application)
        ui::Application->ShowMessageBox(message, title, MB_OK, owner);
    else
        MessageBoxW(owner, message.c_str(), title.c_str(), MB_OK);
}

void TGridFindDlg::FormKeyDown(ui::TComponent*, WORD& key, ui::TShiftState) {
    if (key != VK_RETURN && key != VK_ESCAPE) return;
    HWND focus = GetFocus();
    // An open drop-down list takes Enter and Esc itself.
    if (ui::ControlWantsKey(focus, key)) return;
    if (key == VK_ESCAPE) {
        // Shown modally, Esc goes on to the cancel button.
        if (!Modal()) {
            Close();
            key = 0;
        }
    } else {
        bFindClick(this);
        key = 0;
    }
    if (HWND edit = cbText->HandleAllocated()
                        ? FindWindowExW(cbText->HandleIfAllocated(), nullptr, L"Edit", nullptr)
                        : nullptr)
        SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
}

void ShowFindDialog(TCustomDataGrid& grid) {
    if (!g_findDlg) g_findDlg = new TGridFindDlg(ui::Application);
    g_findDlg->Execute(grid);
}

TGridFindDlg* GridFindDlg() {
    return g_findDlg;
}

} // namespace grid
