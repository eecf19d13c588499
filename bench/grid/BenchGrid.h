// What both grid benchmarks stand on: a main-window-sized form holding the
// result grid, configured as the program does, bound to a given data source.
#pragma once

#include "data/DataSource.h"
#include "grid/DataGrid.h"
#include "grid/ResultGridConfig.h"
#include "platform/MessagePump.h"
#include "ui/Application.h"
#include "ui/Form.h"

namespace bench {

inline grid::TDataGrid* ShowResultGrid(ui::TApplication& app, data::TDataSource& source) {
    auto* form = new ui::TForm(&app);
    form->SetClientSize(882, 369);
    auto* grid = new grid::TDataGrid(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 882, 281);
    grid->SetDataSource(&source);
    grid::ApplyResultGridConfig(*grid);
    form->Show();
    platform::ProcessMessages();
    return grid;
}

} // namespace bench
