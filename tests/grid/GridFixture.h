// A main-window-like setup for the grid tests: a form, the six-field result
// table, its data source and DataGrid1 at 0,0 882 x 281 with the stored
// configuration applied.
#pragma once

#include "data/ClientDataSet.h"
#include "grid/DataGrid.h"
#include "grid/ResultGridConfig.h"
#include "support/WindowTest.h"
#include "ui/Application.h"
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <string>

class GridFixture : public ::testing::Test {
protected:
    void SetUp() override {
        static const struct {
            const wchar_t* name;
            int size;
            const wchar_t* label;
        } kFields[] = {{L"fwq", 100, L"服务器(实例名)"}, {L"sjkglxt", 100, L"数据库管理系统"},
                       {L"bbmc", 100, L"版本名称"},      {L"bdmc", 100, L"补丁名称"},
                       {L"dkh", 100, L"端口号"},         {L"bz", 400, L"备注"}};
        for (const auto& f : kFields)
            table.FieldDefs().Add(f.name, f.size);
        table.CreateDataSet();
        for (const auto& f : kFields)
            table.FieldByName(f.name)->SetDisplayLabel(f.label);
        source.SetDataSet(&table);

        form = new ui::TForm(&app);
        form->BorderStyle = ui::TFormBorderStyle::bsSingle;
        form->SetClientSize(882, 369);
        grid = new grid::TDataGrid(form);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 882, 281);
        grid->TabOrder = 0;
        grid->SetDataSource(&source);
        grid::ApplyResultGridConfig(*grid);
        form->Show();
        testing_support::Pump(20);
    }

    void TearDown() override {
        delete form; // before the data source and table it refers to
        form = nullptr;
    }

    void AppendRows(int n, const std::wstring& prefix = L"PC") {
        for (int i = 0; i < n; ++i) {
            table.Append();
            table.FieldByName(L"fwq")->SetAsString(prefix + std::to_wstring(i + 1));
            table.Post();
        }
    }

    HWND Hwnd() { return grid->Handle(); }
    RECT Client() {
        RECT r;
        GetClientRect(Hwnd(), &r);
        return r;
    }
    // Height of "Wg" in a font, measured as the grid measures it.
    static int TextHeight(const ui::TFont& font) {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font.Handle());
        SIZE s{};
        GetTextExtentPoint32W(dc, L"Wg", 2, &s);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return s.cy;
    }

    ui::TApplication app;
    data::TClientDataSet table;
    data::TDataSource source;
    ui::TForm* form = nullptr;
    grid::TDataGrid* grid = nullptr;
};
