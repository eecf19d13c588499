// TGridFindDlg: the grid's text search window ("文本查找"), opened by Ctrl+F.
// One window serves the whole program: it is created on first use, owned by
// the application and only hidden between uses, so its history, options and
// choices carry over from one search to the next.
#pragma once

#include "grid/GridFindDialogMatch.h"
#include "ui/Form.h"

#include <vector>

namespace ui {
class TButton;
class TDataCheckBox;
class TDataComboBox;
class TLabel;
} // namespace ui

namespace grid {

class TCustomDataGrid;
class TDataGridColumn;

class TGridFindDlg : public ui::TForm {
public:
    explicit TGridFindDlg(ui::TComponent* owner);
    ~TGridFindDlg() override;

    std::wstring ClassName() const override { return L"TGridFindDlg"; }
    std::vector<std::wstring> ClassChain() const override;

    ui::TLabel* Label1 = nullptr;
    ui::TDataComboBox* cbText = nullptr;
    ui::TLabel* Label2 = nullptr;
    ui::TDataComboBox* cbFindIn = nullptr;
    ui::TLabel* cbMatchType = nullptr;
    ui::TDataComboBox* cbMatchinType = nullptr;
    ui::TLabel* Label3 = nullptr;
    ui::TDataComboBox* cbFindDirection = nullptr;
    ui::TDataCheckBox* cbCharCase = nullptr;
    ui::TDataCheckBox* cbUseFormat = nullptr;
    ui::TButton* bFind = nullptr;
    ui::TButton* bCancel = nullptr;

    // Makes the dialog ready to search `grid`: empty text, the column choice
    // following the grid's current column, a fresh first try.
    void Prepare(TCustomDataGrid& grid);
    // Prepare, then show modally; the grid is forgotten once it closes.
    int Execute(TCustomDataGrid& grid);

    void bFindClick(ui::TComponent* sender);
    void bCancelClick(ui::TComponent* sender);
    void cbTextChange(ui::TComponent* sender);
    void cbFindInChange(ui::TComponent* sender);
    void FormKeyDown(ui::TComponent* sender, WORD& key, ui::TShiftState shift);

    // The search state between searches.
    TCustomDataGrid* Grid() const { return grid_; }
    const std::vector<TDataGridColumn*>& SearchColumns() const { return columns_; }
    const TFindWalk& Walk() const { return walk_; }

private:
    TFindDirection ChosenDirection() const;
    void BuildSearchColumns();
    void AddToHistory(const std::wstring& text);
    // One walk over the grid's rows; true when a cell matched.
    bool SearchGrid(const std::wstring& text, TFindDirection direction);

    TCustomDataGrid* grid_ = nullptr;
    std::vector<TDataGridColumn*> entries_; // per cbFindIn entry; nullptr for "<All>"
    std::vector<TDataGridColumn*> columns_; // the search column list, in grid order
    TFindWalk walk_;
};

// Opens the program's find dialog for `grid` (Ctrl+F in the grid).
void ShowFindDialog(TCustomDataGrid& grid);

// The program's find dialog, or nullptr before the first Ctrl+F.
TGridFindDlg* GridFindDlg();

} // namespace grid
