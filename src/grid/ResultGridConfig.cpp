#include "grid/ResultGridConfig.h"

#include "grid/DataGrid.h"

namespace grid {

void ApplyResultGridConfig(TDataGrid& grid) {
    using O = TGridOptionExt;
    grid.BeginLoad();
    grid.SetFlat(true);
    grid.SetFixedColor(ui::clSkyBlue);
    grid.SetFont(ui::TFont(L"MS Sans Serif", 8, ui::clWindowText));
    grid.SetTitleFont(ui::TFont(L"MS Sans Serif", 8, ui::clBlue));
    grid.SetFooterColor(ui::clWindow);
    grid.SetFooterFont(ui::TFont(L"MS Sans Serif", 8, ui::clWindowText));
    grid.SetFooterRowCount(2);
    grid.SetOptionsExt({O::dgxFixed3D, O::dgxData3D, O::dgxHighlightFocus, O::dgxClearSelection,
                        O::dgxAutoSortMarking, O::dgxMultiSortMarking, O::dgxRowHighlight,
                        O::dgxDialogFind});
    grid.ReadOnly = true;
    grid.AllowedOperations = {TDataGridAllowedOperation::alopUpdate};
    grid.SortLocal = true;
    grid.EditActions = {TDataGridEditAction::geaCopy, TDataGridEditAction::geaSelectAll};
    grid.SumList().SetActive(true);

    struct ColumnDef {
        const wchar_t* field;
        int width;
    };
    static const ColumnDef kColumns[] = {{L"fwq", 150}, {L"sjkglxt", 200}, {L"bbmc", 150},
                                         {L"bdmc", 80}, {L"dkh", 50},      {L"bz", 200}};
    TDataGridColumns& columns = grid.Columns();
    columns.BeginUpdate();
    columns.Clear();
    for (const ColumnDef& def : kColumns) {
        TDataGridColumn& c = columns.Add();
        c.SetFieldName(def.field);
        c.SetWidth(def.width);
        c.Title().TitleButton = true;
    }
    const ui::TFont countFont(L"MS Sans Serif", 8, ui::clBlue, ui::fsBold);
    TDataGridColumn& fwq = columns[0];
    TColumnFooter& label = fwq.AddFooter();
    label.SetValueType(TFooterValueType::fvtStaticText);
    label.Value = L"记录数";
    label.SetAlignment(TAlignment::taCenter);
    label.SetFont(countFont);
    TColumnFooter& count = fwq.AddFooter();
    count.SetValueType(TFooterValueType::fvtCount);
    count.SetAlignment(TAlignment::taCenter);
    count.SetFont(countFont);
    columns.EndUpdate();
    grid.EndLoad();
}

} // namespace grid
